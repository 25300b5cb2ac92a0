// Saved games edited by hand far beyond anything a voyage reaches: a check value of 0 (or one
// recomputed by the editor) lets them through, CONTINUE stays open and resumes them exactly as
// written, and the voyage must fly on them with its 32-bit sums wrapping round instead of running
// into undefined behaviour (the sanitizer build stops on any such overflow).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "cockpit_rig.h"
#include "random_hand.h"
#include "state/captain_rank.h"
#include "state/save_files.h"
#include "state/wrap32.h"
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

// Names longer than the entry boxes allow, double-byte characters and a half-width one among them.
std::string LongName(const char* base) {
  std::string name;
  for (int i = 0; i < 6; ++i)
    name += Sj(base);
  return name;
}

auto Record(const GameState& s) {
  return std::tuple(s.commander_name, s.ship_name, s.distance_total, s.voyage_days, s.planets_found,
                    s.bottles_found, s.sector_x, s.sector_y, s.sector_z, s.energy, s.hull,
                    s.captain_level, s.point_state, s.energy_max, s.resources, s.resources_max,
                    s.trouble_level, s.buoy_absence, s.hull_max);
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
    lines.push_back(bytes.substr(from, at - from));
  return lines;
}

TEST_F(DamagedSave, ContinueResumesAnyRecordThatLoadedExactlyAsWritten) {
  for (const std::int32_t big : {INT32_MAX, INT32_MIN, 1000001, -1000001}) {
    SCOPED_TRACE(big);
    GameState record = Extreme(big);
    record.commander_name = LongName("星野ﾘｮｳ");
    record.ship_name = LongName("銀河丸Q");
    testing::FakeServices writer;
    ASSERT_TRUE(SaveGame(record, writer.services));
    const std::string written = ReadBytes(Path("dat/my.dat"));

    const GameState resumed = Continue();
    EXPECT_EQ(Record(resumed), Record(record));
    EXPECT_EQ(resumed.story_stage(), record.story_stage());
    // Saved again at once, the file comes back byte for byte.
    testing::FakeServices again;
    ASSERT_TRUE(SaveGame(resumed, again.services));
    EXPECT_EQ(ReadBytes(Path("dat/my.dat")), written);
  }
}

TEST_F(DamagedSave, ValuesAVoyageCanReachResumeUnchangedToo) {
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

TEST_F(DamagedSave, ACheckValueOfZeroLoadsAnyValuesAndCONTINUEKeepsThem) {
  std::string text = LongName("アキラ") + "\r\n";
  for (int line = 2; line <= 427; ++line)
    text += (line == 11 ? "-2147483648" : "2147483647") + std::string("\r\n");
  text += LongName("ノア") + "\r\n0\r\n";
  WriteBytes(Path("dat/my.dat"), text);

  const GameState resumed = Continue();
  EXPECT_EQ(resumed.commander_name, LongName("アキラ"));
  EXPECT_EQ(resumed.ship_name, LongName("ノア"));
  EXPECT_EQ(resumed.sector_x, INT32_MAX);
  EXPECT_EQ(resumed.captain_level, INT32_MIN);
  EXPECT_EQ(resumed.resources, INT32_MAX);
  EXPECT_EQ(resumed.point_state[17], INT32_MAX);
  EXPECT_EQ(resumed.story_stage(), INT32_MAX);

  // A few frames of the log-on screen bring the ship back into space and change nothing else;
  // the save then writes its own check value where the file had 0.
  testing::CockpitRig rig;
  rig.game = resumed;
  rig.vs.logon_step = 0;
  for (int i = 0; i < 5; ++i) {
    rig.fake.clock.AdvanceMs(100);
    rig.voyage.Timer1Timer();
  }
  EXPECT_EQ(rig.vs.logon_step, 5);
  EXPECT_EQ(rig.game.sector_x, kSectorMax);
  ASSERT_TRUE(SaveGame(rig.game, rig.fake.services));
  const std::vector<std::string> before = Lines(text);
  const std::vector<std::string> after = Lines(ReadBytes(Path("dat/my.dat")));
  ASSERT_EQ(after.size(), 429u);
  for (std::size_t i = 0; i < 428; ++i) {
    if (i >= 5 && i <= 7) continue;  // lines 6 to 8: the sector
    EXPECT_EQ(after[i], before[i]) << "line " << i + 1;
  }
  EXPECT_EQ(after[5], "30");
  EXPECT_EQ(after[6], "30");
  EXPECT_EQ(after[7], "30");
  EXPECT_EQ(after[428], std::to_string(SaveChecksum(rig.game)));
}

// Where the values are used, a sum past the limits wraps as the 32-bit registers of the voyage
// do; the sanitizer build proves each of them defined.
TEST_F(DamagedSave, SumsPastTheLimitsWrapRound) {
  testing::CockpitRig rig;
  // The converter: half of 2147483647 is 1073741823, and twenty times that wraps to -20.
  rig.game.resources = INT32_MAX;
  rig.game.energy = 200;
  rig.fake.dialogs.answers = {true};
  rig.cockpit.Image4MouseDown();
  ASSERT_EQ(rig.fake.dialogs.asked.size(), 1u);
  EXPECT_NE(rig.fake.dialogs.asked[0].find(Sj("1073741823t → -20E")), std::string::npos);
  EXPECT_EQ(rig.game.energy, 180);
  EXPECT_EQ(rig.game.resources, 1073741824);

  // A buoy's supply: twice 2147483647 is -2, and the resources run over to the lowest number.
  ChartPoint& buoy = rig.game.chart[1];
  buoy.kind = 1;
  buoy.yield = INT32_MAX;
  buoy.resource_gain = INT32_MAX;
  rig.game.point_state[1] = 1;
  rig.game.energy = 100;
  rig.game.resources = 1;
  rig.game.resources_max = INT32_MAX;
  rig.cockpit.ArrivalExamination(1);
  EXPECT_EQ(rig.game.energy, 98);
  EXPECT_EQ(rig.game.resources, INT32_MIN);
  EXPECT_EQ(rig.game.resources_max, INT32_MIN);  // the +1 hold wrapped too

  // The fuel tank leaking past the lowest number wraps round to the top of the range.
  rig.game.energy = INT32_MIN;
  rig.game.energy_max = 200;
  rig.game.trouble_level[kFuelTankDamage] = INT32_MAX;
  // The second draw of the pass is the tank's 1 in 80; let it come up.
  testing::SetRawAfter(rig.fake.random, 1, 0);
  rig.cockpit.TroubleEffects();
  EXPECT_EQ(rig.game.energy, 1);
  // The check value sums the wrapped numbers the same way.
  rig.game.voyage_days = INT32_MAX;
  rig.game.sector_x = 1;
  rig.game.sector_z = 0;
  rig.game.energy = rig.game.captain_level = rig.game.energy_max = 0;
  rig.game.resources = rig.game.resources_max = 0;
  EXPECT_EQ(SaveChecksum(rig.game), INT32_MIN);
}

// A ship resumed far outside space meets no zone and no chart point there, and its first frame
// brings it back to the edge sector.
TEST_F(DamagedSave, AShipOutsideSpaceComesBackToTheEdge) {
  for (const std::int32_t far : {INT32_MIN, INT32_MAX, -31, 31}) {
    SCOPED_TRACE(far);
    testing::CockpitRig rig;
    rig.game.sector_x = rig.game.sector_y = rig.game.sector_z = far;
    rig.fake.clock.AdvanceMs(100);
    rig.voyage.Timer1Timer();
    const std::int32_t edge = far < 0 ? kSectorMin : kSectorMax;
    EXPECT_EQ(rig.game.sector_x, edge);
    EXPECT_EQ(rig.game.sector_y, edge);
    EXPECT_EQ(rig.game.sector_z, edge);
    EXPECT_EQ(rig.vs.current_point, -1);
  }
}

TEST_F(DamagedSave, ACaptainAboveAMillionStillHasNoRank) {
  const GameState resumed = SaveAndContinue(Extreme(INT32_MAX));
  EXPECT_EQ(RankTitle(resumed.captain_level), "");
  EXPECT_EQ(RankTitle(resumed.captain_level), RankTitle(INT32_MAX));
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
