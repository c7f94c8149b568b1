// How long the control center's stored-settings page takes to list full stores (399 entries
// in the registry and 399 others in Ombrix's INI file) and to export the registry's entries.
// Prints the figures; run it natively (simulated desktop) and under wine (simulated desktop
// and the real API). Under wine it rewrites the settings key of the prefix it runs in.
//
//   stored_settings_bench [repetitions]   (default 5)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "bench/BenchEntries.h"
#include "bench/BenchMain.h"
#include "center/SettingsExport.h"
#include "center/StoredSettingsPage.h"
#include "platform/sim/SimPlatform.h"
#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#endif

namespace ombrix {
namespace {

constexpr int Entries = SlotLimit - 1;

class TBenchForm : public TForm {
 public:
  TBenchForm(Platform& platform, const std::string& hubFolder)
      : TForm("TBenchForm", "bench", 576, 468),
        RegistryOp(platform),
        context{platform, RegistryOp, hubFolder, "bench"},
        page(*this, tsStoredSettings, context) {}

  TPageControl pcMain{*this, "pcMain", nullptr, {8, 28, 560, 432}};
  TTabSheet tsStoredSettings{*this, "tsStoredSettings", pcMain, " Stored settings "};
  TRegistryEnhanced RegistryOp;
  THubContext context;
  TStoredSettingsPage page;
};

TAppSettings EntryOf(const std::string& file, int slot) {
  TAppSettings settings = DefaultAppSettings(file);
  settings.WindowCaption = "Main window \"" + std::to_string(slot) + "\"";
  settings.SecsToWait = std::to_string(slot % 60);
  settings.IconNumber = static_cast<std::int16_t>(slot % 7 - 3);
  settings.DebugMode = slot % 2 == 1;
  return settings;
}

// Both stores written in one go: through one open key, and as one INI file.
bool FillStores(Platform& platform, const std::string& iniFile) {
  IRegistry& registry = platform.Registry();
  HKEY key = nullptr;
  if (registry.RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKey, KEY_ALL_ACCESS, key, nullptr) != ERROR_SUCCESS)
    return false;
  std::string ini = "[FlushCache]\r\nFlush=Flush\r\n[AppSettings]\r\n";
  for (int slot = 1; slot <= Entries; ++slot) {
    const std::string n = std::to_string(slot);
    WriteRegistryEntry(registry, key, EntryOf("C:\\Programs\\App" + n + "\\App.exe", slot), slot);
    AppendIniEntry(EntryOf("D:\\Tools\\Tool" + n + ".exe", slot), slot, ini);
  }
  registry.RegCloseKey(key);
  return platform.Files().WriteFileBytes(iniFile, ini);
}

void ClearSettingsKey(Platform& platform) {
  TRegistryEnhanced registry(platform);
  registry.Key = "Software\\Vorel Software";
  registry.DeleteKey("Ombrix");
}

double Time(int repetitions, const std::function<void()>& run) {
  run();  // warm-up
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < repetitions; ++i) run();
  const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
  return elapsed.count() / repetitions;
}

int Bench(Platform& platform, const char* backend, int repetitions) {
  const std::string hubFolder = platform.Files().GetTempPathA();
  const std::string iniFile = hubFolder + "Ombrix.ini";
  const std::string exportFile = hubFolder + "OmbrixBench.reg";
  ClearSettingsKey(platform);
  if (!FillStores(platform, iniFile)) {
    std::printf("%s: cannot write the stores\n", backend);
    return 1;
  }
  TBenchForm form(platform, hubFolder);
  std::printf("%s: %d entries in the registry, %d in the INI file; %d repetitions\n", backend, Entries, Entries,
              repetitions);
  int failures = 0;
  const double fill = Time(repetitions, [&] { form.page.FillSettingsList(); });
  std::printf("  %-40s %10.3f ms\n", "FillSettingsList", fill);
  if (form.page.cbSettingsList.Items().size() != 2 * Entries) {
    std::printf("  !! the list holds %zu names\n", form.page.cbSettingsList.Items().size());
    ++failures;
  }
  // Where the time goes: the list's sort alone, and the registry's scan alone.
  const std::vector<std::string> names = form.page.cbSettingsList.Items();
  std::printf("  %-40s %10.3f ms\n", "  the sort of the names alone",
              Time(repetitions, [&] { form.page.cbSettingsList.SetItems(names); }));
  std::string iniText;
  platform.Files().ReadFileBytes(iniFile, iniText);
  platform.Files().DeleteFileA(iniFile);
  std::printf("  %-40s %10.3f ms\n", "  FillSettingsList without the INI file",
              Time(repetitions, [&] { form.page.FillSettingsList(); }));
  platform.Files().WriteFileBytes(iniFile, iniText);
  const double exported = Time(repetitions, [&] { ExportSettings(platform, form.RegistryOp, exportFile); });
  std::printf("  %-40s %10.3f ms\n", "export of the registry's entries", exported);
  std::string bytes;
  platform.Files().ReadFileBytes(exportFile, bytes);
  // The header's three lines, the exported values and an empty line per entry, the final
  // empty line.
  const long lines = static_cast<long>(std::count(bytes.begin(), bytes.end(), '\n'));
  const long perEntry = static_cast<long>(EntryValuesInOrder(TEntryOrder::kExport).size()) + 1;
  if (lines != 4 + perEntry * Entries) {
    std::printf("  !! the export holds %ld lines\n", lines);
    ++failures;
  }
  std::fflush(stdout);
  ClearSettingsKey(platform);
  platform.Files().DeleteFileA(iniFile);
  platform.Files().DeleteFileA(exportFile);
  return failures;
}

}  // namespace
}  // namespace ombrix

int main(int argc, char** argv) { return ombrix::RunOnBothDesktops(argc, argv, 5, ombrix::Bench); }
