#include "cockpit/text_label.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/text_layout.h"

namespace qm {
TextLabel::TextLabel(QWidget* parent) : QLabel(parent) {
  setAttribute(Qt::WA_TranslucentBackground);
}

void TextLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (background_.isValid()) painter.fillRect(rect(), background_);
  const QFontMetrics metrics(font());
  const QStringList lines = LayoutLines(text(), metrics, wrap_ ? width() : 0);
  const int step = line_step_ > 0 ? line_step_ : metrics.height();
  painter.setFont(font());
  painter.setPen(text_color_);
  int top = 0;
  if (alignment() & Qt::AlignVCenter) {
    top = (height() - (static_cast<int>(lines.size()) - 1) * step - metrics.height()) / 2;
  }
  for (const QString& line : lines) {
    const int w = metrics.horizontalAdvance(line);
    int left = 0;
    if (alignment() & Qt::AlignHCenter) left = (width() - w) / 2;
    if (alignment() & Qt::AlignRight) left = width() - w;
    painter.drawText(left, top + metrics.ascent(), line);
    top += step;
  }
}

}  // namespace qm
