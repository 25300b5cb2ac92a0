#include "state/game_state.h"

namespace qm {

std::uint8_t GameState::GridCell(int chart_x, int z) const {
  if (chart_x < kSectorMin || chart_x > kSectorMax || z < kSectorMin || z > kSectorMax) return 0;
  return sector_grid[static_cast<size_t>(chart_x - kSectorMin)]
                    [static_cast<size_t>(z - kSectorMin)];
}

void NewGame(GameState& s) {
  s.commander_name.clear();
  s.ship_name.clear();
  s.sector_x = s.sector_y = s.sector_z = 0;
  s.captain_level = 1;
  s.voyage_days = s.planets_found = s.bottles_found = 0;
  for (int i = 0; i < kChartPointCount; ++i)
    s.point_state[static_cast<size_t>(i)] = 0;
  s.point_state[0] = 1;
  for (int i = 0; i < kChartPointCount; ++i) {
    if (Traits(s.chart[static_cast<size_t>(i)].kind).known_from_start)
      s.point_state[static_cast<size_t>(i)] = 1;
  }
  s.hull_max = s.hull = 10;
  s.energy_max = s.energy = 200;
  s.resources_max = s.resources = 7;
  s.buoy_absence = 0;
  s.story_stage() = 0;
  s.trouble_level.fill(0);
  s.voyage_over = 0;
}

void BuildGrid(GameState& s) {
  for (auto& row : s.sector_grid)
    row.fill(0);
  for (const ChartPoint& p : s.chart) {
    // A damaged chart may place a point outside space; such a point has no cell.
    if (p.x < kSectorMin || p.x > kSectorMax || p.z < kSectorMin || p.z > kSectorMax) continue;
    // A cell holds one byte; a kind it cannot hold would alias another kind.
    if (p.kind != static_cast<std::uint8_t>(p.kind)) continue;
    s.sector_grid[static_cast<size_t>(p.x - kSectorMin)][static_cast<size_t>(p.z - kSectorMin)] =
        static_cast<std::uint8_t>(p.kind);
  }
}

void Clamp(GameState& s) {
  if (s.resources < 0) s.resources = 0;
  if (s.resources > s.resources_max) s.resources = s.resources_max;
  if (s.energy > s.energy_max) s.energy = s.energy_max;
  if (s.hull < 0) s.hull = 0;
  if (s.hull > s.hull_max) s.hull = s.hull_max;
}

}  // namespace qm
