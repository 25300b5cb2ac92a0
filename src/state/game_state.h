#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "state/point_kind.h"

namespace qm {

constexpr int kChartPointCount = 400;
constexpr int kTroubleCount = 10;
constexpr int kSectorMin = -30;
constexpr int kSectorMax = 30;
constexpr int kGridSize = 61;

// One place of the chart, as the chart file gives it; never changed during play.
struct ChartPoint {
  std::string name;  // CP932
  std::string text;  // CP932
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::int32_t size = 0;
  std::int32_t kind = 0;
  std::int32_t yield = 0;
  std::int32_t resource_gain = 0;
  std::int32_t next_point = -1;
  std::int32_t next_point_2 = -1;
  std::int32_t extra_point = -1;

  bool operator==(const ChartPoint&) const = default;
};

// Trouble indices, in the order the instruments list them and the repair buttons are numbered.
enum Trouble : int {
  kEngineTrouble = 0,
  kSleeperInjury = 1,
  kHullDamage = 2,
  kStellarWindPollution = 3,
  kFire = 4,
  kFuelTankDamage = 5,
  kMainSystemFault = 6,
  kInfection = 7,
  kSystemDown = 8,
  kRadarFault = 9,
};

// The one game state of the process: the commander record (what is saved), the chart and the
// sector grid built from it, and the end-of-voyage flag.
struct GameState {
  // Commander record.
  // CP932; the entry boxes allow 8 bytes, a saved game may bring any length.
  std::string commander_name;
  std::string ship_name;
  std::int32_t save_checksum = 0;
  std::int32_t hull_max = 0;
  std::int32_t buoy_absence = 0;
  std::int32_t resources_max = 0;
  std::int32_t resources = 0;
  std::int32_t sector_x = 0;
  std::int32_t sector_y = 0;
  std::int32_t sector_z = 0;
  std::int32_t energy_max = 0;
  std::int32_t energy = 0;
  std::int32_t hull = 0;
  std::int32_t captain_level = 0;
  std::int32_t distance_total = 0;
  std::int32_t voyage_days = 0;
  std::int32_t planets_found = 0;
  std::int32_t bottles_found = 0;
  // 0..399 the chart points; 400 is never written; 401 is the story stage.
  std::array<std::int32_t, 402> point_state{};
  std::array<std::int32_t, kTroubleCount> trouble_level{};

  // Not saved.
  std::int32_t voyage_over = 0;

  // The chart.
  std::array<ChartPoint, kChartPointCount> chart;
  // Rows by chart X, columns by Z, both -30..30; each cell the kind of the point there, or 0.
  std::array<std::array<std::uint8_t, kGridSize>, kGridSize> sector_grid{};

  std::int32_t& story_stage() { return point_state[401]; }
  std::int32_t story_stage() const { return point_state[401]; }

  // The grid cell of a chart X and Z; 0 outside space.
  std::uint8_t GridCell(int chart_x, int z) const;
};

// Starts a new voyage on the loaded chart; keeps `distance_total`, `save_checksum` and the chart.
void NewGame(GameState& state);

// Fills the sector grid from the chart; a later point overwrites an earlier one in its cell.
void BuildGrid(GameState& state);

// Keeps resources, energy and hull within their bounds (energy only from above).
void Clamp(GameState& state);

}  // namespace qm
