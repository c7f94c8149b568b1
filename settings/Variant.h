#pragma once
// TVariant: the values the settings store passes in and out. One of empty, 32-bit integer,
// boolean, string, double, currency (a 64-bit integer scaled by 10,000) and date.
//
// The conversions are the ones the settings code relies on: to text an integer gives its
// decimal digits and empty gives ""; to integer and to boolean empty gives 0 and false;
// comparing an empty value with a number, or converting text that is not a number, raises
// EVariantError.

#include <cstdint>
#include <string>
#include <variant>

#include "base/Exception.h"
#include "platform/Clock.h"

namespace ombrix {

class EVariantError : public Exception {
 public:
  using Exception::Exception;
};

enum class TVariantKind { kEmpty, kInteger, kBoolean, kString, kDouble, kCurrency, kDate };

class TVariant {
 public:
  TVariant() = default;
  TVariant(std::int32_t value) : value_(value) {}              // NOLINT: values convert implicitly
  TVariant(bool value) : value_(value) {}                      // NOLINT
  TVariant(std::string value) : value_(std::move(value)) {}    // NOLINT
  TVariant(const char* value) : value_(std::string(value)) {}  // NOLINT
  TVariant(double value) : value_(value) {}                    // NOLINT
  static TVariant FromCurrency(std::int64_t scaled);
  static TVariant FromDate(TDateTime date);

  TVariantKind Kind() const;
  bool IsEmpty() const { return Kind() == TVariantKind::kEmpty; }

  // The stored value of each kind; asking for another kind raises EVariantError.
  std::int32_t AsInteger() const;
  bool AsBoolean() const;
  const std::string& AsString() const;
  double AsDouble() const;          // double and date
  std::int64_t AsCurrency() const;  // scaled by 10,000

  std::string ToText() const;
  std::int32_t ToInteger() const;
  bool ToBool() const;
  // True when the value is the number `number`; an empty value cannot be compared and raises.
  bool EqualsInteger(std::int32_t number) const;

  // Same kind and same value.
  bool operator==(const TVariant& other) const { return value_ == other.value_; }
  bool operator!=(const TVariant& other) const { return !(*this == other); }

 private:
  struct Currency {
    std::int64_t scaled;
    bool operator==(const Currency& other) const { return scaled == other.scaled; }
  };
  struct Date {
    TDateTime value;
    bool operator==(const Date& other) const { return value == other.value; }
  };
  std::variant<std::monostate, std::int32_t, bool, std::string, double, Currency, Date> value_;
};

}  // namespace ombrix
