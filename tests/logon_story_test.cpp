// From the title window into the voyage: "宇宙へ" and CONTINUE hand over to the voyage window,
// whose ship computer logs the captain on for 45 frames before the instruments take over.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <filesystem>

#include "app/title_window.h"
#include "built_game.h"
#include "cockpit/voyage_window.h"
#include "fakes.h"
#include "platform/cp932.h"
#include "state/chart_file.h"
#include "state/save_files.h"
#include "temp_game_folder.h"
#include "widget_services.h"

namespace qm {
namespace {

using testing::WidgetServices;

// Both windows made as the program makes them, over a copy of the shipped game folder. The
// voyage frames are run by hand on the manual clock; no event loop runs, so no timer interferes.
class HandOver : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    std::filesystem::copy(testing::BuiltGame() / "cg", Path("cg"));
    std::filesystem::copy_file(testing::BuiltGame() / "dat" / "map.dat", Path("dat/map.dat"));
  }
  void Open() {
    title = std::make_unique<TForm1>(game, fake.services, fake.controls);
    title->FormCreate();
    voyage = std::make_unique<TForm2>(game, fake.services, fake.controls);
    title->SetVoyageWindow(voyage.get());
    voyage->FormCreate();
    title->show();
  }
  void TearDown() override {
    voyage.reset();
    title.reset();
    TempGameFolder::TearDown();
  }
  void Frame() {
    fake.clock.AdvanceMs(100);
    voyage->voyage().Timer1Timer();
  }
  Color Centre() const { return voyage->view().Pixel(200, 150); }
  QString StatusLine() const {
    auto* label = qobject_cast<QLabel*>(fake.controls.Find("vosk_l"));
    return label == nullptr ? QStringLiteral("<none>") : label->text();
  }
  int Sounds(const std::string& call) const {
    return static_cast<int>(std::count(fake.sound.calls.begin(), fake.sound.calls.end(), call));
  }

  WidgetServices fake;
  GameState game;
  std::unique_ptr<TForm1> title;
  std::unique_ptr<TForm2> voyage;
};

TEST_F(HandOver, SpaceButtonOpensTheVoyageWindowOnTheLogOnAndTheInstrumentsFollowAtFrame46) {
  Open();
  EXPECT_FALSE(voyage->isVisible());
  fake.dialogs.answers = {true};
  title->BitBtn2()->click();
  title->name_l()->insert(QStringLiteral("アキラ"));
  title->name_l2()->insert(QStringLiteral("ノア"));
  title->BitBtn3()->click();

  EXPECT_FALSE(title->isVisible());
  EXPECT_TRUE(voyage->isVisible());
  EXPECT_FALSE(title->name_box()->isVisible());
  EXPECT_EQ(voyage->windowTitle(), QStringLiteral("ノア号・船長アキラ"));
  EXPECT_EQ(game.commander_name, Sj("アキラ"));
  EXPECT_EQ(voyage->state().logon_step, 0);
  EXPECT_EQ(Sounds("cue 0 log.wav"), 1);
  // The title stops at its next call.
  EXPECT_FALSE(title->scene().Timer1Timer());
  EXPECT_FALSE(title->scene().timer1_enabled());

  const QString before = StatusLine();
  Frame();
  EXPECT_EQ(voyage->state().logon_step, 1);
  EXPECT_EQ(Centre(), 0x001100u);
  for (int frame = 2; frame <= 45; ++frame) {
    Frame();
    EXPECT_EQ(Sounds("cue 2 logon.wav"), frame < 31 ? 0 : 1) << frame;
  }
  EXPECT_EQ(voyage->state().logon_step, 45);
  EXPECT_EQ(Centre(), kGreen);  // frame 45 is still the log-on screen
  EXPECT_EQ(StatusLine(), before);

  Frame();
  EXPECT_NE(Centre(), kGreen);
  EXPECT_TRUE(StatusLine().contains(QStringLiteral("アキラ")));
  EXPECT_EQ(voyage->cockpit().energy_gauge().Pixel(0, 0), kAqua);
}

TEST_F(HandOver, ContinueResumesTheSavedVoyageWithItsNames) {
  {
    testing::FakeServices saver;
    GameState g;
    ReadChart(Path("dat/map.dat"), g);
    NewGame(g);
    g.commander_name = Sj("古参");
    g.ship_name = Sj("ﾍﾞｶﾞ");
    g.sector_z = 5;
    ASSERT_TRUE(SaveGame(g, saver.services));
  }
  Open();
  ASSERT_TRUE(title->count_b()->isEnabled());
  title->count_b()->click();
  EXPECT_FALSE(title->isVisible());
  EXPECT_TRUE(voyage->isVisible());
  EXPECT_EQ(voyage->windowTitle(), QStringLiteral("ﾍﾞｶﾞ号・船長古参"));
  EXPECT_EQ(game.sector_z, 5);
  EXPECT_EQ(voyage->state().logon_step, 0);
  EXPECT_EQ(fake.sound.calls.back(), "cue 0 log.wav");
  Frame();
  EXPECT_EQ(voyage->state().logon_step, 1);
}

}  // namespace
}  // namespace qm
