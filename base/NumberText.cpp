#include "base/NumberText.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace ombrix {

namespace {

constexpr int Precision = 15;
constexpr std::uint32_t LimbBase = 1000000000;  // nine decimal digits per limb

// A non-negative integer of any size, in base 10^9, least significant limb first.
class BigDecimal {
 public:
  explicit BigDecimal(std::uint64_t value) {
    do {
      limbs_.push_back(static_cast<std::uint32_t>(value % LimbBase));
      value /= LimbBase;
    } while (value != 0);
  }
  void Multiply(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product % LimbBase);
      carry = product / LimbBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % LimbBase));
      carry /= LimbBase;
    }
  }
  // Multiplies by base^count, in steps that keep each product within 64 bits.
  void MultiplyByPower(std::uint32_t base, std::uint32_t step, int stepExponent, int count) {
    for (; count >= stepExponent; count -= stepExponent) Multiply(step);
    for (; count > 0; --count) Multiply(base);
  }
  std::string Digits() const {
    std::string digits = std::to_string(limbs_.back());
    for (std::size_t i = limbs_.size() - 1; i-- > 0;) {
      const std::string limb = std::to_string(limbs_[i]);
      digits += std::string(9 - limb.size(), '0') + limb;
    }
    return digits;
  }

 private:
  std::vector<std::uint32_t> limbs_;
};

// Rounds the decimal digits of a number to `Precision` of them; `exponent` is the power of
// ten of the first digit and grows when rounding carries into a new one.
std::string RoundedDigits(std::string digits, int& exponent) {
  if (digits.size() <= static_cast<std::size_t>(Precision)) return digits;
  const char next = digits[Precision];
  const bool restNonZero = digits.find_first_not_of('0', Precision + 1) != std::string::npos;
  digits.resize(Precision);
  const bool up = next > '5' || (next == '5' && (restNonZero || (digits.back() - '0') % 2 == 1));
  if (up) {
    int i = Precision - 1;
    while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') digits[static_cast<std::size_t>(i--)] = '0';
    if (i >= 0) {
      ++digits[static_cast<std::size_t>(i)];
    } else {
      digits.insert(digits.begin(), '1');
      digits.pop_back();
      ++exponent;
    }
  }
  return digits;
}

std::string WithoutTrailingZeros(std::string fraction) {
  const std::size_t last = fraction.find_last_not_of('0');
  fraction.resize(last == std::string::npos ? 0 : last + 1);
  return fraction;
}

}  // namespace

std::string GeneralNumberText(double value) {
  const std::string sign = std::signbit(value) ? "-" : "";
  if (std::isnan(value)) return sign + "nan";
  if (std::isinf(value)) return sign + "inf";
  if (value == 0) return sign + "0";

  // The exact value, mantissa × 2^binaryExponent, as decimal digits: for a negative
  // exponent mantissa × 5^-e × 10^e, so the digits of mantissa × 5^-e with a decimal shift.
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  const int storedExponent = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int binaryExponent = storedExponent == 0 ? -1074 : storedExponent - 1075;
  if (storedExponent != 0) mantissa |= std::uint64_t{1} << 52;
  BigDecimal exact(mantissa);
  int decimalShift = 0;
  if (binaryExponent >= 0) {
    exact.MultiplyByPower(2, std::uint32_t{1} << 29, 29, binaryExponent);
  } else {
    exact.MultiplyByPower(5, 1220703125, 13, -binaryExponent);  // 5^13
    decimalShift = binaryExponent;
  }
  std::string digits = exact.Digits();
  int exponent = static_cast<int>(digits.size()) + decimalShift - 1;
  digits = RoundedDigits(digits, exponent);

  if (exponent < -4 || exponent >= Precision) {
    const std::string fraction = WithoutTrailingZeros(digits.substr(1));
    const int magnitude = exponent < 0 ? -exponent : exponent;
    std::string power = std::to_string(magnitude);
    if (power.size() < 2) power.insert(0, "0");
    return sign + digits.substr(0, 1) + (fraction.empty() ? "" : "." + fraction) + "e" + (exponent < 0 ? "-" : "+") +
           power;
  }
  digits.resize(static_cast<std::size_t>(Precision), '0');
  std::string whole;
  std::string fraction;
  if (exponent >= 0) {
    whole = digits.substr(0, static_cast<std::size_t>(exponent) + 1);
    fraction = digits.substr(static_cast<std::size_t>(exponent) + 1);
  } else {
    whole = "0";
    fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  fraction = WithoutTrailingZeros(fraction);
  return sign + whole + (fraction.empty() ? "" : "." + fraction);
}

std::string HexText(std::uint32_t value, int width, bool upperCase) {
  const char* const symbols = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string digits;
  do {
    digits.insert(digits.begin(), symbols[value % 16]);
    value /= 16;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

std::string DigitsOnly(const std::string& text) {
  if (text.empty()) return "0";
  std::string digits;
  for (char c : text) {
    if (c >= '0' && c <= '9') digits += c;
  }
  return digits;
}

std::int32_t DigitsToInt(const std::string& text) {
  constexpr std::int64_t Max = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (char c : DigitsOnly(text)) {
    value = value * 10 + (c - '0');
    if (value > Max) return static_cast<std::int32_t>(Max);
  }
  return static_cast<std::int32_t>(value);
}

std::string IntToText(std::int32_t number) { return std::to_string(number); }

}  // namespace ombrix
