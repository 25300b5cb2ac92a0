#include "platform/random.h"

#include <chrono>

namespace qm {

std::int32_t Random::Next(std::int32_t n) {
  seed_ = seed_ * 134775813u + 1u;
  if (n <= 0) return 0;
  const std::uint64_t product = static_cast<std::uint64_t>(seed_) * static_cast<std::uint32_t>(n);
  return static_cast<std::int32_t>(product >> 32);
}

std::uint32_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond) {
  return static_cast<std::uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

void Random::Randomize() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const auto ms_of_day = duration_cast<milliseconds>(now).count() % (24LL * 3600 * 1000);
  const auto ms = static_cast<int>(ms_of_day);
  seed_ = SeedFromTimeOfDay(ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
}

}  // namespace qm
