#include "make_chart/message_box_metrics.h"

#include <QFontInfo>

#include "platform/text_layout.h"

namespace qm {

MessageBoxMetrics::MessageBoxMetrics() : font_(QStringLiteral("IPAPMincho")), metrics_(font_) {
  font_.setPixelSize(15);
  font_.setBold(true);
  metrics_ = QFontMetrics(font_);
  face_found_ = QFontInfo(font_).family() == QStringLiteral("IPAPMincho");
}

QString MessageBoxMetrics::FaceName() const {
  return font_.family();
}

QStringList MessageBoxMetrics::Lines(const QString& text) const {
  return LayoutLines(text, metrics_, kWidth);
}

}  // namespace qm
