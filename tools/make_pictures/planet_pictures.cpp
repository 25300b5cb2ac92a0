// The worlds among the chart points: three Earth-type planets a survey team can land on, each
// with its own seas, lands and weather; the special planet, a ringed giant; and the gravity body,
// a dark mass inside its glowing ring.
#include <algorithm>
#include <cmath>

#include "globe.h"
#include "paint.h"
#include "pictures.h"
#include "sphere.h"

namespace qm::art {
namespace {

constexpr int kSide = 128;
constexpr double kCentre = 64;

QImage EarthType(const Palette& pal, double radius, double tilt, double spin) {
  QImage layer = Layer(kSide, kSide);
  PaintGlobe(layer, kCentre, kCentre, radius, pal, tilt, spin);
  QImage out = Keyed(layer, 96);
  Dither(out, 9);
  return out;
}

QColor Mix3(double t, QColor a, QColor b, QColor c) {
  return t < 0.5 ? Mix(a, b, t * 2) : Mix(b, c, t * 2 - 1);
}

// A banded giant with a wide ring, seen from a little above the ring's plane.
QImage RingedGiant() {
  QImage layer = Layer(kSide, kSide);
  const double r = 33;
  const double angle = -0.32;  // the ring's slant
  const double flat = 0.34;    // how open the ring is
  auto ring_colour = [](double rr) -> QColor {
    const double band = 0.5 + 0.5 * std::sin(rr * 1.3) * std::sin(rr * 0.37 + 1);
    if (rr > 50 && rr < 52.5) return QColor(0, 0, 0, 0);  // the gap
    const QColor c = Mix(QColor(0xB0, 0x90, 0x70), QColor(0xF4, 0xE6, 0xC8), band);
    const double fade =
        std::clamp((61 - rr) / 4.0, 0.0, 1.0) * std::clamp((rr - 42) / 3.0, 0.0, 1.0);
    return QColor(c.red(), c.green(), c.blue(), static_cast<int>(255 * fade));
  };
  // Which ring pixel lies where, and whether it is on the far side of the planet.
  auto ring_at = [&](int x, int y, bool& far) -> QColor {
    const double dx = x + 0.5 - kCentre, dy = y + 0.5 - kCentre;
    const double u = dx * std::cos(angle) + dy * std::sin(angle);
    const double v = (-dx * std::sin(angle) + dy * std::cos(angle)) / flat;
    far = v < 0;
    return ring_colour(std::sqrt(u * u + v * v));
  };
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      bool far = false;
      const QColor c = ring_at(x, y, far);
      if (far && c.alpha() > 0) layer.setPixelColor(x, y, Lit(c, 0.75));
    }
  }
  PaintSphere(layer, kCentre, kCentre, r, 0.35, 0.4, [&](Vec3 p, Vec3 n) {
    const double lat = p.y + 0.06 * (Fbm(p.x * 3, p.y * 3, p.z * 3, 4, 19) - 0.5);
    const double band = 0.5 + 0.5 * std::sin(lat * 15 + 2 * Fbm(p.x * 2, p.y * 8, p.z * 2, 3, 23));
    QColor c =
        Mix3(band, QColor(0x7A, 0x4C, 0x8C), QColor(0xE0, 0xA0, 0x90), QColor(0xFF, 0xE8, 0xC0));
    // A great storm in the southern belts.
    const double sx = p.x - 0.35, sy = p.y - 0.42;
    if (p.z > 0 && sx * sx * 0.5 + sy * sy * 3 < 0.012) c = QColor(0xE0, 0x60, 0x50);
    return Lit(c, 0.07 + 1.05 * Lambert(n));
  });
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      bool far = false;
      QColor c = ring_at(x, y, far);
      if (far || c.alpha() == 0) continue;
      // The planet's shadow falls across the near ring behind it, away from the sun.
      const double dx = x + 0.5 - kCentre, dy = y + 0.5 - kCentre;
      if (dx > 0 && dy > -8 && std::abs(dx * 0.48 - dy * 0.62) < r * 0.75 &&
          dx * dx + dy * dy > r * r)
        c = Lit(c, 0.35);
      layer.setPixelColor(x, y, c);
    }
  }
  QImage out = Keyed(layer, 110);
  Dither(out, 9);
  return out;
}

// A collapsed star: black, ringed by a hot disc of matter, its light bent round into a thin
// bright circle.
QImage GravityBody() {
  QImage layer = Layer(kSide, kSide);
  const double r = 22;
  const double flat = 0.28;
  auto disc = [&](int x, int y, bool& far) -> QColor {
    const double dx = x + 0.5 - kCentre, dy = y + 0.5 - kCentre;
    const double tilt = 0.18;
    const double u = dx * std::cos(tilt) + dy * std::sin(tilt);
    const double v = (-dx * std::sin(tilt) + dy * std::cos(tilt)) / flat;
    far = v < 0;
    const double rr = std::sqrt(u * u + v * v);
    if (rr < r * 1.25 || rr > 62) return QColor(0, 0, 0, 0);
    const double heat = std::clamp(1 - (rr - r * 1.25) / (62 - r * 1.25), 0.0, 1.0);
    const double swirl = Fbm(std::atan2(v, u) * 3 + rr * 0.15, rr * 0.2, 0, 3, 77);
    const QColor c =
        heat > 0.7 ? Mix(QColor(0xFF, 0xB0, 0x40), QColor(0xFF, 0xFF, 0xE0), (heat - 0.7) / 0.3)
        : heat > 0.35
            ? Mix(QColor(0xC0, 0x30, 0x40), QColor(0xFF, 0xB0, 0x40), (heat - 0.35) / 0.35)
            : Mix(QColor(0x40, 0x10, 0x60), QColor(0xC0, 0x30, 0x40), heat / 0.35);
    const double alpha = std::clamp(heat * 1.6, 0.0, 1.0) * (0.55 + 0.6 * swirl);
    return QColor(c.red(), c.green(), c.blue(),
                  static_cast<int>(255 * std::clamp(alpha, 0.0, 1.0)));
  };
  // The far half of the disc, then its light bent over the top of the mass.
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      bool far = false;
      const QColor c = disc(x, y, far);
      if (far && c.alpha() > 0) layer.setPixelColor(x, y, c);
      const double dx = x + 0.5 - kCentre, dy = y + 0.5 - kCentre;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > r && d < r * 1.55 && dy < 4) {
        const double t = 1 - std::abs(d - r * 1.22) / (r * 0.3);
        const double a = std::clamp(t, 0.0, 1.0) * std::clamp((4 - dy) / 14, 0.0, 1.0);
        if (a > 0) {
          const QColor hot = Mix(QColor(0xFF, 0x90, 0x40), QColor(0xFF, 0xF0, 0xC0), t);
          layer.setPixelColor(x, y, QColor(hot.red(), hot.green(), hot.blue(), int(255 * a)));
        }
      }
    }
  }
  PaintSphere(layer, kCentre, kCentre, r, 0, 0, [&](Vec3, Vec3 n) {
    // Nearly black; only a violet sheen at the very edge.
    return Mix(QColor(0x04, 0x02, 0x08), QColor(0x50, 0x20, 0x70), std::pow(1 - n.z, 4));
  });
  // The photon ring hugging the edge.
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const double dx = x + 0.5 - kCentre, dy = y + 0.5 - kCentre;
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > r && d < r + 1.8) layer.setPixelColor(x, y, QColor(0xFF, 0xE8, 0xB0));
      bool far = false;
      const QColor c = disc(x, y, far);
      if (!far && c.alpha() > 0) layer.setPixelColor(x, y, c);
    }
  }
  QImage out = KeyedDithered(layer);
  Dither(out, 9);
  return out;
}

}  // namespace

bool DrawPlanetPictures(const QString& dir) {
  bool ok = true;
  // A blue world of wide seas, green lands and white weather.
  const Palette blue = EarthColours(0.52, 0.80, 0.58, 2024);
  // A dry world: shallow green-blue seas among ochre and red lands, thin cloud.
  const Palette ochre{QColor(0x08, 0x40, 0x48),
                      QColor(0x30, 0xA8, 0xA0),
                      QColor(0xC8, 0xA0, 0x58),
                      QColor(0xA8, 0x60, 0x30),
                      QColor(0x70, 0x38, 0x28),
                      QColor(0xF8, 0xF0, 0xE0),
                      QColor(0xF8, 0xF0, 0xD8),
                      QColor(0xB0, 0xF0, 0xD0),
                      0.44,
                      0.90,
                      0.66,
                      77};
  // A cold world under heavy weather: violet seas, rust lands, wide white caps.
  const Palette cold{QColor(0x14, 0x10, 0x48),
                     QColor(0x40, 0x48, 0xA8),
                     QColor(0x80, 0x50, 0x48),
                     QColor(0x60, 0x70, 0x58),
                     QColor(0xC0, 0xB8, 0xC8),
                     QColor(0xF8, 0xF8, 0xFF),
                     QColor(0xE8, 0xE8, 0xF8),
                     QColor(0xB8, 0xA8, 0xFF),
                     0.50,
                     0.62,
                     0.52,
                     911};
  ok &= SaveKeyed(EarthType(blue, 56, 0.35, 0.9), dir, "bui20");
  ok &= SaveKeyed(EarthType(ochre, 56, 0.2, 2.6), dir, "bui21");
  ok &= SaveKeyed(EarthType(cold, 56, 0.5, 4.1), dir, "bui22");
  ok &= SaveKeyed(RingedGiant(), dir, "bui19");
  ok &= SaveKeyed(GravityBody(), dir, "bui12");
  return ok;
}

}  // namespace qm::art
