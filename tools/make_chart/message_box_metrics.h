#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include "state/chart_source.h"

namespace qm {

// The message box's own face: Mincho, 15 px, bold, laid out as the box lays it out. Measuring
// needs a running QGuiApplication.
class MessageBoxMetrics : public PageMeasure {
 public:
  MessageBoxMetrics();
  bool FaceFound() const override { return face_found_; }
  QString FaceName() const override;
  QStringList Lines(const QString& text) const override;
  int LineHeight() const override { return metrics_.height(); }
  int Width(const QString& text) const override { return metrics_.horizontalAdvance(text); }

 private:
  QFont font_;
  QFontMetrics metrics_;
  bool face_found_ = false;
};

}  // namespace qm
