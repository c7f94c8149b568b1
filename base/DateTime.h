#pragma once
// Local date and time as the system's clock gives them, and conversions between calendar
// fields and that form.

#include <cstdint>

namespace ombrix {

// Local date and time as days since 1899-12-30, the fraction being the time of day.
using TDateTime = double;

constexpr double MillisecondsPerDay = 86400000.0;

// Days from 1899-12-30 to the given civil date (proleptic Gregorian calendar).
constexpr long DaysFromCivil(int year, unsigned month, unsigned day) {
  year -= month <= 2 ? 1 : 0;
  const long era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
  const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  const long daysSince1970 = era * 146097 + static_cast<long>(dayOfEra) - 719468;
  return daysSince1970 + 25569;  // 1970-01-01 is day 25569
}

constexpr TDateTime EncodeDateTime(int year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                                   unsigned second, unsigned millisecond) {
  return static_cast<double>(DaysFromCivil(year, month, day)) +
         (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / MillisecondsPerDay;
}

// Milliseconds of the time-of-day part of a date-time; whole days are not counted.
std::int32_t TimeToMilliseconds(TDateTime time);

}  // namespace ombrix
