#include "platform/surface_widget.h"

#include <QMouseEvent>
#include <QPainter>

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

void SurfaceWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (on_press) on_press(event->button(), p.x(), p.y());
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (on_move) on_move(p.x(), p.y());
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (on_release) on_release(event->button(), p.x(), p.y());
}

}  // namespace qm
