#pragma once
// Numbers as text, and back, without the C library's formatted output: in the static Windows
// programs, printf's floating-point support alone weighs about 25 KB. The results are exactly
// those of the printf formats named.

#include <cstdint>
#include <string>

namespace ombrix {

// As printf's "%.15g": fifteen significant digits, correctly rounded (an exact tie to the
// even digit), in fixed notation for exponents from -4 to 14 and in scientific notation
// otherwise, trailing zeros dropped; "inf", "nan", with a minus sign when the sign is set.
std::string GeneralNumberText(double value);

// As printf's "%0*x" (or "%0*X" with `upperCase`): at least `width` hexadecimal digits.
std::string HexText(std::uint32_t value, int width, bool upperCase);

// "" gives "0"; otherwise every character that is not a decimal digit is dropped.
std::string DigitsOnly(const std::string& text);
// The decimal value of DigitsOnly(text), 0 when empty; values beyond the 32-bit range stop at
// 2147483647.
std::int32_t DigitsToInt(const std::string& text);
std::string IntToText(std::int32_t number);

}  // namespace ombrix
