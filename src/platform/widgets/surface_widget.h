#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace qm {

class Surface;

// Shows a surface at its own size. When the desktop scales the window, pixels are enlarged as
// blocks: the game's pictures are pixel art and must never be blurred.
class SurfaceWidget : public QWidget {
  Q_OBJECT
 public:
  SurfaceWidget(const Surface* surface, QWidget* parent);
  void SetSurface(const Surface* surface) {
    surface_ = surface;
    painted_ = QImage();
  }
  // Repaints where the surface differs from what the widget last painted: a frame that draws the
  // picture again as it was costs the screen nothing, and one that changes a few pixels repaints
  // those, not the whole picture (which, enlarged, is many times the pixels).
  void Refresh();

  std::function<void(Qt::MouseButton, int, int)> on_press;
  std::function<void(int, int)> on_move;
  std::function<void(Qt::MouseButton, int, int)> on_release;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const Surface* surface_;
  // The surface as this widget last painted it.
  QImage painted_;
};

}  // namespace qm
