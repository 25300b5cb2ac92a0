// Game controllers without hardware: SDL's virtual joystick, mapped as a game controller, plugged
// in while the game runs.
#include <SDL.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "cockpit/voyage_keys.h"
#include "cockpit/voyage_window.h"
#include "fakes.h"
#include "platform/clock.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/widgets/qt_dialogs.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

enum Axis { kLeftX, kLeftY, kRightX, kRightY };
enum Button { kA, kB, kX, kY, kRightShoulder = 10 };

// A virtual controller with the usual layout, known to SDL's controller database by its GUID.
class VirtualPad {
 public:
  VirtualPad() {
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    if (index_ < 0) return;
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index_), guid, sizeof guid);
    const std::string mapping = std::string(guid) +
                                ",Test Pad,a:b0,b:b1,x:b2,y:b3,back:b4,guide:b5,start:b6,"
                                "leftstick:b7,rightstick:b8,leftshoulder:b9,rightshoulder:b10,"
                                "dpup:b11,dpdown:b12,dpleft:b13,dpright:b14,leftx:a0,lefty:a1,"
                                "rightx:a2,righty:a3,lefttrigger:a4,righttrigger:a5,";
    SDL_GameControllerAddMapping(mapping.c_str());
    joystick_ = SDL_JoystickOpen(index_);
  }
  ~VirtualPad() { Unplug(); }
  bool Ok() const { return joystick_ != nullptr; }
  void SetAxis(Axis a, Sint16 v) { SDL_JoystickSetVirtualAxis(joystick_, a, v); }
  void SetButton(int b, bool down) { SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0); }
  void Unplug() {
    if (joystick_ != nullptr) SDL_JoystickClose(joystick_);
    joystick_ = nullptr;
    if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
    index_ = -1;
  }

 private:
  int index_ = -1;
  SDL_Joystick* joystick_ = nullptr;
};

TEST(SdlGamepad, AControllerPluggedInDuringPlayIsReadAndPullingItOutRestsIt) {
  SdlGamepad gamepad;
  ASSERT_TRUE(gamepad.Started()) << SDL_GetError();
  EXPECT_FALSE(gamepad.Poll().connected);

  VirtualPad pad;
  ASSERT_TRUE(pad.Ok()) << SDL_GetError();
  pad.SetAxis(kLeftX, 32767);
  pad.SetAxis(kLeftY, -32768);
  pad.SetAxis(kRightY, 16384);
  pad.SetButton(kA, true);
  pad.SetButton(kRightShoulder, true);
  GamepadState s = gamepad.Poll();
  ASSERT_TRUE(s.connected);
  EXPECT_FLOAT_EQ(s.left_x, 1.0f);
  EXPECT_FLOAT_EQ(s.left_y, -1.0f);
  EXPECT_NEAR(s.right_y, 0.5f, 0.01f);
  EXPECT_TRUE(s.a);
  EXPECT_TRUE(s.right_shoulder);
  EXPECT_FALSE(s.b || s.x || s.y);

  pad.Unplug();
  s = gamepad.Poll();
  EXPECT_FALSE(s.connected);
  EXPECT_FALSE(s.a);
  EXPECT_EQ(s.left_y, 0.0f);
}

// The real voyage window flown by the virtual controller.
class GamepadFlight : public testing::TempGameFolder {
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
  }
  testing::FakeServices fake;
  QtControls controls;
  Services services{fake.clock, fake.random, fake.dialogs, fake.sound, controls};
  GameState game;
};

TEST_F(GamepadFlight, TheLeftStickSteersAndAContacts) {
  TForm2 window(game, services, controls);
  window.SetCloseTitleWindow([] {});
  window.FormCreate();
  window.show();
  window.state().logon_step = kLogonFrames;
  window.state().current_point = -1;
  SdlGamepad gamepad;
  ASSERT_TRUE(gamepad.Started());
  VoyageKeys keys(&window, controls, &gamepad);
  VirtualPad pad;
  ASSERT_TRUE(pad.Ok()) << SDL_GetError();

  pad.SetAxis(kLeftY, -32768);
  keys.PollGamepad();
  EXPECT_EQ(window.state().pad_left_held, 1);
  EXPECT_EQ(window.state().pad_y_left, 0);
  fake.clock.AdvanceMs(100);
  window.voyage().Timer1Timer();
  EXPECT_GT(window.state().speed_forward, 0);

  pad.SetAxis(kLeftY, 0);
  pad.SetButton(kA, true);
  keys.PollGamepad();
  EXPECT_EQ(window.state().pad_left_held, 0);
  EXPECT_EQ(window.state().contact_blink, 10);
  EXPECT_EQ(window.state().speed_forward, 0);
}

// The controller with one of the game's own questions open: real boxes (QtDialogs) asked by the
// game itself, on the real event loop and clock, the controller read through SDL as in play.
class ControllerAndBox : public GamepadFlight {
 protected:
  void SetUp() override {
    GamepadFlight::SetUp();
    // Every picture the window loads, or a real error box would stand in the way.
    std::vector<std::string> more;
    for (int k : {1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19, 20, 21, 22})
      more.push_back("bui" + std::to_string(k));
    for (int k = 0; k <= 6; ++k)
      more.push_back("noize" + std::to_string(k));
    for (const std::string& name : more) {
      QImage picture(8, 6, QImage::Format_RGB32);
      picture.fill(QColor(0x40, 0x80, 0xC0));
      ASSERT_TRUE(picture.save(QString::fromStdString(Path("cg/" + name + ".bmp")), "BMP"));
    }
    window = std::make_unique<TForm2>(game, real, controls);
    window->SetCloseTitleWindow([] {});
    window->FormCreate();
    window->StartVoyage();
    vs().logon_step = kLogonFrames;
    vs().current_point = -1;
    ASSERT_TRUE(gamepad.Started());
    keys = std::make_unique<VoyageKeys>(window.get(), controls, &gamepad);
    pad = std::make_unique<VirtualPad>();
    ASSERT_TRUE(pad->Ok()) << SDL_GetError();
  }
  void TearDown() override {
    pad.reset();
    keys.reset();
    window.reset();
    GamepadFlight::TearDown();
  }
  VoyageState& vs() { return window->state(); }
  // An Earth-type planet in the ship's sector, known but never visited; the next frame examines
  // it and asks whether to survey.
  void AskTheSurvey() {
    ChartPoint& planet = game.chart[5];
    planet.x = -game.sector_x;
    planet.y = game.sector_y;
    planet.z = game.sector_z;
    planet.kind = 20;
    game.point_state[5] = 1;
    vs().check_countdown = 2;
  }
  static QMessageBox* Box() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  }
  // Runs the real event loop, calling `step` every 20 ms (inside a box's own loop as well) until
  // it says it is done; false when ten seconds pass first, and then no box is left open.
  static bool Drive(const std::function<bool()>& step) {
    QEventLoop loop;
    QTimer ticker;
    bool done = false;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      if (done || !step()) return;
      done = true;
      loop.quit();
    });
    ticker.start(20);
    QTimer::singleShot(10000, &loop, [&] {
      if (QMessageBox* box = Box()) box->done(0);
      loop.quit();
    });
    loop.exec();
    return done;
  }
  // Waits in the event loop, boxes included.
  static void Wait(int ms) {
    QElapsedTimer t;
    t.start();
    Drive([&] { return t.elapsed() >= ms; });
  }

  SteadyClock clock;
  QtDialogs dialogs;
  Services real{clock, fake.random, dialogs, fake.sound, controls};
  SdlGamepad gamepad;
  std::unique_ptr<TForm2> window;
  std::unique_ptr<VoyageKeys> keys;
  std::unique_ptr<VirtualPad> pad;
};

// Under the survey question the stick, X and A reach nothing of the ship; A says yes.
TEST_F(ControllerAndBox, UnderTheSurveyQuestionOnlyTheBoxHearsTheControllerAndASaysYes) {
  game.resources_max = 20;
  game.resources = 10;
  AskTheSurvey();
  QMessageBox* asked = nullptr;
  int phase = 0;
  QElapsedTimer since;
  int held_under_box = -1, chart_under_box = -1, forward_under_box = -1, frames_under_box = -1;
  std::int32_t counter_at_open = 0;
  const bool done = Drive([&] {
    switch (phase) {
      case 0:  // the question comes: push the stick and press X
        if ((asked = Box()) == nullptr) return false;
        counter_at_open = vs().blink_counter;
        pad->SetAxis(kLeftY, -32768);
        pad->SetButton(kX, true);
        since.start();
        phase = 1;
        return false;
      case 1:  // half a second of frames beneath the box
        if (since.elapsed() < 600) return false;
        held_under_box = vs().pad_left_held;
        chart_under_box = vs().chart_open;
        forward_under_box = vs().speed_forward;
        frames_under_box = (vs().blink_counter - counter_at_open + 1000) % 1000;
        pad->SetAxis(kLeftY, 0);
        pad->SetButton(kX, false);
        since.start();
        phase = 2;
        return false;
      case 2:
        if (since.elapsed() < 300) return false;
        EXPECT_EQ(Box(), asked) << "the box closed before it was answered";
        pad->SetButton(kA, true);
        phase = 3;
        return false;
      default:  // A answers; the box goes
        if (Box() != nullptr) return false;
        pad->SetButton(kA, false);
        return true;
    }
  });
  EXPECT_TRUE(done) << "phase " << phase;
  ASSERT_NE(asked, nullptr);
  EXPECT_GE(frames_under_box, 3) << "the frames stopped beneath the box";
  EXPECT_EQ(held_under_box, 0) << "the stick steered beneath the box";
  EXPECT_EQ(forward_under_box, 0);
  EXPECT_EQ(chart_under_box, 0) << "X opened the chart beneath the box";
  // Yes: surveyed, and A started no contact.
  EXPECT_EQ(game.planets_found, 1);
  EXPECT_EQ(game.point_state[5], 2);
  EXPECT_EQ(vs().contact_blink, 0);
  Wait(300);
  EXPECT_EQ(vs().contact_blink, 0);
  EXPECT_EQ(vs().pad_left_held, 0);
}

TEST_F(ControllerAndBox, BSaysNoToTheSurveyAndThePlanetWaits) {
  game.resources_max = 20;
  game.resources = 10;
  AskTheSurvey();
  bool pressed = false;
  const bool done = Drive([&] {
    if (!pressed) {
      if (Box() == nullptr) return false;
      pad->SetButton(kB, true);
      pressed = true;
      return false;
    }
    return Box() == nullptr;
  });
  ASSERT_TRUE(done);
  pad->SetButton(kB, false);
  EXPECT_EQ(game.planets_found, 0);
  EXPECT_EQ(game.point_state[5], 1);
  EXPECT_EQ(game.voyage_days, 0);
  EXPECT_EQ(game.resources, 10);
  // B turned no page of the message box either: nothing was queued.
  EXPECT_FALSE(controls.Find("moji_box")->isVisible());
}

// The converter question is asked by the controller's own Y. Beneath it the booster's button
// (which would ask a question of its own), X, A and the keyboard reach nothing; B says no, and
// the next time A says yes.
TEST_F(ControllerAndBox, TheConverterQuestionAskedByYIsAnsweredByBThenA) {
  game.resources_max = 20;
  game.resources = 10;
  game.energy = 50;
  int boxes = 0;
  bool open = false;
  int phase = 0;
  QElapsedTimer since;
  auto count_boxes = [&] {
    if (Box() != nullptr && !open) ++boxes;
    open = Box() != nullptr;
  };
  pad->SetButton(kY, true);
  const bool done = Drive([&] {
    count_boxes();
    switch (phase) {
      case 0:
        if (Box() == nullptr) return false;
        pad->SetButton(kY, false);
        pad->SetButton(kRightShoulder, true);
        pad->SetButton(kX, true);
        {
          // Keys sent to the voyage window itself, as a window system that let them by would.
          QKeyEvent c(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier);
          QApplication::sendEvent(window.get(), &c);
          QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
          QApplication::sendEvent(window.get(), &up);
        }
        since.start();
        phase = 1;
        return false;
      case 1:
        if (since.elapsed() < 400) return false;
        pad->SetButton(kRightShoulder, false);
        pad->SetButton(kX, false);
        pad->SetButton(kB, true);
        phase = 2;
        return false;
      case 2:  // no: the box goes and nothing is traded
        if (Box() != nullptr) return false;
        pad->SetButton(kB, false);
        since.start();
        phase = 3;
        return false;
      case 3:
        if (since.elapsed() < 300) return false;
        EXPECT_EQ(game.resources, 10);
        pad->SetButton(kY, true);
        phase = 4;
        return false;
      case 4:
        if (Box() == nullptr) return false;
        pad->SetButton(kY, false);
        since.start();
        phase = 5;
        return false;
      case 5:
        if (since.elapsed() < 300) return false;
        pad->SetButton(kA, true);
        phase = 6;
        return false;
      default:
        if (Box() != nullptr) return false;
        pad->SetButton(kA, false);
        return true;
    }
  });
  ASSERT_TRUE(done) << "phase " << phase;
  EXPECT_EQ(boxes, 2) << "a question was asked beneath the converter's";
  EXPECT_EQ(vs().chart_open, 0);
  EXPECT_EQ(vs().contact_blink, 0);
  EXPECT_EQ(vs().pad_left_held, 0);
  EXPECT_EQ(vs().booster_seconds, 0);
  // The second answer was yes: half the resources became energy.
  EXPECT_EQ(game.resources, 5);
  // 100 E came in (a trouble may have taken a little since).
  EXPECT_GE(game.energy, 140);
}

// A notice has one button: B closes it as well as A does.
TEST_F(ControllerAndBox, BClosesANotice) {
  game.resources = 1;  // too little to convert: the converter tells so
  bool asked = false;
  pad->SetButton(kY, true);
  const bool done = Drive([&] {
    if (!asked) {
      QMessageBox* box = Box();
      if (box == nullptr) return false;
      EXPECT_EQ(box->icon(), QMessageBox::Information);
      asked = true;
      pad->SetButton(kY, false);
      pad->SetButton(kB, true);
      return false;
    }
    return Box() == nullptr;
  });
  pad->SetButton(kB, false);
  EXPECT_TRUE(done);
  EXPECT_TRUE(asked);
  EXPECT_EQ(game.resources, 1);
}

}  // namespace
}  // namespace qm
