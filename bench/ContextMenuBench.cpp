// How long the Explorer command page takes to fill its list, and how many registry calls it
// makes, with 10,000 file-type keys more in HKEY_CLASSES_ROOT than the system already has:
// half of them extensions naming a type, half the type keys, each with an open command.
// Prints the figures; run it natively (simulated desktop) and under wine (simulated desktop
// and the real registry, whose keys it removes again).
//
//   context_menu_bench [repetitions]   (default 3)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

#include "bench/BenchMain.h"
#include "center/ContextMenuPage.h"
#include "platform/sim/SimPlatform.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace ombrix {
namespace {

constexpr int Pairs = 5000;
constexpr char ExtensionPrefix[] = ".obxbench";
constexpr char TypePrefix[] = "OmbrixBench.Type";

std::string Number(int i) {
  std::string digits = std::to_string(i);
  return std::string(5 - std::min<std::size_t>(5, digits.size()), '0') + digits;
}

// Counts every registry call on its way to the real service.
class CountingRegistry : public IRegistry {
 public:
  explicit CountingRegistry(IRegistry& inner) : inner_(inner) {}

  LONG RegOpenKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result) override {
    ++opens;
    return inner_.RegOpenKeyExA(parent, subKey, access, result);
  }
  LONG RegCreateKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result, DWORD* disposition,
                       DWORD options) override {
    ++creates;
    return inner_.RegCreateKeyExA(parent, subKey, access, result, disposition, options);
  }
  LONG RegCloseKey(HKEY key) override {
    ++closes;
    return inner_.RegCloseKey(key);
  }
  LONG RegQueryValueExA(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data, DWORD* size) override {
    ++queries;
    return inner_.RegQueryValueExA(key, name, type, data, size);
  }
  LONG RegQueryValueA(HKEY key, const std::string& subKey, std::vector<BYTE>* data, DWORD* size) override {
    ++queries;
    return inner_.RegQueryValueA(key, subKey, data, size);
  }
  LONG RegSetValueExA(HKEY key, const std::string& name, DWORD type, const std::vector<BYTE>& data) override {
    ++writes;
    return inner_.RegSetValueExA(key, name, type, data);
  }
  LONG RegDeleteValueA(HKEY key, const std::string& name) override {
    ++writes;
    return inner_.RegDeleteValueA(key, name);
  }
  LONG RegDeleteKeyA(HKEY parent, const std::string& subKey) override {
    ++writes;
    return inner_.RegDeleteKeyA(parent, subKey);
  }
  LONG RegEnumKeyExA(HKEY key, DWORD index, DWORD capacity, std::string& name) override {
    ++enums;
    return inner_.RegEnumKeyExA(key, index, capacity, name);
  }
  LONG RegEnumValueA(HKEY key, DWORD index, DWORD capacity, std::string& name) override {
    ++enums;
    return inner_.RegEnumValueA(key, index, capacity, name);
  }
  LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values, DWORD* maxValueNameLen,
                        DWORD* maxValueLen) override {
    ++infos;
    return inner_.RegQueryInfoKeyA(key, subKeys, maxSubKeyLen, values, maxValueNameLen, maxValueLen);
  }
  std::string FormatMessageA(LONG error) override { return inner_.FormatMessageA(error); }

  void Reset() { opens = creates = closes = queries = writes = enums = infos = 0; }
  long Calls() const { return opens + creates + closes + queries + writes + enums + infos; }

  long opens = 0, creates = 0, closes = 0, queries = 0, writes = 0, enums = 0, infos = 0;

 private:
  IRegistry& inner_;
};

// A platform whose registry calls are counted; everything else is the given platform's.
class CountingPlatform : public Platform {
 public:
  explicit CountingPlatform(Platform& inner) : inner_(inner), registry(inner.Registry()) {}

  IRegistry& Registry() override { return registry; }
  IProfile& Profile() override { return inner_.Profile(); }
  IFiles& Files() override { return inner_.Files(); }
  IClock& Clock() override { return inner_.Clock(); }
  IMessagePump& Messages() override { return inner_.Messages(); }
  IDialogs& Dialogs() override { return inner_.Dialogs(); }
  IWindowOps& Windows() override { return inner_.Windows(); }
  IShellLinks& ShellLinks() override { return inner_.ShellLinks(); }
  IProcesses& Processes() override { return inner_.Processes(); }
  IShell& Shell() override { return inner_.Shell(); }
  IInput& Input() override { return inner_.Input(); }
  IIcons& Icons() override { return inner_.Icons(); }
  ICodePages& CodePages() override { return inner_.CodePages(); }

 private:
  Platform& inner_;

 public:
  CountingRegistry registry;
};

class TBenchForm : public TForm {
 public:
  explicit TBenchForm(THubContext& context)
      : TForm("TfrmMain", "bench", 576, 468), page(*this, tsContextMenu, context) {}
  TPageControl pcControlCenter{*this, "pcControlCenter", nullptr, {8, 28, 560, 432}};
  TTabSheet tsContextMenu{*this, "tsContextMenu", pcControlCenter, " Explorer Context menu "};
  TContextMenuPage page;
};

bool SetDefault(IRegistry& registry, const std::string& path, const std::string& value) {
  HKEY key = nullptr;
  if (registry.RegCreateKeyExA(HKEY_CLASSES_ROOT, path, KEY_ALL_ACCESS, key, nullptr) != ERROR_SUCCESS) return false;
  std::vector<BYTE> data(value.begin(), value.end());
  data.push_back(0);
  const bool written = registry.RegSetValueExA(key, "", REG_SZ, data) == ERROR_SUCCESS;
  registry.RegCloseKey(key);
  return written;
}

bool AddFileTypes(IRegistry& registry) {
  for (int i = 0; i < Pairs; ++i) {
    const std::string type = TypePrefix + Number(i);
    if (!SetDefault(registry, ExtensionPrefix + Number(i), type) || !SetDefault(registry, type, "Bench document") ||
        !SetDefault(registry, type + "\\Shell\\Open\\Command", "\"C:\\Bench\\bench.exe\" \"%1\"")) {
      return false;
    }
  }
  return true;
}

void RemoveFileTypes(IRegistry& registry) {
  for (int i = 0; i < Pairs; ++i) {
    const std::string type = TypePrefix + Number(i);
    for (const std::string& key : {type + "\\Shell\\Open\\Command", type + "\\Shell\\Open", type + "\\Shell", type,
                                   ExtensionPrefix + Number(i)}) {
      registry.RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
    }
  }
}

struct Fill {
  double milliseconds = 0;
  int listed = 0;
};

Fill TimedFill(CountingPlatform& platform, int repetitions) {
  TRegistryEnhanced registryOp(platform);
  registryOp.RootKey = TRootKey::hkClassesRoot;
  THubContext context{platform, registryOp, "C:\\Program Files\\Vorel Ombrix\\", "bench"};
  TBenchForm form(context);
  Fill fill;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repetitions; ++i) {
    platform.registry.Reset();
    form.page.FillFileTypeList();
  }
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  fill.milliseconds = elapsed.count() / repetitions;
  fill.listed = form.page.lbAssExt.Count();
  return fill;
}

void Report(const char* what, const Fill& fill, const CountingRegistry& calls) {
  std::printf(
      "  %-34s %10.1f ms  %6d listed  %7ld registry calls: %ld opens, %ld value reads, %ld closes, %ld "
      "enumerations, %ld key queries\n",
      what, fill.milliseconds, fill.listed, calls.Calls(), calls.opens, calls.queries, calls.closes, calls.enums,
      calls.infos);
  std::fflush(stdout);
}

template <class F>
double Milliseconds(int repetitions, F&& run) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repetitions; ++i) run();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / repetitions;
}

// What the fill's parts cost by themselves, once per key: the listing, handling (no)
// waiting messages, a look at the clock, and one read of a default value.
void Parts(CountingPlatform& platform, int repetitions) {
  TRegistryEnhanced registryOp(platform);
  registryOp.RootKey = TRootKey::hkClassesRoot;
  TStringList names;
  const double listing = Milliseconds(repetitions, [&] { registryOp.GetKeyNames(names); });
  const double messages = Milliseconds(repetitions, [&] {
    for (std::size_t i = 0; i < names.size(); ++i) platform.Messages().ProcessMessages();
  });
  const double clock = Milliseconds(repetitions, [&] {
    for (std::size_t i = 0; i < names.size(); ++i) platform.Clock().Now();
  });
  const double reads = Milliseconds(repetitions, [&] {
    for (const std::string& name : names) {
      registryOp.Key = name;
      registryOp.ReadDefaultText();
    }
  });
  const TTextCompare compare = WindowsSortOrder(platform.Windows());
  const double sorting = Milliseconds(repetitions, [&] {
    TStringList sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
  });
  std::printf(
      "  parts, %zu times each: listing a key %.1f ms, handling messages %.1f ms, reading the clock %.1f ms, "
      "reading a default value %.1f ms; sorting them all %.1f ms\n",
      names.size(), listing, messages, clock, reads, sorting);
}

int Bench(Platform& inner, const char* backend, int repetitions) {
  CountingPlatform platform(inner);
  std::printf("%s: %d repetitions\n", backend, repetitions);
  RemoveFileTypes(inner.Registry());
  const Fill before = TimedFill(platform, repetitions);
  Report("the system's file types", before, platform.registry);
  if (!AddFileTypes(inner.Registry())) {
    std::printf("  !! cannot add the file types\n");
    RemoveFileTypes(inner.Registry());
    return 1;
  }
  const Fill after = TimedFill(platform, repetitions);
  Report("with 10,000 keys more", after, platform.registry);
  Parts(platform, repetitions);
  RemoveFileTypes(inner.Registry());
  if (after.listed != before.listed + 2 * Pairs) {
    std::printf("  !! %d items listed, %d expected\n", after.listed, before.listed + 2 * Pairs);
    return 1;
  }
  return 0;
}

}  // namespace
}  // namespace ombrix

int main(int argc, char** argv) {
  return ombrix::RunOnBothDesktops(argc, argv, 3, [](auto& platform, const char* backend, int repetitions) {
    // The file types are machine-wide, added as an installer adds them: on the simulated
    // desktop by an administrator (wine's user may write everywhere).
    if constexpr (std::is_same_v<std::decay_t<decltype(platform)>, ombrix::sim::SimPlatform>) {
      platform.SimReg().SetElevated(true);
    }
    return ombrix::Bench(platform, backend, repetitions);
  });
}
