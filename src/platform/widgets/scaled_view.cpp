#include "platform/widgets/scaled_view.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qm {
namespace {

// Changes in neighbouring rows this close together sideways are taken as one part.
constexpr int kNear = 8;
// More parts than this are merged: each part drawn costs a pass over the controls it covers.
constexpr size_t kMostParts = 8;
// So many parts means the picture moves as a whole; one rectangle around them does.
constexpr size_t kScattered = 48;
// Window pixels drawn again around a change.
constexpr int kMargin = 2;

long long Area(const QRect& r) {
  return static_cast<long long>(r.width()) * r.height();
}

// Merges the two parts whose rectangle together adds the least area, while there are many or
// the merged part costs no more than the two did (parts that overlap are drawn once).
void Merge(std::vector<QRect>& parts) {
  if (parts.size() > kScattered) {
    QRect all;
    for (const QRect& r : parts)
      all |= r;
    parts.assign(1, all);
    return;
  }
  while (parts.size() > 1) {
    size_t best_a = 0, best_b = 1;
    long long best = Area(parts[0] | parts[1]) - Area(parts[0]) - Area(parts[1]);
    for (size_t a = 0; a < parts.size(); ++a)
      for (size_t b = a + 1; b < parts.size(); ++b) {
        const long long added = Area(parts[a] | parts[b]) - Area(parts[a]) - Area(parts[b]);
        if (added < best) {
          best = added;
          best_a = a;
          best_b = b;
        }
      }
    if (parts.size() <= kMostParts && best > 0) return;
    parts[best_a] |= parts[best_b];
    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(best_b));
  }
}

}  // namespace

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

std::vector<QRect> ChangedParts(const QImage& before, const QImage& after) {
  std::vector<QRect> parts;
  const int width = after.width();
  const size_t row_bytes = static_cast<size_t>(width) * 4;
  QRect open;
  for (int y = 0; y < after.height(); ++y) {
    const auto* a = reinterpret_cast<const std::uint32_t*>(before.constScanLine(y));
    const auto* b = reinterpret_cast<const std::uint32_t*>(after.constScanLine(y));
    if (std::memcmp(a, b, row_bytes) == 0) {
      if (!open.isNull()) parts.push_back(open);
      open = QRect();
      continue;
    }
    int left = 0;
    while (a[left] == b[left])
      ++left;
    int right = width - 1;
    while (a[right] == b[right])
      --right;
    const QRect row(left, y, right - left + 1, 1);
    if (!open.isNull() && left <= open.right() + kNear && right >= open.left() - kNear) {
      open |= row;
    } else {
      if (!open.isNull()) parts.push_back(open);
      open = row;
    }
  }
  if (!open.isNull()) parts.push_back(open);
  Merge(parts);
  return parts;
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
  // Every change of a control reaches the design widget as one request to update it, once per
  // turn of the event loop; the scene's own notice comes twice for it. Watched from here, after
  // the proxy began watching, the request is seen before the proxy takes it.
  design_->installEventFilter(this);
}

bool ScaledView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == design_ && event->type() == QEvent::UpdateRequest && !compare_posted_) {
    compare_posted_ = true;
    QMetaObject::invokeMethod(this, &ScaledView::DesignChanged, Qt::QueuedConnection);
  }
  return QGraphicsView::eventFilter(watched, event);
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
  if (!drawn_ || !design_) return;
  // Nothing is shown: the next showing draws everything anyway.
  if (!isVisible()) {
    drawn_ = false;
    return;
  }
  {
    QPainter painter(&fresh_);
    design_->render(&painter, QPoint(), QRegion(seen_.rect()), QWidget::DrawChildren);
  }
  // A change that leaves every pixel of the design at its own size alone is not looked for: no
  // control of the game changes its text or pictures in a way only the enlargement would show.
  // Text drawn larger is fitted to the finer pixels and may reach a pixel beyond where it lay at
  // the window's own size, so each part is drawn again with a margin.
  const std::vector<QRect> parts = ChangedParts(seen_, fresh_);
  if (parts.empty()) return;
  for (QRect part : parts) {
    part = part.adjusted(-kMargin, -kMargin, kMargin, kMargin) & seen_.rect();
    const bool known = std::any_of(pending_.begin(), pending_.end(),
                                   [&part](const QRect& p) { return p.contains(part); });
    if (!known) pending_.push_back(part);
  }
  Merge(pending_);
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
  const QRegion asked = event->region();
  for (const QRect& r : asked.subtracted(shown_))
    painter.fillRect(r, Qt::black);
  const QImage& picture = Picture();
  for (const QRect& r : asked.intersected(shown_))
    painter.drawImage(r.topLeft(), picture, r.translated(-shown_.topLeft()));
}

}  // namespace qm
