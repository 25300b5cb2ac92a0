#include "platform/widgets/scaled_view.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/widgets/changed_parts.h"

namespace qm {
namespace {

// Window pixels drawn again around a change.
constexpr int kMargin = 2;

}  // namespace

ChangeTracker::ChangeTracker(QGraphicsScene* scene) : QGraphicsView(scene) {
  // Shown to the scene, never to the player, and no window that keeps the program running.
  setAttribute(Qt::WA_DontShowOnScreen);
  setAttribute(Qt::WA_QuitOnClose, false);
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // Items are drawn through drawItems, which draws nothing.
  setOptimizationFlags(QGraphicsView::IndirectPainting);
  show();
}

void ChangeTracker::paintEvent(QPaintEvent* event) {
  // The view's own painting keeps the scene telling it what changes.
  QGraphicsView::paintEvent(event);
  if (on_change) on_change(event->region().boundingRect());
}

void DesignProxy::Snap(QGraphicsSceneMouseEvent* event) const {
  if (!snap_) return;
  const QPointF p = event->pos();
  event->setPos(QPointF(std::floor(p.x()) + 0.25, std::floor(p.y()) + 0.25));
}

void DesignProxy::mousePressEvent(QGraphicsSceneMouseEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::mousePressEvent(event);
}

void DesignProxy::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::mouseMoveEvent(event);
}

void DesignProxy::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::mouseReleaseEvent(event);
}

void DesignProxy::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) {
  Snap(event);
  QGraphicsProxyWidget::mouseDoubleClickEvent(event);
}

ScaledView::ScaledView(QGraphicsScene* scene, DesignProxy* proxy, QWidget* design, QWidget* parent)
    : QGraphicsView(scene, parent), design_(design), proxy_(proxy) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The scene only carries the input; the picture is this view's own, painted where it changed.
  setViewportUpdateMode(QGraphicsView::NoViewportUpdate);
  // A scene no bigger than a pixel stays at the top left: the view's transform alone maps the
  // mouse, and the proxy's place puts the design where it is shown.
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTransformationAnchor(QGraphicsView::NoAnchor);
  setResizeAnchor(QGraphicsView::NoAnchor);
  setSceneRect(0, 0, 1, 1);
  // Nothing beneath the view need be painted: it paints every pixel it is asked for.
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  // A changed picture's own pixels are drawn again as they are: nothing but the picture changed.
  proxy_->on_parts_changed = [this](const std::vector<QRect>& parts) {
    if (!drawn_ || !design_) return;
    if (!isVisible()) {
      drawn_ = false;
      return;
    }
    MarkChanged(parts, 0);
  };
  tracker_ = std::make_unique<ChangeTracker>(scene);
  tracker_->on_change = [this](const QRect& part) {
    asked_ |= part;
    if (compare_posted_) return;
    compare_posted_ = true;
    QMetaObject::invokeMethod(this, &ScaledView::DesignChanged, Qt::QueuedConnection);
  };
}

void ScaledView::Show(const QRect& shown) {
  if (!design_) return;
  const QSize design = design_->size();
  if (shown.isEmpty() || design.isEmpty()) return;
  const double sx = static_cast<double>(shown.width()) / design.width();
  const double sy = static_cast<double>(shown.height()) / design.height();
  const int factor = std::max(1, static_cast<int>(std::ceil(std::max(sx, sy) - 1e-9)));
  const bool exact = shown.size() == design * factor;
  // At a whole factor a position maps as it always did. At any other, a shown pixel maps to the
  // window pixel it shows unmixed: its centre, less an eighth of a shown pixel, lies in that
  // window pixel even where the reduction gives the pixel the least it can.
  const double shift = exact ? 0 : 0.375;
  setTransform(QTransform::fromScale(sx, sy));
  proxy_->setPos((shown.x() - shift) / sx, (shown.y() - shift) / sy);
  proxy_->SetSnap(!exact);
  // The tracker sees the design at its own pixels, wherever the proxy stands.
  tracker_->setSceneRect(QRectF(proxy_->pos(), QSizeF(design)));
  tracker_->resize(design);
  if (shown == shown_ && design == seen_.size()) return;
  shown_ = shown;
  factor_ = factor;
  exact_ = exact;
  xs_ = MakeReductionAxis(design.width(), factor_, shown.width());
  ys_ = MakeReductionAxis(design.height(), factor_, shown.height());
  seen_ = QImage(design, QImage::Format_RGB32);
  fresh_ = QImage(design, QImage::Format_RGB32);
  enlarged_ = QImage(design * factor_, QImage::Format_RGB32);
  reduced_ = exact_ ? QImage() : QImage(shown.size(), QImage::Format_RGB32);
  drawn_ = false;
  pending_.clear();
  viewport()->update();
}

void ScaledView::DesignChanged() {
  compare_posted_ = false;
  const QRect asked = asked_ & seen_.rect();
  asked_ = QRect();
  if (!drawn_ || !design_ || asked.isEmpty()) return;
  // Nothing is shown: the next showing draws everything anyway.
  if (!isVisible()) {
    drawn_ = false;
    return;
  }
  {
    QPainter painter(&fresh_);
    design_->render(&painter, asked.topLeft(), QRegion(asked), QWidget::DrawChildren);
  }
  // A change that leaves every pixel of the design at its own size alone is not looked for: no
  // control of the game changes its text or pictures in a way only the enlargement would show.
  // Text drawn larger is fitted to the finer pixels and may reach a pixel beyond where it lay at
  // the window's own size, so each part is drawn again with a margin.
  MarkChanged(ChangedParts(seen_, fresh_, asked), kMargin);
}

void ScaledView::MarkChanged(const std::vector<QRect>& parts, int margin) {
  if (parts.empty()) return;
  for (QRect part : parts) {
    part = part.adjusted(-margin, -margin, margin, margin) & seen_.rect();
    const bool known = std::any_of(pending_.begin(), pending_.end(),
                                   [&part](const QRect& p) { return p.contains(part); });
    if (!known && !part.isEmpty()) pending_.push_back(part);
  }
  MergeParts(pending_);
  // All of every part waiting is painted: it is all drawn again, and so must all be shown again.
  for (const QRect& part : pending_)
    viewport()->update(ShownOf(xs_, ys_, part).translated(shown_.topLeft()));
}

void ScaledView::DrawEnlarged(const QRect& part) {
  QPainter painter(&enlarged_);
  painter.scale(factor_, factor_);
  design_->render(&painter, part.topLeft(), QRegion(part), QWidget::DrawChildren);
}

void ScaledView::DrawAll() {
  {
    QPainter painter(&seen_);
    design_->render(&painter, QPoint(), QRegion(seen_.rect()), QWidget::DrawChildren);
  }
  DrawEnlarged(seen_.rect());
  if (!exact_) Reduce(enlarged_, xs_, ys_, reduced_.rect(), reduced_);
  pending_.clear();
  drawn_ = true;
}

void ScaledView::Settle() {
  if (!drawn_) {
    DrawAll();
    return;
  }
  if (pending_.empty()) return;
  // The design as it is now, in both pictures, so the next comparison starts from what shows.
  for (const QRect& part : pending_) {
    {
      QPainter painter(&seen_);
      design_->render(&painter, part.topLeft(), QRegion(part), QWidget::DrawChildren);
    }
    DrawEnlarged(part);
  }
  // Every part is enlarged before any is reduced: a reduced pixel reads across a part's edge.
  if (!exact_) {
    for (const QRect& part : pending_)
      Reduce(enlarged_, xs_, ys_, ShownOf(xs_, ys_, part), reduced_);
  }
  pending_.clear();
}

void ScaledView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  // The design goes with its scaler; until the view goes too it shows black.
  if (shown_.isEmpty() || !design_) {
    painter.fillRect(event->rect(), Qt::black);
    return;
  }
  Settle();
  const QRegion& asked = event->region();
  for (const QRect& r : asked.subtracted(shown_))
    painter.fillRect(r, Qt::black);
  const QImage& picture = Picture();
  for (const QRect& r : asked.intersected(shown_))
    painter.drawImage(r.topLeft(), picture, r.translated(-shown_.topLeft()));
}

}  // namespace qm
