// The ten repair buttons, one for each trouble, shown on the panel while their trouble lasts:
// red warning plates with a lit lamp, named for what they mend.
#include <QPainter>

#include "paint.h"
#include "pictures.h"
#include "platform/edition.h"

namespace qm::art {

QString RepairWord(int n) {
  // In the order of the troubles: engine, injured sleepers, hull wall, stellar-wind
  // contamination, fire, fuel-tank wall, main system, infection, system down, radar.
  static const char* const kWords[10] = {
      // TRANSLATORS: the repair buttons, each named for the trouble it mends: at most 57 pixels
      // wide at 12 px (about 9 letters).
      TX_NOOP("エンジン"), TX_NOOP("負傷者"),     TX_NOOP("船壁"),     TX_NOOP("汚染除去"),
      TX_NOOP("消火"),     TX_NOOP("燃料タンク"), TX_NOOP("メイン系"), TX_NOOP("感染"),
      TX_NOOP("システム"), TX_NOOP("レーダー")};
  return Unicode(Tx(kWords[(n - 1) % 10]));
}

namespace {

QImage RepairButton(int n) {
  QImage img = Canvas(70, 18, kKey);
  QPainter p(&img);
  QLinearGradient face(0, 0, 0, 18);
  face.setColorAt(0, QColor(0x90, 0x20, 0x20));
  face.setColorAt(1, QColor(0x40, 0x08, 0x08));
  p.fillRect(0, 0, 70, 18, face);
  p.setPen(QColor(0x18, 0x02, 0x02));
  p.drawRect(0, 0, 69, 17);
  Bevel(p, QRect(1, 1, 68, 16), QColor(0xE0, 0x70, 0x60), QColor(0x30, 0x04, 0x04), 1);
  // The lamp: lit red with a hot centre.
  p.fillRect(4, 6, 5, 6, QColor(0x60, 0x00, 0x00));
  p.fillRect(4, 6, 4, 5, QColor(0xFF, 0x40, 0x20));
  p.fillRect(5, 7, 2, 2, QColor(0xFF, 0xE0, 0xB0));
  p.setFont(Face(LetterFace(), 12, false));
  const QRect text(11, 0, 57, 18);
  p.setPen(QColor(0x30, 0x00, 0x00));
  Letter(p, text.translated(1, 1), Qt::AlignCenter, RepairWord(n));
  p.setPen(QColor(0xFF, 0xEC, 0xB0));
  Letter(p, text, Qt::AlignCenter, RepairWord(n));
  p.end();
  for (const QPoint& c : {QPoint(0, 0), QPoint(69, 0), QPoint(0, 17), QPoint(69, 17)})
    img.setPixelColor(c, kKey);
  return img;
}

}  // namespace

bool DrawRepairButtons(const QString& dir) {
  bool ok = true;
  for (int n = 1; n <= 10; ++n)
    ok &= SaveKeyed(RepairButton(n), dir, QString("tra_b%1").arg(n));
  return ok;
}

}  // namespace qm::art
