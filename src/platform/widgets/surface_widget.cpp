#include "platform/widgets/surface_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#include "platform/surface.h"
#include "platform/widgets/changed_parts.h"
#include "platform/widgets/scaled_view.h"

namespace qm {

SurfaceWidget::SurfaceWidget(const Surface* surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  if (surface_ == nullptr || surface_->IsNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QImage& image = surface_->Image();
  painter.drawImage(QRect(0, 0, surface_->Width(), surface_->Height()), image);
  if (painted_.size() != image.size() || painted_.format() != image.format()) {
    painted_ = image.copy();
    return;
  }
  for (const QRect& r : event->region()) {
    const QRect rect = r & image.rect();
    const size_t bytes = static_cast<size_t>(std::max(rect.width(), 0)) * 4;
    const std::ptrdiff_t left = static_cast<std::ptrdiff_t>(rect.left()) * 4;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      std::memcpy(painted_.scanLine(y) + left, image.constScanLine(y) + left, bytes);
  }
}

void SurfaceWidget::Refresh() {
  if (surface_ == nullptr || surface_->IsNull() || painted_.size() != surface_->Image().size()) {
    update();
    return;
  }
  const std::vector<QRect> parts = ChangedParts(painted_, surface_->Image());
  if (parts.empty()) return;
  // Enlarged, the window says which pixels changed straight to its view, which need then compare
  // nothing; a repaint asked of the toolkit would name the whole window instead.
  if (auto* proxy = dynamic_cast<DesignProxy*>(window()->graphicsProxyWidget());
      proxy != nullptr && proxy->on_parts_changed) {
    const QPoint at = mapTo(window(), QPoint());
    std::vector<QRect> in_window;
    for (const QRect& part : parts)
      in_window.push_back(part.translated(at));
    proxy->on_parts_changed(in_window);
    return;
  }
  // One rectangle around the changes: a picture is copied fastest into a plain rectangle, and the
  // toolkit hands a region of many rectangles to helper threads.
  QRect changed;
  for (const QRect& part : parts)
    changed |= part;
  update(changed);
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
