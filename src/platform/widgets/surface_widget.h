#pragma once

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
  void SetSurface(const Surface* surface) { surface_ = surface; }

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
};

}  // namespace qm
