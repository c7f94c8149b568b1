#pragma once
// Small routines both programs share: version texts, digit parsing for the number boxes,
// a time conversion, a pause that keeps the interface alive, a Yes/No question, and the
// measure of texts in characters.

#include <cstddef>
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

// Texts of the ...A calls are bytes in the program's code page: UTF-8 where the system honours
// the manifest's entry, the system's legacy code page elsewhere. These routines take a text as
// UTF-8 where it is well-formed and every other byte as a character of its own, so that a text
// of a legacy code page keeps its one byte a character and its length.
//
// The length in bytes of the well-formed UTF-8 character that starts at `at` (1 for ASCII); 0
// when none starts there (a byte of a legacy code page, a broken or cut sequence, the end).
std::size_t Utf8CharacterLength(const std::string& text, std::size_t at);
// Whether the whole text is well-formed UTF-8; ASCII is.
bool IsUtf8(const std::string& text);
// The characters the system counts in the text: UTF-16 units, so two for a character beyond
// U+FFFF, and one for each byte that is no part of a UTF-8 character.
std::size_t CharacterCount(const std::string& text);
// The longest beginning of the text with at most `maxBytes` bytes that does not end inside a
// UTF-8 character: what fits a buffer of that many bytes and still shows right.
std::string CutText(const std::string& text, std::size_t maxBytes);
// The bytes a UTF-8 character takes beyond the first, at most. A text read into a buffer this
// much larger than needed, then cut with CutText, ends on a whole character however the call
// itself cut it.
constexpr std::size_t Utf8CharacterRoom = 3;
// The bytes of UTF-8 that one UTF-16 unit, as the system counts lengths, may take at most
// (a character beyond U+FFFF takes four bytes for its two units).
constexpr std::size_t Utf8BytesPerUtf16Unit = 3;
// The bytes a path of MAX_PATH characters may take in UTF-8: the buffer a ...A call that
// returns a path needs, whatever the program's code page.
constexpr std::size_t MaxPathBytes = MAX_PATH * Utf8BytesPerUtf16Unit;

// Milliseconds of the time-of-day part of a date-time; whole days are not counted.
std::int32_t TimeToMilliseconds(TDateTime time);
// Processes pending messages (at least once) until the time has passed.
void PauseWithMessages(Platform& platform, DWORD milliseconds);
// A Yes/No box owned by the desktop window and brought to the foreground; IDYES or IDNO.
int AskYesNo(Platform& platform, const std::string& caption, const std::string& text);

}  // namespace ombrix
