#pragma once

#include <QString>
#include <QWidget>

namespace qm {

// Lies over the whole voyage window while the voyage is paused: the word in the middle of the
// view tells the player why nothing moves, and the cover takes every click, so no button, the
// pad or the message box beneath it is pressed until the voyage goes on.
class PauseCover : public QWidget {
  Q_OBJECT
 public:
  PauseCover(const QString& text, const QFont& font, QWidget* parent);

  // Where the word stands: the middle of the view.
  QRect Plate() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QString text_;
};

}  // namespace qm
