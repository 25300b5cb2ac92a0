// Game controllers without hardware: SDL's virtual joystick, mapped as a game controller, plugged
// in while the game runs.
#include <SDL.h>
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <string>

#include "cockpit/voyage_keys.h"
#include "cockpit/voyage_window.h"
#include "fakes.h"
#include "platform/sdl/sdl_gamepad.h"
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

}  // namespace
}  // namespace qm
