// How long the entry operations take for the entry in slot 399 of a full store (399 entries
// of every value), in the registry and in the INI file. Prints the figures; run it
// natively (simulated desktop) and under wine (simulated desktop and the real API).
//
//   settings_bench [repetitions]   (default 5; the two walks over the whole key run once)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "bench/BenchEntries.h"
#include "bench/BenchMain.h"
#include "platform/sim/SimPlatform.h"
#include "settings/AppSettings.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace ombrix {
namespace {

constexpr char BenchKey[] = "Software\\OmbrixBench";
constexpr char EmptyKey[] = "Software\\OmbrixBench\\Empty";
constexpr int Entries = SlotLimit - 1;

std::string FileOf(int slot) {
  return "C:\\Programs\\App" + std::to_string(slot) + "\\App" + std::to_string(slot) + ".exe";
}

TAppSettings EntryFor(int slot) {
  TAppSettings settings = DefaultAppSettings(FileOf(slot));
  settings.WindowCaption = "Main window of application " + std::to_string(slot);
  settings.SecsToWait = std::to_string(slot % 60);
  return settings;
}

void DeleteTree(IRegistry& registry, HKEY parent, const std::string& subKey) {
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(parent, subKey, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return;
  std::string name;
  while (registry.RegEnumKeyExA(key, 0, 256, name) == ERROR_SUCCESS) DeleteTree(registry, key, name);
  registry.RegCloseKey(key);
  registry.RegDeleteKeyA(parent, subKey);
}

// Writes the full store in one go: through one open key for the registry, as one file for
// the INI form (the values are those SaveSettings writes, in the same forms).
bool FillStores(Platform& platform, const std::string& iniFile) {
  IRegistry& registry = platform.Registry();
  HKEY key = nullptr;
  if (registry.RegCreateKeyExA(HKEY_CURRENT_USER, BenchKey, KEY_ALL_ACCESS, key, nullptr) != ERROR_SUCCESS)
    return false;
  auto dword = [&](const std::string& name, std::uint32_t value) {
    registry.RegSetValueExA(key, name, REG_DWORD,
                            {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)});
  };
  auto text = [&](const std::string& name, const std::string& value) {
    std::vector<BYTE> data(value.begin(), value.end());
    data.push_back(0);
    registry.RegSetValueExA(key, name, REG_SZ, data);
  };
  dword(ValueUseINIFile, 0);
  text(ValueVersion, "1.0.0.1");
  std::string ini = "[FlushCache]\r\nFlush=Flush\r\n[AppSettings]\r\n";
  for (int slot = 1; slot <= Entries; ++slot) {
    WriteRegistryEntry(registry, key, EntryFor(slot), slot);
    AppendIniEntry(EntryFor(slot), slot, ini);
  }
  registry.RegCloseKey(key);
  return platform.Files().WriteFileBytes(iniFile, ini);
}

// Milliseconds per run, averaged over `repetitions` runs after one warm-up run (none for a
// single run: the walks over the whole key are slow enough to be measured once).
double Time(int repetitions, const std::function<void()>& run) {
  if (repetitions > 1) run();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repetitions; ++i) run();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / repetitions;
}

void Report(const char* what, double milliseconds) {
  std::printf("  %-58s %10.3f ms\n", what, milliseconds);
  std::fflush(stdout);
}

int Bench(Platform& platform, const char* backend, int repetitions) {
  const std::string iniFile = platform.Files().GetTempPathA() + "OmbrixBench.ini";
  DeleteTree(platform.Registry(), HKEY_CURRENT_USER, BenchKey);
  if (!FillStores(platform, iniFile)) {
    std::printf("%s: cannot write the stores\n", backend);
    return 1;
  }
  const std::string target = FileOf(Entries);
  const TAppSettings expected = EntryFor(Entries);
  std::printf("%s: %d entries, the entry looked for is in slot %d; %d repetitions\n", backend, Entries, Entries,
              repetitions);
  int failures = 0;
  auto check = [&](bool ok, const char* what) {
    if (!ok) {
      std::printf("  !! %s gave a wrong result\n", what);
      ++failures;
    }
  };

  {
    // Registry form. The INI file of this store is empty, so a load costs what the registry
    // costs plus one miss in the INI file.
    const std::string emptyIni = platform.Files().GetTempPathA() + "OmbrixBenchEmpty.ini";
    TRegistryEnhanced registryOp(platform);
    TAppSettingsStore store(platform, registryOp, TSettingsLocation{BenchKey, emptyIni});
    std::printf(" registry\n");
    TEntrySlot slot;
    Report("FindEntrySlot", Time(repetitions, [&] { slot = store.FindEntrySlot(target); }));
    check(slot.Found && slot.Slot == Entries, "FindEntrySlot");
    TAppSettings loaded;
    Report("LoadSettings", Time(repetitions, [&] {
             loaded = DefaultAppSettings(target);
             store.LoadSettings(loaded);
           }));
    check(loaded == expected, "LoadSettings");
    Report("SaveSettings (to the registry)", Time(repetitions, [&] { store.SaveSettings(expected, false); }));

    // What one presence test of the load costs when it walks and reads the whole key, as
    // against stopping at the first hit and asking for the value itself first.
    registryOp.Key = BenchKey;
    Report("  presence test as a full walk (SearchTree, all hits)",
           Time(1, [&] { registryOp.SearchTree("NoTrayIcon399", TSearchMode::kNamesThenData); }));
    check(registryOp.SearchResults.size() == 1, "the full walk");
    Report("  presence test, name present (ValueExists)",
           Time(repetitions, [&] { check(registryOp.ValueExists("NoTrayIcon399"), "ValueExists"); }));
    Report("  presence test, name absent (first-hit walk, worst case)", Time(1, [&] {
             registryOp.SearchTree("NoTrayIcon400", TSearchMode::kNamesThenData, TSearchExtent::kFirstHit);
           }));
    check(registryOp.SearchResults.empty(), "the first-hit walk");
    platform.Files().DeleteFileA(emptyIni);
  }
  {
    // INI form, with an empty registry key beside it.
    TRegistryEnhanced registryOp(platform);
    TAppSettingsStore store(platform, registryOp, TSettingsLocation{EmptyKey, iniFile});
    std::printf(" INI file\n");
    TEntrySlot slot;
    std::unique_ptr<TIniFile> ini = store.OpenIni();
    Report("FindEntrySlot", Time(repetitions, [&] { slot = store.FindEntrySlot(*ini, target); }));
    check(slot.Found && slot.Slot == Entries, "FindEntrySlot (INI)");
    TAppSettings loaded;
    Report("LoadSettings", Time(repetitions, [&] {
             loaded = DefaultAppSettings(target);
             store.LoadSettings(loaded);
           }));
    check(loaded == expected, "LoadSettings (INI)");
    Report("SaveSettings (to the INI file)", Time(repetitions, [&] { store.SaveSettings(expected, true); }));
  }

  {
    // A name that is not stored, in stores with 20 slots emptied by deletes: every slot is
    // looked at, since an entry may follow a gap.
    TRegistryEnhanced registryOp(platform);
    TAppSettingsStore store(platform, registryOp, TSettingsLocation{BenchKey, iniFile});
    std::unique_ptr<TIniFile> ini = store.OpenIni();
    constexpr int Gaps = 20;
    constexpr int GapEvery = Entries / Gaps;
    for (int gap = 1; gap <= Gaps; ++gap) {
      store.DeleteEntryAt(gap * GapEvery);
      store.DeleteEntryAt(*ini, gap * GapEvery);
    }
    std::printf(" %d entries in %d slots, a name not stored\n", Entries - Gaps, Entries);
    const std::string absent = "C:\\Programs\\Absent.exe";
    TEntrySlot slot;
    Report("FindEntrySlot (registry)", Time(repetitions, [&] { slot = store.FindEntrySlot(absent); }));
    check(!slot.Found && slot.Slot == GapEvery, "FindEntrySlot of a name not stored");
    Report("FindEntrySlot (INI file)", Time(repetitions, [&] { slot = store.FindEntrySlot(*ini, absent); }));
    check(!slot.Found && slot.Slot == GapEvery, "FindEntrySlot of a name not stored (INI)");
  }

  DeleteTree(platform.Registry(), HKEY_CURRENT_USER, BenchKey);
  platform.Files().DeleteFileA(iniFile);
  return failures;
}

}  // namespace
}  // namespace ombrix

int main(int argc, char** argv) { return ombrix::RunOnBothDesktops(argc, argv, 5, ombrix::Bench); }
