// The clock of the Quit action's wait: seconds since local midnight, which return to 0 at
// midnight, so a wait that starts just before midnight must count across the wrap.
#pragma once

#include <functional>

namespace umbrix::window {

/// Seconds since midnight with fractions; injectable so that tests can cross midnight.
using Clock = std::function<double()>;

inline constexpr double kSecondsPerDay = 86400.0;

/// Seconds since local midnight, to the millisecond.
double SecondsSinceMidnight();

/// Seconds from start to now on a clock that returns to 0 at midnight.
double ElapsedSince(double start, double now);

}  // namespace umbrix::window
