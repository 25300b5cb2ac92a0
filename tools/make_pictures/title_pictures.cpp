// The title window's pictures: the sky behind the title (201 x 151, shown doubled), the three
// frames of the colony ship that crosses it, the maker's logo and the lettering.
//
// The title copies the ship, the logo and the lettering opaque onto the sky, each on its own
// black; so the sky stays plain black with stars wherever they pass: the ship's band across
// the middle (rows 95..122 of the sky), the lettering at the top middle and the logo at the
// bottom right. Earth and the nebula keep to the space between.
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "globe.h"
#include "paint.h"
#include "pictures.h"
#include "sphere.h"

namespace qm::art {
namespace {

QImage Sky() {
  constexpr int kW = 201, kH = 151;
  QImage layer = Layer(kW, kH);
  layer.fill(Qt::black);
  // A violet and blue nebula high on the right, fading out well above the ship's band.
  for (int y = 0; y < 92; ++y) {
    for (int x = 0; x < kW; ++x) {
      const double ex = (x - 150) / 62.0, ey = (y - 48) / 34.0;
      double mask = std::exp(-(ex * ex + ey * ey) * 1.4) * std::clamp((88 - y) / 20.0, 0.0, 1.0);
      if (y < 20 && x > 58 && x < 162) mask *= std::clamp((y - 12) / 8.0, 0.0, 1.0);
      const double cloud = Fbm(x * 0.045, y * 0.07, 0.3, 5, 808);
      const double v = std::max(0.0, cloud - 0.38) * 2.2 * mask;
      const QColor c =
          Mix(QColor(0x30, 0x10, 0x58), QColor(0x30, 0x70, 0xC0), Fbm(x * 0.03, y * 0.03, 2, 2, 9));
      layer.setPixelColor(x, y, Lit(c, std::min(1.0, v)));
    }
  }
  Dice dice{20240611u};
  for (int i = 0; i < 230; ++i) {
    const int x = dice(kW), y = dice(kH);
    const int glow = 70 + dice(186);
    const int tint = dice(3);
    const QColor c = tint == 0   ? QColor(glow * 3 / 4, glow * 7 / 8, glow)
                     : tint == 1 ? QColor(glow, glow, glow)
                                 : QColor(glow, glow * 7 / 8, glow * 2 / 3);
    layer.setPixelColor(x, y, c);
  }
  // A few bright stars with a cross of light.
  for (const QPoint& s : {QPoint(118, 24), QPoint(186, 12), QPoint(20, 128), QPoint(96, 72),
                          QPoint(176, 84), QPoint(60, 140)}) {
    layer.setPixelColor(s, QColor(0xFF, 0xFF, 0xFF));
    for (const QPoint& d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
      layer.setPixelColor(s + d, QColor(0x90, 0xA8, 0xD0));
  }
  // Earth, left behind, with its moon.
  const Palette earth = EarthColours(0.54, 0.82, 0.6, 3);
  PaintGlobe(layer, 42, 58, 24, earth, 0.4, 1.7);
  PaintSphere(layer, 82, 32, 5, 0, 0.5, [](Vec3 p, Vec3 n) {
    const double seas = Fbm(p.x * 2 + 3, p.y * 2, p.z * 2, 3, 5) > 0.55 ? 0.7 : 1.0;
    return Lit(QColor(0xC8, 0xC8, 0xC0), seas * (0.1 + Lambert(n)));
  });
  QImage sky(kW, kH, QImage::Format_RGB32);
  sky.fill(Qt::black);
  {
    QPainter p(&sky);
    p.drawImage(0, 0, layer);
  }
  Dither(sky, 9);
  return sky;
}

// The colony ship flying right: the engines, the sleeper modules on their spine, the command
// section at the nose. Its flame grows from frame to frame and its port lights blink.
QImage Ship(int frame) {
  QImage img = Canvas(199, 44, Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int k = 0; k < 3; ++k) {
    const double y = 15 + k * 7;
    const double length = 14 + frame * 9 + (k == 1 ? 6 : 0) - (frame == 2 && k != 1 ? 3 : 0);
    QLinearGradient fire(38 - length, 0, 38, 0);
    fire.setColorAt(0, QColor(0, 0, 0));
    fire.setColorAt(0.45, QColor(0xC0, 0x40, 0x10));
    fire.setColorAt(0.8, QColor(0xFF, 0xC0, 0x40));
    fire.setColorAt(1, QColor(0xFF, 0xFF, 0xE0));
    p.setPen(Qt::NoPen);
    p.setBrush(fire);
    p.drawEllipse(QRectF(38 - length, y - 3, length + 4, 6));
  }
  // Engine bells and the engine block.
  for (int k = 0; k < 3; ++k) {
    const double y = 15 + k * 7;
    QPainterPath bell;
    bell.moveTo(46, y - 2);
    bell.lineTo(36, y - 4);
    bell.lineTo(36, y + 4);
    bell.lineTo(46, y + 2);
    bell.closeSubpath();
    p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1));
    p.setBrush(Sheen(QRectF(36, y - 4, 10, 8), QColor(0x70, 0x70, 0x78)));
    p.drawPath(bell);
  }
  p.setBrush(Sheen(QRectF(44, 8, 22, 28), QColor(0x88, 0x8C, 0x98)));
  p.drawRect(QRectF(45, 9, 20, 26));
  p.setBrush(QColor(0xA0, 0x30, 0x30));
  p.drawPolygon(QPolygonF({QPointF(48, 9), QPointF(56, 2), QPointF(62, 9)}));
  p.drawPolygon(QPolygonF({QPointF(48, 35), QPointF(56, 42), QPointF(62, 35)}));
  // The spine and the sleeper modules.
  p.setPen(QPen(QColor(0x90, 0x94, 0x9C), 1.5));
  p.drawLine(QPointF(64, 20), QPointF(124, 20));
  p.drawLine(QPointF(64, 24), QPointF(124, 24));
  for (int x = 66; x < 124; x += 6)
    p.drawLine(QPointF(x, 20), QPointF(x + 3, 24));
  for (int m = 0; m < 4; ++m) {
    const QRectF pod(70 + m * 13, 11, 10, 22);
    p.setPen(QPen(QColor(0x40, 0x44, 0x50), 1));
    QLinearGradient round(0, 11, 0, 33);
    round.setColorAt(0, QColor(0xF0, 0xF4, 0xFF));
    round.setColorAt(0.4, QColor(0xC0, 0xC8, 0xD4));
    round.setColorAt(1, QColor(0x50, 0x58, 0x68));
    p.setBrush(round);
    p.drawRoundedRect(pod, 3, 3);
    p.fillRect(QRectF(71 + m * 13, 20, 8, 3), QColor(0x30, 0x90, 0xE0));
  }
  // The command section, its long nose pointing the way.
  QPainterPath hull;
  hull.moveTo(122, 12);
  hull.lineTo(168, 14);
  hull.cubicTo(184, 16, 194, 20, 195, 22);
  hull.cubicTo(194, 24, 184, 28, 168, 30);
  hull.lineTo(122, 32);
  hull.closeSubpath();
  QLinearGradient metal(0, 12, 0, 32);
  metal.setColorAt(0, QColor(0xF4, 0xF6, 0xFF));
  metal.setColorAt(0.45, QColor(0xC4, 0xC8, 0xD4));
  metal.setColorAt(1, QColor(0x48, 0x50, 0x60));
  p.setPen(QPen(QColor(0x50, 0x58, 0x68), 1));
  p.setBrush(metal);
  p.drawPath(hull);
  p.fillRect(QRectF(124, 25, 50, 2), QColor(0xC0, 0x30, 0x30));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x60, 0xE0, 0xFF));
  p.drawRoundedRect(QRectF(172, 18, 12, 4), 2, 2);
  p.setPen(QPen(QColor(0x90, 0x98, 0xA8), 1));
  p.drawLine(QPointF(134, 12), QPointF(134, 5));
  p.setBrush(Sheen(QRectF(128, 2, 12, 5), QColor(0xD0, 0xD4, 0xDC)));
  p.drawEllipse(QRectF(128, 2, 12, 5));
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 5; ++i) {
    const bool lit = (i + frame) % 3 != 0;
    p.setBrush(lit ? QColor(0xFF, 0xE0, 0x70) : QColor(0x40, 0x40, 0x48));
    p.drawRect(QRectF(128 + i * 8, 19, 3, 2));
  }
  return img;
}

QImage Logo() {
  QImage img = Canvas(180, 20, Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // The maker's mark: a star inside a ring.
  p.setPen(QPen(QColor(0x60, 0xC0, 0xD0), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(14, 10), 7.5, 7.5);
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    const double a = -1.5708 + i * 3.14159265 / 5;
    const double r = i % 2 == 0 ? 5.5 : 2.2;
    star << QPointF(14 + std::cos(a) * r, 10 + std::sin(a) * r);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xF0, 0xE0, 0x90));
  p.drawPolygon(star);
  QLinearGradient silver(0, 3, 0, 17);
  silver.setColorAt(0, QColor(0xF8, 0xFA, 0xFF));
  silver.setColorAt(1, QColor(0x88, 0x90, 0xA8));
  p.setFont(SmoothFace(QStringLiteral("DejaVu Serif"), 15, true));
  p.setPen(QPen(QBrush(silver), 1));
  p.drawText(QRect(27, 0, 90, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Tellivar"));
  p.setFont(SmoothFace(QStringLiteral("DejaVu Sans"), 10, false));
  p.setPen(QColor(0x90, 0x98, 0xB0));
  p.drawText(QRect(112, 1, 66, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("presents"));
  return img;
}

QImage Lettering() {
  QImage img = Canvas(143, 18, Qt::black);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font = SmoothFace(QStringLiteral("DejaVu Sans"), 16, true);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
  p.setFont(font);
  // A dark rim first, then gold running from pale at the top to deep at the foot.
  p.setPen(QColor(0x50, 0x18, 0x00));
  for (const QPoint& d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1), QPoint(1, 1)})
    p.drawText(img.rect().translated(d), Qt::AlignCenter, QStringLiteral("QUELMARIN"));
  QLinearGradient gold(0, 2, 0, 16);
  gold.setColorAt(0, QColor(0xFF, 0xFA, 0xD0));
  gold.setColorAt(0.5, QColor(0xFF, 0xD0, 0x50));
  gold.setColorAt(1, QColor(0xD0, 0x70, 0x10));
  p.setPen(QPen(QBrush(gold), 1));
  p.drawText(img.rect(), Qt::AlignCenter, QStringLiteral("QUELMARIN"));
  return img;
}

}  // namespace

bool DrawTitlePictures(const QString& dir) {
  bool ok = Save(Sky(), dir, "title");
  for (int frame = 1; frame <= 3; ++frame)
    ok &= Save(Ship(frame), dir, QString("alone%1").arg(frame));
  ok &= Save(Logo(), dir, "logo");
  ok &= Save(Lettering(), dir, "title_a");
  return ok;
}

}  // namespace qm::art
