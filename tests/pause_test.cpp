// The player's pause on the real voyage window: frames, sounds and game values stand still,
// nothing beneath takes a click or a key, the voyage goes on without making up the paused time,
// and a minimised window pauses by itself. The loudness keys step the effects and the music.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "cockpit/voyage_keys.h"
#include "cockpit/voyage_window.h"
#include "fakes.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

// Records holds and loudness besides the cues.
class HoldingSound : public testing::RecordingSound {
 public:
  void Hold(bool held) override { calls.push_back(held ? "hold" : "release"); }
  int Volume(SoundPart part) const override { return volume[static_cast<int>(part)]; }
  void SetVolume(SoundPart part, int percent) override { volume[static_cast<int>(part)] = percent; }
  int volume[2] = {100, 100};
};

using FakePad = testing::FakeGamepad;

class PauseTest : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    WriteStandInPictures({"black", "gamen", "txt", "cont", "cont2", "trable", "syowaku"},
                         Qt::darkBlue);
    NewGame(game);
    window = std::make_unique<TForm2>(game, services, controls);
    window->FormCreate();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    vs().logon_step = kLogonFrames;
    keys = std::make_unique<VoyageKeys>(window.get(), controls, &pad);
  }
  void TearDown() override {
    keys.reset();
    window.reset();
    TempGameFolder::TearDown();
  }
  VoyageState& vs() { return window->state(); }
  bool Frame(double ms) {
    fake.clock.AdvanceMs(ms);
    const std::int32_t before = vs().blink_counter;
    window->voyage().Timer1Timer();
    return vs().blink_counter != before;
  }
  void Key(Qt::Key key) { QTest::keyClick(window.get(), key); }
  // What a frame or a handler would move.
  auto Moving() {
    const VoyageState& v = vs();
    return std::tuple(v.blink_counter, v.booster_seconds, v.speed_forward, v.local_z,
                      v.pad_left_held, v.contact_blink, v.chart_open, v.noise_countdown,
                      v.stars[0].x, v.stars[0].y, window->cockpit().state().typewriter_pos,
                      window->cockpit().state().message_pages, game.resources, game.energy);
  }

  testing::FakeServices fake;
  HoldingSound sound;
  QtControls controls;
  Services services{fake.clock, fake.random, fake.dialogs, sound, controls};
  GameState game;
  FakePad pad;
  std::unique_ptr<TForm2> window;
  std::unique_ptr<VoyageKeys> keys;
};

TEST_F(PauseTest, PHoldsFramesSoundsAndValuesAndTheVoyageGoesOnWithoutCatchingUp) {
  // Thrusting with the booster while a page is typed.
  vs().booster_seconds = 15;
  QTest::keyPress(window.get(), Qt::Key_Up);
  window->cockpit().AddMessage(std::string(60, 'A'));
  window->cockpit().ShowMessageBox();
  ASSERT_TRUE(Frame(100));  // the booster's first second: 14 left, the next due in 1 s
  ASSERT_TRUE(Frame(100));
  ASSERT_TRUE(Frame(100));
  fake.clock.AdvanceMs(40);  // paused 60 ms before the next frame, 760 ms before the next second
  const auto before = Moving();
  const std::int32_t counter = vs().blink_counter;
  ASSERT_GT(vs().speed_forward, 0);
  sound.calls.clear();

  Key(Qt::Key_P);
  ASSERT_TRUE(window->Paused());
  EXPECT_TRUE(controls.Find("pause_cover")->isVisible());
  for (int i = 0; i < 100; ++i)
    EXPECT_FALSE(Frame(100));
  // Keys, the controller and the Up let go reach nothing while paused.
  for (Qt::Key k : {Qt::Key_C, Qt::Key_M, Qt::Key_E, Qt::Key_B, Qt::Key_Space, Qt::Key_1})
    Key(k);
  QTest::keyRelease(window.get(), Qt::Key_Up);
  pad.state.a = pad.state.x = true;
  pad.state.left_y = 1.0f;
  keys->PollGamepad();
  EXPECT_TRUE(Moving() == before);
  EXPECT_EQ(sound.calls, std::vector<std::string>{"hold"});
  EXPECT_TRUE(fake.dialogs.asked.empty() && fake.dialogs.informed.empty());

  // The controller's Start goes on; what was let go meanwhile reaches the pad now.
  pad.state = GamepadState{.connected = true, .start = true};
  keys->PollGamepad();
  ASSERT_FALSE(window->Paused());
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"hold", "release", "cue 2 e2.wav"}));
  // The frame 60 ms away when paused comes 60 ms on, and only that one.
  EXPECT_FALSE(Frame(55));
  EXPECT_TRUE(Frame(10));
  EXPECT_EQ(vs().blink_counter, counter + 1);
  // The booster's second had 760 ms left: six more frames keep 14, the seventh counts down.
  for (int i = 0; i < 6; ++i) {
    ASSERT_TRUE(Frame(100));
    EXPECT_EQ(vs().booster_seconds, 14);
  }
  ASSERT_TRUE(Frame(100));
  EXPECT_EQ(vs().booster_seconds, 13);
}

TEST_F(PauseTest, WhilePausedNoClickReachesTheWindowAndAHoldLetGoEndsAsItGoesOn) {
  QWindow* door = window->windowHandle();
  QTest::mousePress(door, Qt::LeftButton, Qt::NoModifier, QPoint(198, 320));  // the pad
  ASSERT_EQ(vs().pad_left_held, 1);
  Key(Qt::Key_Pause);
  sound.calls.clear();
  QTest::mouseMove(door, QPoint(160, 390));
  QTest::mouseRelease(door, Qt::LeftButton, Qt::NoModifier, QPoint(160, 390));
  EXPECT_EQ(vs().pad_left_held, 1);
  EXPECT_EQ(vs().pad_y_left, 16);
  // Pad, contact, chart, booster plate, status line: all under the pause.
  for (QPoint at :
       {QPoint(198, 354), QPoint(298, 322), QPoint(350, 358), QPoint(320, 392), QPoint(250, 415)})
    QTest::mouseClick(door, Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_TRUE(sound.calls.empty());
  EXPECT_EQ(vs().contact_blink + vs().chart_open, 0);
  EXPECT_TRUE(fake.dialogs.asked.empty());
  Key(Qt::Key_Pause);
  EXPECT_EQ(vs().pad_left_held, 0);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"release", "cue 2 e2.wav"}));
}

TEST_F(PauseTest, MinimisingPausesAndShowingGoesOnButThePlayersOwnPauseStays) {
  ASSERT_TRUE(Frame(100));
  window->showMinimized();
  EXPECT_TRUE(window->Paused());
  EXPECT_FALSE(Frame(500));
  window->showNormal();
  EXPECT_FALSE(window->Paused());
  EXPECT_FALSE(Frame(95));  // the 500 ms are not made up
  EXPECT_TRUE(Frame(10));
  Key(Qt::Key_P);
  window->showMinimized();
  window->showNormal();
  EXPECT_TRUE(window->Paused());
  EXPECT_FALSE(Frame(200));
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"hold", "release", "hold"}));
}

TEST_F(PauseTest, TheLoudnessKeysStepByTenWithinTheirRangeAndSayWhereTheyStand) {
  Key(Qt::Key_BracketLeft);
  Key(Qt::Key_BracketLeft);
  Key(Qt::Key_BracketRight);
  EXPECT_EQ(sound.Volume(SoundPart::kEffects), 90);
  auto* note = qobject_cast<QLabel*>(controls.Find("volume_l"));
  EXPECT_TRUE(note->isVisible());
  EXPECT_EQ(note->text(), QStringLiteral("効果音 90%"));
  for (int i = 0; i < 12; ++i)
    Key(Qt::Key_Minus);
  EXPECT_EQ(sound.Volume(SoundPart::kMusic), 0);
  Key(Qt::Key_Equal);
  Key(Qt::Key_AsciiCircum);
  QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ShiftModifier);
  EXPECT_EQ(note->text(), QStringLiteral("音楽 30%"));
  // Ctrl with them sizes the window instead.
  QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(sound.Volume(SoundPart::kMusic), 30);
  EXPECT_EQ(vs().contact_blink + vs().chart_open + vs().pad_left_held, 0);
}

}  // namespace
}  // namespace qm
