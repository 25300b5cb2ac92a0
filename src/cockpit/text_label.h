#pragma once

#include <QColor>
#include <QLabel>
#include <QStringList>

#include "platform/text_layout.h"

namespace qm {

// A label that lays out its own lines. Qt's word wrap may break inside a run of half-width
// katakana and cannot keep the game's line step, so the label paints its text itself.
class TextLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TextLabel(QWidget* parent);

  void SetWrap(bool wrap) { wrap_ = wrap; }
  void SetTextColor(QColor c) { text_color_ = c; }
  // An invalid colour leaves the background transparent.
  void SetBackground(QColor c) { background_ = c; }
  // Pixels from one line's top to the next; 0 takes the font's own.
  void SetLineStep(int pixels) { line_step_ = pixels; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool wrap_ = false;
  QColor text_color_{0x00, 0xFF, 0xFF};
  QColor background_;
  int line_step_ = 0;
};

}  // namespace qm
