// The cockpit itself: the frame laid over the view last in every frame, the steering pad idle
// and pressed, the blank the view starts from, and the two off-screen sheets the instruments
// write their readouts on.
//
// The frame must leave room for everything the instruments draw before it: the speed readout
// from (37, 230) down to about y 262, the position readout at (113, 34), the hull lamp at
// (325, 38) to about x 361, the trouble list out to x 365 and the chart from (80, 30) to
// (320, 270). So its bands stay thin: 22 pixels at the top, 23 at the bottom, 24 at the sides.
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "paint.h"
#include "pictures.h"
#include "platform/edition.h"

namespace qm::art {
namespace {

const QColor kGroove(0x08, 0x0A, 0x0E);
const QColor kRim(0x00, 0x8C, 0x98);

QPolygon Opening() {
  return QPolygon({QPoint(48, 22), QPoint(352, 22), QPoint(376, 46), QPoint(376, 264),
                   QPoint(364, 276), QPoint(36, 276), QPoint(24, 264), QPoint(24, 46)});
}

// Brushed gunmetal, a shade lighter towards the top, brushed along each band.
QColor Metal(int x, int y) {
  const bool side = (x < 24 || x >= 376) && y >= 22 && y < 278;
  const double grain = side ? Fbm(x * 0.6, y * 0.04, 0, 3, 12) : Fbm(x * 0.04, y * 0.6, 0, 3, 12);
  const double sheen = 1.12 - 0.22 * y / 300.0;
  return Lit(QColor(0x34, 0x3A, 0x46), sheen * (0.86 + 0.28 * grain));
}

void Led(QPainter& p, int x, int y, QColor c) {
  p.fillRect(x, y, 4, 3, Lit(c, 0.55));
  p.fillRect(x, y, 3, 2, c);
  p.fillRect(x, y, 1, 1, Lit(c, 1.6));
}

QImage Gamen() {
  QImage img = Canvas(400, 300, kKey);
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x)
      img.setPixelColor(x, y, Metal(x, y));
  }
  QPainter p(&img);
  const QPolygon hole = Opening();
  // The groove round the glass and the thin instrument light inside it.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kGroove, 7));
  p.drawPolygon(hole);
  p.setPen(QPen(kRim, 3));
  p.drawPolygon(hole);
  p.setPen(Qt::NoPen);
  p.setBrush(kKey);
  p.drawPolygon(hole);
  p.setBrush(Qt::NoBrush);
  // The frame's own edges catch the light on their upper and left sides.
  Bevel(p, QRect(0, 0, 400, 300), QColor(0x9A, 0xA2, 0xB4), QColor(0x0C, 0x0E, 0x12), 2);
  p.setPen(QColor(0x70, 0x78, 0x8A));
  p.drawLine(27, 281, 372, 281);  // the lip of the lower band faces the sun
  p.setPen(QColor(0x16, 0x1A, 0x22));
  p.drawLine(52, 17, 348, 17);  // the upper band's lip is in shadow
  // Rivets along every band, and two on each corner brace.
  for (int x = 40; x <= 360; x += 40) {
    Rivet(p, x, 7);
    Rivet(p, x, 288);
  }
  for (int y = 70; y <= 230; y += 40) {
    Rivet(p, 9, y);
    Rivet(p, 387, y);
  }
  for (const QPoint& c : {QPoint(9, 9), QPoint(387, 9), QPoint(9, 287), QPoint(387, 287)})
    Rivet(p, c.x(), c.y());
  // A heading tape in the top band and the sights on the middle of each side.
  p.fillRect(150, 5, 100, 11, kGroove);
  p.setPen(QColor(0x20, 0x60, 0x30));
  p.drawRect(150, 5, 99, 10);
  p.setPen(QColor(0x40, 0xD0, 0x60));
  for (int x = 155; x < 250; x += 10)
    p.drawLine(x, 12, x, x % 30 == 5 ? 7 : 10);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x00, 0xFF, 0xFF));
  p.drawPolygon(QPolygon({QPoint(196, 17), QPoint(204, 17), QPoint(200, 21)}));
  p.drawPolygon(QPolygon({QPoint(196, 280), QPoint(204, 280), QPoint(200, 277)}));
  p.drawPolygon(QPolygon({QPoint(16, 146), QPoint(16, 154), QPoint(21, 150)}));
  p.drawPolygon(QPolygon({QPoint(384, 146), QPoint(384, 154), QPoint(379, 150)}));
  p.setPen(QColor(0x00, 0x80, 0x90));
  for (int y = 90; y <= 210; y += 20) {
    if (y == 150) continue;
    p.drawLine(15, y, 19, y);
    p.drawLine(381, y, 385, y);
  }
  // Status lamps on the upper corners, and a vent in the lower band.
  Led(p, 52, 8, QColor(0x40, 0xFF, 0x60));
  Led(p, 58, 8, QColor(0x40, 0xFF, 0x60));
  Led(p, 64, 8, QColor(0xFF, 0xB0, 0x20));
  Led(p, 332, 8, QColor(0x00, 0xE0, 0xFF));
  Led(p, 338, 8, QColor(0x40, 0xFF, 0x60));
  Led(p, 344, 8, QColor(0x30, 0x40, 0x40));
  // Seams between the plates of the bands.
  for (int x : {120, 280}) {
    p.setPen(kGroove);
    p.drawLine(x, 2, x, 15);
    p.drawLine(x, 283, x, 297);
    p.setPen(QColor(0x6A, 0x72, 0x84));
    p.drawLine(x + 1, 2, x + 1, 15);
    p.drawLine(x + 1, 283, x + 1, 297);
  }
  for (int x = 168; x < 232; x += 8) {
    p.fillRect(x, 286, 5, 8, kGroove);
    p.fillRect(x, 293, 5, 1, QColor(0x60, 0x68, 0x78));
  }
  p.end();
  return img;
}

// The steering pad: a round screen ruled like a radar in a square metal plate. Pressed, the
// screen lights up aqua.
QImage Pad(bool pressed) {
  QImage img = Canvas(100, 100, QColor(0x60, 0x66, 0x72));
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 100; ++x) {
      const double grain = Fbm(x * 0.7, y * 0.05, 3, 2, 5);
      img.setPixelColor(x, y, Lit(QColor(0x5C, 0x62, 0x6E), 0.9 + 0.2 * grain));
    }
  }
  QPainter p(&img);
  Bevel(p, QRect(0, 0, 100, 100), QColor(0xB8, 0xC0, 0xCC), QColor(0x20, 0x24, 0x2C), 2);
  for (const QPoint& c : {QPoint(4, 4), QPoint(93, 4), QPoint(4, 93), QPoint(93, 93)})
    Rivet(p, c.x(), c.y());
  p.setRenderHint(QPainter::Antialiasing);
  // The bezel: dark below, bright above, like a ring pressed into the plate.
  QLinearGradient bezel(0, 2, 0, 98);
  bezel.setColorAt(0, QColor(0x14, 0x16, 0x1C));
  bezel.setColorAt(1, QColor(0xA8, 0xB0, 0xBC));
  p.setPen(Qt::NoPen);
  p.setBrush(bezel);
  p.drawEllipse(QPointF(50, 50), 48.5, 48.5);
  QRadialGradient glass(QPointF(44, 40), 60);
  glass.setColorAt(0, pressed ? QColor(0x10, 0x58, 0x68) : QColor(0x0A, 0x1E, 0x2C));
  glass.setColorAt(1, pressed ? QColor(0x02, 0x20, 0x2C) : QColor(0x02, 0x08, 0x10));
  p.setBrush(glass);
  p.drawEllipse(QPointF(50, 50), 45.5, 45.5);
  p.setRenderHint(QPainter::Antialiasing, false);
  const QColor ring = pressed ? QColor(0x20, 0xC0, 0xD0) : QColor(0x12, 0x4A, 0x58);
  const QColor faint = pressed ? QColor(0x10, 0x80, 0x90) : QColor(0x0C, 0x30, 0x3C);
  p.setBrush(Qt::NoBrush);
  p.setPen(faint);
  p.drawEllipse(QPoint(50, 50), 15, 15);
  p.drawEllipse(QPoint(50, 50), 30, 30);
  p.setPen(ring);
  p.drawLine(50, 7, 50, 93);
  p.drawLine(7, 50, 93, 50);
  for (int k = 0; k < 24; ++k) {
    const double a = k * 3.14159265 / 12;
    const double inner = k % 2 == 0 ? 39 : 42;
    p.drawLine(QPointF(50 + std::cos(a) * inner, 50 + std::sin(a) * inner),
               QPointF(50 + std::cos(a) * 44, 50 + std::sin(a) * 44));
  }
  // Arrow heads at the four ends of the cross: forward, back, and the two sides.
  p.setPen(Qt::NoPen);
  p.setBrush(pressed ? QColor(0x80, 0xFF, 0xFF) : QColor(0x20, 0x90, 0xA0));
  p.drawPolygon(QPolygon({QPoint(46, 14), QPoint(54, 14), QPoint(50, 9)}));
  p.drawPolygon(QPolygon({QPoint(46, 86), QPoint(54, 86), QPoint(50, 91)}));
  p.drawPolygon(QPolygon({QPoint(14, 46), QPoint(14, 54), QPoint(9, 50)}));
  p.drawPolygon(QPolygon({QPoint(86, 46), QPoint(86, 54), QPoint(91, 50)}));
  // The marks of forward and back sit beside their arrows. A word of Latin letters runs wider
  // than one kanji, out under the rim's ticks, so it keeps a little nearer the middle.
  const int inward = IsJapaneseEdition() ? 0 : 3;
  p.setFont(Face(LetterFace(), 11, false));
  p.setPen(pressed ? QColor(0xA0, 0xFF, 0xFF) : QColor(0x30, 0xA0, 0xB0));
  // TRANSLATORS: the steering pad's marks of forward and back, beside its arrows: at most 22
  // pixels wide at 11 px.
  Letter(p, QRect(56, 12 + inward, 22, 12), Qt::AlignLeft | Qt::AlignVCenter, Unicode(Tx("前")));
  Letter(p, QRect(56, 76 - inward, 22, 12), Qt::AlignLeft | Qt::AlignVCenter, Unicode(Tx("後")));
  p.end();
  return img;
}

// The sheet the instruments write their readouts on. The game fills it white before every
// readout, so this face is only ever seen here: a sample of what it carries, in the words the
// instruments use.
QImage ReadoutSheet() {
  QImage img = Canvas(200, 100, Qt::white);
  QPainter p(&img);
  p.setFont(Face(LetterFace(), 11, false));
  p.setPen(QColor(0x00, 0xFF, 0x00));
  Letter(p, QPoint(0, 9), Unicode(Fill(Tx("横 > %1Km/h"), {"0"})));
  Letter(p, QPoint(0, 19), Unicode(Fill(Tx("上 > %1Km/h"), {"0"})));
  Letter(p, QPoint(0, 29), Unicode(Fill(Tx("前 > %1Km/h"), {"0"})));
  p.setFont(Face(LetterFace(), 12, true));
  Letter(p, QPoint(0, 52), Unicode(Fill(Tx("位置 > X:%1 , Y:%2 , Z:%3"), {"0", "0", "0"})));
  return img;
}

// The plate behind each line of the trouble list: a red-rimmed grey strip. The game fills the
// band (5,5)-(134,13) grey and writes the trouble in red over it.
QImage TroublePlate() {
  QImage img = Canvas(140, 20, kKey);
  QPainter p(&img);
  p.setPen(QColor(0x40, 0x00, 0x00));
  p.setBrush(QColor(0x94, 0x94, 0x94));
  p.drawRect(1, 0, 137, 19);
  p.drawRect(0, 1, 139, 17);
  p.fillRect(1, 1, 138, 18, QColor(0x94, 0x94, 0x94));
  p.setPen(QColor(0xE0, 0x40, 0x40));
  p.drawLine(2, 1, 137, 1);
  p.drawLine(1, 2, 1, 17);
  p.setPen(QColor(0x60, 0x10, 0x10));
  p.drawLine(2, 18, 137, 18);
  p.drawLine(138, 2, 138, 17);
  // Warning lamps in the margins.
  p.fillRect(2, 8, 2, 4, QColor(0xFF, 0x30, 0x20));
  p.fillRect(136, 8, 2, 4, QColor(0xFF, 0x30, 0x20));
  return img;
}

}  // namespace

bool DrawCockpitPictures(const QString& dir, Which which) {
  bool ok = Save(Pad(false), dir, "cont");
  ok &= Save(Pad(true), dir, "cont2");
  // Keyed white: the readouts are written on white and copied without it.
  QImage sheet = ReadoutSheet();
  sheet.setPixelColor(0, 99, Qt::white);
  ok &= Save(sheet, dir, "txt");
  if (which == Which::kLettered) return ok;
  ok &= Save(Canvas(400, 300, Qt::black), dir, "black");
  ok &= SaveKeyed(Gamen(), dir, "gamen");
  ok &= SaveKeyed(TroublePlate(), dir, "trable");
  return ok;
}

}  // namespace qm::art
