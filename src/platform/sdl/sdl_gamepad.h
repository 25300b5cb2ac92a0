#pragma once

#include "platform/gamepad.h"

// SDL's own name for its controller type, declared here so that no layer above meets SDL's headers.
typedef struct _SDL_GameController SDL_GameController;  // NOLINT(bugprone-reserved-identifier)

namespace qm {

// Game controllers through SDL2's controller database. SDL is started for controllers alone (no
// video) and without its signal handlers, beside the mixer's audio; nothing runs between looks.
class SdlGamepad final : public Gamepad {
 public:
  SdlGamepad();
  ~SdlGamepad() override;
  SdlGamepad(const SdlGamepad&) = delete;
  SdlGamepad& operator=(const SdlGamepad&) = delete;

  bool Started() const { return started_; }
  GamepadState Poll() override;

 private:
  void OpenFirst();
  bool started_ = false;
  SDL_GameController* controller_ = nullptr;
};

}  // namespace qm
