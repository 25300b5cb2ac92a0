// Saved games edited by hand far beyond anything a voyage reaches: a check value of 0 (or one
// recomputed by the editor) lets them through, CONTINUE stays open, and the voyage must fly on
// them without its 32-bit sums running over (the sanitizer build stops on any such overflow).
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "cockpit_rig.h"
#include "random_hand.h"
#include "state/captain_rank.h"
#include "state/save_files.h"
#include "temp_game_folder.h"
#include "title_rig.h"

namespace qm {
namespace {

// A new voyage's record pushed to `big` in every number it keeps.
GameState Extreme(std::int32_t big) {
  GameState s;
  NewGame(s);
  s.commander_name = Sj("アキラ");
  s.ship_name = Sj("ノア");
  s.distance_total = big;
  s.voyage_days = s.planets_found = s.bottles_found = big;
  s.sector_x = s.sector_y = s.sector_z = big;
  s.energy = s.energy_max = s.hull = s.hull_max = big;
  s.resources = s.resources_max = s.captain_level = s.buoy_absence = big;
  s.trouble_level.fill(big);
  return s;
}

class DamagedSave : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    // Every point far off in a corner, out of the way.
    std::string chart;
    for (int i = 0; i < kChartPointCount; ++i)
      chart += "P\r\nT\r\n29\r\n29\r\n29\r\n1\r\n5\r\n0\r\n-1\r\n-1\r\n-1\r\n0\r\n";
    WriteBytes(Path("dat/map.dat"), chart);
  }

  // The title window starts on the saved game in the folder and the player clicks CONTINUE;
  // returns the record the voyage resumes.
  GameState Continue() {
    testing::TitleRig title;
    title.scene.FormCreate();
    EXPECT_TRUE(title.fake.dialogs.errors.empty());
    EXPECT_TRUE(title.fake.controls.IsEnabled("count_b"));
    title.scene.count_bClick();
    return title.game;
  }
  GameState SaveAndContinue(const GameState& record) {
    testing::FakeServices writer;
    EXPECT_TRUE(SaveGame(record, writer.services));
    return Continue();
  }
};

TEST_F(DamagedSave, ValuesNoVoyageReachesAreBroughtBackWhenTheVoyageResumes) {
  for (const std::int32_t big : {INT32_MAX, INT32_MIN, 1000001, -1000001}) {
    SCOPED_TRACE(big);
    const GameState resumed = SaveAndContinue(Extreme(big));
    const std::int32_t limit = big > 0 ? 1000000 : -1000000;
    const std::int32_t edge = big > 0 ? kSectorMax : kSectorMin;
    EXPECT_EQ(resumed.sector_x, edge);
    EXPECT_EQ(resumed.sector_y, edge);
    EXPECT_EQ(resumed.sector_z, edge);
    for (std::int32_t v :
         {resumed.voyage_days, resumed.planets_found, resumed.bottles_found, resumed.energy,
          resumed.energy_max, resumed.hull, resumed.hull_max, resumed.resources,
          resumed.resources_max, resumed.captain_level, resumed.buoy_absence})
      EXPECT_EQ(v, limit);
    for (std::int32_t level : resumed.trouble_level)
      EXPECT_EQ(level, limit);
    // Only carried, never summed: it stays as read.
    EXPECT_EQ(resumed.distance_total, big);
  }
}

TEST_F(DamagedSave, TheLimitsChangeNothingAVoyageCanReach) {
  GameState record = Extreme(1000000);
  record.sector_x = kSectorMin;
  record.sector_y = 7;
  record.sector_z = kSectorMax;
  record.energy = -1000000;
  record.trouble_level = {-1000000, 0, 1, 2, 3, 4, 5, 6, 7, 999999};
  const GameState resumed = SaveAndContinue(record);
  EXPECT_EQ(resumed.sector_x, kSectorMin);
  EXPECT_EQ(resumed.sector_y, 7);
  EXPECT_EQ(resumed.sector_z, kSectorMax);
  EXPECT_EQ(resumed.energy, -1000000);
  EXPECT_EQ(resumed.energy_max, 1000000);
  EXPECT_EQ(resumed.trouble_level, record.trouble_level);
  EXPECT_EQ(resumed.point_state, record.point_state);
}

TEST_F(DamagedSave, ACaptainAboveAMillionStillHasNoRank) {
  const GameState resumed = SaveAndContinue(Extreme(INT32_MAX));
  EXPECT_EQ(RankTitle(resumed.captain_level), "");
  EXPECT_EQ(RankTitle(resumed.captain_level), RankTitle(INT32_MAX));
}

TEST_F(DamagedSave, ACheckValueOfZeroLoadsAnyValuesAndCONTINUELimitsThem) {
  std::string text = Sj("アキラ") + "\r\n";
  for (int line = 2; line <= 427; ++line)
    text += (line == 11 ? "-2147483648" : "2147483647") + std::string("\r\n");
  text += Sj("ノア") + "\r\n0\r\n";
  WriteBytes(Path("dat/my.dat"), text);

  // Loading keeps every value as read.
  testing::FakeServices fake;
  GameState loaded;
  EXPECT_TRUE(LoadGame(loaded, fake.services));
  EXPECT_EQ(loaded.sector_x, INT32_MAX);
  EXPECT_EQ(loaded.captain_level, INT32_MIN);

  const GameState resumed = Continue();
  EXPECT_EQ(resumed.sector_x, kSectorMax);
  EXPECT_EQ(resumed.captain_level, -1000000);
  EXPECT_EQ(resumed.resources, 1000000);
  // A point's state and the story stage are only compared, never summed: they stay as read.
  EXPECT_EQ(resumed.point_state[17], INT32_MAX);
  EXPECT_EQ(resumed.story_stage(), INT32_MAX);
}

// The voyage on such a save: every trouble at once, the hand on every button. Under the
// sanitizers any sum that runs over ends the test.
TEST_F(DamagedSave, TheVoyageFliesOnIt) {
  for (const std::int32_t big : {INT32_MAX, INT32_MIN}) {
    SCOPED_TRACE(big);
    testing::CockpitRig rig;
    rig.game = SaveAndContinue(Extreme(big));
    testing::ShowWindowAsMade(rig.fake.controls);
    rig.voyage.InitStars();
    testing::RandomHand hand(rig.fake, rig.voyage, rig.cockpit, 7);
    for (int frame = 0; frame < 600; ++frame) {
      hand.Step();
      ASSERT_GE(rig.game.sector_x, kSectorMin);
      ASSERT_LE(rig.game.sector_x, kSectorMax);
    }
    EXPECT_TRUE(rig.fake.dialogs.errors.empty());
  }
}

}  // namespace
}  // namespace qm
