#include "window/quit_clock.hpp"

#include <QTime>

namespace umbrix::window {

double SecondsSinceMidnight() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

double ElapsedSince(double start, double now) {
  const double elapsed = now - start;
  return elapsed < 0 ? elapsed + kSecondsPerDay : elapsed;  // the clock passed midnight
}

}  // namespace umbrix::window
