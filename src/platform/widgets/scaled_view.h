#pragma once

#include <QGraphicsProxyWidget>
#include <QGraphicsView>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>
#include <vector>

#include "platform/widgets/sharp_reduction.h"

namespace qm {

// The design widget in the scene. The scene finds the control under the mouse by rounding the
// position, while a picture takes the pixel the position lies in; at a whole factor that is how it
// always was. At any other factor the proxy takes each position to the middle of the window pixel
// it lies in, in the left and upper half, so that the control and the pixel reached are the ones
// the shown pixel shows.
class DesignProxy : public QGraphicsProxyWidget {
 public:
  void SetSnap(bool snap) { snap_ = snap; }
  // A picture in the design that knows which of its pixels changed says so here (in the design's
  // pixels) instead of asking the toolkit to repaint it.
  std::function<void(const std::vector<QRect>&)> on_parts_changed;

 protected:
  void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

 private:
  void Snap(QGraphicsSceneMouseEvent* event) const;
  bool snap_ = false;
};

// A view of the scene that is never shown, at the window's own pixels. The scene's own notice of a
// change names the whole design whatever changed; a view it paints is told better, so this one is
// painted (it draws nothing), and its paint events name the part of the design that changed: one
// rectangle around all that changed in a turn of the event loop.
class ChangeTracker : public QGraphicsView {
 public:
  explicit ChangeTracker(QGraphicsScene* scene);
  std::function<void(const QRect&)> on_change;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void drawBackground(QPainter*, const QRectF&) override {}
  void drawForeground(QPainter*, const QRectF&) override {}
  void drawItems(QPainter*, int, QGraphicsItem**, const QStyleOptionGraphicsItem*) override {}
};

// The enlarged window on the screen. The window's controls live in one "design" widget of the
// window's own size, embedded in a graphics scene so that the mouse and the keyboard reach them
// through the view's transform, in the window's own pixels. The picture, though, is the view's
// own: the design widget is drawn at the whole factor next above the factor shown (so its text is
// drawn at that finer resolution and its pictures are enlarged pixel for pixel) into a picture
// the view keeps, and that is reduced sharply to the size shown (see sharp_reduction.h).
//
// Only what changed is drawn again. A picture that knows its changed pixels names them (see
// SurfaceWidget::Refresh). For every other control the scene names one rectangle around all that
// changed in a turn of the event loop (see ChangeTracker); the view draws that part of the design
// at its own size, which costs little, and compares it with the last drawing. Only the parts that
// differ are drawn enlarged, reduced and sent to the screen. The black around the window is
// painted only when the screen asks for it.
class ScaledView : public QGraphicsView {
  Q_OBJECT
 public:
  ScaledView(QGraphicsScene* scene, DesignProxy* proxy, QWidget* design, QWidget* parent);

  // Shows the design widget in `shown`, in the view's pixels; black around it.
  void Show(const QRect& shown);
  QRect shown() const { return shown_; }
  // The whole factor the design is drawn at before it is reduced to the size shown.
  int enlargement() const { return factor_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DesignChanged();
  // The parts of the design that changed are drawn again at the next paint, with `margin` pixels
  // around them.
  void MarkChanged(const std::vector<QRect>& parts, int margin);
  void DrawAll();
  void DrawEnlarged(const QRect& part);
  void Settle();
  const QImage& Picture() const { return exact_ ? enlarged_ : reduced_; }

  QPointer<QWidget> design_;
  DesignProxy* proxy_;
  QRect shown_;
  int factor_ = 1;
  // The size shown is the design's times the whole factor: no reduction is needed.
  bool exact_ = true;
  // The pictures hold the whole design as it was when it was last compared.
  bool drawn_ = false;
  ReductionAxis xs_;
  ReductionAxis ys_;
  QImage seen_;      // the design at its own size, as the enlarged picture shows it
  QImage fresh_;     // the design at its own size, drawn again to compare
  QImage enlarged_;  // the design at the whole factor
  QImage reduced_;   // the design at the size shown
  // Parts of the design that changed since the enlarged picture was drawn.
  std::vector<QRect> pending_;
  std::unique_ptr<ChangeTracker> tracker_;
  // Where the design may have changed, to be compared; a comparison waits in the event queue.
  QRect asked_;
  bool compare_posted_ = false;
};

}  // namespace qm
