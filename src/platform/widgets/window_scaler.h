#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <functional>

#include "platform/window_settings.h"

class QKeyEvent;
class QGraphicsScene;
class QWidget;

namespace qm {

class DesignProxy;
class ScaledView;

// Where a window of the size `design` is shown in an area of the size `area`: as large as it fits
// keeping its shape, at any factor when `fit`, else at the largest whole factor; never below 1x;
// centred. The side that limits the factor is filled exactly, the other to the nearest pixel.
struct ShownPlace {
  QRect rect;
  double factor = 1;
};
ShownPlace ShownIn(QSize design, QSize area, bool fit);

// Shows a fixed-size game window enlarged, in a window of its own size times a factor or full
// screen, centred on black. The window's controls move into one "design" widget of the window's
// own size, which a ScaledView shows: at a whole factor pixel for pixel, at any other factor
// sharply (see sharp_reduction.h); text is drawn at the finer resolution, and every mouse position
// maps back to the window's own pixels, so the controls work as they do at their own size. At 1x
// and not full screen nothing is embedded at all: the window is exactly as it was built.
//
// Fit shows the window as large as it fits, at any factor, and steps a window's own size by
// halves; pixel-perfect keeps to whole factors. Until the player chooses, full screen fits and a
// window steps by whole factors.
//
// F11 and Alt+Enter toggle full screen, F10 switches between fit and pixel-perfect, Ctrl+Plus and
// Ctrl+Minus step the factor, whichever of the window's widgets has the keyboard.
class WindowScaler : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(WindowScaler)
 public:
  explicit WindowScaler(QWidget* window);
  ~WindowScaler() override;

  // Windowed factor, 1 up to what the screen holds, in the steps of the window's mode.
  void SetScale(double scale);
  void SetFullScreen(bool full_screen);
  void SetFitChoice(FitChoice choice);
  double scale() const { return scale_; }
  bool full_screen() const { return full_screen_; }
  FitChoice fit_choice() const { return fit_choice_; }
  // Whether the window is shown now at any factor that fits rather than a whole one.
  bool Fits() const;
  // The factor the window is shown at now (in full screen the largest that fits).
  double ShownFactor() const { return shown_factor_; }
  // Where the window's picture is shown, in the window's pixels now.
  QRect ShownRect() const { return shown_rect_; }
  // The largest windowed factor the window's screen has room for, frame included.
  double MaxScale() const;
  QWidget* window() const { return window_; }

  // Called after every change the player made with the keys, to remember it.
  std::function<void()> on_changed;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Embedded() const { return design_ != nullptr; }
  bool OwnsReceiver(QObject* receiver) const;
  bool HandleKey(QKeyEvent* key);
  // A window's own size steps by halves when the player chose fit, else by whole factors.
  double WindowStep() const { return fit_choice_ == FitChoice::kFit ? 0.5 : 1.0; }
  QSize WindowedSize() const;
  void Apply();
  void Embed();
  void Release();
  void FitView();

  QPointer<QWidget> window_;
  double scale_ = 1;
  bool full_screen_ = false;
  FitChoice fit_choice_ = FitChoice::kUnchosen;
  double shown_factor_ = 1;
  QRect shown_rect_;
  QSize design_size_;
  QPoint normal_pos_;
  QWidget* design_ = nullptr;
  ScaledView* view_ = nullptr;
  QGraphicsScene* scene_ = nullptr;
  DesignProxy* proxy_ = nullptr;
};

}  // namespace qm
