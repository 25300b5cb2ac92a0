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
#include <memory>
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
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;
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
    WriteStandInPictures({"black", "gamen", "txt", "cont", "cont2", "trable", "syowaku"});
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
  using Step = std::function<bool()>;
  void SetUp() override {
    GamepadFlight::SetUp();
    // Every picture the window reads, or a real error box would stand in the way.
    std::vector<std::string> names;
    for (int k : {1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19, 20, 21, 22})
      names.push_back("bui" + std::to_string(k));
    for (int k = 0; k <= 6; ++k)
      names.push_back("noize" + std::to_string(k));
    for (const std::string& name : names) {
      QImage picture(8, 6, QImage::Format_RGB32);
      picture.fill(Qt::darkBlue);
      ASSERT_TRUE(picture.save(QString::fromStdString(Path("cg/" + name + ".bmp")), "BMP"));
    }
    game.resources_max = 20;
    game.resources = 10;
    window = std::make_unique<TForm2>(game, real, controls);
    window->SetCloseTitleWindow([] {});
    window->FormCreate();
    window->StartVoyage();
    vs().logon_step = kLogonFrames;
    keys = std::make_unique<VoyageKeys>(window.get(), controls, &gamepad);
    ASSERT_TRUE(pad.Ok()) << SDL_GetError();
  }
  void TearDown() override {
    keys.reset();
    window.reset();
    GamepadFlight::TearDown();
  }
  VoyageState& vs() { return window->state(); }
  static QMessageBox* Box() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  }
  static Step Opened() {
    return [] { return Box() != nullptr; };
  }
  static Step Gone() {
    return [] { return Box() == nullptr; };
  }
  static Step Do(std::function<void()> action) {
    return [action] {
      action();
      return true;
    };
  }
  static Step After(int ms) {
    auto since = std::make_shared<QElapsedTimer>();
    return [since, ms] {
      if (!since->isValid()) since->start();
      return since->elapsed() >= ms;
    };
  }
  // Runs the steps one after the other on the real event loop, each every 20 ms until it is done
  // (inside a box's own loop as well); false, with every box closed, when ten seconds pass first.
  static bool Run(std::vector<Step> steps) {
    QEventLoop loop;
    QTimer ticker;
    std::size_t at = 0;
    bool late = false;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      while (!late && at < steps.size() && steps[at]())
        ++at;
      if (late && Box() != nullptr) Box()->done(0);
      if (at == steps.size() || (late && Box() == nullptr)) loop.quit();
    });
    ticker.start(20);
    QTimer::singleShot(10000, &loop, [&] { late = true; });
    loop.exec();
    return at == steps.size();
  }

  SteadyClock clock;
  QtDialogs dialogs;
  Services real{clock, fake.random, dialogs, fake.sound, controls};
  SdlGamepad gamepad;
  std::unique_ptr<TForm2> window;
  std::unique_ptr<VoyageKeys> keys;
  VirtualPad pad;
};

// Under the survey question the stick, X, A and the keyboard reach nothing of the ship while the
// frames run on; A says yes.
TEST_F(ControllerAndBox, UnderTheSurveyQuestionOnlyTheBoxHearsTheControllerAndASaysYes) {
  // An Earth-type planet in the ship's sector, never visited: the next frame asks.
  ChartPoint& planet = game.chart[5];
  planet.x = -game.sector_x;
  planet.y = game.sector_y;
  planet.z = game.sector_z;
  planet.kind = 20;
  game.point_state[5] = 1;
  vs().check_countdown = 2;
  std::int32_t counter = 0;
  EXPECT_TRUE(Run({Opened(), Do([&] {
                     counter = vs().blink_counter;
                     pad.SetAxis(kLeftY, -32768);
                     pad.SetButton(kX, true);
                     for (Qt::Key k : {Qt::Key_C, Qt::Key_Up}) {
                       QKeyEvent key(QEvent::KeyPress, k, Qt::NoModifier);
                       QApplication::sendEvent(window.get(), &key);
                     }
                   }),
                   After(600), Do([&] {
                     EXPECT_GE((vs().blink_counter - counter + 1000) % 1000, 3) << "no frames";
                     EXPECT_EQ(vs().pad_left_held, 0) << "the stick steered beneath the box";
                     EXPECT_EQ(vs().speed_forward, 0);
                     EXPECT_EQ(vs().chart_open, 0) << "X opened the chart beneath the box";
                     EXPECT_EQ(vs().contact_blink, 0) << "C made contact beneath the box";
                     pad.SetAxis(kLeftY, 0);
                     pad.SetButton(kX, false);
                     pad.SetButton(kA, true);
                   }),
                   Gone(), After(300)}));
  EXPECT_EQ(game.planets_found, 1);
  EXPECT_EQ(vs().contact_blink, 0) << "A made contact";
}

// The converter's question, asked by the controller's own Y: the booster's button beneath it asks
// nothing, B says no; a notice that resources are short is closed by B as well.
TEST_F(ControllerAndBox, BSaysNoToTheConverterAndClosesANotice) {
  QMessageBox* asked = nullptr;
  pad.SetButton(kY, true);
  EXPECT_TRUE(Run({Opened(), Do([&] {
                     asked = Box();
                     pad.SetButton(kY, false);
                     pad.SetButton(kRightShoulder, true);
                   }),
                   After(400), Do([&] {
                     EXPECT_EQ(Box(), asked) << "a question came over the converter's";
                     pad.SetButton(kRightShoulder, false);
                     pad.SetButton(kB, true);
                   }),
                   Gone(), Do([&] {
                     EXPECT_EQ(game.resources, 10);
                     game.resources = 1;
                     pad.SetButton(kB, false);
                     pad.SetButton(kY, true);
                   }),
                   Opened(), Do([&] {
                     EXPECT_EQ(Box()->icon(), QMessageBox::Information);
                     pad.SetButton(kY, false);
                     pad.SetButton(kB, true);
                   }),
                   Gone()}));
  EXPECT_EQ(vs().booster_seconds, 0);
  EXPECT_EQ(game.resources, 1);
}

}  // namespace
}  // namespace qm
