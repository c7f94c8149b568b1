#pragma once
// The measure of texts in characters, and their cut on a whole character.
//
// Texts of the ...A calls are bytes in the program's code page: UTF-8 where the system honours
// the manifest's entry, the system's legacy code page elsewhere. These routines take a text as
// UTF-8 where it is well-formed and every other byte as a character of its own, so that a text
// of a legacy code page keeps its one byte a character and its length.

#include <cstddef>
#include <string>

namespace ombrix {

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

}  // namespace ombrix
