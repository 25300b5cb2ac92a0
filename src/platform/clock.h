#pragma once

#include <algorithm>

namespace qm {

// Time as a real number of days, the scale every pacing rule of the game is written in.
constexpr double kDaysPerMillisecond = 1.0 / 86400000.0;

// Whole milliseconds from `now` until `when` (both in days), rounded up so a timer set to it wakes
// when the time has come, not just before; `otherwise` when that time has already passed.
inline int MsUntil(double when, double now, int otherwise) {
  const double ms = (when - now) / kDaysPerMillisecond;
  if (!(ms > 0)) return otherwise;
  // Beyond a minute something has gone wrong with the times; look again within one.
  if (ms > 60000) return 60000;
  // Days carry a little rounding: a microsecond over a whole millisecond is that millisecond.
  const double trimmed = ms - 0.001;
  const int whole = static_cast<int>(trimmed);
  return std::max(1, whole < trimmed ? whole + 1 : whole);
}

class Clock {
 public:
  virtual ~Clock() = default;
  virtual double Now() const = 0;
};

// A monotonic clock, so that setting the desktop clock back never freezes the voyage.
class SteadyClock final : public Clock {
 public:
  double Now() const override;
};

// Time that only moves when a test or a benchmark says so.
class ManualClock final : public Clock {
 public:
  explicit ManualClock(double days = 1.0) : now_(days) {}
  double Now() const override { return now_; }
  void AdvanceMs(double ms) { now_ += ms * kDaysPerMillisecond; }
  void Set(double days) { now_ = days; }

 private:
  double now_;
};

}  // namespace qm
