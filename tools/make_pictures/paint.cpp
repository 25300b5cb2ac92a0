#include "paint.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include <QFontMetricsF>
#include <QRadialGradient>

#include "platform/cp932.h"
#include "platform/edition.h"

namespace qm::art {

QImage Canvas(int width, int height, QColor fill) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

QImage Layer(int width, int height) {
  QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  return img;
}

namespace {
const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

QImage KeyBy(const QImage& layer, int fixed_threshold) {
  const QImage src = layer.convertToFormat(QImage::Format_ARGB32);
  QImage out(src.size(), QImage::Format_RGB32);
  const QRgb key = kKey.rgb();
  for (int y = 0; y < src.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < src.width(); ++x) {
      const int threshold = fixed_threshold > 0 ? fixed_threshold : (kBayer[y & 3][x & 3] * 16 + 8);
      if (qAlpha(in[x]) < threshold) {
        row[x] = key;
        continue;
      }
      QRgb c = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
      if (c == key) c = qRgb(254, 0, 254);
      row[x] = c;
    }
  }
  return out;
}
}  // namespace

QImage Keyed(const QImage& layer, int threshold) {
  return KeyBy(layer, std::max(threshold, 1));
}

QImage KeyedDithered(const QImage& layer) {
  return KeyBy(layer, 0);
}

QImage Over(const QImage& below, const QImage& above) {
  QImage out = below.convertToFormat(QImage::Format_RGB32);
  const QImage top = above.convertToFormat(QImage::Format_RGB32);
  const QRgb key = kKey.rgb();
  for (int y = 0; y < out.height() && y < top.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto* in = reinterpret_cast<const QRgb*>(top.constScanLine(y));
    for (int x = 0; x < out.width() && x < top.width(); ++x) {
      if (in[x] != key) row[x] = in[x];
    }
  }
  return out;
}

namespace {
// The words lettered since the last picture was saved that did not fit their place: they belong
// to the picture being drawn, which Save names.
std::vector<QString>& Misfits() {
  static std::vector<QString> misfits;
  return misfits;
}

// Keeps `words` as a misfit when they are wider than `room` pixels in the painter's face.
void CheckFit(const QPainter& p, double room, const QString& words) {
  const double width = QFontMetricsF(p.font(), p.device()).horizontalAdvance(words);
  if (width <= room) return;
  // A word drawn twice (its shadow, then itself) is reported once.
  const QString misfit = QStringLiteral("\"%1\" is %2 pixels wide in %3 %4 px, its place %5")
                             .arg(words)
                             .arg(width)
                             .arg(p.font().family())
                             .arg(p.font().pixelSize())
                             .arg(room);
  if (std::find(Misfits().begin(), Misfits().end(), misfit) == Misfits().end())
    Misfits().push_back(misfit);
}
}  // namespace

bool Save(const QImage& picture, const QString& dir, const QString& name) {
  const QString path = dir + "/" + name + ".bmp";
  const std::vector<QString> misfits = std::exchange(Misfits(), {});
  for (const QString& misfit : misfits) {
    std::fprintf(stderr, "make_pictures: %s: %s\n", path.toUtf8().constData(),
                 misfit.toUtf8().constData());
  }
  if (!misfits.empty()) return false;
  if (picture.convertToFormat(QImage::Format_RGB32).save(path, "BMP")) return true;
  std::fprintf(stderr, "make_pictures: could not write %s\n", path.toUtf8().constData());
  return false;
}

bool SaveKeyed(QImage picture, const QString& dir, const QString& name) {
  picture = picture.convertToFormat(QImage::Format_RGB32);
  picture.setPixelColor(0, picture.height() - 1, kKey);
  return Save(picture, dir, name);
}

namespace {
QFont MakeFace(const QString& family, int pixels, bool bold, bool smooth) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::NoAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}
}  // namespace

QFont Face(const QString& family, int pixels, bool bold) {
  return MakeFace(family, pixels, bold, false);
}

QFont SmoothFace(const QString& family, int pixels, bool bold) {
  return MakeFace(family, pixels, bold, true);
}

QString Unicode(const std::string& cp932) {
  return QString::fromStdString(Utf8FromCp932(cp932));
}

QString LetterFace() {
  return QString::fromStdString(EditionFace(kWindowFace));
}

void Letter(QPainter& p, const QRect& place, int flags, const QString& words) {
  CheckFit(p, place.width(), words);
  p.drawText(place, flags, words);
}

void Letter(QPainter& p, QPoint origin, const QString& words) {
  CheckFit(p, p.device()->width() - origin.x(), words);
  p.drawText(origin, words);
}

int Dice::operator()(int n) {
  state = state * 1103515245u + 12345u;
  return static_cast<int>((state >> 16) % static_cast<unsigned>(n));
}

double Dice::Unit() {
  return (*this)(32768) / 32768.0;
}

namespace {
double Lattice(int x, int y, int z, unsigned seed) {
  std::uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<std::uint32_t>(x) * 0x85EBCA77u;
  h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
  h ^= static_cast<std::uint32_t>(z) * 0x27D4EB2Fu;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return (h & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
}

double Smooth(double t) {
  return t * t * (3 - 2 * t);
}
}  // namespace

double Noise3(double x, double y, double z, unsigned seed) {
  const int ix = static_cast<int>(std::floor(x));
  const int iy = static_cast<int>(std::floor(y));
  const int iz = static_cast<int>(std::floor(z));
  const double fx = Smooth(x - ix);
  const double fy = Smooth(y - iy);
  const double fz = Smooth(z - iz);
  auto lerp = [](double a, double b, double t) { return a + (b - a) * t; };
  double plane[2];
  for (int dz = 0; dz < 2; ++dz) {
    const double a = lerp(Lattice(ix, iy, iz + dz, seed), Lattice(ix + 1, iy, iz + dz, seed), fx);
    const double b =
        lerp(Lattice(ix, iy + 1, iz + dz, seed), Lattice(ix + 1, iy + 1, iz + dz, seed), fx);
    plane[dz] = lerp(a, b, fy);
  }
  return lerp(plane[0], plane[1], fz);
}

double Fbm(double x, double y, double z, int octaves, unsigned seed) {
  double sum = 0;
  double weight = 0;
  double amp = 1;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * Noise3(x, y, z, seed + static_cast<unsigned>(o) * 101u);
    weight += amp;
    amp *= 0.5;
    x *= 2.03;
    y *= 2.03;
    z *= 2.03;
  }
  return sum / weight;
}

QColor Mix(QColor a, QColor b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor(static_cast<int>(std::lround(a.red() + (b.red() - a.red()) * t)),
                static_cast<int>(std::lround(a.green() + (b.green() - a.green()) * t)),
                static_cast<int>(std::lround(a.blue() + (b.blue() - a.blue()) * t)));
}

QColor Lit(QColor base, double light) {
  if (light <= 1) return Mix(Qt::black, base, light);
  return Mix(base, Qt::white, light - 1);
}

void Dither(QImage& picture, int levels) {
  const QRgb key = kKey.rgb();
  const double step = 255.0 / (levels - 1);
  auto squeeze = [&](int v, int x, int y) {
    const double bias = (kBayer[y & 3][x & 3] + 0.5) / 16.0 - 0.5;
    const int level = static_cast<int>(std::floor(v / step + 0.5 + bias * 0.9));
    return std::clamp(static_cast<int>(std::lround(std::clamp(level, 0, levels - 1) * step)), 0,
                      255);
  };
  for (int y = 0; y < picture.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) continue;
      QRgb c = qRgb(squeeze(qRed(row[x]), x, y), squeeze(qGreen(row[x]), x, y),
                    squeeze(qBlue(row[x]), x, y));
      if ((c & 0xFFFFFF) == (key & 0xFFFFFF)) c = qRgb(218, 0, 218);
      row[x] = c;
    }
  }
}

QLinearGradient Sheen(const QRectF& r, QColor base) {
  QLinearGradient g(r.topLeft(), r.bottomRight());
  g.setColorAt(0.0, Lit(base, 1.45));
  g.setColorAt(0.4, base);
  g.setColorAt(1.0, Lit(base, 0.35));
  return g;
}

void Glow(QPainter& p, QPointF centre, double radius, QColor colour) {
  QRadialGradient g(centre, radius);
  g.setColorAt(0.0, colour);
  QColor mid = colour;
  mid.setAlpha(colour.alpha() / 3);
  g.setColorAt(0.45, mid);
  QColor none = colour;
  none.setAlpha(0);
  g.setColorAt(1.0, none);
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(centre, radius, radius);
  p.restore();
}

void Bevel(QPainter& p, const QRect& r, QColor light, QColor dark, int width, bool sunken) {
  const QColor top_left = sunken ? dark : light;
  const QColor bottom_right = sunken ? light : dark;
  for (int i = 0; i < width; ++i) {
    const QRect e = r.adjusted(i, i, -i, -i);
    p.setPen(top_left);
    p.drawLine(e.left(), e.top(), e.right() - 1, e.top());
    p.drawLine(e.left(), e.top(), e.left(), e.bottom() - 1);
    p.setPen(bottom_right);
    p.drawLine(e.left() + 1, e.bottom(), e.right(), e.bottom());
    p.drawLine(e.right(), e.top() + 1, e.right(), e.bottom());
  }
}

void Rivet(QPainter& p, int x, int y) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x14, 0x16, 0x1C));
  p.drawRect(x + 1, y + 1, 3, 3);
  p.setBrush(QColor(0x8A, 0x92, 0xA2));
  p.drawRect(x, y, 3, 3);
  p.setBrush(QColor(0xD8, 0xE0, 0xEC));
  p.drawRect(x, y, 1, 1);
  p.restore();
}

}  // namespace qm::art
