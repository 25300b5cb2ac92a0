#include "state/game_state.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/cp932.h"
#include "platform/gcc12_false_warnings.h"

namespace qm {
namespace {

ChartPoint At(int x, int y, int z, int kind) {
  ChartPoint p;
  p.x = x;
  p.y = y;
  p.z = z;
  p.kind = kind;
  return p;
}

// A voyage well under way: every field far from its new-game value.
GameState WornState() {
  GameState s;
  s.commander_name = Sj("ｸｴﾙ");
  s.ship_name = Sj("まりん");
  s.save_checksum = 4242;
  s.hull_max = 14;
  s.hull = 3;
  s.buoy_absence = 900;
  s.resources_max = 11;
  s.resources = 9;
  s.sector_x = -12;
  s.sector_y = 7;
  s.sector_z = 30;
  s.energy_max = 260;
  s.energy = -15;
  s.captain_level = 6;
  s.distance_total = 123456;
  s.voyage_days = 40;
  s.planets_found = 3;
  s.bottles_found = 2;
  s.point_state.fill(2);
  s.point_state[400] = 77;
  s.story_stage() = 5;
  s.trouble_level.fill(3);
  s.voyage_over = 1;
  for (int i = 0; i < kChartPointCount; ++i) {
    ChartPoint& p = s.chart[static_cast<size_t>(i)];
    QM_GCC12_FALSE_WARNINGS_BEGIN
    p.name = "P" + std::to_string(i);
    QM_GCC12_FALSE_WARNINGS_END
    p.kind = i % 23;  // every kind 0..22 several times over
    p.x = i % 61 - 30;
    p.z = (i * 7) % 61 - 30;
  }
  return s;
}

TEST(NewGame, ResetsTheCommanderRecordAndKeepsChartAndDistance) {
  GameState s = WornState();
  const auto chart_before = s.chart;
  NewGame(s);

  EXPECT_EQ(s.commander_name, "");
  EXPECT_EQ(s.ship_name, "");
  EXPECT_EQ(s.sector_x, 0);
  EXPECT_EQ(s.sector_y, 0);
  EXPECT_EQ(s.sector_z, 0);
  EXPECT_EQ(s.captain_level, 1);
  EXPECT_EQ(s.voyage_days, 0);
  EXPECT_EQ(s.planets_found, 0);
  EXPECT_EQ(s.bottles_found, 0);
  EXPECT_EQ(s.hull_max, 10);
  EXPECT_EQ(s.hull, 10);
  EXPECT_EQ(s.energy_max, 200);
  EXPECT_EQ(s.energy, 200);
  EXPECT_EQ(s.resources_max, 7);
  EXPECT_EQ(s.resources, 7);
  EXPECT_EQ(s.buoy_absence, 0);
  EXPECT_EQ(s.story_stage(), 0);
  for (int t = 0; t < kTroubleCount; ++t)
    EXPECT_EQ(s.trouble_level[static_cast<size_t>(t)], 0);
  EXPECT_EQ(s.voyage_over, 0);

  EXPECT_EQ(s.distance_total, 123456);
  for (int i = 0; i < kChartPointCount; ++i) {
    const auto& a = s.chart[static_cast<size_t>(i)];
    const auto& b = chart_before[static_cast<size_t>(i)];
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.z, b.z);
  }
  // The slot between the chart and the story stage is nobody's.
  EXPECT_EQ(s.point_state[400], 77);
}

TEST(NewGame, KnowsPointZeroAndTheKindsThatNeedNoBuoy) {
  GameState s = WornState();
  s.chart[0].kind = 1;  // a buoy, yet the first point of the voyage
  NewGame(s);
  EXPECT_EQ(s.point_state[0], 1);
  const std::set<int> known = {3, 4, 5, 6, 7, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22};
  for (int i = 1; i < kChartPointCount; ++i) {
    const int kind = s.chart[static_cast<size_t>(i)].kind;
    EXPECT_EQ(s.point_state[static_cast<size_t>(i)], known.count(kind) ? 1 : 0)
        << "point " << i << " kind " << kind;
  }
}

TEST(SectorGrid, HigherIndexWinsInASharedCellWhateverTheKinds) {
  GameState s;
  s.chart[3] = At(5, 0, -7, 20);
  s.chart[9] = At(5, 12, -7, 5);  // differs only in Y: same cell
  s.chart[11] = At(-7, 0, 5, 13);
  BuildGrid(s);
  EXPECT_EQ(s.GridCell(5, -7), 5);
  // Rows are X and columns Z: the mirrored place is a different cell.
  EXPECT_EQ(s.GridCell(-7, 5), 13);

  std::swap(s.chart[3], s.chart[9]);
  BuildGrid(s);
  EXPECT_EQ(s.GridCell(5, -7), 20);
}

TEST(SectorGrid, RebuildForgetsOldCellsAndSkipsPointsOutsideSpace) {
  GameState s;
  s.chart[1] = At(30, 0, 30, 6);
  BuildGrid(s);
  EXPECT_EQ(s.GridCell(30, 30), 6);
  s.chart[1] = At(31, 0, 30, 6);
  s.chart[2] = At(-30, 0, -31, 6);
  s.chart[4] = At(3, 0, 3, 261);  // would alias kind 5 in a byte
  BuildGrid(s);
  EXPECT_EQ(s.GridCell(30, 30), 0);
  EXPECT_EQ(s.GridCell(3, 3), 0);
  EXPECT_EQ(s.GridCell(31, 30), 0);
  EXPECT_EQ(s.GridCell(-30, -31), 0);
}

TEST(Clamp, BoundsResourcesAndHullBothWaysAndEnergyOnlyFromAbove) {
  GameState s;
  s.resources_max = 7;
  s.energy_max = 200;
  s.hull_max = 10;

  s.resources = -3;
  s.energy = -40;
  s.hull = -1;
  Clamp(s);
  EXPECT_EQ(s.resources, 0);
  EXPECT_EQ(s.energy, -40);
  EXPECT_EQ(s.hull, 0);

  s.resources = 8;
  s.energy = 201;
  s.hull = 11;
  Clamp(s);
  EXPECT_EQ(s.resources, 7);
  EXPECT_EQ(s.energy, 200);
  EXPECT_EQ(s.hull, 10);

  s.resources = 7;
  s.energy = 200;
  s.hull = 10;
  Clamp(s);
  EXPECT_EQ(s.resources, 7);
  EXPECT_EQ(s.energy, 200);
  EXPECT_EQ(s.hull, 10);
}

}  // namespace
}  // namespace qm
