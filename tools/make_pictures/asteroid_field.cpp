// The asteroid belt the view looks into: 280 x 160 pixels of rocks on black. The view only ever
// shows a 40 x 30 window of it, from (l, t) with l up to 229 and t up to 117, blown up ten to
// thirty-five times, so every window must hold a few rocks and every rock must read as a rock
// at a handful of pixels.
#include <algorithm>
#include <cmath>

#include "paint.h"
#include "pictures.h"
#include "sphere.h"

namespace qm::art {

bool DrawAsteroidField(const QString& dir) {
  constexpr int kW = 280;
  constexpr int kH = 160;
  QImage layer = Layer(kW, kH);
  // A faint brown dust between the rocks, never bright enough to hide the stars drawn over it.
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const double dust = std::max(0.0, Fbm(x * 0.03, y * 0.05, 0.5, 4, 66) - 0.45) * 2;
      const int v = static_cast<int>(dust * 34);
      layer.setPixelColor(x, y, QColor(v, v * 3 / 4, v / 2));
    }
  }
  static const QColor kStone[] = {QColor(0x8C, 0x74, 0x5C), QColor(0x7A, 0x70, 0x68),
                                  QColor(0x9C, 0x84, 0x60), QColor(0x6C, 0x5C, 0x50),
                                  QColor(0xA0, 0x90, 0x80)};
  Dice dice{4242};
  // One rock per cell of a 20-pixel grid, placed freely inside it, so no window is empty; now
  // and then a large one spills over its neighbours.
  for (int cy = 0; cy < kH / 20; ++cy) {
    for (int cx = 0; cx < kW / 20; ++cx) {
      const int roll = dice(20);
      const double r = roll < 2 ? 10 + dice(5) : roll < 8 ? 5 + dice(3) : 2.5 + dice(3) * 0.8;
      const double x = cx * 20 + 3 + dice(14);
      const double y = cy * 20 + 3 + dice(14);
      const QColor stone = kStone[dice(5)];
      const unsigned seed = static_cast<unsigned>(cy * 31 + cx + 1);
      PaintRock(layer, x, y, r, seed, stone, r > 6 ? 0.28 : 0.15, r > 6 ? 3 : 0);
      if (dice(2) == 0) {
        const double small = 1.8 + dice(3) * 0.7;
        PaintRock(layer, cx * 20 + 2 + dice(16), cy * 20 + 2 + dice(16), small, seed + 500,
                  kStone[dice(5)], 0.12, 0);
      }
      // Pebbles in its lee.
      for (int k = dice(3); k > 0; --k) {
        const int px = static_cast<int>(x) + dice(17) - 8;
        const int py = static_cast<int>(y) + dice(17) - 8;
        if (px >= 0 && py >= 0 && px < kW && py < kH && qAlpha(layer.pixel(px, py)) == 255 &&
            qRed(layer.pixel(px, py)) < 40) {
          layer.setPixelColor(px, py, Lit(stone, 0.7));
        }
      }
    }
  }
  return Save(layer.convertToFormat(QImage::Format_RGB32), dir, "syowaku");
}

}  // namespace qm::art
