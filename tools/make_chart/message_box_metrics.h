#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QStringList>

#include "make_chart/chart_source.h"

namespace qm {

// The message box's own face in the edition chosen when it is made (Mincho, 15 px, bold, in the
// Japanese edition), laid out as the box lays it out, with the pages the game builds. Measuring
// needs a running QGuiApplication.
class MessageBoxMetrics : public PageMeasure {
 public:
  MessageBoxMetrics();
  bool FaceFound() const override { return face_found_; }
  QString FaceName() const override;
  QStringList Lines(const QString& text) const override;
  int LineHeight() const override { return metrics_.height(); }
  int Width(const QString& text) const override { return metrics_.horizontalAdvance(text); }
  QString ArrivalPage(const std::string& name_utf8, const std::string& text_utf8) const override;
  QString ListingLine(const std::string& name_utf8, int x, int y, int z) const override;

 private:
  QFont font_;
  QFontMetrics metrics_;
  bool face_found_ = false;
};

}  // namespace qm
