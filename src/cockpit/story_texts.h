#pragma once

#include <array>
#include <string>

#include "state/game_state.h"

namespace qm {

constexpr int kShockwavePageCount = 7;

// The page a buoy shows with the place of the next buoy. The message box knows it again when the
// player dismisses it, so both must build it the same way. CP932.
std::string BuoyCluePage(const ChartPoint& next);

// The ship computer's announcement of the shockwave, in the order it is read. CP932.
const std::array<std::string, kShockwavePageCount>& ShockwavePages();

}  // namespace qm
