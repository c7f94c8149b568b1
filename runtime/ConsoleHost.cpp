#include "runtime/ConsoleHost.h"

#include <cstdint>

#include "base/NumberText.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

namespace {

// The console host's own class id: a console program then gets a console window of its own.
constexpr char ConsoleHostId[] = "{B23D10C0-E52E-411E-9D5B-C09FDF709C7D}";
constexpr char LetWindowsDecideId[] = "{00000000-0000-0000-0000-000000000000}";
// Windows 11 22H2, the first to show console programs in Terminal when left to decide.
constexpr std::int32_t TerminalByDefaultBuild = 22621;
constexpr std::uint16_t ConsoleSubsystem = 3;  // IMAGE_SUBSYSTEM_WINDOWS_CUI

std::uint32_t Little(const std::string& bytes, size_t at, size_t size) {
  std::uint32_t value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::string ReadText(Platform& platform, TRootKey root, const std::string& key, const std::string& name) {
  TRegistryEnhanced registry(platform);
  registry.RootKey = root;
  registry.Access = TAccess::kRead;
  registry.Key = key;
  return registry.ReadValueDefault(name, TVariant(std::string())).ToText();
}

}  // namespace

bool IsConsoleProgram(IFiles& files, const std::string& program, const std::string& upperExtension) {
  if (upperExtension == ".BAT" || upperExtension == ".CMD" || upperExtension == ".COM") return true;
  std::string bytes;
  if (upperExtension != ".EXE" || !files.ReadFileBytes(program, bytes) || bytes.size() < 0x40) return false;
  // The PE header the MS-DOS header points to; its optional header's Subsystem field lies at
  // the same place in 32-bit and 64-bit programs.
  const size_t header = Little(bytes, 0x3C, 4);
  if (bytes.compare(0, 2, "MZ") != 0 || header >= bytes.size() || bytes.size() - header < 24 + 68 + 2) return false;
  if (bytes.compare(header, 4, std::string("PE\0\0", 4)) != 0) return false;
  return Little(bytes, header + 24 + 68, 2) == ConsoleSubsystem;
}

bool ConsolesGoToTerminal(Platform& platform) {
  // "Default terminal application" in Windows' settings. Missing, or all zero, lets
  // Windows decide; any host but the console's own is Terminal (or another terminal).
  const std::string host = ReadText(platform, TRootKey::hkCurrentUser, "Console\\%%Startup", "DelegationConsole");
  const std::string upper = platform.Windows().CharUpperBuffA(host);
  if (upper == ConsoleHostId) return false;
  if (!host.empty() && upper != LetWindowsDecideId) return true;
  const std::string build = ReadText(platform, TRootKey::hkLocalMachine,
                                     "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "CurrentBuildNumber");
  return DigitsToInt(build) >= TerminalByDefaultBuild;
}

std::string ConsoleInTerminalText(const std::string& program) {
  return "\"" + program +
         "\" is a console program, and Windows\r\nshows console programs in Windows Terminal,\r\n"
         "which I can't keep in the tray.\r\n\r\nTo keep it in the tray, choose \"Windows Console Host\"\r\n"
         "in Settings > System > For developers > Terminal.\r\n";
}

}  // namespace ombrix
