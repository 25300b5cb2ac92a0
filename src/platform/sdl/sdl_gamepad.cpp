#include "platform/sdl/sdl_gamepad.h"

#include <SDL.h>

namespace qm {
namespace {
float Axis(SDL_GameController* c, SDL_GameControllerAxis axis) {
  const int v = SDL_GameControllerGetAxis(c, axis);
  return static_cast<float>(v) / (v < 0 ? 32768.0f : 32767.0f);
}
}  // namespace

SdlGamepad::SdlGamepad() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Sticks are read at each look, so SDL need not watch them from a thread of its own.
  SDL_SetHint(SDL_HINT_JOYSTICK_THREAD, "0");
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  if (started_) OpenFirst();
}

SdlGamepad::~SdlGamepad() {
  if (controller_ != nullptr) SDL_GameControllerClose(controller_);
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepad::OpenFirst() {
  for (int i = 0; i < SDL_NumJoysticks(); ++i) {
    if (!SDL_IsGameController(i)) continue;
    controller_ = SDL_GameControllerOpen(i);
    if (controller_ != nullptr) return;
  }
}

GamepadState SdlGamepad::Poll() {
  GamepadState state;
  if (!started_) return state;
  // Plugging and pulling arrive as events; only those are taken from the queue, so whatever else
  // SDL queues stays for its own users.
  SDL_GameControllerUpdate();
  SDL_PumpEvents();
  SDL_Event events[16];
  bool changed = false;
  int n = 0;
  while ((n = SDL_PeepEvents(events, 16, SDL_GETEVENT, SDL_CONTROLLERDEVICEADDED,
                             SDL_CONTROLLERDEVICEREMAPPED)) > 0)
    changed = true;
  if (controller_ != nullptr && !SDL_GameControllerGetAttached(controller_)) {
    SDL_GameControllerClose(controller_);
    controller_ = nullptr;
  }
  if (controller_ == nullptr && (changed || SDL_NumJoysticks() > 0)) OpenFirst();
  if (controller_ == nullptr) return state;
  state.connected = true;
  state.left_x = Axis(controller_, SDL_CONTROLLER_AXIS_LEFTX);
  state.left_y = Axis(controller_, SDL_CONTROLLER_AXIS_LEFTY);
  state.right_y = Axis(controller_, SDL_CONTROLLER_AXIS_RIGHTY);
  auto button = [this](SDL_GameControllerButton b) {
    return SDL_GameControllerGetButton(controller_, b) != 0;
  };
  state.a = button(SDL_CONTROLLER_BUTTON_A);
  state.b = button(SDL_CONTROLLER_BUTTON_B);
  state.x = button(SDL_CONTROLLER_BUTTON_X);
  state.y = button(SDL_CONTROLLER_BUTTON_Y);
  state.right_shoulder = button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
  state.start = button(SDL_CONTROLLER_BUTTON_START);
  return state;
}

}  // namespace qm
