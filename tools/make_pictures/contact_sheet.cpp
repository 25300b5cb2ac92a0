// One sheet with every picture of cg/, for a person to look over the whole set at once: each
// picture at its own size (the smallest doubled), its left-out colour shown as a checkerboard,
// and under it the file name, its size and whether it is keyed.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "paint.h"
#include "pictures.h"

namespace qm::art {
namespace {

constexpr int kSheetWidth = 1240;
constexpr int kGap = 14;
constexpr int kLabel = 44;

// The order a reviewer meets the pictures in: the title, the cockpit, the chart points, the
// effects, then the panel below the view.
int Group(const QString& name) {
  static const char* const kPrefixes[] = {"title", "alone", "logo",    "black", "gamen",
                                          "cont",  "txt",   "trable",  "bui",   "syowaku",
                                          "noize", "image", "contact", "u_map", "tra_b"};
  int i = 0;
  for (const char* prefix : kPrefixes) {
    if (name.startsWith(QLatin1String(prefix))) return i;
    ++i;
  }
  return i;
}

// bui2 before bui10: names compare by their letters, then by the number they end in.
bool NumberedBefore(const QString& a, const QString& b) {
  auto split = [](const QString& s) {
    auto i = static_cast<int>(s.size());
    while (i > 0 && !s[i - 1].isDigit())
      --i;  // skip ".bmp"
    int end = i;
    while (i > 0 && s[i - 1].isDigit())
      --i;
    return std::make_pair(s.left(i), i == end ? -1 : s.mid(i, end - i).toInt());
  };
  return split(a) < split(b);
}

bool IsKeyed(const QImage& img) {
  return img.pixelColor(0, img.height() - 1) == kKey;
}

// The picture as the game shows it: keyed pixels let a checkerboard through.
QImage Shown(const QImage& img) {
  QImage out = img.convertToFormat(QImage::Format_RGB32);
  if (!IsKeyed(img)) return out;
  const QRgb key = kKey.rgb();
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      if (row[x] == key)
        row[x] = ((x / 6 + y / 6) % 2) ? qRgb(0x3A, 0x3E, 0x46) : qRgb(0x2A, 0x2D, 0x34);
    }
  }
  return out;
}

struct Tile {
  QString name;
  QImage picture;
  bool keyed;
  int scale;
  int x = 0, y = 0;
  int Width() const { return std::max(picture.width() * scale, 150); }
  int Height() const { return picture.height() * scale + kLabel; }
};

}  // namespace

bool DrawContactSheet(const QString& cg_dir, const QString& png_path) {
  QStringList names = QDir(cg_dir).entryList({QStringLiteral("*.bmp")}, QDir::Files);
  if (names.isEmpty()) return false;
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int ga = Group(a), gb = Group(b);
    return ga != gb ? ga < gb : NumberedBefore(a, b);
  });

  std::vector<Tile> tiles;
  for (const QString& name : names) {
    QImage img(cg_dir + "/" + name, "BMP");
    if (img.isNull()) return false;
    const int scale = std::max(img.width(), img.height()) <= 100 ? 2 : 1;
    tiles.push_back({name, Shown(img), IsKeyed(img), scale});
  }

  // Rows fill from the left; a row is as tall as its tallest tile.
  int x = kGap, y = 48, row_height = 0;
  for (Tile& t : tiles) {
    if (x + t.Width() > kSheetWidth - kGap) {
      x = kGap;
      y += row_height + kGap;
      row_height = 0;
    }
    t.x = x;
    t.y = y;
    x += t.Width() + kGap;
    row_height = std::max(row_height, t.Height());
  }
  const int height = y + row_height + kGap;

  QImage sheet(kSheetWidth, height, QImage::Format_RGB32);
  sheet.fill(QColor(0x16, 0x18, 0x1C));
  QPainter p(&sheet);
  p.setFont(SmoothFace(QStringLiteral("DejaVu Sans"), 18, true));
  p.setPen(QColor(0xE0, 0xE6, 0xF0));
  p.drawText(kGap, 30, QStringLiteral("QUELMARIN cg/ — %1 pictures").arg(tiles.size()));
  for (const Tile& t : tiles) {
    const QRect frame(t.x, t.y, t.picture.width() * t.scale, t.picture.height() * t.scale);
    p.drawImage(frame, t.picture);
    p.setPen(QColor(0x50, 0x58, 0x64));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame.adjusted(-1, -1, 0, 0));
    p.setFont(SmoothFace(QStringLiteral("DejaVu Sans"), 12, true));
    p.setPen(QColor(0xE0, 0xE6, 0xF0));
    p.drawText(t.x, frame.bottom() + 15, t.name);
    p.setFont(SmoothFace(QStringLiteral("DejaVu Sans"), 11, false));
    p.setPen(QColor(0x90, 0xA0, 0xB0));
    QString info = QStringLiteral("%1×%2").arg(t.picture.width()).arg(t.picture.height());
    if (t.keyed) info += QStringLiteral("  keyed");
    p.drawText(t.x, frame.bottom() + 28, info);
    if (t.scale > 1) p.drawText(t.x, frame.bottom() + 41, QStringLiteral("shown ×%1").arg(t.scale));
  }
  p.end();
  return sheet.save(png_path, "PNG", 0);  // 0: the smallest file
}

}  // namespace qm::art
