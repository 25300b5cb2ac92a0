// The player's pause on the real voyage window: frames, sounds and every game value stand still,
// nothing beneath the pause takes the mouse or a key, and the voyage goes on from the moment it
// is let go without making up for the paused time. A minimised window pauses by itself. The
// loudness keys step the effects and the music.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cockpit/voyage_keys.h"
#include "cockpit/voyage_window.h"
#include "fakes.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

// Records holds and loudness besides the cues.
class HoldingSound : public testing::RecordingSound {
 public:
  void Hold(bool held) override { calls.push_back(held ? "hold" : "release"); }
  int Volume(SoundPart part) const override {
    return part == SoundPart::kEffects ? effects : music;
  }
  void SetVolume(SoundPart part, int percent) override {
    (part == SoundPart::kEffects ? effects : music) = percent;
    calls.push_back((part == SoundPart::kEffects ? "effects " : "music ") +
                    std::to_string(percent));
  }
  int effects = 100;
  int music = 100;
};

class FakePad : public Gamepad {
 public:
  GamepadState Poll() override { return state; }
  GamepadState state{.connected = true};
};

// What a pause must leave exactly as it was.
struct Snapshot {
  std::int32_t blink, booster, forward, side, up, x, y, z, sector_z, pad_left, contact, noise;
  std::int32_t typewriter, page, energy, resources;
  bool operator==(const Snapshot&) const = default;
};

class PauseTest : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    std::filesystem::create_directory(Path("cg"));
    for (const char* name : {"black", "gamen", "txt", "cont", "cont2", "trable", "syowaku"}) {
      QImage picture(8, 6, QImage::Format_RGB32);
      picture.fill(QColor(0x40, 0x80, 0xC0));
      ASSERT_TRUE(
          picture.save(QString::fromStdString(Path(std::string("cg/") + name + ".bmp")), "BMP"));
    }
    NewGame(game);
    game.resources = 10;
    window = std::make_unique<TForm2>(game, services, controls);
    window->SetCloseTitleWindow([] {});
    window->FormCreate();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    vs().logon_step = kLogonFrames;
    vs().current_point = -1;
    keys = std::make_unique<VoyageKeys>(window.get(), controls, &pad);
    sound.calls.clear();
  }
  void TearDown() override {
    keys.reset();
    window.reset();
    TempGameFolder::TearDown();
  }
  VoyageState& vs() { return window->state(); }
  CockpitState& cs() { return window->cockpit().state(); }
  bool Frame() {
    const std::int32_t before = vs().blink_counter;
    window->voyage().Timer1Timer();
    return vs().blink_counter != before;
  }
  void Key(Qt::Key key) { QTest::keyClick(window.get(), key); }
  Snapshot Take() {
    return {vs().blink_counter,  vs().booster_seconds, vs().speed_forward, vs().speed_side,
            vs().speed_up,       vs().local_x,         vs().local_y,       vs().local_z,
            game.sector_z,       vs().pad_left_held,   vs().contact_blink, vs().noise_countdown,
            cs().typewriter_pos, cs().message_page,    game.energy,        game.resources};
  }
  int Count(const std::string& call) const {
    return static_cast<int>(std::count(sound.calls.begin(), sound.calls.end(), call));
  }
  // How many pixels of the window's plate in the middle of the view are aqua.
  int AquaInPlate() {
    const QImage shot = window->grab(QRect(120, 132, 160, 36)).toImage();
    int n = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        n += shot.pixelColor(x, y) == QColor(0x00, 0xFF, 0xFF) ? 1 : 0;
    return n;
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

TEST_F(PauseTest, PHoldsEveryFrameSoundAndValueAndTheVoyageGoesOnWithoutCatchingUp) {
  // Flying with the booster, a page being typed: everything a frame moves is moving.
  vs().booster_seconds = 15;
  QTest::keyPress(window.get(), Qt::Key_Up);
  ASSERT_EQ(vs().pad_left_held, 1);
  window->cockpit().AddMessage(std::string(60, 'A'));
  window->cockpit().ShowMessageBox();
  fake.clock.AdvanceMs(100);
  ASSERT_TRUE(Frame());  // the booster's first second: 15 -> 14, the next one due in 1 s
  ASSERT_EQ(vs().booster_seconds, 14);
  for (int i = 0; i < 2; ++i) {
    fake.clock.AdvanceMs(100);
    ASSERT_TRUE(Frame());
  }
  fake.clock.AdvanceMs(40);  // 60 ms short of the next frame
  ASSERT_GT(vs().speed_forward, 0);
  ASSERT_GT(Count("cue 3 pi.wav"), 0);

  const Snapshot before = Take();
  sound.calls.clear();
  Key(Qt::Key_P);
  ASSERT_TRUE(window->Paused());
  EXPECT_EQ(sound.calls, std::vector<std::string>{"hold"});
  EXPECT_TRUE(controls.Find("pause_cover")->isVisible());

  // Ten seconds of polls, keys and the controller change nothing at all.
  for (int i = 0; i < 100; ++i) {
    fake.clock.AdvanceMs(100);
    EXPECT_FALSE(Frame());
  }
  for (Qt::Key k : {Qt::Key_C, Qt::Key_M, Qt::Key_E, Qt::Key_B, Qt::Key_Space, Qt::Key_1})
    Key(k);
  QTest::keyRelease(window.get(), Qt::Key_Up);
  pad.state.a = true;
  pad.state.left_y = 1.0f;
  keys->PollGamepad();
  pad.state = GamepadState{.connected = true};
  keys->PollGamepad();
  EXPECT_EQ(Take(), before);
  EXPECT_EQ(sound.calls, std::vector<std::string>{"hold"});
  EXPECT_TRUE(fake.dialogs.asked.empty());
  EXPECT_TRUE(fake.dialogs.informed.empty());

  // Going on: the sounds go on, and the Up let go meanwhile reaches the pad now.
  Key(Qt::Key_P);
  ASSERT_FALSE(window->Paused());
  EXPECT_FALSE(controls.Find("pause_cover")->isVisible());
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"hold", "release", "cue 2 e2.wav"}));
  EXPECT_EQ(vs().pad_left_held, 0);
  // The next frame is the one that was 60 ms away when the pause came, and only that one.
  EXPECT_FALSE(Frame());
  fake.clock.AdvanceMs(55);
  EXPECT_FALSE(Frame());
  fake.clock.AdvanceMs(10);
  EXPECT_TRUE(Frame());
  EXPECT_EQ(vs().blink_counter, before.blink + 1);
  EXPECT_FALSE(Frame());
  // The booster's second had 760 ms to run when paused; it runs them after the pause.
  for (int i = 0; i < 6; ++i) {
    fake.clock.AdvanceMs(100);
    ASSERT_TRUE(Frame());
    EXPECT_EQ(vs().booster_seconds, 14) << "frame " << i;
  }
  fake.clock.AdvanceMs(100);
  ASSERT_TRUE(Frame());
  EXPECT_EQ(vs().booster_seconds, 13);
  // The typewriter went on from where it stood.
  EXPECT_EQ(cs().typewriter_pos, before.typewriter + 8);
}

TEST_F(PauseTest, TheControllersStartPausesAndGoesOnAndThePauseIsShownInTheView) {
  const int aqua_running = AquaInPlate();
  pad.state.start = true;
  keys->PollGamepad();
  ASSERT_TRUE(window->Paused());
  keys->PollGamepad();  // still held: no second press
  ASSERT_TRUE(window->Paused());
  EXPECT_GT(AquaInPlate(), aqua_running + 20) << "the pause word is not drawn";
  pad.state.start = false;
  keys->PollGamepad();
  pad.state.start = true;
  keys->PollGamepad();
  EXPECT_FALSE(window->Paused());
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"hold", "release"}));
  // The Pause key does what P does.
  Key(Qt::Key_Pause);
  EXPECT_TRUE(window->Paused());
}

TEST_F(PauseTest, ThePauseWordIsTheEditions) {
  window.reset();
  keys.reset();
  ASSERT_TRUE(SetEdition("en"));
  window = std::make_unique<TForm2>(game, services, controls);
  window->FormCreate();
  window->show();
  window->TogglePause();
  const QImage en = window->grab(QRect(120, 132, 160, 36)).toImage();
  EXPECT_EQ(Tx("一時停止"), "PAUSED");
  ASSERT_TRUE(SetEdition(kJapanese));
  window = std::make_unique<TForm2>(game, services, controls);
  window->FormCreate();
  window->show();
  window->TogglePause();
  const QImage ja = window->grab(QRect(120, 132, 160, 36)).toImage();
  EXPECT_NE(en, ja);
}

TEST_F(PauseTest, WhilePausedNoClickReachesTheWindowAndAHoldLetGoEndsOnResuming) {
  QWindow* door = window->windowHandle();
  ASSERT_NE(door, nullptr);
  QTest::mousePress(door, Qt::LeftButton, Qt::NoModifier, QPoint(198, 320));
  ASSERT_EQ(vs().pad_left_held, 1);
  window->TogglePause();
  sound.calls.clear();
  // The hold ends while paused: the ship does not hear of it yet.
  QTest::mouseMove(door, QPoint(160, 390));
  QTest::mouseRelease(door, Qt::LeftButton, Qt::NoModifier, QPoint(160, 390));
  EXPECT_EQ(vs().pad_left_held, 1);
  EXPECT_EQ(vs().pad_y_left, 16);
  // Nothing under the pause takes a click: pad, contact, chart, booster plate, message box.
  window->cockpit().AddMessage("AB");
  window->cockpit().ShowMessageBox();
  controls.Find("moji_box")->hide();
  for (QPoint at :
       {QPoint(198, 354), QPoint(298, 322), QPoint(350, 358), QPoint(320, 392), QPoint(250, 415)}) {
    QTest::mouseClick(door, Qt::LeftButton, Qt::NoModifier, at);
  }
  controls.Find("moji_box")->show();
  QTest::mouseClick(door, Qt::LeftButton, Qt::NoModifier, QPoint(200, 380));
  EXPECT_TRUE(sound.calls.empty());
  EXPECT_EQ(vs().contact_blink, 0);
  EXPECT_EQ(vs().chart_open, 0);
  EXPECT_TRUE(fake.dialogs.asked.empty());
  EXPECT_EQ(cs().message_pages[0], "AB");

  window->TogglePause();
  EXPECT_EQ(vs().pad_left_held, 0);
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"release", "cue 2 e2.wav"}));
  // Running again, the box takes its click.
  QTest::mouseClick(door, Qt::LeftButton, Qt::NoModifier, QPoint(200, 380));
  EXPECT_EQ(Count("click"), 1);
}

TEST_F(PauseTest, MinimisingPausesAndShowingGoesOnButThePlayersOwnPauseStays) {
  fake.clock.AdvanceMs(100);
  ASSERT_TRUE(Frame());
  window->showMinimized();
  QApplication::processEvents();
  ASSERT_TRUE(window->isMinimized());
  EXPECT_TRUE(window->Paused());
  fake.clock.AdvanceMs(500);
  EXPECT_FALSE(Frame());
  window->showNormal();
  QApplication::processEvents();
  EXPECT_FALSE(window->Paused());
  EXPECT_EQ(sound.calls, (std::vector<std::string>{"hold", "release"}));
  // The 500 ms minimised are not made up: the next frame is 100 ms after the last one ran.
  EXPECT_FALSE(Frame());
  fake.clock.AdvanceMs(95);
  EXPECT_FALSE(Frame());
  fake.clock.AdvanceMs(10);
  EXPECT_TRUE(Frame());

  // Paused by the player, minimised and shown again: still paused until the player goes on.
  Key(Qt::Key_P);
  window->showMinimized();
  QApplication::processEvents();
  window->showNormal();
  QApplication::processEvents();
  EXPECT_TRUE(window->Paused());
  fake.clock.AdvanceMs(200);
  EXPECT_FALSE(Frame());
  Key(Qt::Key_P);
  EXPECT_FALSE(window->Paused());
  EXPECT_EQ(Count("hold"), 2);
  EXPECT_EQ(Count("release"), 2);
}

// The real timer and clock: no posted poll runs a frame while paused, and once going on the
// frames come at their own pace again.
TEST_F(PauseTest, WithTheRealTimerTheFramesStopAndDoNotRaceAfterwards) {
  SteadyClock clock;
  Services real{clock, fake.random, fake.dialogs, sound, controls};
  keys.reset();
  window = std::make_unique<TForm2>(game, real, controls);
  window->FormCreate();
  window->StartVoyage();
  auto wait = [](int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
      QTest::qWait(10);
  };
  wait(350);
  ASSERT_GT(vs().blink_counter, 0) << "no frame ran";
  window->TogglePause();
  const std::int32_t paused_at = vs().blink_counter;
  wait(1000);
  EXPECT_EQ(vs().blink_counter, paused_at);
  window->TogglePause();
  wait(350);
  const std::int32_t after = vs().blink_counter - paused_at;
  EXPECT_GE(after, 2);
  EXPECT_LE(after, 5);
}

TEST_F(PauseTest, TheLoudnessKeysStepByTenWithinTheirRangeAndSayWhereTheyStand) {
  Key(Qt::Key_BracketLeft);
  Key(Qt::Key_BracketLeft);
  EXPECT_EQ(sound.effects, 80);
  auto* note = qobject_cast<QLabel*>(controls.Find("volume_l"));
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(note->isVisible());
  EXPECT_EQ(note->text(), QStringLiteral("効果音 80%"));
  Key(Qt::Key_BracketRight);
  EXPECT_EQ(sound.effects, 90);
  Key(Qt::Key_BracketRight);
  Key(Qt::Key_BracketRight);
  EXPECT_EQ(sound.effects, 100);

  for (int i = 0; i < 12; ++i)
    Key(Qt::Key_Minus);
  EXPECT_EQ(sound.music, 0);
  EXPECT_EQ(note->text(), QStringLiteral("音楽 0%"));
  Key(Qt::Key_Equal);
  Key(Qt::Key_AsciiCircum);
  QTest::keyClick(window.get(), Qt::Key_Plus, Qt::ShiftModifier);
  EXPECT_EQ(sound.music, 30);
  // Ctrl with minus and plus sizes the window; the loudness stays.
  QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
  QTest::keyClick(window.get(), Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(sound.music, 30);
  // Loudness is no game value: it may be set while paused, and the voyage stays paused.
  Key(Qt::Key_P);
  Key(Qt::Key_BracketLeft);
  EXPECT_EQ(sound.effects, 90);
  EXPECT_TRUE(window->Paused());
  // The note goes by itself.
  QElapsedTimer waited;
  waited.start();
  while (note->isVisible() && waited.elapsed() < 3000)
    QTest::qWait(20);
  EXPECT_FALSE(note->isVisible());
  // No loudness key touched the voyage.
  EXPECT_EQ(vs().contact_blink + vs().chart_open + vs().pad_left_held, 0);
}

}  // namespace
}  // namespace qm
