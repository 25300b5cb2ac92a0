// The made things a pilot flies up to: the buoys of five expeditions, each fleet with its own
// design so a pilot learns whose trail he is on, the repair dock, the energy station, the
// resource depot and the supply point. Hard shapes are keyed at half cover; lamps and glows are
// dithered out so they fade into the view.
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>

#include "paint.h"
#include "pictures.h"
#include "sphere.h"

namespace qm::art {
namespace {

constexpr int kSide = 128;

// Two layers per picture: the glows under, the hard shapes over.
struct Sketch {
  QImage glow = Layer(kSide, kSide);
  QImage solid = Layer(kSide, kSide);
  QImage Finish() const {
    QImage out = Over(KeyedDithered(glow), Keyed(solid));
    Dither(out, 9);
    return out;
  }
};

void Strut(QPainter& p, QPointF a, QPointF b, double width, QColor c) {
  p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(a, b);
}

// A wing of solar cells: dark blue glass in a thin frame, ruled into cells.
void SolarPanel(QPainter& p, const QRectF& r, int columns, int rows) {
  p.setPen(QPen(QColor(0x90, 0x98, 0xA8), 1));
  p.setBrush(Sheen(r, QColor(0x18, 0x30, 0x78)));
  p.drawRect(r);
  p.setPen(QPen(QColor(0x0A, 0x14, 0x38), 1));
  for (int i = 1; i < columns; ++i) {
    const double x = r.left() + r.width() * i / columns;
    p.drawLine(QPointF(x, r.top() + 1), QPointF(x, r.bottom() - 1));
  }
  for (int i = 1; i < rows; ++i) {
    const double y = r.top() + r.height() * i / rows;
    p.drawLine(QPointF(r.left() + 1, y), QPointF(r.right() - 1, y));
  }
}

// A lamp: a bright bead with a white heart.
void Lamp(QPainter& p, QPointF c, double r, QColor colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(c, r, r);
  p.setBrush(Lit(colour, 1.7));
  p.drawEllipse(c - QPointF(r * 0.3, r * 0.3), r * 0.45, r * 0.45);
}

void Ball(QPainter& p, QPointF c, double r, QColor base) {
  QRadialGradient g(c - QPointF(r * 0.4, r * 0.45), r * 1.5);
  g.setColorAt(0, Lit(base, 1.6));
  g.setColorAt(0.5, base);
  g.setColorAt(1, Lit(base, 0.25));
  p.setPen(QPen(Lit(base, 0.3), 1));
  p.setBrush(g);
  p.drawEllipse(c, r, r);
}

// Kind 1, the Altair fleet, the old trail: a silver ball with an aqua girdle, two cell wings
// and a red beacon on its mast.
QImage AltairBuoy() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {64, 16}, 22, QColor(0xFF, 0x40, 0x30));
  }
  SmoothPainter p(s.solid);
  Strut(p, {20, 68}, {108, 68}, 3, QColor(0x80, 0x88, 0x98));
  SolarPanel(p, QRectF(4, 54, 30, 28), 3, 3);
  SolarPanel(p, QRectF(94, 54, 30, 28), 3, 3);
  Strut(p, {64, 22}, {64, 50}, 3, QColor(0xA0, 0xA8, 0xB8));
  Strut(p, {64, 86}, {64, 108}, 3, QColor(0x70, 0x78, 0x88));
  p.setPen(QPen(QColor(0x00, 0x90, 0xA0), 4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(30, 60, 68, 16), 0, 180 * 16);  // the girdle behind the ball
  Ball(p, {64, 68}, 21, QColor(0xC8, 0xCC, 0xD8));
  p.setPen(QPen(QColor(0x20, 0xF0, 0xFF), 4));
  p.drawArc(QRectF(30, 60, 68, 16), 180 * 16, 180 * 16);  // and in front of it
  p.setPen(QPen(QColor(0x50, 0x58, 0x68), 1));
  p.setBrush(Sheen(QRectF(52, 106, 24, 8), QColor(0xB0, 0xB8, 0xC8)));
  p.drawEllipse(QRectF(52, 106, 24, 8));
  Lamp(p, {64, 16}, 5, QColor(0xFF, 0x30, 0x20));
  return s.Finish();
}

// Kind 2, the Vega emigrants: a green crystal on a halo, lit from within.
QImage VegaBuoy() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {64, 64}, 52, QColor(0x40, 0xFF, 0x90, 200));
  }
  SmoothPainter p(s.solid);
  const QPointF top(64, 8), bottom(64, 120), left(32, 64), right(96, 64), front(70, 58);
  p.setPen(QPen(QColor(0x30, 0x90, 0x60), 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(14, 56, 100, 18), 0, 180 * 16);
  auto facet = [&](QPointF a, QPointF b, QPointF c, QColor col) {
    p.setPen(QPen(Lit(col, 0.45), 1));
    p.setBrush(col);
    p.drawPolygon(QPolygonF({a, b, c}));
  };
  facet(top, left, front, QColor(0x90, 0xFF, 0xC0));
  facet(top, front, right, QColor(0x30, 0xC0, 0x80));
  facet(bottom, left, front, QColor(0x20, 0x90, 0x60));
  facet(bottom, front, right, QColor(0x10, 0x58, 0x40));
  // The heart of the crystal.
  Lamp(p, front + QPointF(-4, 4), 5, QColor(0xC0, 0xFF, 0xD0));
  // Fins at the waist.
  for (int side : {-1, 1}) {
    const QPointF tip(64 + side * 32, 64);
    facet(tip, tip + QPointF(side * 14, -12), tip + QPointF(side * 5, 10),
          QColor(0x70, 0xD8, 0xA8));
  }
  p.setPen(QPen(QColor(0x80, 0xFF, 0xB0), 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(14, 56, 100, 18), 180 * 16, 180 * 16);
  return s.Finish();
}

// Kind 8, the Hermit probes: a gold-foiled box under a great white dish, booms out to the sides.
QImage HermitProbe() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {84, 94}, 14, QColor(0xFF, 0xA0, 0x20));
  }
  SmoothPainter p(s.solid);
  Strut(p, {76, 72}, {122, 56}, 2, QColor(0xA0, 0xA0, 0xA0));
  Strut(p, {52, 90}, {16, 112}, 2, QColor(0x90, 0x90, 0x90));
  Strut(p, {70, 92}, {108, 124}, 1, QColor(0xD0, 0xD0, 0xD0));
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
  p.setBrush(Sheen(QRectF(8, 104, 16, 14), QColor(0x58, 0x58, 0x60)));
  p.drawRect(QRectF(8, 104, 14, 12));  // the power pile
  p.setBrush(Sheen(QRectF(114, 50, 10, 12), QColor(0xA0, 0xA8, 0xB0)));
  p.drawRect(QRectF(114, 50, 8, 10));
  // Gold foil, crinkled.
  const QRectF body(46, 62, 34, 34);
  p.setPen(QPen(QColor(0x60, 0x40, 0x08), 1));
  p.setBrush(Sheen(body, QColor(0xD8, 0xA0, 0x28)));
  p.drawRect(body);
  p.setPen(QPen(QColor(0xFF, 0xE0, 0x80), 1));
  p.drawLine(QPointF(50, 70), QPointF(62, 66));
  p.drawLine(QPointF(52, 80), QPointF(70, 74));
  p.setPen(QPen(QColor(0x80, 0x58, 0x10), 1));
  p.drawLine(QPointF(56, 90), QPointF(76, 84));
  // The dish, turned to the upper left, with its feed.
  p.save();
  p.translate(46, 42);
  p.rotate(-32);
  QRadialGradient bowl(QPointF(-8, -2), 34);
  bowl.setColorAt(0, QColor(0xFF, 0xFF, 0xFF));
  bowl.setColorAt(0.7, QColor(0xB8, 0xC0, 0xCC));
  bowl.setColorAt(1, QColor(0x60, 0x68, 0x78));
  p.setPen(QPen(QColor(0x40, 0x48, 0x58), 1));
  p.setBrush(bowl);
  p.drawEllipse(QRectF(-32, -13, 64, 26));
  Strut(p, {0, 0}, {0, -22}, 2, QColor(0x70, 0x70, 0x78));
  p.restore();
  Strut(p, {54, 62}, {46, 46}, 3, QColor(0x80, 0x80, 0x88));
  Lamp(p, {84, 94}, 3, QColor(0xFF, 0xA0, 0x20));
  return s.Finish();
}

// Kind 9, distress beacons: a red and white capsule under a flashing dome, light beaming out.
QImage DistressBeacon() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {64, 24}, 44, QColor(0xFF, 0x20, 0x20));
    g.setPen(QPen(QColor(0xFF, 0x60, 0x40, 180), 3));
    for (int i = 0; i < 8; ++i) {
      const double a = i * 3.14159 / 4 + 0.39;
      g.drawLine(QPointF(64 + std::cos(a) * 12, 24 + std::sin(a) * 12),
                 QPointF(64 + std::cos(a) * 56, 24 + std::sin(a) * 56));
    }
  }
  SmoothPainter p(s.solid);
  QPainterPath pill;
  pill.addRoundedRect(QRectF(44, 30, 40, 78), 18, 18);
  p.setClipPath(pill);
  for (int band = 0; band < 6; ++band) {
    const QRectF r(44, 30 + band * 13, 40, 13);
    p.fillRect(r, band % 2 == 0 ? QColor(0xE0, 0x20, 0x20) : QColor(0xF0, 0xF0, 0xF0));
  }
  // Shade the round body over its stripes.
  QLinearGradient round(44, 0, 84, 0);
  round.setColorAt(0, QColor(0, 0, 0, 30));
  round.setColorAt(0.3, QColor(255, 255, 255, 90));
  round.setColorAt(1, QColor(0, 0, 0, 170));
  p.fillRect(QRectF(44, 30, 40, 78), round);
  p.setClipping(false);
  p.setPen(QPen(QColor(0x50, 0x10, 0x10), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawPath(pill);
  p.setFont(Face(QStringLiteral("DejaVu Sans"), 11, true));
  p.setPen(QColor(0xC0, 0x10, 0x10));
  p.drawText(QRectF(44, 56, 38, 13), Qt::AlignCenter, QStringLiteral("SOS"));
  Strut(p, {54, 108}, {48, 122}, 2, QColor(0x90, 0x90, 0x98));
  Strut(p, {74, 108}, {80, 122}, 2, QColor(0x90, 0x90, 0x98));
  p.setPen(QPen(QColor(0x60, 0x60, 0x68), 1));
  p.setBrush(Sheen(QRectF(52, 26, 24, 8), QColor(0x90, 0x98, 0xA8)));
  p.drawRect(QRectF(52, 26, 24, 7));
  Lamp(p, {64, 22}, 8, QColor(0xFF, 0x28, 0x18));
  return s.Finish();
}

// Kind 10, the Orion relays: a blue ring on three spokes round a bright core.
QImage OrionRelay() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {64, 64}, 34, QColor(0x60, 0xA0, 0xFF));
  }
  SmoothPainter p(s.solid);
  const QRectF outer(8, 42, 112, 44), inner(22, 51, 84, 26);
  QPainterPath ring;
  ring.addEllipse(outer);
  ring.addEllipse(inner);
  auto draw_ring = [&] {
    p.setPen(QPen(QColor(0x18, 0x20, 0x50), 1));
    p.setBrush(Sheen(outer, QColor(0x50, 0x68, 0xB0)));
    p.drawPath(ring);
    for (double a : {0.5, 2.6, 4.7}) {
      const QPointF pod(64 + std::cos(a) * 50, 64 + std::sin(a) * 19);
      p.setPen(QPen(QColor(0x20, 0x20, 0x40), 1));
      p.setBrush(Sheen(QRectF(pod.x() - 6, pod.y() - 5, 12, 10), QColor(0xB0, 0xB8, 0xD0)));
      p.drawRect(QRectF(pod.x() - 5, pod.y() - 4, 10, 8));
      Lamp(p, pod + QPointF(0, -5), 2, QColor(0x40, 0xFF, 0xFF));
    }
  };
  draw_ring();
  Strut(p, {64, 20}, {64, 108}, 2, QColor(0x90, 0x98, 0xB0));
  for (double a : {0.5, 2.6, 4.7}) {
    Strut(p, {64, 64}, {64 + std::cos(a) * 46, 64 + std::sin(a) * 17}, 2, QColor(0x80, 0x88, 0xA8));
  }
  Ball(p, {64, 64}, 12, QColor(0x90, 0xC0, 0xFF));
  Lamp(p, {64, 18}, 3, QColor(0x40, 0xFF, 0xFF));
  // The near half of the ring passes in front of the core.
  p.setClipRect(QRectF(0, 66, kSide, kSide));
  draw_ring();
  return s.Finish();
}

// A girder drawn as two rails with a zigzag between them.
void Truss(QPainter& p, QPointF a, QPointF b, double width, QColor c) {
  const QPointF d = b - a;
  const double len = std::hypot(d.x(), d.y());
  const QPointF n(-d.y() / len * width / 2, d.x() / len * width / 2);
  p.setPen(QPen(c, 1.6));
  p.drawLine(a + n, b + n);
  p.drawLine(a - n, b - n);
  const int steps = static_cast<int>(len / width);
  for (int i = 0; i < steps; ++i) {
    const QPointF u = a + d * (static_cast<double>(i) / steps);
    const QPointF v = a + d * (static_cast<double>(i + 1) / steps);
    p.drawLine(u + (i % 2 ? n : -n), v + (i % 2 ? -n : n));
  }
}

// Kind 3, the repair dock: a striped hub on a long girder with clamps, and a crane.
QImage RepairDock() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {100, 22}, 16, QColor(0xFF, 0xF0, 0xA0));
    Glow(g, {20, 54}, 10, QColor(0x40, 0xFF, 0x60));
    Glow(g, {108, 54}, 10, QColor(0x40, 0xFF, 0x60));
  }
  SmoothPainter p(s.solid);
  Truss(p, {6, 64}, {122, 64}, 10, QColor(0xB0, 0xB0, 0xA0));
  for (int side : {-1, 1}) {
    const double x = 64 + side * 56;
    p.setPen(QPen(QColor(0x40, 0x30, 0x00), 1));
    p.setBrush(Sheen(QRectF(x - 6, 50, 12, 28), QColor(0xE8, 0xB8, 0x20)));
    p.drawRect(QRectF(x - 5, 52, 10, 24));
  }
  Truss(p, {70, 50}, {100, 18}, 6, QColor(0xD0, 0xB0, 0x40));
  Strut(p, {100, 18}, {100, 34}, 1, QColor(0xC0, 0xC0, 0xC0));
  p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(96, 32, 8, 8), 180 * 16, 200 * 16);
  // The hub: a hexagon with a band of warning stripes.
  QPolygonF hex;
  for (int i = 0; i < 6; ++i) {
    const double a = i * 3.14159 / 3 + 3.14159 / 6;
    hex << QPointF(64 + std::cos(a) * 26, 66 + std::sin(a) * 26);
  }
  p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1.5));
  p.setBrush(Sheen(QRectF(38, 40, 52, 52), QColor(0x98, 0x9C, 0xA8)));
  p.drawPolygon(hex);
  QPainterPath clip;
  clip.addPolygon(hex);
  p.setClipPath(clip);
  for (int i = -4; i < 10; ++i) {
    const double x = 36 + i * 8;
    p.setPen(Qt::NoPen);
    p.setBrush(i % 2 ? QColor(0x20, 0x20, 0x20) : QColor(0xF0, 0xC0, 0x10));
    p.drawPolygon(
        QPolygonF({QPointF(x, 80), QPointF(x + 8, 80), QPointF(x + 16, 72), QPointF(x + 8, 72)}));
  }
  p.setClipping(false);
  // The bay door.
  p.setPen(QPen(QColor(0x20, 0x20, 0x28), 1));
  p.setBrush(QColor(0x28, 0x30, 0x40));
  p.drawRect(QRectF(54, 50, 20, 16));
  p.setBrush(QColor(0x90, 0xD0, 0xFF));
  p.drawRect(QRectF(56, 52, 16, 4));
  Lamp(p, {20, 54}, 3, QColor(0x40, 0xFF, 0x60));
  Lamp(p, {108, 54}, 3, QColor(0x40, 0xFF, 0x60));
  Lamp(p, {100, 22}, 3, QColor(0xFF, 0xF0, 0xA0));
  return s.Finish();
}

// Kind 4, the energy station: a small sun held in rings on a cross of cell wings.
QImage EnergyStation() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {64, 64}, 40, QColor(0xFF, 0xE0, 0x40));
  }
  SmoothPainter p(s.solid);
  Strut(p, {6, 64}, {122, 64}, 3, QColor(0x90, 0x98, 0xA8));
  Strut(p, {64, 6}, {64, 122}, 3, QColor(0x90, 0x98, 0xA8));
  SolarPanel(p, QRectF(4, 54, 32, 20), 4, 2);
  SolarPanel(p, QRectF(92, 54, 32, 20), 4, 2);
  SolarPanel(p, QRectF(54, 4, 20, 32), 2, 4);
  SolarPanel(p, QRectF(54, 92, 20, 32), 2, 4);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x30, 0xE0, 0xF0), 2));
  p.drawEllipse(QPointF(64, 64), 27, 11);
  p.setPen(QPen(QColor(0x20, 0xA0, 0xC0), 2));
  p.drawEllipse(QPointF(64, 64), 11, 27);
  QRadialGradient sun(QPointF(61, 61), 18);
  sun.setColorAt(0, QColor(0xFF, 0xFF, 0xF0));
  sun.setColorAt(0.5, QColor(0xFF, 0xE8, 0x60));
  sun.setColorAt(1, QColor(0xF0, 0x90, 0x10));
  p.setPen(Qt::NoPen);
  p.setBrush(sun);
  p.drawEllipse(QPointF(64, 64), 16, 16);
  // Sparks leaping to the cage.
  p.setPen(QPen(QColor(0xC0, 0xFF, 0xFF), 1.2));
  const QPointF arcs[][4] = {{{76, 58}, {82, 54}, {85, 59}, {90, 55}},
                             {{52, 72}, {46, 75}, {44, 70}, {38, 73}},
                             {{60, 50}, {57, 45}, {62, 42}, {59, 37}}};
  for (const auto& a : arcs)
    p.drawPolyline(a, 4);
  return s.Finish();
}

// Kind 7, the resource depot: a mined rock with a derrick and a stack of ore containers.
QImage ResourceDepot() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {54, 10}, 14, QColor(0xFF, 0x90, 0x30));
    Glow(g, {30, 96}, 10, QColor(0xFF, 0xF0, 0xC0));
  }
  PaintRock(s.solid, 56, 74, 38, 7, QColor(0x9A, 0x74, 0x50), 0.2, 4);
  SmoothPainter p(s.solid);
  // The derrick on top of the rock.
  p.setPen(QPen(QColor(0xC8, 0xC0, 0xB0), 1.5));
  p.drawLine(QPointF(46, 42), QPointF(54, 12));
  p.drawLine(QPointF(62, 42), QPointF(54, 12));
  for (int y = 18; y < 42; y += 6)
    p.drawLine(QPointF(54 - (y - 12) * 0.27, y), QPointF(54 + (y - 12) * 0.27, y + 3));
  // Ore containers clamped to the flank.
  for (int i = 0; i < 3; ++i) {
    const QRectF box(86, 52 + i * 15, 34, 13);
    p.setPen(QPen(QColor(0x50, 0x20, 0x00), 1));
    p.setBrush(Sheen(box, i == 1 ? QColor(0xD0, 0x60, 0x18) : QColor(0xE8, 0x80, 0x20)));
    p.drawRect(box);
    p.setPen(QPen(QColor(0x80, 0x38, 0x08), 1));
    for (int x = 94; x < 120; x += 8)
      p.drawLine(QPointF(x, box.top() + 2), QPointF(x, box.bottom() - 2));
  }
  Strut(p, {78, 66}, {86, 66}, 3, QColor(0x90, 0x90, 0x98));
  Strut(p, {78, 84}, {86, 84}, 3, QColor(0x90, 0x90, 0x98));
  Lamp(p, {54, 10}, 3, QColor(0xFF, 0x90, 0x30));
  Lamp(p, {30, 96}, 2.5, QColor(0xFF, 0xF0, 0xC0));
  return s.Finish();
}

// Kind 17, the supply point: a white cargo module with green marks between two round tanks.
QImage SupplyPoint() {
  Sketch s;
  {
    SmoothPainter g(s.glow);
    Glow(g, {8, 64}, 12, QColor(0x40, 0xFF, 0x60));
    Glow(g, {120, 64}, 12, QColor(0x40, 0xFF, 0x60));
  }
  SmoothPainter p(s.solid);
  Strut(p, {64, 46}, {64, 18}, 2, QColor(0xA0, 0xA8, 0xB0));
  p.setPen(QPen(QColor(0x40, 0x48, 0x50), 1));
  p.setBrush(Sheen(QRectF(54, 10, 20, 10), QColor(0xD0, 0xD8, 0xE0)));
  p.drawEllipse(QRectF(54, 12, 20, 8));
  Ball(p, {28, 64}, 18, QColor(0xC0, 0xC8, 0xC8));
  Ball(p, {100, 64}, 18, QColor(0xC0, 0xC8, 0xC8));
  const QRectF body(36, 44, 56, 40);
  QLinearGradient round(0, 44, 0, 84);
  round.setColorAt(0, QColor(0xF8, 0xFC, 0xFF));
  round.setColorAt(0.35, QColor(0xD8, 0xE0, 0xE4));
  round.setColorAt(1, QColor(0x58, 0x60, 0x68));
  p.setPen(QPen(QColor(0x38, 0x40, 0x48), 1));
  p.setBrush(round);
  p.drawRoundedRect(body, 5, 5);
  p.fillRect(QRectF(37, 48, 54, 4), QColor(0x20, 0xA0, 0x40));
  p.fillRect(QRectF(37, 76, 54, 4), QColor(0x18, 0x70, 0x30));
  // The supply cross.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0xC0, 0x50));
  p.drawRect(QRectF(60, 55, 8, 18));
  p.drawRect(QRectF(55, 60, 18, 8));
  Lamp(p, {8, 64}, 3, QColor(0x40, 0xFF, 0x60));
  Lamp(p, {120, 64}, 3, QColor(0x40, 0xFF, 0x60));
  Strut(p, {10, 64}, {12, 64}, 2, QColor(0x90, 0x90, 0x90));
  return s.Finish();
}

}  // namespace

bool DrawBeaconPictures(const QString& dir) {
  bool ok = true;
  ok &= SaveKeyed(AltairBuoy(), dir, "bui1");
  ok &= SaveKeyed(VegaBuoy(), dir, "bui2");
  ok &= SaveKeyed(RepairDock(), dir, "bui3");
  ok &= SaveKeyed(EnergyStation(), dir, "bui4");
  ok &= SaveKeyed(ResourceDepot(), dir, "bui7");
  ok &= SaveKeyed(HermitProbe(), dir, "bui8");
  ok &= SaveKeyed(DistressBeacon(), dir, "bui9");
  ok &= SaveKeyed(OrionRelay(), dir, "bui10");
  ok &= SaveKeyed(SupplyPoint(), dir, "bui17");
  return ok;
}

}  // namespace qm::art
