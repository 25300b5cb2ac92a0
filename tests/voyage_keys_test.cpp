#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cockpit/voyage_keys.h"
#include "cockpit/voyage_window.h"
#include "fakes.h"
#include "platform/cp932.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

using testing::FakeServices;

using testing::FakeGamepad;

// The real voyage window on fakes, with the keyboard and a controller on it.
class VoyageKeysTest : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    WriteStandInPictures(
        {"black", "gamen", "txt", "cont", "cont2", "trable", "syowaku", "noize0", "noize5"});
    NewGame(game);
    window = std::make_unique<TForm2>(game, services, controls);
    window->SetCloseTitleWindow([] {});
    window->FormCreate();
    window->show();
    window->state().logon_step = 45;
    window->state().current_point = -1;
    keys = std::make_unique<VoyageKeys>(window.get(), controls, &gamepad);
    fake.sound.calls.clear();
    fake.dialogs.errors.clear();
  }
  void TearDown() override {
    keys.reset();
    window.reset();
    TempGameFolder::TearDown();
  }
  void Frame() {
    fake.clock.AdvanceMs(100);
    window->voyage().Timer1Timer();
  }
  void Key(Qt::Key key) { QTest::keyClick(window.get(), key); }
  void MousePress(const char* name) {
    QWidget* w = controls.Find(name);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
  }
  int Count(const std::string& call) const {
    return static_cast<int>(std::count(fake.sound.calls.begin(), fake.sound.calls.end(), call));
  }
  VoyageState& vs() { return window->state(); }

  FakeServices fake;
  QtControls controls;
  Services services{fake.clock, fake.random, fake.dialogs, fake.sound, controls};
  GameState game;
  FakeGamepad gamepad;
  std::unique_ptr<TForm2> window;
  std::unique_ptr<VoyageKeys> keys;
};

TEST_F(VoyageKeysTest, ArrowsHoldThePadAtAnOffsetAndLettingGoOfTheLastReleasesIt) {
  QTest::keyPress(window.get(), Qt::Key_Up);
  EXPECT_EQ(vs().pad_left_held, 1);
  EXPECT_EQ(vs().pad_y_left, 50 - kKeyForward);
  EXPECT_EQ(vs().pad_x, 50);
  EXPECT_EQ(Count("cue 0 e.wav") + Count("cue 3 e.wav"), 1);
  Frame();
  EXPECT_EQ(vs().speed_forward, kKeyForward / 5);

  // A second key slides the held pointer: no new press, no new sound.
  QTest::keyPress(window.get(), Qt::Key_D);
  EXPECT_EQ(vs().pad_x, 100 - (50 + kKeySideways));
  EXPECT_EQ(vs().pad_y_left, 50 - kKeyForward);
  QTest::keyRelease(window.get(), Qt::Key_Up);
  EXPECT_EQ(vs().pad_left_held, 1);
  EXPECT_EQ(vs().pad_y_left, 50);
  EXPECT_EQ(Count("cue 2 e2.wav"), 0);
  QTest::keyRelease(window.get(), Qt::Key_D);
  EXPECT_EQ(vs().pad_left_held, 0);
  EXPECT_EQ(Count("cue 2 e2.wav"), 1);
  EXPECT_EQ(Count("cue 0 e.wav") + Count("cue 3 e.wav"), 1);
}

TEST_F(VoyageKeysTest, PageKeysHoldTheRightButtonAndOppositeKeysCancel) {
  QTest::keyPress(window.get(), Qt::Key_PageUp);
  EXPECT_EQ(vs().pad_right_held, 1);
  EXPECT_EQ(vs().pad_left_held, 0);
  EXPECT_EQ(vs().pad_y_right, 50 - kKeyVertical);
  Frame();
  EXPECT_GT(vs().speed_up, 0);
  // Adding a sideways key brings the left button in too, as pressing both mouse buttons does.
  QTest::keyPress(window.get(), Qt::Key_Left);
  EXPECT_EQ(vs().pad_left_held, 1);
  EXPECT_EQ(vs().pad_right_held, 1);
  EXPECT_EQ(vs().pad_x, 100 - (50 - kKeySideways));
  QTest::keyPress(window.get(), Qt::Key_Right);
  EXPECT_EQ(vs().pad_x, 50);
  QTest::keyRelease(window.get(), Qt::Key_Left);
  QTest::keyRelease(window.get(), Qt::Key_Right);
  QTest::keyRelease(window.get(), Qt::Key_PageUp);
  EXPECT_EQ(vs().pad_left_held + vs().pad_right_held, 0);
}

TEST_F(VoyageKeysTest, PanelKeysDoWhatTheirClickDoes) {
  game.resources = 7;
  Key(Qt::Key_C);
  EXPECT_EQ(vs().contact_blink, 10);
  EXPECT_EQ(vs().noise_countdown, 10);
  EXPECT_EQ(fake.sound.calls, std::vector<std::string>{"click"});
  // While the pressed picture shows over the button a click finds the picture, so does the key.
  Frame();
  ASSERT_TRUE(controls.Find("contact_b")->isVisible());
  Key(Qt::Key_C);
  EXPECT_EQ(fake.sound.calls.size(), 1u);

  fake.sound.calls.clear();
  fake.dialogs.default_answer = false;
  Key(Qt::Key_E);
  Key(Qt::Key_R);
  Key(Qt::Key_B);
  ASSERT_EQ(fake.dialogs.asked.size(), 3u);
  EXPECT_EQ(fake.dialogs.asked[0].substr(0, 6), Sj("資源 3"));
  EXPECT_EQ(fake.dialogs.asked[1].substr(0, 8), Sj("ここまで"));
  EXPECT_EQ(fake.dialogs.asked[2].substr(0, 6), Sj("資源を"));
  EXPECT_EQ(game.resources, 7);
  EXPECT_EQ(fake.sound.calls,
            (std::vector<std::string>{"click", "click", "click", "click", "click", "click"}));
}

TEST_F(VoyageKeysTest, TheMessageBoxTakesThePageKeysAndCoversTheRest) {
  // No known point: the chart opens the box on one empty page, which the first click closes.
  game.point_state.fill(0);
  Key(Qt::Key_M);
  ASSERT_TRUE(controls.Find("moji_box")->isVisible());
  EXPECT_EQ(vs().chart_open, 1);
  fake.sound.calls.clear();
  fake.dialogs.asked.clear();

  // Pad and panel lie under the box: nothing reaches them.
  QTest::keyPress(window.get(), Qt::Key_Up);
  EXPECT_EQ(vs().pad_left_held, 0);
  QTest::keyRelease(window.get(), Qt::Key_Up);
  Key(Qt::Key_E);
  Key(Qt::Key_C);
  EXPECT_TRUE(fake.dialogs.asked.empty());
  EXPECT_EQ(vs().contact_blink, 0);
  EXPECT_TRUE(fake.sound.calls.empty());

  Key(Qt::Key_Space);
  EXPECT_EQ(fake.sound.calls, std::vector<std::string>{"click"});
  EXPECT_FALSE(controls.Find("moji_box")->isVisible());
  EXPECT_EQ(vs().chart_open, 0);
  // Closed, the box takes no page key.
  Key(Qt::Key_Return);
  EXPECT_EQ(fake.sound.calls.size(), 1u);
}

TEST_F(VoyageKeysTest, DigitsWorkOnlyTheRepairButtonsThatShow) {
  game.resources = 20;
  Key(Qt::Key_1);
  Key(Qt::Key_0);
  EXPECT_TRUE(fake.sound.calls.empty());
  EXPECT_FALSE(controls.Find("moji_box")->isVisible());

  window->cockpit().RaiseTrouble(0);
  window->cockpit().RaiseTrouble(9);
  Frame();
  ASSERT_TRUE(controls.Find("tra_b1")->isVisible());
  fake.sound.calls.clear();
  Key(Qt::Key_1);
  EXPECT_EQ(fake.sound.calls, std::vector<std::string>{"click"});
  EXPECT_TRUE(controls.Find("moji_box")->isVisible());
  EXPECT_FALSE(window->cockpit().state().message_pages[0].empty());
}

TEST_F(VoyageKeysTest, KeysForOtherWindowsAndWithCtrlAreLeftAlone) {
  QLineEdit entry;
  entry.show();
  QTest::keyClicks(&entry, "cm1 ");
  EXPECT_EQ(entry.text(), QStringLiteral("cm1 "));
  QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(vs().contact_blink, 0);
  EXPECT_TRUE(fake.sound.calls.empty());
}

TEST_F(VoyageKeysTest, TheSticksSteerAtTheirDeflectionBeyondTheDeadZone) {
  gamepad.state.left_y = 0.1f;
  gamepad.state.left_x = -0.1f;
  keys->PollGamepad();
  EXPECT_EQ(vs().pad_left_held, 0);

  gamepad.state.left_y = -1.0f;
  gamepad.state.left_x = 0.5f;
  keys->PollGamepad();
  EXPECT_EQ(vs().pad_left_held, 1);
  EXPECT_EQ(vs().pad_y_left, 0);
  EXPECT_EQ(vs().pad_x, 100 - 75);
  gamepad.state.right_y = 0.6f;
  keys->PollGamepad();
  EXPECT_EQ(vs().pad_right_held, 1);
  EXPECT_EQ(vs().pad_y_right, 80);

  gamepad.state = GamepadState{.connected = true};
  keys->PollGamepad();
  EXPECT_EQ(vs().pad_left_held + vs().pad_right_held, 0);
  EXPECT_EQ(Count("cue 2 e2.wav"), 2);
}

TEST_F(VoyageKeysTest, ControllerButtonsPressOnTheirEdge) {
  game.point_state.fill(0);
  gamepad.state.a = true;
  keys->PollGamepad();
  keys->PollGamepad();  // still held: one press only
  EXPECT_EQ(vs().contact_blink, 10);
  EXPECT_EQ(fake.sound.calls, std::vector<std::string>{"click"});
  gamepad.state.a = false;
  gamepad.state.x = true;
  keys->PollGamepad();
  EXPECT_EQ(vs().chart_open, 1);
  gamepad.state.x = false;
  gamepad.state.b = true;
  keys->PollGamepad();
  EXPECT_FALSE(controls.Find("moji_box")->isVisible());
}

}  // namespace
}  // namespace qm
