#pragma once

#include "fuzz_check.h"
#include "state/game_state.h"

namespace qm::fuzz {

// Every value of the commander record that a save keeps is the same in both.
inline void CheckSameRecord(const GameState& a, const GameState& b) {
  Check(a.commander_name == b.commander_name && a.ship_name == b.ship_name, "names round trip");
  Check(a.distance_total == b.distance_total && a.voyage_days == b.voyage_days &&
            a.planets_found == b.planets_found && a.bottles_found == b.bottles_found,
        "counts round trip");
  Check(a.sector_x == b.sector_x && a.sector_y == b.sector_y && a.sector_z == b.sector_z,
        "sector round trip");
  Check(a.energy == b.energy && a.hull == b.hull && a.captain_level == b.captain_level &&
            a.energy_max == b.energy_max && a.resources == b.resources &&
            a.resources_max == b.resources_max && a.buoy_absence == b.buoy_absence &&
            a.hull_max == b.hull_max,
        "ship round trip");
  for (int i = 0; i < kChartPointCount; ++i)
    Check(a.point_state[static_cast<size_t>(i)] == b.point_state[static_cast<size_t>(i)],
          "point states round trip");
  Check(a.story_stage() == b.story_stage(), "story stage round trip");
  Check(a.trouble_level == b.trouble_level, "troubles round trip");
}

}  // namespace qm::fuzz
