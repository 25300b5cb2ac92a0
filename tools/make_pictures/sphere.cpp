#include "sphere.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "paint.h"

namespace qm::art {

Vec3 Normalized(Vec3 v) {
  const double n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (n == 0) return {0, 0, 1};
  return {v.x / n, v.y / n, v.z / n};
}

double Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec3 Sunlight() {
  return Normalized({-0.62, -0.48, 0.62});
}

double Lambert(Vec3 normal) {
  const double d = Dot(normal, Sunlight());
  return std::clamp(d * 1.05 + 0.06, 0.0, 1.0);
}

void PaintSphere(QImage& layer, double cx, double cy, double r, double tilt, double spin,
                 const std::function<QColor(Vec3, Vec3)>& shade) {
  const double ct = std::cos(tilt), st = std::sin(tilt);
  const double cs = std::cos(spin), ss = std::sin(spin);
  const int x0 = std::max(0, static_cast<int>(cx - r - 1));
  const int x1 = std::min(layer.width() - 1, static_cast<int>(cx + r + 1));
  const int y0 = std::max(0, static_cast<int>(cy - r - 1));
  const int y1 = std::min(layer.height() - 1, static_cast<int>(cy + r + 1));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double dx = (x + 0.5 - cx) / r;
      const double dy = (y + 0.5 - cy) / r;
      const double d2 = dx * dx + dy * dy;
      if (d2 > 1) continue;
      const Vec3 normal{dx, dy, std::sqrt(1 - d2)};
      // Tip the pole towards the viewer, then turn the globe about it.
      const Vec3 tipped{normal.x, normal.y * ct - normal.z * st, normal.y * st + normal.z * ct};
      const Vec3 surface{tipped.x * cs + tipped.z * ss, tipped.y, -tipped.x * ss + tipped.z * cs};
      layer.setPixel(x, y, shade(surface, normal).rgb());
    }
  }
}

void PaintRock(QImage& layer, double cx, double cy, double r, unsigned seed, QColor base,
               double lumpiness, int craters) {
  Dice dice{seed * 7919u + 17u};
  struct Crater {
    double x, y, r;
  };
  std::vector<Crater> pits;
  for (int i = 0; i < craters; ++i) {
    const double a = dice.Unit() * 6.2832;
    const double d = dice.Unit() * 0.6 * r;
    pits.push_back({cx + std::cos(a) * d, cy + std::sin(a) * d, r * (0.12 + 0.2 * dice.Unit())});
  }
  const double reach = r * (1 + lumpiness) + 1;
  const int x0 = std::max(0, static_cast<int>(cx - reach));
  const int x1 = std::min(layer.width() - 1, static_cast<int>(cx + reach));
  const int y0 = std::max(0, static_cast<int>(cy - reach));
  const int y1 = std::min(layer.height() - 1, static_cast<int>(cy + reach));
  const double sd = seed * 0.37;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      const double dx = x + 0.5 - cx;
      const double dy = y + 0.5 - cy;
      const double a = std::atan2(dy, dx);
      const double edge =
          r *
          (1 + lumpiness * 2 * (Fbm(std::cos(a) * 1.3 + sd, std::sin(a) * 1.3, sd, 3, seed) - 0.5));
      const double d = std::sqrt(dx * dx + dy * dy);
      if (d > edge) continue;
      const double u = d / edge;
      Vec3 n{dx / edge, dy / edge, std::sqrt(std::max(0.0, 1 - u * u))};
      // Bumps: the slope of a noise field tilts the normal. A pebble a few pixels across keeps
      // a clean lit side and a dark side, or it reads as noise when the view blows it up.
      const double f = 4.0 / r;
      const double bumps = 6 * std::clamp((r - 3) / 9, 0.0, 1.0);
      const double h0 = Fbm(x * f, y * f, sd, 3, seed + 5);
      n.x -= (Fbm((x + 1) * f, y * f, sd, 3, seed + 5) - h0) * bumps;
      n.y -= (Fbm(x * f, (y + 1) * f, sd, 3, seed + 5) - h0) * bumps;
      for (const Crater& c : pits) {
        const double ex = x + 0.5 - c.x, ey = y + 0.5 - c.y;
        const double t = std::sqrt(ex * ex + ey * ey) / c.r;
        if (t < 0.85) {
          n.x -= ex / c.r * 0.9;
          n.y -= ey / c.r * 0.9;
        } else if (t < 1.15) {
          n.x += ex / c.r * 0.45;
          n.y += ey / c.r * 0.45;
        }
      }
      n = Normalized(n);
      const double rough = 0.44 * std::clamp(r / 10, 0.3, 1.0);
      const double grain = 1 - rough / 2 + rough * Fbm(x * 0.35, y * 0.35, sd + 3, 2, seed + 9);
      const double light = 0.1 + 1.0 * Lambert(n);
      layer.setPixel(x, y, Lit(base, light * grain).rgb());
    }
  }
}

}  // namespace qm::art
