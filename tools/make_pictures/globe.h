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

void PaintGlobe(QImage& layer, double cx, double cy, double radius, const Palette& pal, double tilt,
                double spin);

}  // namespace qm::art
