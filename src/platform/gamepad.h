#pragma once

namespace qm {

// What a game controller reports at one look: sticks from -1 to 1 (x to the right, y downwards),
// and the buttons held. A controller that is not there reads as all at rest.
struct GamepadState {
  bool connected = false;
  float left_x = 0;
  float left_y = 0;
  float right_y = 0;
  bool a = false;
  bool b = false;
  bool x = false;
  bool y = false;
  bool right_shoulder = false;
  bool start = false;
};

// The first game controller plugged in, looked at on the UI thread when the game asks.
class Gamepad {
 public:
  virtual ~Gamepad() = default;
  // Takes notice of controllers plugged in or pulled out since the last look, then reads one.
  virtual GamepadState Poll() = 0;
};

}  // namespace qm
