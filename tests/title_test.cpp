// The title scene: start-up, the title animation step by step, NEW GAME with the naming of captain
// and ship, and CONTINUE.

#include <gtest/gtest.h>

#include <filesystem>

#include "built_game.h"
#include "platform/cp932.h"
#include "state/chart_file.h"
#include "state/save_files.h"
#include "temp_game_folder.h"
#include "title_rig.h"

namespace qm {
namespace {

using testing::TitleRig;

void ExpectFigure(TitleRig& r, int x, int v, int f) {
  EXPECT_EQ(r.anim().figure_x, x);
  EXPECT_EQ(r.anim().figure_speed, v);
  EXPECT_EQ(r.anim().figure_frame, f);
  EXPECT_EQ(r.anim().figure_y, 195);
}

TEST(TitleAnimation, TheFigureFollowsTheStepTableThroughACycle) {
  TitleRig r;
  r.StepTo(1);
  ExpectFigure(r, -200, 32, 1);
  r.StepTo(5);
  ExpectFigure(r, -78, 28, 1);
  r.StepTo(39);
  ExpectFigure(r, 313, -6, 1);
  r.StepTo(40);  // no row: nothing moves
  ExpectFigure(r, 313, -6, 1);
  r.StepTo(43);
  ExpectFigure(r, 292, -9, 2);
  r.StepTo(46);
  ExpectFigure(r, 262, -23, 0);
  r.StepTo(70);
  ExpectFigure(r, 262, -23, 0);
  r.StepTo(76);
  ExpectFigure(r, 109, -29, 2);
  r.StepTo(90);
  ExpectFigure(r, -388, -43, 1);
  r.StepTo(130);
  ExpectFigure(r, -2888, -83, 2);
  r.StepTo(131);
  ExpectFigure(r, 30, 3, 3);
  r.StepTo(150);
  ExpectFigure(r, 87, 3, 2);
  r.StepTo(153);
  ExpectFigure(r, 96, 3, 0);
  r.StepTo(157);
  ExpectFigure(r, 108, 3, 0);
  r.StepTo(158);
  ExpectFigure(r, 111, 3, 2);
  r.StepTo(159);
  ExpectFigure(r, 400, 40, 0);
  r.StepTo(180);
  ExpectFigure(r, 15, 29, 0);
  r.StepTo(181);
  ExpectFigure(r, 15, 1, 0);
  r.StepTo(189);
  ExpectFigure(r, 15, 1, 0);
  r.StepTo(207);
  EXPECT_EQ(r.anim().figure_x, 150);
  EXPECT_EQ(r.anim().figure_speed, -17);
  r.StepTo(250);
  ExpectFigure(r, -22, 26, 2);
  // Step 251 only winds the counter back; the next step is step 1 again.
  r.StepTo(251);
  EXPECT_EQ(r.anim().title_step, 0);
  ExpectFigure(r, -22, 26, 2);
  r.Step();
  EXPECT_EQ(r.anim().title_step, 1);
  ExpectFigure(r, -200, 32, 1);
}

TEST(TitleAnimation, Steps190To207ShowFrameTwoOrNothingByTheToss) {
  TitleRig r;
  int shown = 0;
  int hidden = 0;
  for (int cycle = 0; cycle < 6; ++cycle) {
    r.StepTo(189);
    for (int step = 190; step <= 207; ++step) {
      r.Step();
      const int f = r.anim().figure_frame;
      ASSERT_TRUE(f == 0 || f == 2) << step;
      (f == 2 ? shown : hidden) += 1;
      EXPECT_EQ(r.Shows(0, 0, kTitleWidth, kTitleHeight, testing::kFigure2), f == 2) << step;
      EXPECT_FALSE(r.Shows(0, 0, kTitleWidth, kTitleHeight, testing::kFigure1));
      EXPECT_FALSE(r.Shows(0, 0, kTitleWidth, kTitleHeight, testing::kFigure3));
    }
  }
  EXPECT_GT(shown, 30);
  EXPECT_GT(hidden, 30);
}

TEST(TitleAnimation, EachStepPaintsSkyFigureLogoAndLettering) {
  TitleRig r;
  r.StepTo(131);  // frame 3 at x 30
  // The figure shivers within ten pixels sideways and five up and down.
  EXPECT_TRUE(r.AllOf(30, 199, 229, 235, testing::kFigure3));
  EXPECT_FALSE(r.Shows(0, 0, 21, kTitleHeight, testing::kFigure3));
  EXPECT_FALSE(r.Shows(238, 0, kTitleWidth, kTitleHeight, testing::kFigure3));
  EXPECT_FALSE(r.Shows(0, 0, kTitleWidth, 195, testing::kFigure3));
  EXPECT_FALSE(r.Shows(0, 239, kTitleWidth, kTitleHeight, testing::kFigure3));
  // The logo wanders within (210..219, 280..281).
  EXPECT_TRUE(r.AllOf(219, 281, 390, 300, testing::kLogo));
  EXPECT_FALSE(r.Shows(0, 0, 210, kTitleHeight, testing::kLogo));
  EXPECT_FALSE(r.Shows(0, 0, kTitleWidth, 280, testing::kLogo));
  // The lettering, and the black beyond its picture where the copied area overhangs it.
  EXPECT_TRUE(r.AllOf(130, 14, 273, 31, testing::kLettering));
  EXPECT_TRUE(r.AllOf(274, 15, 310, 33, kBlack));
  EXPECT_FALSE(r.Shows(0, 0, 130, kTitleHeight, testing::kLettering));
  EXPECT_FALSE(r.Shows(0, 36, kTitleWidth, kTitleHeight, testing::kLettering));
  // The sky fills the rest, stretched twice over.
  EXPECT_EQ(r.scene.cg().Pixel(5, 5), testing::kSky);
  EXPECT_EQ(r.scene.cg().Pixel(395, 100), testing::kSky);
  EXPECT_EQ(r.scene.cg().Pixel(20, 299), testing::kSky);

  r.StepTo(46);  // no figure
  for (Color c : {testing::kFigure1, testing::kFigure2, testing::kFigure3})
    EXPECT_FALSE(r.Shows(0, 0, kTitleWidth, kTitleHeight, c));
}

TEST(TitleAnimation, StepsComeEvery100MsWhateverTheTimerRate) {
  TitleRig r;
  EXPECT_TRUE(r.scene.Timer1Timer());  // the first call steps at once
  EXPECT_EQ(r.anim().title_step, 1);
  r.fake.clock.AdvanceMs(10);
  EXPECT_FALSE(r.scene.Timer1Timer());
  r.fake.clock.AdvanceMs(89);
  EXPECT_FALSE(r.scene.Timer1Timer());
  EXPECT_EQ(r.anim().title_step, 1);
  r.fake.clock.AdvanceMs(2);
  EXPECT_TRUE(r.scene.Timer1Timer());
  EXPECT_EQ(r.anim().title_step, 2);
  // Ten seconds of 10 ms calls make about a hundred steps.
  for (int i = 0; i < 1000; ++i) {
    r.fake.clock.AdvanceMs(10);
    r.scene.Timer1Timer();
  }
  EXPECT_GE(r.anim().title_step, 2 + 90);
  EXPECT_LE(r.anim().title_step, 2 + 100);
}

TEST(TitleAnimation, TheTimerSwitchesItselfOffOnceTheWindowIsHidden) {
  TitleRig r;
  r.Step();
  r.fake.controls.SetVisible(kTitleWindow, false);
  EXPECT_FALSE(r.Step());
  EXPECT_FALSE(r.scene.timer1_enabled());
  EXPECT_EQ(r.anim().title_step, 1);
  // It never runs again, even if the window came back.
  r.fake.controls.SetVisible(kTitleWindow, true);
  EXPECT_FALSE(r.Step());
  EXPECT_EQ(r.anim().title_step, 1);
}

TEST(TitleAnimation, AnErrorBoxBeforeTheWindowIsShownDoesNotStopTheTimer) {
  TitleRig r;
  // The ticks an error box's event loop lets through while the windows are still being made.
  r.fake.controls.SetVisible(kTitleWindow, false);
  for (int i = 0; i < 20; ++i) {
    r.fake.clock.AdvanceMs(10);
    EXPECT_FALSE(r.scene.Timer1Timer());
  }
  EXPECT_TRUE(r.scene.timer1_enabled());
  r.fake.controls.SetVisible(kTitleWindow, true);
  EXPECT_TRUE(r.Step());
  EXPECT_EQ(r.anim().title_step, 1);
}

TEST(NewGame, RefusedLeavesTheTitleAsItWas) {
  TitleRig r;
  r.game.commander_name = Sj("古い");
  r.game.story_stage() = 3;
  r.StepTo(20);
  r.fake.dialogs.answers = {false};
  // The animation goes on while the question is open.
  r.fake.dialogs.while_open = [&] { r.Step(); };
  r.scene.BitBtn2Click();
  EXPECT_EQ(
      r.fake.dialogs.asked,
      std::vector<std::string>{Sj("新しくゲームをはじめますか？（以前のデータは失われます）")});
  EXPECT_EQ(r.fake.sound.calls, (std::vector<std::string>{"click", "click"}));
  EXPECT_FALSE(r.fake.controls.moved.count("name_box"));
  EXPECT_EQ(r.anim().title_step, 21);
  EXPECT_EQ(r.game.commander_name, Sj("古い"));
  EXPECT_EQ(r.game.story_stage(), 3);
  EXPECT_TRUE(r.fake.controls.IsVisible(kTitleWindow));
  EXPECT_TRUE(r.host.calls.empty());
}

TEST(NewGame, ConfirmedStopsTheMusicAndBringsTheNamePanelOverTheButtons) {
  TitleRig r;
  r.game.commander_name = Sj("古い");
  r.fake.dialogs.answers = {true};
  r.scene.BitBtn2Click();
  EXPECT_EQ(r.fake.sound.calls, (std::vector<std::string>{"click", "music not", "click"}));
  EXPECT_EQ(r.fake.controls.moved["name_box"], std::make_pair(8, 124));
  EXPECT_TRUE(r.fake.controls.IsVisible("name_box"));
  // Nothing of the game changes until the names are given.
  EXPECT_EQ(r.game.commander_name, Sj("古い"));
  EXPECT_TRUE(r.fake.controls.IsVisible(kTitleWindow));
}

TEST(NewGame, EmptyNamesAreRefusedWithTheirMessage) {
  struct Case {
    const char* name;
    const char* ship;
    const char* message;
  };
  const Case cases[] = {{"", "ノア", "名前を入力してください"},
                        {"ｱｷﾗ", "", "宇宙船の名前を入力してください"},
                        {"", "", "名前を入力してください"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TitleRig r;
    r.game.commander_name = Sj("古い");
    r.scene.BitBtn3Click(Sj(c.name), Sj(c.ship));
    EXPECT_EQ(r.fake.dialogs.informed, std::vector<std::string>{Sj(c.message)});
    EXPECT_EQ(r.fake.sound.calls, std::vector<std::string>{"click"});
    EXPECT_EQ(r.game.commander_name, Sj("古い"));
    EXPECT_TRUE(r.fake.controls.IsVisible(kTitleWindow));
    EXPECT_TRUE(r.host.calls.empty());
    EXPECT_EQ(r.vs.logon_step, kLogonFrames);
  }
}

TEST(NewGame, BlankNamesAreNamesAndTheVoyageWindowOpensOnTheLogOn) {
  TitleRig r;
  r.fake.controls.SetVisible("name_box", true);
  r.scene.BitBtn3Click("  ", Sj("ﾉｱ"));
  EXPECT_EQ(r.game.commander_name, "  ");
  EXPECT_EQ(r.game.ship_name, Sj("ﾉｱ"));
  EXPECT_EQ(r.fake.controls.captions[kVoyageWindow], Sj("ﾉｱ号・船長  "));
  EXPECT_FALSE(r.fake.controls.IsVisible(kTitleWindow));
  EXPECT_TRUE(r.fake.controls.IsVisible(kVoyageWindow));
  EXPECT_FALSE(r.fake.controls.IsVisible("name_box"));
  EXPECT_EQ(r.host.calls, std::vector<std::string>{"voyage"});
  EXPECT_EQ(r.vs.logon_step, 0);
  EXPECT_EQ(r.fake.sound.calls, std::vector<std::string>{"cue 0 log.wav"});
  // The title stops for good at its next call.
  EXPECT_FALSE(r.Step());
  EXPECT_FALSE(r.scene.timer1_enabled());
}

TEST(Continue, ResumesTheLoadedVoyageUnchanged) {
  TitleRig r;
  r.game.commander_name = Sj("アキラ");
  r.game.sector_x = 7;
  r.game.story_stage() = 2;
  r.scene.count_bClick();
  EXPECT_EQ(r.fake.sound.calls, (std::vector<std::string>{"music not", "cue 0 log.wav"}));
  EXPECT_FALSE(r.fake.controls.IsVisible(kTitleWindow));
  EXPECT_TRUE(r.fake.controls.IsVisible(kVoyageWindow));
  EXPECT_EQ(r.vs.logon_step, 0);
  EXPECT_EQ(r.game.commander_name, Sj("アキラ"));
  EXPECT_EQ(r.game.sector_x, 7);
  EXPECT_EQ(r.game.story_stage(), 2);
  EXPECT_FALSE(r.fake.controls.captions.count(kVoyageWindow));
}

// Start-up over a real game folder: the shipped chart and, when a test writes one, a saved voyage.
class TitleStartUp : public testing::TempGameFolder {
 protected:
  void ShipChart() {
    std::filesystem::copy_file(testing::BuiltGame() / "dat" / "map.dat", Path("dat/map.dat"));
  }
  // A voyage under way, saved the way the game saves it.
  void SaveVoyage() {
    testing::FakeServices saver;
    GameState g;
    ReadChart(Path("dat/map.dat"), g);
    NewGame(g);
    g.commander_name = Sj("古参");
    g.ship_name = Sj("ﾍﾞｶﾞ");
    g.distance_total = 98765;
    g.sector_x = -4;
    g.voyage_days = 120;
    g.point_state[0] = 2;
    g.story_stage() = 1;
    ASSERT_TRUE(SaveGame(g, saver.services));
  }
};

TEST_F(TitleStartUp, LoadsInOrderSizesTheWindowAndStartsTheMusic) {
  ShipChart();
  SaveVoyage();
  TitleRig r;
  r.fake.random.SetSeed(12345);
  r.host.on_load_waves = [&] { EXPECT_TRUE(r.game.commander_name.empty()); };
  r.scene.FormCreate();
  EXPECT_EQ(r.host.calls, (std::vector<std::string>{"load waves", "size 409 329"}));
  EXPECT_NE(r.fake.random.Seed(), 12345u);  // seeded from the clock
  EXPECT_EQ(r.fake.sound.calls, std::vector<std::string>{"music title.mid"});
  EXPECT_TRUE(r.fake.controls.IsEnabled("count_b"));
  EXPECT_EQ(r.game.commander_name, Sj("古参"));
  EXPECT_TRUE(r.fake.dialogs.errors.empty());
}

TEST_F(TitleStartUp, WithoutASavedVoyageOnlyNewGameLeadsOn) {
  ShipChart();
  TitleRig r;
  r.scene.FormCreate();
  EXPECT_FALSE(r.fake.controls.IsEnabled("count_b"));
  EXPECT_TRUE(r.fake.dialogs.errors.empty());
  EXPECT_EQ(r.host.calls, (std::vector<std::string>{"load waves", "size 409 329"}));
}

TEST_F(TitleStartUp, ASavedVoyageChangedByHandDisablesContinue) {
  ShipChart();
  SaveVoyage();
  std::string bytes = ReadBytes(Path("dat/my.dat"));
  const std::string days = "\r\n120\r\n";
  bytes.replace(bytes.find(days), days.size(), "\r\n121\r\n");
  WriteBytes(Path("dat/my.dat"), bytes);
  TitleRig r;
  r.scene.FormCreate();
  EXPECT_FALSE(r.fake.controls.IsEnabled("count_b"));
  EXPECT_EQ(r.fake.sound.calls, std::vector<std::string>{"music title.mid"});
}

TEST_F(TitleStartUp, AFailedLoadKeepsTheDesignSizeAndTheSilence) {
  TitleRig r;
  WriteBytes(Path("dat/my.dat"), "x\r\n");  // a saved voyage, but no chart beside it
  r.scene.FormCreate();
  EXPECT_EQ(r.fake.dialogs.errors.size(), 1u);
  EXPECT_EQ(r.host.calls, std::vector<std::string>{"load waves"});
  EXPECT_TRUE(r.fake.sound.calls.empty());
  // The title itself still works.
  EXPECT_TRUE(r.Step());
}

TEST_F(TitleStartUp, ANewGameOverTheLoadedOneKeepsTheChartAndTheDistance) {
  ShipChart();
  SaveVoyage();
  const std::string saved = ReadBytes(Path("dat/my.dat"));
  TitleRig r;
  r.scene.FormCreate();
  const auto chart = r.game.chart;
  const std::int32_t checksum = r.game.save_checksum;
  r.scene.BitBtn3Click(Sj("アキラ"), Sj("ノア"));

  EXPECT_EQ(r.game.distance_total, 98765);
  EXPECT_EQ(r.game.save_checksum, checksum);
  for (int i = 0; i < kChartPointCount; ++i) {
    const auto& p = r.game.chart[static_cast<size_t>(i)];
    const auto& q = chart[static_cast<size_t>(i)];
    ASSERT_TRUE(p.name == q.name && p.text == q.text && p.x == q.x && p.kind == q.kind &&
                p.next_point == q.next_point)
        << i;
  }
  EXPECT_EQ(r.game.commander_name, Sj("アキラ"));
  EXPECT_EQ(r.game.ship_name, Sj("ノア"));
  EXPECT_EQ(r.game.sector_x, 0);
  EXPECT_EQ(r.game.voyage_days, 0);
  EXPECT_EQ(r.game.story_stage(), 0);
  EXPECT_EQ(r.game.point_state[0], 1);
  EXPECT_EQ(r.fake.controls.captions[kVoyageWindow], Sj("ノア号・船長アキラ"));
  // Nothing is saved until the voyage window saves.
  EXPECT_EQ(ReadBytes(Path("dat/my.dat")), saved);
}

TEST(TitleShutdown, GivesBackTheStartUpWaves) {
  TitleRig r;
  r.scene.FormDestroy();
  EXPECT_EQ(r.host.calls, std::vector<std::string>{"release waves"});
}

}  // namespace
}  // namespace qm
