#include "platform/MiscUtils.h"

#include "base/DateTime.h"
#include "base/VersionText.h"

namespace ombrix {

namespace {

constexpr const char* FileVersionBlock = "\\StringFileInfo\\040904E4\\FileVersion";

}  // namespace

std::string FileVersionText(Platform& platform, const std::string& file) {
  return platform.Files().QueryVersionString(file, FileVersionBlock);
}

std::string ShortVersion(Platform& platform, const std::string& file) {
  return ShortVersionOf(FileVersionText(platform, file));
}

std::string BuildNumber(Platform& platform, const std::string& file) {
  return BuildNumberOf(FileVersionText(platform, file));
}

std::string VersionCaption(Platform& platform, const std::string& file) {
  const std::string version = FileVersionText(platform, file);
  return "Version " + ShortVersionOf(version) + " build " + BuildNumberOf(version);
}

void PauseWithMessages(Platform& platform, DWORD milliseconds) {
  const TDateTime start = platform.Clock().Now();
  for (;;) {
    platform.Messages().ProcessMessages();
    const TDateTime now = platform.Clock().Now();
    // A clock set back during the pause would otherwise hold it for as long as it moved.
    if (now < start) return;
    const std::int64_t elapsed = TimeToMilliseconds(now - start);
    if (elapsed > static_cast<std::int64_t>(milliseconds)) return;
    platform.Messages().WaitForMessages(static_cast<DWORD>(milliseconds - elapsed + 1));
  }
}

int AskYesNo(Platform& platform, const std::string& caption, const std::string& text) {
  return platform.Dialogs().MessageBoxA(platform.Windows().GetDesktopWindow(), text, caption,
                                        MB_YESNO | MB_SETFOREGROUND);
}

}  // namespace ombrix
