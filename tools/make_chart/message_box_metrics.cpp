#include "make_chart/message_box_metrics.h"

#include <QFontInfo>

#include "cockpit/arrival.h"
#include "cockpit/panels.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/text_layout.h"

namespace qm {
namespace {

QString Unicode(const std::string& cp932) {
  return QString::fromStdString(Utf8FromCp932(cp932));
}

// A point holding only what the pages show of it; a name or text with no CP932 form stays empty
// here, and the checker reports it on its own.
ChartPoint PagePoint(const std::string& name_utf8, const std::string& text_utf8) {
  ChartPoint p;
  p.name = Cp932FromUtf8(name_utf8).value_or("");
  p.text = Cp932FromUtf8(text_utf8).value_or("");
  return p;
}

}  // namespace

MessageBoxMetrics::MessageBoxMetrics()
    : font_(QString::fromStdString(EditionFace(kMessageFace))), metrics_(font_) {
  font_.setPixelSize(15);
  font_.setBold(true);
  metrics_ = QFontMetrics(font_);
  face_found_ = QFontInfo(font_).family() == QString::fromStdString(EditionFace(kMessageFace));
}

QString MessageBoxMetrics::FaceName() const {
  return font_.family();
}

QStringList MessageBoxMetrics::Lines(const QString& text) const {
  return LayoutLines(text, metrics_, kWidth);
}

QString MessageBoxMetrics::ArrivalPage(const std::string& name_utf8,
                                       const std::string& text_utf8) const {
  return Unicode(qm::ArrivalPage(PagePoint(name_utf8, text_utf8)));
}

QString MessageBoxMetrics::ListingLine(const std::string& name_utf8, int x, int y, int z) const {
  ChartPoint p = PagePoint(name_utf8, "");
  p.x = x;
  p.y = y;
  p.z = z;
  return Unicode(ChartLine(true, p));
}

}  // namespace qm
