#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>
#include <functional>

namespace qm {

class Surface;

// A picture laid out on the panel, drawn with its transparent colour left out, as a button face
// or a plate. A picture that never loaded shows nothing but still takes clicks.
class PictureWidget : public QWidget {
  Q_OBJECT
 public:
  PictureWidget(const Surface& picture, QWidget* parent);

  std::function<void()> on_press;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage image_;
};

// A hollow rectangle outline (`Shape1`, `Shape2`); its whole inside takes clicks.
class ShapeWidget : public QWidget {
  Q_OBJECT
 public:
  ShapeWidget(QColor pen, QWidget* parent);

  std::function<void()> on_press;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QColor pen_;
};

}  // namespace qm
