#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <functional>

class QGraphicsProxyWidget;
class QKeyEvent;
class QGraphicsScene;
class QGraphicsView;
class QWidget;

namespace qm {

// Shows a fixed-size game window enlarged by a whole factor, in a window of its own size times the
// factor or full screen, centred on black. The window's controls move into one "design" widget of
// the window's own size, which a graphics view shows through an integer transform: pictures are
// enlarged pixel for pixel, text is drawn at the finer resolution, and every mouse position maps
// back to the window's own pixels, so the controls work as they do at their own size. At 1x and
// not full screen nothing is embedded at all: the window is exactly as it was built.
//
// F11 and Alt+Enter toggle full screen, Ctrl+Plus and Ctrl+Minus step the factor, whichever of
// the window's widgets has the keyboard.
class WindowScaler : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(WindowScaler)
 public:
  explicit WindowScaler(QWidget* window);
  ~WindowScaler() override;

  // Windowed factor, 1 up to what the screen holds.
  void SetScale(int scale);
  void SetFullScreen(bool full_screen);
  int scale() const { return scale_; }
  bool full_screen() const { return full_screen_; }
  // The factor the window is shown at now (in full screen the largest that fits).
  int ShownFactor() const { return shown_factor_; }
  // The largest windowed factor the window's screen has room for, frame included.
  int MaxScale() const;
  QWidget* window() const { return window_; }

  // Called after every change the player made with the keys, to remember it.
  std::function<void()> on_changed;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Embedded() const { return design_ != nullptr; }
  bool OwnsReceiver(QObject* receiver) const;
  bool HandleKey(QKeyEvent* key);
  void Apply();
  void Embed();
  void Release();
  void FitView();

  QPointer<QWidget> window_;
  int scale_ = 1;
  bool full_screen_ = false;
  int shown_factor_ = 1;
  QSize design_size_;
  QPoint normal_pos_;
  QWidget* design_ = nullptr;
  QGraphicsView* view_ = nullptr;
  QGraphicsScene* scene_ = nullptr;
  QGraphicsProxyWidget* proxy_ = nullptr;
};

}  // namespace qm
