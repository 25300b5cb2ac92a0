#include "cockpit/picture_widget.h"

#include <QPainter>

#include "platform/surface.h"

namespace qm {

PictureWidget::PictureWidget(const Surface& picture, QWidget* parent) : QWidget(parent) {
  if (picture.IsNull()) return;
  image_ = picture.Image().convertToFormat(QImage::Format_ARGB32);
  if (!picture.Transparent()) return;
  const QRgb key = image_.pixel(0, image_.height() - 1);
  for (int y = 0; y < image_.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
    for (int x = 0; x < image_.width(); ++x) {
      if (row[x] == key) row[x] = 0;
    }
  }
}

void PictureWidget::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), image_);
}

void PictureWidget::mousePressEvent(QMouseEvent*) {
  if (on_press) on_press();
}

ShapeWidget::ShapeWidget(QColor pen, QWidget* parent) : QWidget(parent), pen_(pen) {}

void ShapeWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(pen_);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(0, 0, width() - 1, height() - 1);
}

void ShapeWidget::mousePressEvent(QMouseEvent*) {
  if (on_press) on_press();
}

}  // namespace qm
