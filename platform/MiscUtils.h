#pragma once
// Small routines both programs share: version texts, digit parsing for the number boxes,
// a time conversion, a pause that keeps the interface alive, and a Yes/No question.

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace ombrix {

// The "FileVersion" string of a file's version resource; empty without one.
std::string FileVersionText(Platform& platform, const std::string& file);
// "3.9.2.5" gives "3.09b"; "3.91.0.297" gives "3.91".
std::string ShortVersion(Platform& platform, const std::string& file);
// "3.91.0.297" gives "297".
std::string BuildNumber(Platform& platform, const std::string& file);
// "Version 3.91 build 297".
std::string VersionCaption(Platform& platform, const std::string& file);

// The same rules on a version text already read.
std::string ShortVersionOf(const std::string& versionText);
std::string BuildNumberOf(const std::string& versionText);

// "" gives "0"; otherwise every character that is not a decimal digit is dropped.
std::string DigitsOnly(const std::string& text);
// The decimal value of DigitsOnly(text), 0 when empty; values beyond the 32-bit range stop at
// 2147483647.
std::int32_t DigitsToInt(const std::string& text);
std::string IntToText(std::int32_t number);

// The folder part of a path with its final backslash ("" when there is none).
std::string FolderOf(const std::string& path);
// The path with the extension of its last part (from its last dot) replaced by `extension`,
// or `extension` added when it has none.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

// Milliseconds of the time-of-day part of a date-time; whole days are not counted.
std::int32_t TimeToMilliseconds(TDateTime time);
// Processes pending messages (at least once) until the time has passed.
void PauseWithMessages(Platform& platform, DWORD milliseconds);
// A Yes/No box owned by the desktop window and brought to the foreground; IDYES or IDNO.
int AskYesNo(Platform& platform, const std::string& caption, const std::string& text);

}  // namespace ombrix
