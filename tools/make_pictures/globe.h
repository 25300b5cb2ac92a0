#pragma once

// A world with seas, lands, caps and weather, painted onto a layer with its thin air around it:
// the Earth-type planets of the chart and the Earth the colonists leave in the title.

#include <QColor>
#include <QImage>

namespace qm::art {

struct Palette {
  QColor deep, shallow;    // sea
  QColor low, mid, high;   // land from the shore up
  QColor ice, cloud, air;  // caps, weather, the thin edge of the sky
  double sea_level;        // 0..1 of the land noise below which there is sea
  double ice_from;         // |latitude| (as the sine) where the caps begin
  double cloud_cover;      // noise level above which there are clouds
  unsigned seed;
};

// The Earth's own colours: deep blue seas, green and brown lands, white caps and weather. The
// Earth of the title and the blue Earth-type planet share them; each shapes its own lands.
inline Palette EarthColours(double sea_level, double ice_from, double cloud_cover, unsigned seed) {
  return {QColor(0x08, 0x1E, 0x5A),
          QColor(0x28, 0x70, 0xC8),
          QColor(0x3C, 0x8C, 0x3C),
          QColor(0x8C, 0x84, 0x4C),
          QColor(0xD8, 0xD0, 0xB0),
          QColor(0xF0, 0xF8, 0xFF),
          QColor(0xF8, 0xF8, 0xF8),
          QColor(0x80, 0xC8, 0xFF),
          sea_level,
          ice_from,
          cloud_cover,
          seed};
}

void PaintGlobe(QImage& layer, double cx, double cy, double radius, const Palette& pal, double tilt,
                double spin);

}  // namespace qm::art
