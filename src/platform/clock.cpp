#include "platform/clock.h"

#include <chrono>

namespace qm {

double SteadyClock::Now() const {
  using namespace std::chrono;
  const auto us = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
  // Start a day in, so a deadline of 0 (never set) is always in the past.
  return 1.0 + static_cast<double>(us) / 86400000000.0;
}

}  // namespace qm
