#pragma once

namespace qm {

// Time as a real number of days, the scale every pacing rule of the game is written in.
constexpr double kDaysPerMillisecond = 1.0 / 86400000.0;

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
