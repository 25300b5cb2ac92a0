#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <set>

#include "platform/gamepad.h"

class QKeyEvent;
class QWidget;

namespace qm {

class QtControls;

// Where the pad is held, in pad pixels, for each mouse button.
struct PadHold {
  bool left = false;
  bool right = false;
  int x = 50;
  int y_left = 50;
  int y_right = 50;
  bool operator==(const PadHold&) const = default;
};

// Pad offsets the keys hold the pointer at: forward and back gain 5 Km/h a frame and reach the
// cruising limit in two frames; sideways and up/down gain 4 a frame and reach their limit in five,
// so a short tap nudges the ship as a small push of the hand does.
inline constexpr int kKeyForward = 25;
inline constexpr int kKeySideways = 20;
inline constexpr int kKeyVertical = 20;
// A stick resting within this share of its travel steers nothing.
inline constexpr float kStickDeadZone = 0.2f;

// The keyboard and a game controller on the voyage window. Every input is a mouse press on the
// very control the mouse would press at that spot (the pad at an offset from its centre, a button
// at its middle), sent only when that control lies uppermost there, so a key does what a click
// does, with the same sounds and rules, and nothing where a click would find nothing.
//
// P, Pause and the controller's Start pause the voyage; [ and ] step the effects' loudness, - and
// = (or ^, beside - on a Japanese keyboard) the music's. While paused, what the player holds is
// only noted, and the pad learns of it when the voyage goes on. While a modal box is open nothing
// reaches the ship: the controller answers the box (A its default button, B the other) and lets
// go of the pad.
class VoyageKeys : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(VoyageKeys)
 public:
  VoyageKeys(QWidget* window, const QtControls& controls, Gamepad* gamepad = nullptr);
  ~VoyageKeys() override;

  // Presses the named control at its middle when the mouse could; true when it did.
  bool Click(const char* name);
  // One look at the controller; the window's poll timer calls it.
  void PollGamepad();
  // The step of a loudness key.
  static constexpr int kVolumeStep = 10;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Ours(QObject* receiver) const;
  bool KeyPress(const QKeyEvent* key);
  bool KeyRelease(const QKeyEvent* key);
  void ReleaseAll();
  PadHold KeysHold() const;
  PadHold StickHold(const GamepadState& pad) const;
  void Steer();
  void SendToPad(int type, int button, int x, int y);
  bool PadFree() const;
  // The poll timer's slot: posts one look, so that a box opened by a button the look pressed
  // runs its loop outside the slot, and the timer keeps looking while the box is open.
  void PollTick();
  void AnswerBoxWithController(const GamepadState& pad, const GamepadState& before);
  bool Paused() const;
  void TogglePause();
  void PauseChanged(bool paused);

  QPointer<QWidget> window_;
  const QtControls& controls_;
  Gamepad* gamepad_;
  QTimer poll_;
  std::set<int> held_keys_;
  PadHold stick_;
  PadHold held_;
  GamepadState last_pad_;
  bool poll_posted_ = false;
  // Counts the looks that found a box open, so a look whose press opened one stops there.
  int box_looks_ = 0;
};

}  // namespace qm
