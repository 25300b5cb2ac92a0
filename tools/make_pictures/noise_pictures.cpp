// The screen effects laid over the view: the static of a lost ship (0 and 1, shown in turn), a
// spare light snow (2), the ion storm's interference (3 and 4), the flash of a contact check
// (5) and the arrival banner (6). All are keyed, so the view shows through their gaps; the full
// screen ones are drawn at half size and doubled by the view, which keeps their grain coarse.
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "paint.h"
#include "pictures.h"
#include "platform/edition.h"

namespace qm::art {
namespace {

constexpr int kW = 200;
constexpr int kH = 150;

// Television snow: grey grain smeared along the lines, darker on every other line, with a few
// dropouts where the dying view still shows.
QImage Static(unsigned seed, const QString& words, int shift) {
  QImage img = Canvas(kW, kH, kKey);
  Dice dice{seed};
  for (int y = 0; y < kH; ++y) {
    const int line = (y % 2 == 0) ? 0 : -40;
    const int roll = dice(9) == 0 ? 50 : 0;  // a brighter torn line now and then
    int v = dice(256);
    for (int x = 0; x < kW; ++x) {
      if (dice(3) == 0) v = dice(256);
      if (dice(16) == 0) continue;  // dropout
      const int g = std::clamp(v * 3 / 4 + line + roll + 20, 0, 255);
      img.setPixelColor(x, y, QColor(g, g, std::min(255, g + 12)));
    }
  }
  QPainter p(&img);
  // A dark band carries the words, a little off from frame to frame as the picture rolls.
  const QRect band(0, 56 + shift, kW, 38);
  p.fillRect(band, QColor(0x08, 0x08, 0x0C));
  p.setPen(QColor(0x60, 0x60, 0x68));
  p.drawLine(band.topLeft(), band.topRight());
  p.drawLine(band.bottomLeft(), band.bottomRight());
  p.setFont(Face(LetterFace(), 16, false));
  p.setPen(QColor(0xF0, 0xF0, 0xF0));
  // The English under the words is there for players who read no Japanese; in another edition
  // the words are in the player's language already and take the band to themselves.
  if (!IsJapaneseEdition()) {
    Letter(p, band, Qt::AlignCenter, words);
    return img;
  }
  Letter(p, QRect(0, band.top() + 2, kW, 20), Qt::AlignCenter, words);
  p.setFont(Face(QStringLiteral("DejaVu Sans"), 10, true));
  p.setPen(QColor(0xFF, 0x50, 0x40));
  Letter(p, QRect(0, band.top() + 22, kW, 14), Qt::AlignCenter, QStringLiteral("SIGNAL LOST"));
  return img;
}

// Sparse snow with the view showing through nearly everywhere.
QImage LightSnow() {
  QImage img = Canvas(kW, kH, kKey);
  Dice dice{606};
  for (int i = 0; i < 1400; ++i) {
    const int g = 120 + dice(136);
    img.setPixelColor(dice(kW), dice(kH), QColor(g, g, g));
  }
  return img;
}

// The ion storm tearing the picture: ragged horizontal streaks of violet and aqua, a rolling
// grey bar, and sparks.
QImage Interference(unsigned seed) {
  QImage img = Canvas(kW, kH, kKey);
  Dice dice{seed};
  const int bar = 20 + dice(100);
  for (int y = bar; y < bar + 14 && y < kH; ++y) {
    for (int x = (y + dice(2)) % 2; x < kW; x += 2) {
      const int g = 90 + dice(60);
      img.setPixelColor(x, y, QColor(g, g, g + 20));
    }
  }
  for (int streak = 0; streak < 26; ++streak) {
    const int y = dice(kH);
    const int from = dice(kW);
    const int length = 20 + dice(160);
    const bool aqua = dice(3) == 0;
    const int rows = 1 + (dice(4) == 0);
    for (int r = 0; r < rows && y + r < kH; ++r) {
      for (int x = from; x < std::min(kW, from + length); ++x) {
        if (dice(5) == 0) continue;
        const int k = dice(80);
        const QColor c =
            aqua ? QColor(0x40 + k, 0xD0 + k / 3, 0xFF) : QColor(0xA0 + k, 0x40 + k, 0xE0 + k / 3);
        img.setPixelColor(x, y + r, c);
      }
    }
  }
  for (int i = 0; i < 240; ++i)
    img.setPixelColor(dice(kW), dice(kH), QColor(0xF0, 0xF0, 0xFF));
  return img;
}

// The scan of a contact check: rings spreading from the middle, cross hairs and corner marks.
QImage ContactFlash() {
  QImage layer = Layer(kW, kH);
  SmoothPainter p(layer);
  const QPointF c(kW / 2.0, kH / 2.0);
  Glow(p, c, 26, QColor(0xE0, 0xFF, 0xFF, 230));
  p.setBrush(Qt::NoBrush);
  int i = 0;
  for (double r : {14.0, 30.0, 50.0, 74.0, 102.0}) {
    p.setPen(QPen(QColor(0x40, 0xFF, 0xFF, 255 - i * 40), i == 2 ? 2.5 : 1.5));
    p.drawEllipse(c, r, r * 0.9);
    ++i;
  }
  p.setPen(QPen(QColor(0x80, 0xFF, 0xFF), 1));
  p.drawLine(QPointF(0, c.y()), QPointF(c.x() - 8, c.y()));
  p.drawLine(QPointF(c.x() + 8, c.y()), QPointF(kW, c.y()));
  p.drawLine(QPointF(c.x(), 0), QPointF(c.x(), c.y() - 8));
  p.drawLine(QPointF(c.x(), c.y() + 8), QPointF(c.x(), kH));
  for (int t = 10; t < kW; t += 10) {
    p.drawLine(QPointF(t, c.y() - 2), QPointF(t, c.y() + 2));
  }
  p.setPen(QPen(QColor(0x40, 0xFF, 0xFF), 2));
  const QRectF box(40, 30, kW - 80, kH - 60);
  for (const QPointF& corner :
       {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
    const double sx = corner.x() < c.x() ? 1 : -1;
    const double sy = corner.y() < c.y() ? 1 : -1;
    p.drawLine(corner, corner + QPointF(12 * sx, 0));
    p.drawLine(corner, corner + QPointF(0, 12 * sy));
  }
  p.end();
  QImage out = KeyedDithered(layer);
  QPainter t(&out);
  t.setFont(Face(QStringLiteral("DejaVu Sans"), 9, true));
  t.setPen(QColor(0x80, 0xFF, 0xFF));
  t.drawText(QRect(0, kH - 28, kW, 12), Qt::AlignCenter, QStringLiteral("SCANNING"));
  return out;
}

// The banner at an arrival: 180 x 60, drawn one to one into the middle of the view.
QImage ArrivalBanner() {
  QImage img = Canvas(180, 60, kKey);
  QPainter p(&img);
  QPainterPath plate;
  plate.moveTo(10, 2);
  plate.lineTo(170, 2);
  plate.lineTo(178, 10);
  plate.lineTo(178, 50);
  plate.lineTo(170, 58);
  plate.lineTo(10, 58);
  plate.lineTo(2, 50);
  plate.lineTo(2, 10);
  plate.closeSubpath();
  QLinearGradient fill(0, 2, 0, 58);
  fill.setColorAt(0, QColor(0x08, 0x30, 0x48));
  fill.setColorAt(1, QColor(0x02, 0x0C, 0x18));
  p.setPen(QPen(QColor(0x00, 0xFF, 0xFF), 2));
  p.setBrush(fill);
  p.drawPath(plate);
  p.setPen(QPen(QColor(0x00, 0x80, 0x90), 1));
  p.drawLine(12, 6, 168, 6);
  p.drawLine(12, 54, 168, 54);
  // Chevrons pointing in at the words.
  p.setPen(Qt::NoPen);
  for (int side : {-1, 1}) {
    for (int k = 0; k < 2; ++k) {
      const double x = 90 + side * (74 - k * 8);
      p.setBrush(k == 0 ? QColor(0x00, 0x90, 0xA0) : QColor(0x00, 0xFF, 0xFF));
      p.drawPolygon(QPolygonF({QPointF(x, 22), QPointF(x - side * 6, 30), QPointF(x, 38)}));
    }
  }
  // The words keep between the inner chevrons, which two spaced-out kanji fill at 26 px and a
  // word of Latin capitals at 22. With no English gloss under them (see Static) they take the
  // middle of the plate.
  const bool japanese = IsJapaneseEdition();
  const QRect place(30, 4, 120, japanese ? 32 : 52);
  // TRANSLATORS: the banner at an arrival: at most 120 pixels wide at 22 px bold.
  const QString words = Unicode(Tx("到　着"));
  p.setFont(Face(LetterFace(), japanese ? 26 : 22, true));
  p.setPen(QColor(0x00, 0x40, 0x48));
  Letter(p, place.translated(1, 1), Qt::AlignCenter, words);
  p.setPen(QColor(0xC0, 0xFF, 0xFF));
  Letter(p, place, Qt::AlignCenter, words);
  if (!japanese) return img;
  p.setFont(Face(QStringLiteral("DejaVu Sans"), 9, true));
  p.setPen(QColor(0x00, 0xE0, 0xE0));
  Letter(p, QRect(30, 38, 120, 12), Qt::AlignCenter, QStringLiteral("ARRIVAL"));
  return img;
}

}  // namespace

bool DrawNoisePictures(const QString& dir, Which which) {
  // TRANSLATORS: the words over the static of a lost ship: at most 200 pixels wide at 16 px.
  const QString lost = Unicode(Tx("通信途絶"));
  bool ok = true;
  ok &= SaveKeyed(Static(1001, lost, 0), dir, "noize0");
  ok &= SaveKeyed(Static(2002, lost, 1), dir, "noize1");
  ok &= SaveKeyed(ArrivalBanner(), dir, "noize6");
  if (which == Which::kLettered) return ok;
  ok &= SaveKeyed(LightSnow(), dir, "noize2");
  ok &= SaveKeyed(Interference(303), dir, "noize3");
  ok &= SaveKeyed(Interference(404), dir, "noize4");
  ok &= SaveKeyed(ContactFlash(), dir, "noize5");
  return ok;
}

}  // namespace qm::art
