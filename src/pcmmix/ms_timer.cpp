#include <chrono>

#include "pcmmix/wave_out.h"

namespace qm {

std::uint32_t SteadyMsTimer::Now() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<std::uint32_t>(ms.count());
}

}  // namespace qm
