// The things found drifting: a comet trailing its two tails, the wreck of an earlier ship, a
// message in a bottle, and the warp, a swirling gate in a ring of pylons.
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "paint.h"
#include "pictures.h"
#include "sphere.h"

namespace qm::art {
namespace {

constexpr int kSide = 128;

QColor WithAlpha(QColor c, double a) {
  c.setAlpha(static_cast<int>(255 * std::clamp(a, 0.0, 1.0)));
  return c;
}

// Kind 11: an icy head low on the right, its blue gas tail straight to the upper left and its
// pale dust tail curving beside it.
QImage Comet() {
  QImage glow = Layer(kSide, kSide);
  const double hx = 92, hy = 92;
  const double ax = -std::sqrt(0.5), ay = -std::sqrt(0.5);  // along the tails
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const double dx = x + 0.5 - hx, dy = y + 0.5 - hy;
      const double t = dx * ax + dy * ay;   // distance down the tail
      const double s = -dx * ay + dy * ax;  // distance across it
      double a = 0;
      QColor c(0xA0, 0xE0, 0xFF);
      const double coma = std::exp(-(dx * dx + dy * dy) / 260.0);
      a = coma;
      if (t > 0) {
        const double fade = std::clamp(1 - t / 125, 0.0, 1.0);
        const double ion_w = 2.5 + t * 0.06;
        const double ion = std::exp(-(s * s) / (ion_w * ion_w)) * fade *
                           (0.75 + 0.5 * Fbm(t * 0.08, s * 0.3, 1, 3, 31));
        const double bend = s + t * t * 0.0032;
        const double dust_w = 4 + t * 0.22;
        const double dust = std::exp(-(bend * bend) / (dust_w * dust_w)) * fade * 0.85;
        if (dust > ion && dust > a) {
          c = QColor(0xFF, 0xF0, 0xC8);
          a = dust;
        } else if (ion > a) {
          c = QColor(0x60, 0xB0, 0xFF);
          a = ion;
        }
      }
      glow.setPixelColor(x, y, WithAlpha(c, a * 1.1));
    }
  }
  QImage head = Layer(kSide, kSide);
  PaintRock(head, hx, hy, 9, 11, QColor(0xC8, 0xE8, 0xFF), 0.25, 1);
  QImage out = Over(KeyedDithered(glow), Keyed(head));
  Dither(out, 9);
  return out;
}

// Kind 15: the broken halves of an old hull, scorched where they parted, with loose plates.
QImage Wreck() {
  QImage layer = Layer(kSide, kSide);
  SmoothPainter p(layer);
  // Drawn a little small, then blown up to fill the picture.
  p.translate(64, 64);
  p.scale(1.1, 1.1);
  p.translate(-66, -64);
  const QColor hull(0x88, 0x84, 0x7C);
  auto half = [&](const QPolygonF& shape, const QPointF& scorch) {
    p.setPen(QPen(QColor(0x28, 0x24, 0x20), 1.5));
    p.setBrush(Sheen(shape.boundingRect(), hull));
    p.drawPolygon(shape);
    QPainterPath clip;
    clip.addPolygon(shape);
    p.save();
    p.setClipPath(clip);
    // Plating seams and rust.
    p.setPen(QPen(QColor(0x50, 0x4C, 0x44), 1));
    for (int i = -8; i < 16; ++i)
      p.drawLine(QPointF(i * 10, 0), QPointF(i * 10 + 70, 128));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x90, 0x50, 0x28, 150));
    p.drawEllipse(shape.boundingRect().center() + QPointF(6, 4), 9, 5);
    QRadialGradient burn(scorch, 26);
    burn.setColorAt(0, QColor(0x10, 0x08, 0x04, 240));
    burn.setColorAt(1, QColor(0x10, 0x08, 0x04, 0));
    p.setBrush(burn);
    p.drawEllipse(scorch, 26, 26);
    p.restore();
  };
  // The bow, nose to the upper left, torn off at the waist.
  half(QPolygonF({{10, 34},
                  {22, 22},
                  {52, 30},
                  {60, 38},
                  {56, 44},
                  {64, 50},
                  {58, 58},
                  {62, 66},
                  {46, 64},
                  {16, 48}}),
       {62, 52});
  // The stern, drifting apart and turned, its engine bells dark.
  half(QPolygonF({{74, 58},
                  {82, 52},
                  {80, 62},
                  {90, 60},
                  {86, 70},
                  {118, 92},
                  {110, 108},
                  {76, 90},
                  {70, 78},
                  {76, 72}}),
       {76, 64});
  p.setPen(QPen(QColor(0x30, 0x30, 0x34), 1));
  p.setBrush(Sheen(QRectF(104, 96, 20, 20), QColor(0x50, 0x50, 0x58)));
  p.drawEllipse(QRectF(108, 98, 14, 10));
  p.drawEllipse(QRectF(102, 108, 12, 9));
  // Ribs showing at the tear.
  p.setPen(QPen(QColor(0x70, 0x68, 0x60), 1.5));
  for (int i = 0; i < 4; ++i) {
    p.drawLine(QPointF(58 + i * 2, 42 + i * 6), QPointF(66 + i * 2, 40 + i * 6));
    p.drawLine(QPointF(78 - i, 62 + i * 6), QPointF(72 - i, 66 + i * 6));
  }
  // Cabin windows along the bow, one still lit.
  for (int i = 0; i < 4; ++i) {
    p.setPen(Qt::NoPen);
    p.setBrush(i == 1 ? QColor(0xFF, 0xD0, 0x60) : QColor(0x18, 0x1C, 0x24));
    p.drawRect(QRectF(22 + i * 8, 32 + i * 2.5, 4, 3));
  }
  // Loose plates and bolts tumbling away.
  const QPolygonF bits[] = {{{98, 20}, {108, 24}, {102, 30}},
                            {{30, 90}, {38, 86}, {40, 96}, {32, 98}},
                            {{86, 34}, {92, 36}, {88, 40}},
                            {{56, 100}, {62, 104}, {58, 108}}};
  for (const QPolygonF& bit : bits) {
    p.setPen(QPen(QColor(0x30, 0x2C, 0x28), 1));
    p.setBrush(Sheen(bit.boundingRect(), hull));
    p.drawPolygon(bit);
  }
  // A dying red light on the stern.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xFF, 0x30, 0x20));
  p.drawEllipse(QPointF(96, 74), 2.5, 2.5);
  p.end();
  QImage out = Keyed(layer);
  Dither(out, 9);
  return out;
}

// Kind 16: a green glass bottle, corked, with a rolled letter inside tied with red.
QImage Bottle() {
  QImage layer = Layer(kSide, kSide);
  SmoothPainter p(layer);
  // Glints of light round the glass.
  for (const QPointF& s : {QPointF(30, 36), QPointF(36, 100), QPointF(96, 30)}) {
    p.setPen(QPen(QColor(0xE0, 0xFF, 0xF0), 1.5));
    p.drawLine(s - QPointF(5, 0), s + QPointF(5, 0));
    p.drawLine(s - QPointF(0, 5), s + QPointF(0, 5));
  }
  p.translate(64, 64);
  p.rotate(-38);
  QPainterPath glass;
  glass.addRoundedRect(QRectF(-20, -8, 40, 58), 12, 12);
  QPainterPath neck;
  neck.moveTo(-10, -4);
  neck.cubicTo(-10, -18, -7, -24, -7, -34);
  neck.lineTo(7, -34);
  neck.cubicTo(7, -24, 10, -18, 10, -4);
  glass = glass.united(neck);
  QLinearGradient body(-20, 0, 20, 0);
  body.setColorAt(0, QColor(0x10, 0x50, 0x30));
  body.setColorAt(0.25, QColor(0x60, 0xC0, 0x80));
  body.setColorAt(0.6, QColor(0x20, 0x80, 0x50));
  body.setColorAt(1, QColor(0x08, 0x30, 0x20));
  p.setPen(QPen(QColor(0x08, 0x28, 0x18), 1.5));
  p.setBrush(body);
  p.drawPath(glass);
  // The letter seen through the glass.
  p.setPen(QPen(QColor(0x80, 0x78, 0x50), 1));
  p.setBrush(QColor(0xD8, 0xD8, 0xA8));
  p.drawRoundedRect(QRectF(-9, 2, 18, 40), 8, 4);
  p.setPen(QPen(QColor(0x98, 0x90, 0x68), 1));
  p.drawLine(QPointF(-4, 6), QPointF(-4, 38));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xC0, 0x20, 0x30));
  p.drawRect(QRectF(-9.5, 19, 19, 4));
  // Light on the glass.
  p.setBrush(QColor(0xE0, 0xFF, 0xF0, 220));
  p.drawRoundedRect(QRectF(-15, -2, 4, 40), 2, 2);
  p.drawRect(QRectF(-5, -30, 2, 18));
  // The cork.
  p.setPen(QPen(QColor(0x50, 0x30, 0x10), 1));
  p.setBrush(Sheen(QRectF(-8, -44, 16, 12), QColor(0xB8, 0x80, 0x48)));
  p.drawRect(QRectF(-7, -43, 14, 10));
  p.end();
  QImage out = Keyed(layer);
  Dither(out, 9);
  return out;
}

// Kind 18: a gate of eight pylons round a whirl of violet and aqua light, bright at its eye.
QImage Warp() {
  QImage glow = Layer(kSide, kSide);
  const double c = 64, rim = 50;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c;
      const double r = std::sqrt(dx * dx + dy * dy);
      if (r > rim + 6) continue;
      const double a = std::atan2(dy, dx);
      const double spiral = std::sin(4 * a + 9 * std::log(r / rim + 0.05) +
                                     2.5 * Fbm(dx * 0.05, dy * 0.05, 0, 3, 18));
      const double t = r / rim;
      QColor col = t < 0.2 ? Mix(QColor(0xFF, 0xFF, 0xFF), QColor(0x90, 0xFF, 0xFF), t / 0.2)
                   : t < 0.6
                       ? Mix(QColor(0x90, 0xFF, 0xFF), QColor(0x90, 0x40, 0xFF), (t - 0.2) / 0.4)
                       : Mix(QColor(0x90, 0x40, 0xFF), QColor(0x30, 0x08, 0x60), (t - 0.6) / 0.4);
      col = Lit(col, 0.65 + 0.45 * spiral);
      const double alpha = std::clamp((1.08 - t) * 3, 0.0, 1.0) * (0.72 + 0.35 * spiral);
      glow.setPixelColor(x, y, WithAlpha(col, alpha));
    }
  }
  QImage ring = Layer(kSide, kSide);
  {
    SmoothPainter p(ring);
    p.setPen(QPen(QColor(0x60, 0x68, 0x80), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(c, c), rim + 4, rim + 4);
    for (int i = 0; i < 8; ++i) {
      p.save();
      p.translate(c, c);
      p.rotate(i * 45 + 22.5);
      p.setPen(QPen(QColor(0x20, 0x20, 0x30), 1));
      p.setBrush(Sheen(QRectF(rim - 2, -5, 14, 10), QColor(0xA0, 0xA8, 0xC0)));
      p.drawRect(QRectF(rim - 1, -4, 12, 8));
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xE0, 0x90, 0xFF));
      p.drawRect(QRectF(rim + 1, -1.5, 3, 3));
      p.restore();
    }
  }
  QImage out = Over(KeyedDithered(glow), Keyed(ring));
  Dither(out, 9);
  return out;
}

}  // namespace

bool DrawBodyPictures(const QString& dir) {
  bool ok = true;
  ok &= SaveKeyed(Comet(), dir, "bui11");
  ok &= SaveKeyed(Wreck(), dir, "bui15");
  ok &= SaveKeyed(Bottle(), dir, "bui16");
  ok &= SaveKeyed(Warp(), dir, "bui18");
  return ok;
}

}  // namespace qm::art
