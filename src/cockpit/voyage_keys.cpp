#include "cockpit/voyage_keys.h"

#include <QApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "cockpit/voyage_window.h"
#include "platform/widgets/qt_controls.h"
#include "platform/widgets/qt_dialogs.h"

namespace qm {
namespace {

// A controller is looked at ten times a second, as often as the frames run; with none plugged in,
// twice a second is enough to notice one arriving.
constexpr int kPollMs = 100;
constexpr int kLookForPadMs = 500;

bool IsSteeringKey(int key) {
  switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_W:
    case Qt::Key_A:
    case Qt::Key_S:
    case Qt::Key_D:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
      return true;
    default:
      return false;
  }
}

const char* ButtonForKey(int key) {
  switch (key) {
    case Qt::Key_C:
      return "contact_b2";
    case Qt::Key_M:
      return "u_map_b2";
    case Qt::Key_E:
      return "Image4";
    case Qt::Key_R:
      return "Image5";
    case Qt::Key_B:
      return "Image3";
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return "Shape1";
    case Qt::Key_1:
      return "tra_b1";
    case Qt::Key_2:
      return "tra_b2";
    case Qt::Key_3:
      return "tra_b3";
    case Qt::Key_4:
      return "tra_b4";
    case Qt::Key_5:
      return "tra_b5";
    case Qt::Key_6:
      return "tra_b6";
    case Qt::Key_7:
      return "tra_b7";
    case Qt::Key_8:
      return "tra_b8";
    case Qt::Key_9:
      return "tra_b9";
    case Qt::Key_0:
      return "tra_b10";
    default:
      return nullptr;
  }
}

bool IsPauseKey(int key) {
  return key == Qt::Key_P || key == Qt::Key_Pause;
}

// Which loudness a key steps, and which way; 0 for any other key.
int VolumeStep(int key, SoundPart& part) {
  switch (key) {
    case Qt::Key_BracketLeft:
      part = SoundPart::kEffects;
      return -VoyageKeys::kVolumeStep;
    case Qt::Key_BracketRight:
      part = SoundPart::kEffects;
      return VoyageKeys::kVolumeStep;
    case Qt::Key_Minus:
      part = SoundPart::kMusic;
      return -VoyageKeys::kVolumeStep;
    // = lies on a shifted key on a Japanese keyboard, where ^ stands beside -.
    case Qt::Key_Equal:
    case Qt::Key_Plus:
    case Qt::Key_AsciiCircum:
      part = SoundPart::kMusic;
      return VoyageKeys::kVolumeStep;
    default:
      return 0;
  }
}

bool ModalBoxOpen() {
  return QApplication::activeModalWidget() != nullptr;
}

// The widget a click at the middle of `w` reaches, as the window would route it.
QWidget* UppermostAtMiddle(QWidget* w) {
  QWidget* root = w->window();
  const QPoint middle = w->mapTo(root, w->rect().center());
  return root->childAt(middle);
}

void SendPress(QWidget* target, QPoint at) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), QPointF(target->mapToGlobal(at)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &press);
}

int StickToPad(float value) {
  return 50 + static_cast<int>(std::lround(std::clamp(value, -1.0f, 1.0f) * 50.0f));
}

}  // namespace

VoyageKeys::VoyageKeys(QWidget* window, const QtControls& controls, Gamepad* gamepad)
    : window_(window), controls_(controls), gamepad_(gamepad) {
  qApp->installEventFilter(this);
  poll_.setInterval(kPollMs);
  poll_.setTimerType(Qt::CoarseTimer);
  connect(&poll_, &QTimer::timeout, this, &VoyageKeys::PollTick);
  if (gamepad_ != nullptr && window->isVisible()) poll_.start();
  if (auto* form = qobject_cast<TForm2*>(window)) {
    connect(form, &TForm2::PauseChanged, this, &VoyageKeys::PauseChanged);
  }
}

VoyageKeys::~VoyageKeys() {
  if (qApp) qApp->removeEventFilter(this);
}

bool VoyageKeys::Click(const char* name) {
  QWidget* w = controls_.Find(name);
  if (w == nullptr || !w->isVisible() || !w->isEnabled()) return false;
  QWidget* hit = UppermostAtMiddle(w);
  if (hit == nullptr || (hit != w && !w->isAncestorOf(hit))) return false;
  SendPress(hit, hit->mapFrom(w->window(), w->mapTo(w->window(), w->rect().center())));
  return true;
}

bool VoyageKeys::PadFree() const {
  QWidget* pad = controls_.Find("cont");
  if (pad == nullptr || !pad->isVisible()) return false;
  return UppermostAtMiddle(pad) == pad;
}

void VoyageKeys::SendToPad(int type, int button, int x, int y) {
  QWidget* pad = controls_.Find("cont");
  if (pad == nullptr) return;
  const auto b = static_cast<Qt::MouseButton>(button);
  Qt::MouseButtons buttons;
  if (held_.left) buttons |= Qt::LeftButton;
  if (held_.right) buttons |= Qt::RightButton;
  QMouseEvent event(static_cast<QEvent::Type>(type), QPointF(x, y),
                    QPointF(pad->mapToGlobal(QPoint(x, y))), b, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(pad, &event);
}

PadHold VoyageKeys::KeysHold() const {
  auto down = [this](int a, int b) { return held_keys_.count(a) + held_keys_.count(b) > 0; };
  const bool up = down(Qt::Key_Up, Qt::Key_W), back = down(Qt::Key_Down, Qt::Key_S);
  const bool left = down(Qt::Key_Left, Qt::Key_A), right = down(Qt::Key_Right, Qt::Key_D);
  const bool rise = held_keys_.count(Qt::Key_PageUp) > 0;
  const bool sink = held_keys_.count(Qt::Key_PageDown) > 0;
  PadHold hold;
  hold.left = up || back || left || right;
  hold.right = rise || sink;
  hold.x = 50 + (right ? kKeySideways : 0) - (left ? kKeySideways : 0);
  hold.y_left = 50 - (up ? kKeyForward : 0) + (back ? kKeyForward : 0);
  hold.y_right = 50 - (rise ? kKeyVertical : 0) + (sink ? kKeyVertical : 0);
  return hold;
}

PadHold VoyageKeys::StickHold(const GamepadState& pad) const {
  PadHold hold;
  if (!pad.connected) return hold;
  const bool left_moved = std::hypot(pad.left_x, pad.left_y) > kStickDeadZone;
  const bool right_moved = std::fabs(pad.right_y) > kStickDeadZone;
  hold.left = left_moved;
  hold.right = right_moved;
  if (left_moved) {
    hold.x = StickToPad(pad.left_x);
    hold.y_left = StickToPad(pad.left_y);
  }
  if (right_moved) hold.y_right = StickToPad(pad.right_y);
  return hold;
}

// Turns the wanted hold into what a hand on the pad would do: press the buttons newly wanted,
// slide the pointer while the same buttons stay down, and let go (of both, as the pad knows only
// one release) when a button is no longer wanted, pressing again what remains.
void VoyageKeys::Steer() {
  const PadHold keys = KeysHold();
  const PadHold want = (keys.left || keys.right) ? keys : stick_;
  if (want == held_) return;
  const bool same_buttons = want.left == held_.left && want.right == held_.right;
  // With both buttons down the pad follows the pointer for the left button only.
  const bool slide_reaches = !(want.left && want.right) || want.y_right == held_.y_right;
  if (same_buttons && slide_reaches && (want.left || want.right)) {
    held_ = want;
    SendToPad(QEvent::MouseMove, Qt::NoButton, want.x, want.left ? want.y_left : want.y_right);
    return;
  }
  if (held_.left || held_.right) {
    held_ = PadHold{};
    SendToPad(QEvent::MouseButtonRelease, Qt::LeftButton, want.x, 50);
  }
  // A press needs the pad uncovered and no box open, as the mouse does; letting go never does.
  if (!(want.left || want.right) || !PadFree() || ModalBoxOpen()) return;
  if (want.left) {
    held_.left = true;
    held_.x = want.x;
    held_.y_left = want.y_left;
    SendToPad(QEvent::MouseButtonPress, Qt::LeftButton, want.x, want.y_left);
  }
  if (want.right) {
    held_.right = true;
    held_.x = want.x;
    held_.y_right = want.y_right;
    SendToPad(QEvent::MouseButtonPress, Qt::RightButton, want.x, want.y_right);
  }
}

void VoyageKeys::ReleaseAll() {
  held_keys_.clear();
  stick_ = PadHold{};
  if (!Paused()) Steer();
}

bool VoyageKeys::Paused() const {
  const auto* form = qobject_cast<const TForm2*>(window_.data());
  return form != nullptr && form->Paused();
}

void VoyageKeys::TogglePause() {
  if (auto* form = qobject_cast<TForm2*>(window_.data())) form->TogglePause();
}

void VoyageKeys::PauseChanged(bool paused) {
  // What was pressed or let go during the pause reaches the pad now.
  if (!paused) Steer();
}

bool VoyageKeys::KeyPress(const QKeyEvent* key) {
  const int k = key->key();
  if (IsPauseKey(k)) {
    if (!key->isAutoRepeat()) TogglePause();
    return true;
  }
  SoundPart part = SoundPart::kEffects;
  if (const int step = VolumeStep(k, part); step != 0) {
    if (auto* form = qobject_cast<TForm2*>(window_.data())) form->StepVolume(part, step);
    return true;
  }
  if (IsSteeringKey(k)) {
    if (!key->isAutoRepeat()) {
      held_keys_.insert(k);
      if (!Paused()) Steer();
    }
    return true;
  }
  const char* name = ButtonForKey(k);
  if (name == nullptr) return false;
  if (!key->isAutoRepeat() && !Paused()) Click(name);
  return true;
}

bool VoyageKeys::KeyRelease(const QKeyEvent* key) {
  const int k = key->key();
  SoundPart part = SoundPart::kEffects;
  if (IsPauseKey(k) || VolumeStep(k, part) != 0) return true;
  if (!IsSteeringKey(k)) return ButtonForKey(k) != nullptr;
  if (!key->isAutoRepeat() && held_keys_.erase(k) > 0 && !Paused()) Steer();
  return true;
}

void VoyageKeys::PollTick() {
  if (poll_posted_) return;
  poll_posted_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        poll_posted_ = false;
        PollGamepad();
      },
      Qt::QueuedConnection);
}

void VoyageKeys::PollGamepad() {
  if (gamepad_ == nullptr || !window_) return;
  const GamepadState pad = gamepad_->Poll();
  poll_.setInterval(pad.connected ? kPollMs : kLookForPadMs);
  // Taken before anything is pressed: a box opened below runs its own looks, which must see
  // this look's buttons as already down.
  const GamepadState before = last_pad_;
  last_pad_ = pad;
  if (ModalBoxOpen()) {
    AnswerBoxWithController(pad, before);
    return;
  }
  // The stick as it is now is what the pad learns of if Start lets the voyage go on.
  stick_ = StickHold(pad);
  if (pad.start && !before.start) TogglePause();
  if (Paused()) return;
  Steer();
  struct Edge {
    bool now, before;
    const char* name;
  };
  const int boxes = box_looks_;
  for (const Edge& e : {Edge{pad.a, before.a, "contact_b2"}, Edge{pad.b, before.b, "Shape1"},
                        Edge{pad.x, before.x, "u_map_b2"}, Edge{pad.y, before.y, "Image4"},
                        Edge{pad.right_shoulder, before.right_shoulder, "Image3"}}) {
    // Presses that came with the one that opened a box were meant for the ship before it.
    if (box_looks_ != boxes || ModalBoxOpen()) break;
    if (e.now && !e.before) Click(e.name);
  }
}

// A box is open: the stick lets go of the pad, and only A and B act, on the box.
void VoyageKeys::AnswerBoxWithController(const GamepadState& pad, const GamepadState& before) {
  ++box_looks_;
  if (stick_ != PadHold{}) {
    stick_ = PadHold{};
    if (!Paused()) Steer();
  }
  const bool yes = pad.a && !before.a;
  const bool no = pad.b && !before.b;
  if (yes || no) AnswerFrontBox(yes);
}

bool VoyageKeys::Ours(QObject* receiver) const {
  if (!window_ || !receiver->isWidgetType()) return false;
  const QWidget* top = static_cast<QWidget*>(receiver)->window();
  if (top == window_) return true;
  // Enlarged, the window's controls live in a scene the window's own view shows.
  if (const QGraphicsProxyWidget* proxy = top->graphicsProxyWidget()) {
    if (const QGraphicsScene* scene = proxy->scene()) {
      for (const QGraphicsView* view : scene->views())
        if (view->window() == window_) return true;
    }
  }
  return false;
}

bool VoyageKeys::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto* key = static_cast<const QKeyEvent*>(event);
      // Keys with Ctrl, Alt or Meta belong to the window (its size), not to the ship; with a box
      // open, every key belongs to the box.
      if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
          !Ours(watched) || (event->type() == QEvent::KeyPress && ModalBoxOpen()))
        break;
      const bool taken = event->type() == QEvent::KeyPress ? KeyPress(key) : KeyRelease(key);
      if (taken) return true;
      break;
    }
    case QEvent::WindowDeactivate:
      // Keys let go in another window never come back here: the hand leaves the pad.
      if (watched == window_) ReleaseAll();
      break;
    case QEvent::Show:
      if (watched == window_ && gamepad_ != nullptr) poll_.start();
      break;
    case QEvent::Hide:
      if (watched == window_) poll_.stop();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace qm
