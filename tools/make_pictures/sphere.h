#pragma once

// Round bodies lit by the same far sun from the upper left: planets, cores, and the lumpy rocks
// of the asteroid field, the depot and the comet.

#include <QColor>
#include <QImage>
#include <functional>

namespace qm::art {

struct Vec3 {
  double x, y, z;
};

Vec3 Normalized(Vec3 v);
double Dot(Vec3 a, Vec3 b);

// Where every picture's light comes from: up, left and a little towards the viewer.
Vec3 Sunlight();

// How much sunlight a surface facing `normal` catches, with a soft terminator: 0..1.
double Lambert(Vec3 normal);

// Paints a ball: `shade` gets, for every pixel whose centre lies on the disc, the point on the
// unit sphere turned by `tilt` (about the x axis, showing a pole) and `spin` (about the pole),
// and the normal towards the viewer; it returns the pixel's colour.
void PaintSphere(QImage& layer, double cx, double cy, double r, double tilt, double spin,
                 const std::function<QColor(Vec3 surface, Vec3 normal)>& shade);

// Paints a lumpy rock of roughly radius `r` in `base` colour, with bumps and a few craters.
void PaintRock(QImage& layer, double cx, double cy, double r, unsigned seed, QColor base,
               double lumpiness = 0.22, int craters = 3);

}  // namespace qm::art
