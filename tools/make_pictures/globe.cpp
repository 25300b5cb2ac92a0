#include "globe.h"

#include <algorithm>
#include <cmath>

#include "paint.h"
#include "sphere.h"

namespace qm::art {
namespace {

double SmoothStep(double a, double b, double v) {
  const double t = std::clamp((v - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

QColor Ramp(double t, QColor a, QColor b, QColor c) {
  return t < 0.5 ? Mix(a, b, t * 2) : Mix(b, c, t * 2 - 1);
}

}  // namespace

void PaintGlobe(QImage& layer, double cx, double cy, double radius, const Palette& pal, double tilt,
                double spin) {
  // The thin air first, as a halo on the sunward side; the globe covers its middle.
  const int reach = static_cast<int>(radius * 1.1) + 2;
  for (int y = static_cast<int>(cy) - reach; y <= cy + reach; ++y) {
    for (int x = static_cast<int>(cx) - reach; x <= cx + reach; ++x) {
      if (x < 0 || y < 0 || x >= layer.width() || y >= layer.height()) continue;
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double d = std::sqrt(dx * dx + dy * dy) / radius;
      if (d <= 1 || d > 1.09) continue;
      const double facing = Dot(Normalized({dx, dy, 0.2}), Sunlight());
      const double a = (1 - (d - 1) / 0.09) * std::clamp(facing + 0.35, 0.0, 1.0);
      layer.setPixelColor(x, y,
                          QColor(pal.air.red(), pal.air.green(), pal.air.blue(),
                                 static_cast<int>(255 * std::clamp(a, 0.0, 1.0))));
    }
  }
  PaintSphere(layer, cx, cy, radius, tilt, spin, [&](Vec3 p, Vec3 n) {
    const double land = Fbm(p.x * 1.9 + 4, p.y * 1.9, p.z * 1.9, 6, pal.seed);
    QColor c;
    if (land < pal.sea_level) {
      c = Mix(pal.deep, pal.shallow, SmoothStep(pal.sea_level - 0.16, pal.sea_level, land));
    } else {
      c = Ramp(SmoothStep(pal.sea_level, pal.sea_level + 0.22, land), pal.low, pal.mid, pal.high);
    }
    const double lat = std::abs(p.y) + 0.08 * (Fbm(p.x * 5, p.y * 5, p.z * 5, 2, pal.seed) - 0.5);
    c = Mix(c, pal.ice, SmoothStep(pal.ice_from, pal.ice_from + 0.05, lat));
    // Weather runs in bands along the latitudes, swirled a little.
    const double swirl = std::sin(p.y * 9) * 0.35;
    const double cloud = Fbm(p.x * 2.6 + swirl, p.y * 5.2, p.z * 2.6 - swirl, 5, pal.seed + 40);
    c = Mix(c, pal.cloud, SmoothStep(pal.cloud_cover, pal.cloud_cover + 0.12, cloud) * 0.92);
    const double light = Lambert(n);
    QColor lit = Lit(c, 0.08 + 1.02 * light);
    // Sea glints where the sun is mirrored.
    if (land < pal.sea_level) {
      const Vec3 half = Normalized({Sunlight().x, Sunlight().y, Sunlight().z + 1});
      const double glint = std::pow(std::max(0.0, Dot(n, half)), 40);
      lit = Mix(lit, Qt::white, glint * 0.6);
    }
    // Towards the limb the sky thickens.
    return Mix(lit, Lit(pal.air, 0.3 + light), std::pow(1 - n.z, 2.5) * 0.8);
  });
}

}  // namespace qm::art
