#include "platform/surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "platform/edition.h"

namespace qm {
namespace {

constexpr QImage::Format kFormat = QImage::Format_RGB32;

inline std::uint32_t Argb(Color c) {
  return 0xFF000000u | (c & 0xFFFFFFu);
}

QString ToQt(std::string_view cp932) {
  return QString::fromStdString(Utf8FromCp932(cp932));
}

void Normalize(int& a, int& b) {
  if (a > b) std::swap(a, b);
}

// Offset into a span of `size` pixels for pixel `offset` of a span of `scale` pixels.
long long Along(long long offset, long long size, long long scale) {
  return static_cast<long long>(static_cast<std::uint64_t>(offset) *
                                static_cast<std::uint64_t>(size) /
                                static_cast<std::uint64_t>(scale));
}

}  // namespace

Surface::Surface(int width, int height, Color fill)
    : pixels_(QImage(std::max(width, 0), std::max(height, 0), kFormat)) {
  pixels_.image.fill(Argb(fill));
}

bool Surface::LoadBitmap(const std::string& path) {
  QImage loaded;
  if (!loaded.load(QString::fromStdString(path), "BMP") || loaded.isNull()) {
    pixels_ = Pixels();
    return false;
  }
  pixels_ = Pixels(loaded.convertToFormat(kFormat));
  return true;
}

Color Surface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kBlack;
  return reinterpret_cast<const std::uint32_t*>(pixels_.image.constScanLine(y))[x] & 0xFFFFFFu;
}

void Surface::SetPixel(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  Row(y)[x] = Argb(c);
}

Color Surface::TransparentColor() const {
  return IsNull() ? kBlack : Pixel(0, Height() - 1);
}

void Surface::SetFontSize(int points) {
  font_pixels_ = (points * 96 + 36) / 72;
}

std::uint32_t* Surface::Row(int y) {
  // One detach check per row, not per pixel: the star field draws hundreds of shapes a frame.
  return reinterpret_cast<std::uint32_t*>(pixels_.image.scanLine(y));
}

void Surface::Span(int y, long long x0, long long x1, Color c) {
  if (y < 0 || y >= Height()) return;
  x0 = std::max(x0, 0LL);
  x1 = std::min(x1, static_cast<long long>(Width()) - 1);
  if (x0 > x1) return;
  auto* row = Row(y);
  std::fill(row + x0, row + x1 + 1, Argb(c));
}

void Surface::FillRect(int left, int top, int right, int bottom) {
  Normalize(left, right);
  Normalize(top, bottom);
  if (right <= left || bottom <= top || IsNull()) return;
  // Only the rows on the surface are visited, however tall the rectangle.
  const int y_from = std::max(top + 1, 0);
  const int y_to = std::min(bottom - 1, Height());
  if (!brush_clear_) {
    for (int y = y_from; y < y_to; ++y)
      Span(y, left + 1LL, right - 2LL, brush_);
  }
  Span(top, left, right - 1LL, pen_);
  Span(bottom - 1, left, right - 1LL, pen_);
  const bool left_in = left >= 0 && left < Width();
  const bool right_in = right - 1 >= 0 && right - 1 < Width();
  if (!left_in && !right_in) return;
  const std::uint32_t pen = Argb(pen_);
  for (int y = y_from; y < y_to; ++y) {
    auto* row = Row(y);
    if (left_in) row[left] = pen;
    if (right_in) row[right - 1] = pen;
  }
}

void Surface::Ellipse(int left, int top, int right, int bottom) {
  Normalize(left, right);
  Normalize(top, bottom);
  const long long w = static_cast<long long>(right) - left;
  const long long h = static_cast<long long>(bottom) - top;
  if (w <= 0 || h <= 0 || IsNull()) return;
  if (right <= 0 || bottom <= 0 || left >= Width() || top >= Height()) return;
  const double cx = left + static_cast<double>(w) / 2.0;
  const double cy = top + static_cast<double>(h) / 2.0;
  const double rx = static_cast<double>(w) / 2.0;
  const double ry = static_cast<double>(h) / 2.0;
  // Columns of row i (0 = top row of the box): the pixels whose centres fall inside the
  // ellipse. A row too thin to hold a centre keeps its middle pixel(s), and the middle row(s)
  // always reach both sides, so the ellipse touches all four sides of its box however flat.
  const long long mid_lo = static_cast<long long>(std::floor(cx - 0.5));
  const long long mid_hi = static_cast<long long>(std::ceil(cx - 0.5));
  auto span_of = [&](long long i) -> std::pair<long long, long long> {
    if (i < 0 || i >= h) return {1, 0};
    if (i == (h - 1) / 2 || i == h / 2) return {left, right - 1LL};
    const double dy = (static_cast<double>(top + i) + 0.5 - cy) / ry;
    const double q = 1.0 - dy * dy;
    const double hw = q > 0 ? rx * std::sqrt(q) : 0.0;
    const auto x0 = static_cast<long long>(std::ceil(cx - hw - 0.5));
    const auto x1 = static_cast<long long>(std::floor(cx + hw - 0.5));
    if (x0 > x1) return {mid_lo, mid_hi};
    return {x0, x1};
  };
  const long long i_from = std::max(0LL, -static_cast<long long>(top));
  const long long i_to = std::min(h, static_cast<long long>(Height()) - top);
  const std::uint32_t pen = Argb(pen_);
  auto prev = span_of(i_from - 1);
  auto cur = span_of(i_from);
  for (long long i = i_from; i < i_to; ++i) {
    const auto next = span_of(i + 1);
    const int y = static_cast<int>(top + i);
    const auto [x0, x1] = cur;
    if (!brush_clear_) Span(y, x0, x1, brush_);
    // The outline is every inside pixel with a neighbour outside.
    const long long vis_to = std::min(x1, static_cast<long long>(Width()) - 1);
    auto* row = Row(y);
    for (long long x = std::max(x0, 0LL); x <= vis_to; ++x) {
      const bool edge = x == x0 || x == x1 || x < prev.first || x > prev.second || x < next.first ||
                        x > next.second;
      if (edge) row[x] = pen;
    }
    prev = cur;
    cur = next;
  }
}

void Surface::MoveTo(int x, int y) {
  pen_x_ = x;
  pen_y_ = y;
}

namespace {
// k × d / n rounded to nearest, halves upwards, for 0 <= k < n and |d| <= n. Between int end
// points n and |d| stay below 2^32, so k × |d| fits 64 unsigned bits; the rounding is taken from
// the remainder rather than from a doubled product that would not.
long long Scaled(long long k, long long d, long long n) {
  const std::uint64_t product =
      static_cast<std::uint64_t>(k) * static_cast<std::uint64_t>(std::llabs(d));
  const std::uint64_t un = static_cast<std::uint64_t>(n);
  const auto quotient = static_cast<long long>(product / un);
  const std::uint64_t twice_rest = 2 * (product % un);
  if (d >= 0) return quotient + (twice_rest >= un ? 1 : 0);
  return -quotient - (twice_rest > un ? 1 : 0);
}
}  // namespace

void Surface::LineTo(int x, int y) {
  const long long x0 = pen_x_;
  const long long y0 = pen_y_;
  const long long dx = x - x0;
  const long long dy = y - y0;
  pen_x_ = x;
  pen_y_ = y;
  if (IsNull()) return;
  // Step k of n along the longer axis; the end point (k = n) is not drawn. Only the steps
  // whose long-axis coordinate is on the surface are visited, so a star streak that reaches
  // far outside costs no more than one that does not.
  const bool x_major = std::abs(dx) >= std::abs(dy);
  const long long n = x_major ? std::abs(dx) : std::abs(dy);
  if (n == 0) return;
  const long long start = x_major ? x0 : y0;
  const long long step = (x_major ? dx : dy) > 0 ? 1 : -1;
  const long long limit = x_major ? Width() : Height();
  long long k_from = 0;
  long long k_to = n;  // exclusive
  if (step > 0) {
    k_from = std::max(k_from, -start);
    k_to = std::min(k_to, limit - start);
  } else {
    k_from = std::max(k_from, start - limit + 1);
    k_to = std::min(k_to, start + 1);
  }
  if (dy == 0 || dx == 0) {
    // Grid lines of the chart are all straight: no interpolation needed.
    const std::uint32_t pen = Argb(pen_);
    for (long long k = k_from; k < k_to; ++k) {
      const long long px = dy == 0 ? x0 + step * k : x0;
      const long long py = dy == 0 ? y0 : y0 + step * k;
      if (py < 0 || py >= Height() || px < 0 || px >= Width()) continue;
      Row(static_cast<int>(py))[px] = pen;
    }
    return;
  }
  for (long long k = k_from; k < k_to; ++k) {
    const long long px = x_major ? x0 + step * k : x0 + Scaled(k, dx, n);
    const long long py = x_major ? y0 + Scaled(k, dy, n) : y0 + step * k;
    if (py < 0 || py >= Height() || px < 0 || px >= Width()) continue;
    SetPixel(static_cast<int>(px), static_cast<int>(py), pen_);
  }
}

namespace {
QFont MakeFont(const std::string& face, int pixels, bool bold, bool italic) {
  QFont font(QString::fromStdString(EditionFace(face)));
  font.setPixelSize(std::max(pixels, 1));
  font.setBold(bold);
  font.setItalic(italic);
  // Crisp pixels like the era's screens, and no grey fringes around letters drawn on a
  // background that is later keyed out as transparent.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

// A text as lettered in one font: its Unicode form and the measures TextOut needs.
struct MeasuredText {
  QString text;
  int width = 0;
  int ascent = 0;
  int height = 0;
};

// The instruments letter the same few texts every frame, and converting and shaping a text only
// to learn its width cost more than drawing it. Measures are kept per thread, and the store is
// emptied when it grows past a few hundred texts (a readout's digits come and go).
const MeasuredText& Measured(const std::string& face, int pixels, bool bold, bool italic,
                             std::string_view cp932) {
  thread_local std::unordered_map<std::string, MeasuredText> store;
  std::string key = EditionFace(face);
  key += '\0';
  key += std::to_string(pixels);
  key += bold ? 'b' : '-';
  key += italic ? 'i' : '-';
  key += cp932;
  if (auto it = store.find(key); it != store.end()) return it->second;
  if (store.size() >= 512) store.clear();
  const QFontMetrics metrics(MakeFont(face, pixels, bold, italic));
  MeasuredText m;
  m.text = ToQt(cp932);
  m.width = metrics.horizontalAdvance(m.text);
  m.ascent = metrics.ascent();
  m.height = metrics.height();
  return store.emplace(std::move(key), std::move(m)).first->second;
}

}  // namespace

int Surface::TextWidth(std::string_view cp932) const {
  return Measured(font_face_, font_pixels_, font_bold_, font_italic_, cp932).width;
}

int Surface::TextHeight() const {
  return Measured(font_face_, font_pixels_, font_bold_, font_italic_, {}).height;
}

void Surface::TextOut(int x, int y, std::string_view cp932) {
  if (IsNull()) return;
  const MeasuredText& m = Measured(font_face_, font_pixels_, font_bold_, font_italic_, cp932);
  QPainter painter(&pixels_.image);
  if (!brush_clear_) painter.fillRect(x, y, m.width, m.height, QColor::fromRgb(Argb(brush_)));
  painter.setFont(MakeFont(font_face_, font_pixels_, font_bold_, font_italic_));
  painter.setPen(QColor::fromRgb(Argb(font_color_)));
  painter.drawText(x, y + m.ascent, m.text);
  pen_x_ = x + m.width;
}

void Surface::Draw(int x, int y, const Surface& bitmap) {
  Blit(x, y, x + bitmap.Width(), y + bitmap.Height(), bitmap, 0, 0, bitmap.Width(), bitmap.Height(),
       true);
}

void Surface::StretchDraw(int left, int top, int right, int bottom, const Surface& bitmap) {
  Blit(left, top, right, bottom, bitmap, 0, 0, bitmap.Width(), bitmap.Height(), true);
}

void Surface::CopyRect(int dl, int dt, int dr, int db, const Surface& source, int sl, int st,
                       int sr, int sb) {
  Blit(dl, dt, dr, db, source, sl, st, sr, sb, false);
}

void Surface::Blit(int dl, int dt, int dr, int db, const Surface& source, int sl, int st, int sr,
                   int sb, bool use_transparency) {
  if (IsNull() || source.IsNull()) return;
  // Differences of two ints fit 32 unsigned bits, so offset × size fits 64 unsigned bits.
  const long long dw = static_cast<long long>(dr) - dl;
  const long long dh = static_cast<long long>(db) - dt;
  const long long sw = static_cast<long long>(sr) - sl;
  const long long sh = static_cast<long long>(sb) - st;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int x0 = std::max(dl, 0);
  const int x1 = std::min(dr, Width());
  const int y0 = std::max(dt, 0);
  const int y1 = std::min(db, Height());
  if (x0 >= x1 || y0 >= y1) return;

  // Copying onto itself must read the picture as it was before the copy.
  QImage snapshot;
  const QImage* src = &source.pixels_.image;
  if (&source == this) {
    snapshot = pixels_.image.copy();
    src = &snapshot;
  }
  const bool keyed = use_transparency && source.transparent_;
  const std::uint32_t key = Argb(source.TransparentColor());
  const int src_w = src->width();
  const int src_h = src->height();

  thread_local std::vector<int> columns;
  columns.resize(static_cast<size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) {
    columns[static_cast<size_t>(x - x0)] =
        static_cast<int>(sl + Along(static_cast<long long>(x) - dl, sw, dw));
  }
  // The source columns only grow along a row, so those inside the source are one run [in0, in1);
  // outside it the copy reads black.
  int in0 = x0;
  while (in0 < x1 && columns[static_cast<size_t>(in0 - x0)] < 0)
    ++in0;
  int in1 = in0;
  while (in1 < x1 && columns[static_cast<size_t>(in1 - x0)] < src_w)
    ++in1;
  const int* column = columns.data();  // column[x - x0] for destination column x
  // Opaque black: what lies outside the source, and the alpha every copied pixel carries.
  constexpr std::uint32_t kOutside = 0xFF000000u;
  const bool outside_drawn = !(keyed && key == kOutside);
  const bool same_columns = sw == dw;

  // The frame redraws whole views every tenth of a second, so this loop is kept plain enough to
  // vectorise: an unkeyed row is a function of its source row alone, and a row that repeats the
  // last one (a vertical enlargement) is copied from it.
  int last_sy = 0;
  const std::uint32_t* last_row = nullptr;
  for (int y = y0; y < y1; ++y) {
    const int sy = static_cast<int>(st + Along(static_cast<long long>(y) - dt, sh, dh));
    auto* drow = Row(y);
    if (!keyed && last_row != nullptr && sy == last_sy) {
      std::copy(last_row + x0, last_row + x1, drow + x0);
      continue;
    }
    last_sy = sy;
    last_row = drow;
    if (sy < 0 || sy >= src_h) {
      if (outside_drawn) std::fill(drow + x0, drow + x1, kOutside);
      continue;
    }
    if (outside_drawn) {
      std::fill(drow + x0, drow + in0, kOutside);
      std::fill(drow + in1, drow + x1, kOutside);
    }
    if (in0 == in1) continue;
    const auto* srow = reinterpret_cast<const std::uint32_t*>(src->constScanLine(sy));
    if (keyed) {
      for (int x = in0; x < in1; ++x) {
        const std::uint32_t c = srow[column[x - x0]] | kOutside;
        if (c != key) drow[x] = c;
      }
    } else if (same_columns) {
      const std::uint32_t* from = srow + column[in0 - x0];
      std::uint32_t* to = drow + in0;
      for (int i = 0; i < in1 - in0; ++i)
        to[i] = from[i] | kOutside;
    } else {
      for (int x = in0; x < in1; ++x)
        drow[x] = srow[column[x - x0]] | kOutside;
    }
  }
}

}  // namespace qm
