#include "cockpit/pause_cover.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "voyage/voyage_state.h"

namespace qm {
namespace {
constexpr int kPlateWidth = 160;
constexpr int kPlateHeight = 36;
}  // namespace

PauseCover::PauseCover(const QString& text, const QFont& font, QWidget* parent)
    : QWidget(parent), text_(text) {
  setFont(font);
  // Clear where nothing is drawn: the frozen view and panel stay in sight around the word.
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

QRect PauseCover::Plate() const {
  return {(kViewWidth - kPlateWidth) / 2, (kViewHeight - kPlateHeight) / 2, kPlateWidth,
          kPlateHeight};
}

void PauseCover::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect plate = Plate();
  p.fillRect(plate, Qt::black);
  p.setPen(QColor(0x00, 0xFF, 0xFF));
  p.drawRect(plate.adjusted(0, 0, -1, -1));
  p.drawText(plate, Qt::AlignCenter, text_);
}

// Every press, release and move over the window stops here.
void PauseCover::mousePressEvent(QMouseEvent* event) {
  event->accept();
}
void PauseCover::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}
void PauseCover::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
}
void PauseCover::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
}
void PauseCover::wheelEvent(QWheelEvent* event) {
  event->accept();
}

}  // namespace qm
