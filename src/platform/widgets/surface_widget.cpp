#include "platform/widgets/surface_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "platform/surface.h"

namespace qm {

SurfaceWidget::SurfaceWidget(const Surface* surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
  if (surface_ == nullptr || surface_->IsNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(0, 0, surface_->Width(), surface_->Height()), surface_->Image());
}

namespace {
// The surface pixel under the pointer. Under a fractional scale the position has a fraction, and
// rounding would report the pixel past the right or bottom edge.
QPoint PixelAt(const QMouseEvent* event) {
  const QPointF p = event->position();
  return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}
}  // namespace

// Without a handler the press belongs to whatever lies beneath, so it goes on to the parent.
void SurfaceWidget::mousePressEvent(QMouseEvent* event) {
  if (!on_press) {
    event->ignore();
    return;
  }
  const QPoint p = PixelAt(event);
  on_press(event->button(), p.x(), p.y());
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!on_move) {
    event->ignore();
    return;
  }
  const QPoint p = PixelAt(event);
  on_move(p.x(), p.y());
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!on_release) {
    event->ignore();
    return;
  }
  const QPoint p = PixelAt(event);
  on_release(event->button(), p.x(), p.y());
}

}  // namespace qm
