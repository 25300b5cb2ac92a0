#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "cockpit/panels.h"
#include "cockpit_rig.h"
#include "platform/gcc12_false_warnings.h"
#include "state/atomic_file.h"
#include "state/save_files.h"
#include "state/voyage_log.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

using testing::CockpitRig;
using Calls = std::vector<std::string>;

const std::string kShort = Sj("資源が足りません");

// The ship in front of chart point 5, its position inside the sector given by the test.
struct ContactRig : CockpitRig {
  ContactRig(int x, int y, int z) {
    vs.current_point = 5;
    vs.local_x = x;
    vs.local_y = y;
    vs.local_z = z;
    vs.speed_forward = 8;
    vs.speed_side = 3;
  }
  bool Checked() { return vs.check_countdown == 10 && Sounds("cue 2 check.wav") == 1; }
};

TEST(Contact, StartsTheExaminationOnlyWithinReach) {
  struct Case {
    int x, y, z;
    bool reach;
  };
  for (const Case& c :
       {Case{0, 0, 74, false}, Case{0, 0, 75, true}, Case{0, 0, 180, true}, Case{0, 0, 181, false},
        Case{-100, 80, 120, true}, Case{100, -80, 120, true}, Case{101, 0, 120, false},
        Case{-101, 0, 120, false}, Case{0, 81, 120, false}, Case{0, -81, 120, false}}) {
    ContactRig rig(c.x, c.y, c.z);
    rig.cockpit.contact_b2MouseDown();
    EXPECT_EQ(rig.Checked(), c.reach) << c.x << " " << c.y << " " << c.z;
    if (!c.reach) {
      EXPECT_EQ(rig.vs.check_countdown, 0);
    }
    // Whether or not it reached, the ship stops and the view shakes.
    EXPECT_EQ(rig.vs.speed_forward, 0);
    EXPECT_EQ(rig.vs.speed_side, 3);
    EXPECT_EQ(rig.vs.noise_countdown, 10);
    EXPECT_EQ(rig.vs.contact_blink, 10);
    EXPECT_EQ(rig.fake.controls.moved["contact_b"], std::make_pair(252, 304));
    EXPECT_EQ(rig.fake.sound.calls.front(), "click");
  }
}

TEST(Contact, WithNoPointItStillStopsAndShakes) {
  ContactRig rig(0, 0, 120);
  rig.vs.current_point = -1;
  rig.cockpit.contact_b2MouseDown();
  EXPECT_EQ(rig.vs.speed_forward, 0);
  EXPECT_EQ(rig.vs.noise_countdown, 10);
  EXPECT_EQ(rig.vs.check_countdown, 0);
  EXPECT_EQ(rig.fake.sound.calls, Calls{"click"});
}

TEST(Contact, TheBlinkShowsThePressedPictureOnOddCounts) {
  ContactRig rig(0, 0, 120);
  rig.vs.current_point = -1;
  rig.cockpit.contact_b2MouseDown();
  std::vector<bool> shown;
  for (int i = 0; i < 11; ++i) {
    rig.fake.clock.AdvanceMs(100);
    rig.voyage.Timer1Timer();
    shown.push_back(rig.Visible("contact_b"));
  }
  EXPECT_EQ(shown, (std::vector<bool>{true, false, true, false, true, false, true, false, true,
                                      false, false}));
}

TEST(Contact, AndChartDoNothingOnceTheVoyageIsOver) {
  ContactRig rig(0, 0, 120);
  rig.game.voyage_over = 1;
  rig.cockpit.contact_b2MouseDown();
  rig.cockpit.u_map_b2MouseDown();
  EXPECT_TRUE(rig.fake.sound.calls.empty());
  EXPECT_EQ(rig.vs.speed_forward, 8);
  EXPECT_EQ(rig.vs.chart_open, 0);
  EXPECT_EQ(rig.vs.check_countdown, 0);
}

// A chart on which nothing is listed until a test makes it so.
struct ChartRig : CockpitRig {
  ChartRig() {
    game.point_state.fill(0);
    for (int i = 0; i < kChartPointCount; ++i) {
      ChartPoint& p = game.chart[static_cast<size_t>(i)];
      p.kind = 1;
      QM_GCC12_FALSE_WARNINGS_BEGIN
      p.name = "P" + std::to_string(i);
      QM_GCC12_FALSE_WARNINGS_END
    }
  }
  ChartPoint& Listed(int i, int kind, int state, int x = 1, int y = 2, int z = 3) {
    ChartPoint& p = game.chart[static_cast<size_t>(i)];
    p.kind = kind;
    p.x = x, p.y = y, p.z = z;
    game.point_state[static_cast<size_t>(i)] = state;
    return p;
  }
};

TEST(Chart, SevenListedPointsMakeAPageOfSixAndAPageOfOne) {
  ChartRig rig;
  for (int i : {2, 40, 41, 90, 150, 151, 399})
    rig.Listed(i, 1, 1);
  rig.game.chart[40].name = Sj("始まりのブイ");
  rig.Listed(40, 2, 2, -12, 0, 30);
  const auto pages = ChartPages(rig.game);
  ASSERT_EQ(pages.size(), 2u);
  // A line of odd length gets one space more before its " \r", so each ends on an even byte.
  EXPECT_EQ(pages[0], "  P2 > X:1  Y:2  Z:3 \r" + Sj("★始まりのブイ > X:-12  Y:0  Z:30") +
                          "  \r"
                          "  P41 > X:1  Y:2  Z:3  \r"
                          "  P90 > X:1  Y:2  Z:3  \r"
                          "  P150 > X:1  Y:2  Z:3 \r"
                          "  P151 > X:1  Y:2  Z:3 \r");
  EXPECT_EQ(pages[1], "  P399 > X:1  Y:2  Z:3 \r");

  rig.cockpit.u_map_b2MouseDown();
  EXPECT_EQ(rig.cs().message_pages[0], pages[0]);
  EXPECT_EQ(rig.cs().message_pages[1], pages[1]);
  EXPECT_TRUE(rig.cs().message_pages[2].empty());
  EXPECT_EQ(rig.vs.chart_open, 1);
  EXPECT_EQ(rig.vs.chart_blink, 10);
  EXPECT_EQ(rig.fake.controls.moved["u_map_b"], std::make_pair(304, 340));
  EXPECT_EQ(rig.fake.controls.moved["moji_box"], std::make_pair(4, 304));
  EXPECT_EQ(rig.fake.sound.calls, (Calls{"click", "cue 0 map.wav"}));
}

TEST(Chart, EveryPageEndsOnAWholeRevealStep) {
  ChartRig rig;
  for (int i = 0; i < 30; ++i)
    rig.Listed(i * 7, i % 2 == 0 ? 1 : 19, 1 + i % 2, i - 15, i % 5, -i);
  for (const std::string& page : ChartPages(rig.game)) {
    EXPECT_EQ(page.size() % 2, 0u) << page;
    EXPECT_EQ(page.substr(page.size() - 2), " \r");
  }
  EXPECT_EQ(ChartPages(rig.game).size(), 5u);
}

TEST(Chart, VisitedStationsDocksAndWarpsAreStarredButNotListedWhileMerelyKnown) {
  for (int kind : {3, 4, 18}) {
    ChartRig rig;
    rig.Listed(10, kind, 1);
    EXPECT_TRUE(ChartPages(rig.game).empty()) << kind;
    rig.Listed(10, kind, 2);
    EXPECT_EQ(ChartPages(rig.game), std::vector<std::string>{Sj("★P10 > X:1  Y:2  Z:3 ") + " \r"});
  }
  for (int kind : {5, 6, 7, 11, 12, 13, 14, 15, 16, 17, 20, 21, 22}) {
    ChartRig rig;
    rig.Listed(10, kind, 1);
    rig.Listed(11, kind, 2);
    EXPECT_TRUE(ChartPages(rig.game).empty()) << kind;
  }
  for (int kind : {1, 2, 8, 9, 10, 19}) {
    ChartRig rig;
    rig.Listed(10, kind, 1);
    rig.Listed(11, kind, 2);
    EXPECT_EQ(ChartPages(rig.game).size(), 1u) << kind;
  }
}

TEST(Chart, WithNothingListedTheBoxOpensEmptyAndTheFirstClickClosesBoxAndChart) {
  ChartRig rig;
  rig.cockpit.u_map_b2MouseDown();
  EXPECT_TRUE(rig.cs().message_pages[0].empty());
  EXPECT_EQ(rig.vs.chart_open, 1);
  EXPECT_EQ(rig.fake.controls.moved["moji_box"], std::make_pair(4, 304));
  EXPECT_TRUE(rig.Visible("moji_box"));
  rig.cockpit.Shape1MouseDown();
  EXPECT_EQ(rig.vs.chart_open, 0);
  EXPECT_FALSE(rig.Visible("moji_box"));
}

TEST(Chart, ABrokenRadarKeepsTheChartClosed) {
  ChartRig rig;
  rig.Listed(3, 1, 1);
  rig.game.trouble_level[kRadarFault] = 1;
  rig.cockpit.u_map_b2MouseDown();
  EXPECT_EQ(rig.cs().message_pages[0], Sj("レーダー異常のため、海図が開けません"));
  EXPECT_TRUE(rig.cs().message_pages[1].empty());
  EXPECT_TRUE(rig.Visible("moji_box"));
  EXPECT_EQ(rig.vs.chart_open, 0);
  EXPECT_EQ(rig.vs.chart_blink, 0);
  EXPECT_EQ(rig.fake.sound.calls, Calls{"click"});
}

TEST(Converter, SevenTonnesOfferThreeForSixtyEnergy) {
  CockpitRig rig;
  rig.game.resources = 7;
  rig.game.energy = 150;
  rig.cockpit.Image4MouseDown();
  ASSERT_EQ(rig.fake.dialogs.asked.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.asked[0], Sj("資源 3tをエネルギーとして置換しますか？\r\r3t → 60E"));
  EXPECT_EQ(rig.game.resources, 4);
  // Above the maximum for now; the instruments trim it.
  EXPECT_EQ(rig.game.energy, 210);
  EXPECT_EQ(rig.fake.sound.calls, (Calls{"click", "click"}));
}

TEST(Converter, NoChangesNothing) {
  CockpitRig rig;
  rig.game.resources = 9;
  rig.fake.dialogs.default_answer = false;
  rig.cockpit.Image4MouseDown();
  EXPECT_EQ(rig.game.resources, 9);
  EXPECT_EQ(rig.game.energy, 200);
}

TEST(Converter, OneTonneIsNotEnough) {
  CockpitRig rig;
  rig.game.resources = 1;
  rig.cockpit.Image4MouseDown();
  EXPECT_TRUE(rig.fake.dialogs.asked.empty());
  EXPECT_EQ(rig.fake.dialogs.informed, std::vector<std::string>{kShort});
  EXPECT_EQ(rig.game.resources, 1);
  EXPECT_EQ(rig.fake.sound.calls, (Calls{"click", "click"}));
}

TEST(Converter, TradesWhatItOfferedEvenIfTheHoldShrankMeanwhile) {
  CockpitRig rig;
  rig.game.resources = 6;
  rig.fake.dialogs.while_open = [&] { rig.game.resources = 1; };
  rig.cockpit.Image4MouseDown();
  EXPECT_EQ(rig.game.resources, -2);
  EXPECT_EQ(rig.game.energy, 260);
}

class SavePanels : public testing::TempGameFolder {
 protected:
  bool Saved() { return std::filesystem::exists(Path("dat/my.dat")); }
  CockpitRig rig;
};

TEST_F(SavePanels, TheSavePointTakesTheLastTonne) {
  rig.game.resources = 1;
  rig.cockpit.Image5MouseDown();
  EXPECT_EQ(rig.fake.dialogs.asked,
            std::vector<std::string>{
                Sj("ここまでの出来事を記録しますか？ 要:資源 1\r（以前データに上書きされます）")});
  EXPECT_EQ(rig.game.resources, 0);
  ASSERT_TRUE(Saved());
  // The saved voyage already paid for itself: line 413 holds the resources.
  const std::string file = ReadBytes(Path("dat/my.dat"));
  size_t at = 0;
  for (int line = 1; line < 413; ++line)
    at = file.find("\r\n", at) + 2;
  EXPECT_EQ(file.substr(at, 3), "0\r\n");
  EXPECT_EQ(rig.fake.dialogs.informed, std::vector<std::string>{Sj("セーブ完了！")});
}

TEST_F(SavePanels, TheSavePointRefusesAnEmptyHold) {
  rig.game.resources = 0;
  rig.cockpit.Image5MouseDown();
  EXPECT_FALSE(Saved());
  EXPECT_EQ(rig.fake.dialogs.informed, std::vector<std::string>{kShort});
  EXPECT_EQ(rig.fake.sound.calls, (Calls{"click", "cue 0 6.wav", "cue 0 2.wav"}));
  EXPECT_EQ(rig.game.resources, 0);
}

TEST_F(SavePanels, NoAtTheSavePointKeepsEverything) {
  rig.game.resources = 5;
  rig.fake.dialogs.default_answer = false;
  rig.cockpit.Image5MouseDown();
  EXPECT_FALSE(Saved());
  EXPECT_EQ(rig.game.resources, 5);
  EXPECT_EQ(rig.fake.sound.calls, (Calls{"click", "click"}));
}

const std::string kQuit = Sj(
    "ゲームを終了します。\r※ここまでの出来事を記録しますか？\r（「いいえ」を選択すると、セーブせず"
    "に終了します）");

TEST_F(SavePanels, NoToTheQuitQuestionEndsWithoutSaving) {
  int closed = 0;
  rig.fake.dialogs.default_answer = false;
  rig.cockpit.FormClose([&] { ++closed; });
  EXPECT_EQ(rig.fake.dialogs.asked, std::vector<std::string>{kQuit});
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(Saved());
  EXPECT_EQ(rig.fake.sound.calls, (Calls{"click", "click"}));
}

TEST_F(SavePanels, YesToTheQuitQuestionSavesThenEnds) {
  int closed = 0;
  rig.game.resources = 0;  // quitting costs nothing
  rig.cockpit.FormClose([&] {
    ++closed;
    EXPECT_TRUE(Saved());
  });
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(Saved());
  EXPECT_EQ(rig.game.resources, 0);
}

TEST_F(SavePanels, AFailedSaveKeepsTheVoyageAndClosingAgainAsksAgain) {
  WriteBytes(Path("dat/my.dat"), "old voyage\r\n");
  // A folder where the new record is written first: the save fails before it replaces anything.
  std::filesystem::create_directory(TemporaryPathFor(SavedGamePath()));
  int closed = 0;
  EXPECT_FALSE(rig.cockpit.FormClose([&] { ++closed; }));
  EXPECT_EQ(rig.fake.dialogs.errors.size(), 1u);
  EXPECT_EQ(closed, 0);
  EXPECT_TRUE(rig.fake.dialogs.informed.empty());
  EXPECT_EQ(rig.fake.sound.calls, (Calls{"click", "click"}));  // none after the error box
  EXPECT_EQ(ReadBytes(Path("dat/my.dat")), "old voyage\r\n");

  // Asked again, No ends the program without saving.
  rig.fake.dialogs.default_answer = false;
  EXPECT_TRUE(rig.cockpit.FormClose([&] { ++closed; }));
  EXPECT_EQ(rig.fake.dialogs.asked, std::vector<std::string>(2, kQuit));
  EXPECT_EQ(rig.fake.dialogs.errors.size(), 1u);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(ReadBytes(Path("dat/my.dat")), "old voyage\r\n");
}

TEST_F(SavePanels, AVoyageLogThatFailsAfterTheRecordStillEnds) {
  std::filesystem::create_directory(VoyageLogPath());
  int closed = 0;
  EXPECT_TRUE(rig.cockpit.FormClose([&] { ++closed; }));
  EXPECT_EQ(rig.fake.dialogs.errors.size(), 1u);
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(Saved());
}

TEST(TestControls, DoWhatTheySay) {
  CockpitRig rig;
  rig.cockpit.Button1Click(7, -3, 12);
  EXPECT_EQ(rig.game.sector_x, -7);
  EXPECT_EQ(rig.game.sector_y, -3);
  EXPECT_EQ(rig.game.sector_z, 12);
  rig.cockpit.Button2Click();
  EXPECT_EQ(rig.game.story_stage(), 3);
  EXPECT_EQ(rig.cs().prologue_tick, 1);
  rig.cockpit.Button3Click();
  EXPECT_EQ(rig.cs().ending_tick, 1);
  EXPECT_EQ(rig.fake.sound.calls, Calls{"music ending.mid"});
  rig.game.point_state.fill(0);
  rig.game.point_state[61] = 2;
  rig.cockpit.Button4Click();
  for (int i = 0; i < kChartPointCount; ++i) {
    const int want = (i <= 3 || (i >= 51 && i <= 60)) ? 2 : i == 61 ? 1 : 0;
    EXPECT_EQ(rig.game.point_state[static_cast<size_t>(i)], want) << i;
  }
  EXPECT_EQ(rig.game.sector_x, 10);
  EXPECT_EQ(rig.game.sector_z, 24);
  EXPECT_EQ(rig.game.resources_max, 17);
}

}  // namespace
}  // namespace qm
