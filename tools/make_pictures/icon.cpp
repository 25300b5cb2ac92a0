// The desktop icon, put together from pictures the game shows: the title's star field, the
// Earth-type planet the voyage looks for, and the colony ship crossing in front of it, on a
// rounded square. Drawn at the size asked for from the full-size pictures, so every size is sharp.
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "paint.h"
#include "pictures.h"

namespace qm::art {
namespace {

// A keyed picture with its key colour see-through.
QImage Unkeyed(const QImage& keyed) {
  QImage out = keyed.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = kKey.rgb();
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x)
      if ((row[x] | 0xFF000000u) == key) row[x] = 0;
  }
  return out;
}

}  // namespace

bool DrawIcon(const QString& cg_dir, int size, const QString& png_path) {
  const QImage stars(cg_dir + QStringLiteral("/title.bmp"));
  const QImage planet(cg_dir + QStringLiteral("/bui20.bmp"));
  const QImage ship(cg_dir + QStringLiteral("/alone1.bmp"));
  if (stars.isNull() || planet.isNull() || ship.isNull()) return false;

  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const double s = size / 256.0;
  const QRectF face(8 * s, 8 * s, 240 * s, 240 * s);
  QPainterPath rounded;
  rounded.addRoundedRect(face, 40 * s, 40 * s);
  p.setClipPath(rounded);
  // The right of the title picture holds stars and the faint nebula, without the Earth left behind.
  p.drawImage(face, stars, QRectF(60, 5, 141, 141));
  p.drawImage(QRectF(92 * s, 22 * s, 150 * s, 150 * s), Unkeyed(planet));
  // The ship flies a little nose-up, bow to the right, across the lower half.
  p.translate(128 * s, 182 * s);
  p.rotate(-14);
  const double ship_width = 250 * s;
  const double ship_height = ship_width * ship.height() / ship.width();
  p.drawImage(QRectF(-ship_width / 2, -ship_height / 2, ship_width, ship_height), Unkeyed(ship));
  p.resetTransform();
  p.setClipping(false);
  p.setPen(QPen(QColor(0x6F, 0xD8, 0xE8), 4 * s));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(face, 40 * s, 40 * s);
  p.end();
  return icon.save(png_path, "PNG");
}

}  // namespace qm::art
