#include "base/DateTime.h"

#include <cmath>

namespace ombrix {

std::int32_t TimeToMilliseconds(TDateTime time) {
  const double fraction = std::fabs(time - std::trunc(time));
  const long long milliseconds = std::llround(fraction * MillisecondsPerDay);
  return static_cast<std::int32_t>(milliseconds % static_cast<long long>(MillisecondsPerDay));
}

}  // namespace ombrix
