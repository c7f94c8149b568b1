#include "settings/Variant.h"

#include <cmath>
#include <limits>

#include "base/NumberText.h"
#include "settings/SettingsText.h"

namespace ombrix {

namespace {

const char* KindName(TVariantKind kind) {
  switch (kind) {
    case TVariantKind::kEmpty:
      return "empty";
    case TVariantKind::kInteger:
      return "integer";
    case TVariantKind::kBoolean:
      return "boolean";
    case TVariantKind::kString:
      return "string";
    case TVariantKind::kDouble:
      return "double";
    case TVariantKind::kCurrency:
      return "currency";
    case TVariantKind::kDate:
      return "date";
  }
  return "unknown";
}

[[noreturn]] void WrongKind(TVariantKind kind, const char* wanted) {
  throw EVariantError(std::string("A value of kind ") + KindName(kind) + " cannot be read as " + wanted);
}

std::int32_t RoundToInteger(double number) {
  const double rounded = std::nearbyint(number);
  if (!(rounded >= std::numeric_limits<std::int32_t>::min() && rounded <= std::numeric_limits<std::int32_t>::max())) {
    throw EVariantError("The number is outside the range of an integer");
  }
  return static_cast<std::int32_t>(rounded);
}

std::string NumberText(double number) { return GeneralNumberText(number); }

}  // namespace

TVariant TVariant::FromCurrency(std::int64_t scaled) {
  TVariant result;
  result.value_ = Currency{scaled};
  return result;
}

TVariant TVariant::FromDate(TDateTime date) {
  TVariant result;
  result.value_ = Date{date};
  return result;
}

TVariantKind TVariant::Kind() const { return static_cast<TVariantKind>(value_.index()); }

std::int32_t TVariant::AsInteger() const {
  if (auto* value = std::get_if<std::int32_t>(&value_)) return *value;
  WrongKind(Kind(), "an integer");
}

bool TVariant::AsBoolean() const {
  if (auto* value = std::get_if<bool>(&value_)) return *value;
  WrongKind(Kind(), "a boolean");
}

const std::string& TVariant::AsString() const {
  if (auto* value = std::get_if<std::string>(&value_)) return *value;
  WrongKind(Kind(), "a string");
}

double TVariant::AsDouble() const {
  if (auto* value = std::get_if<double>(&value_)) return *value;
  if (auto* date = std::get_if<Date>(&value_)) return date->value;
  WrongKind(Kind(), "a double");
}

std::int64_t TVariant::AsCurrency() const {
  if (auto* value = std::get_if<Currency>(&value_)) return value->scaled;
  WrongKind(Kind(), "a currency");
}

std::string TVariant::ToText() const {
  switch (Kind()) {
    case TVariantKind::kEmpty:
      return "";
    case TVariantKind::kInteger:
      return std::to_string(AsInteger());
    case TVariantKind::kBoolean:
      return AsBoolean() ? "True" : "False";
    case TVariantKind::kString:
      return AsString();
    case TVariantKind::kDouble:
    case TVariantKind::kDate:
      return NumberText(AsDouble());
    case TVariantKind::kCurrency:
      return NumberText(static_cast<double>(AsCurrency()) / 10000.0);
  }
  return "";
}

std::int32_t TVariant::ToInteger() const {
  switch (Kind()) {
    case TVariantKind::kEmpty:
      return 0;
    case TVariantKind::kInteger:
      return AsInteger();
    case TVariantKind::kBoolean:
      return AsBoolean() ? 1 : 0;
    case TVariantKind::kString: {
      std::int32_t value = 0;
      if (!ParseDecimalInt32(AsString(), value))
        throw EVariantError(FormatText("'%s' is not a valid integer", AsString()));
      return value;
    }
    case TVariantKind::kDouble:
    case TVariantKind::kDate:
      return RoundToInteger(AsDouble());
    case TVariantKind::kCurrency:
      return RoundToInteger(static_cast<double>(AsCurrency()) / 10000.0);
  }
  return 0;
}

bool TVariant::ToBool() const {
  switch (Kind()) {
    case TVariantKind::kEmpty:
      return false;
    case TVariantKind::kBoolean:
      return AsBoolean();
    case TVariantKind::kString: {
      const std::string lower = LowerLettersAZ(AsString());
      if (lower == "true") return true;
      if (lower == "false") return false;
      return ToInteger() != 0;
    }
    case TVariantKind::kDouble:
    case TVariantKind::kDate:
      return AsDouble() != 0.0;
    case TVariantKind::kCurrency:
      return AsCurrency() != 0;
    case TVariantKind::kInteger:
      return AsInteger() != 0;
  }
  return false;
}

bool TVariant::EqualsInteger(std::int32_t number) const {
  switch (Kind()) {
    case TVariantKind::kEmpty:
      throw EVariantError("An empty value cannot be compared with a number");
    case TVariantKind::kDouble:
    case TVariantKind::kDate:
      return AsDouble() == number;
    case TVariantKind::kCurrency:
      return AsCurrency() == static_cast<std::int64_t>(number) * 10000;
    default:
      return ToInteger() == number;
  }
}

}  // namespace ombrix
