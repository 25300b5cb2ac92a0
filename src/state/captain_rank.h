#pragma once

#include <cstdint>
#include <string>

namespace qm {

// The captain's rank title for a captain level, as CP932 text; shared by the status line and the
// voyage log.
std::string RankTitle(std::int32_t captain_level);

}  // namespace qm
