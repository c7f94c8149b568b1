#pragma once
// Small routines both programs share that need the system: version texts read from a file's
// version resource, the size of a path buffer, a pause that keeps the interface alive, and a
// Yes/No question.

#include <cstddef>
#include <string>

#include "base/Utf8.h"
#include "platform/Platform.h"

namespace ombrix {

// The "FileVersion" string of a file's version resource; empty without one.
std::string FileVersionText(Platform& platform, const std::string& file);
// "3.9.2.5" gives "3.09b"; "3.91.0.297" gives "3.91" (ShortVersionOf).
std::string ShortVersion(Platform& platform, const std::string& file);
// "3.91.0.297" gives "297" (BuildNumberOf).
std::string BuildNumber(Platform& platform, const std::string& file);
// "Version 3.91 build 297".
std::string VersionCaption(Platform& platform, const std::string& file);

// The bytes a path of MAX_PATH characters may take in UTF-8: the buffer a ...A call that
// returns a path needs, whatever the program's code page.
constexpr std::size_t MaxPathBytes = MAX_PATH * Utf8BytesPerUtf16Unit;

// Processes pending messages (at least once) until the time has passed.
void PauseWithMessages(Platform& platform, DWORD milliseconds);
// A Yes/No box owned by the desktop window and brought to the foreground; IDYES or IDNO.
int AskYesNo(Platform& platform, const std::string& caption, const std::string& text);

}  // namespace ombrix
