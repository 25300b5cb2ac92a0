#include "platform/surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/cp932.h"

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

}  // namespace

Surface::Surface() : image_(std::make_unique<QImage>()) {}

Surface::Surface(int width, int height, Color fill)
    : image_(std::make_unique<QImage>(std::max(width, 0), std::max(height, 0), kFormat)) {
  image_->fill(Argb(fill));
}

Surface::Surface(const Surface& other)
    : image_(std::make_unique<QImage>(*other.image_)),
      transparent_(other.transparent_),
      pen_(other.pen_),
      brush_(other.brush_),
      brush_clear_(other.brush_clear_),
      font_face_(other.font_face_),
      font_pixels_(other.font_pixels_),
      font_bold_(other.font_bold_),
      font_italic_(other.font_italic_),
      font_color_(other.font_color_),
      pen_x_(other.pen_x_),
      pen_y_(other.pen_y_) {}

Surface& Surface::operator=(const Surface& other) {
  if (this != &other) {
    Surface copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Surface::Surface(Surface&&) noexcept = default;
Surface& Surface::operator=(Surface&&) noexcept = default;
Surface::~Surface() = default;

bool Surface::LoadBitmap(const std::string& path) {
  QImage loaded;
  if (!loaded.load(QString::fromStdString(path), "BMP") || loaded.isNull()) {
    *image_ = QImage();
    return false;
  }
  *image_ = loaded.convertToFormat(kFormat);
  return true;
}

bool Surface::IsNull() const {
  return image_->isNull();
}
int Surface::Width() const {
  return image_->width();
}
int Surface::Height() const {
  return image_->height();
}

Color Surface::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return kBlack;
  return reinterpret_cast<const std::uint32_t*>(image_->constScanLine(y))[x] & 0xFFFFFFu;
}

void Surface::SetPixel(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  reinterpret_cast<std::uint32_t*>(image_->scanLine(y))[x] = Argb(c);
}

Color Surface::TransparentColor() const {
  return IsNull() ? kBlack : Pixel(0, Height() - 1);
}

void Surface::SetFontSize(int points) {
  font_pixels_ = (points * 96 + 36) / 72;
}

const QImage& Surface::Image() const {
  return *image_;
}

void Surface::Span(int y, int x0, int x1, Color c) {
  if (y < 0 || y >= Height()) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, Width() - 1);
  if (x0 > x1) return;
  auto* row = reinterpret_cast<std::uint32_t*>(image_->scanLine(y));
  std::fill(row + x0, row + x1 + 1, Argb(c));
}

void Surface::FillRect(int left, int top, int right, int bottom) {
  Normalize(left, right);
  Normalize(top, bottom);
  if (right <= left || bottom <= top || IsNull()) return;
  if (!brush_clear_) {
    for (int y = top + 1; y < bottom - 1; ++y)
      Span(y, left + 1, right - 2, brush_);
  }
  Span(top, left, right - 1, pen_);
  Span(bottom - 1, left, right - 1, pen_);
  for (int y = top + 1; y < bottom - 1; ++y) {
    SetPixel(left, y, pen_);
    SetPixel(right - 1, y, pen_);
  }
}

void Surface::Ellipse(int left, int top, int right, int bottom) {
  Normalize(left, right);
  Normalize(top, bottom);
  const int w = right - left;
  const int h = bottom - top;
  if (w <= 0 || h <= 0 || IsNull()) return;
  // Nothing of an ellipse that lies wholly outside is worth rasterising.
  if (right <= 0 || bottom <= 0 || left >= Width() || top >= Height()) return;
  // Row spans from the pixel centres that fall inside the ellipse inscribed in the box.
  const double cx = left + w / 2.0;
  const double cy = top + h / 2.0;
  const double rx = w / 2.0;
  const double ry = h / 2.0;
  thread_local std::vector<std::pair<int, int>> spans;
  spans.assign(static_cast<size_t>(h), {1, 0});
  for (int i = 0; i < h; ++i) {
    const double dy = (top + i + 0.5 - cy) / ry;
    const double q = 1.0 - dy * dy;
    if (q < 0) continue;
    const double hw = rx * std::sqrt(q);
    spans[static_cast<size_t>(i)] = {static_cast<int>(std::ceil(cx - hw - 0.5)),
                                     static_cast<int>(std::floor(cx + hw - 0.5))};
  }
  auto inside = [&](int i, int x) {
    if (i < 0 || i >= h) return false;
    const auto& s = spans[static_cast<size_t>(i)];
    return x >= s.first && x <= s.second;
  };
  for (int i = 0; i < h; ++i) {
    const int y = top + i;
    if (y < 0 || y >= Height()) continue;
    const auto [x0, x1] = spans[static_cast<size_t>(i)];
    if (x0 > x1) continue;
    if (!brush_clear_) Span(y, x0, x1, brush_);
    // The outline is every inside pixel with a neighbour outside.
    for (int x = std::max(x0, 0); x <= std::min(x1, Width() - 1); ++x) {
      if (x == x0 || x == x1 || !inside(i - 1, x) || !inside(i + 1, x)) SetPixel(x, y, pen_);
    }
  }
}

void Surface::MoveTo(int x, int y) {
  pen_x_ = x;
  pen_y_ = y;
}

void Surface::LineTo(int x, int y) {
  int x0 = pen_x_;
  int y0 = pen_y_;
  const int dx = std::abs(x - x0);
  const int dy = -std::abs(y - y0);
  const int sx = x0 < x ? 1 : -1;
  const int sy = y0 < y ? 1 : -1;
  int err = dx + dy;
  while (x0 != x || y0 != y) {
    SetPixel(x0, y0, pen_);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  pen_x_ = x;
  pen_y_ = y;
}

namespace {
QFont MakeFont(const std::string& face, int pixels, bool bold, bool italic) {
  QFont font(QString::fromStdString(face));
  font.setPixelSize(std::max(pixels, 1));
  font.setBold(bold);
  font.setItalic(italic);
  // Crisp pixels like the era's screens, and no grey fringes around letters drawn on a
  // background that is later keyed out as transparent.
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}
}  // namespace

int Surface::TextWidth(std::string_view cp932) const {
  QFontMetrics metrics(MakeFont(font_face_, font_pixels_, font_bold_, font_italic_));
  return metrics.horizontalAdvance(ToQt(cp932));
}

int Surface::TextHeight() const {
  QFontMetrics metrics(MakeFont(font_face_, font_pixels_, font_bold_, font_italic_));
  return metrics.height();
}

void Surface::TextOut(int x, int y, std::string_view cp932) {
  if (IsNull()) return;
  const QFont font = MakeFont(font_face_, font_pixels_, font_bold_, font_italic_);
  const QFontMetrics metrics(font);
  const QString text = ToQt(cp932);
  const int w = metrics.horizontalAdvance(text);
  const int h = metrics.height();
  QPainter painter(image_.get());
  if (!brush_clear_) painter.fillRect(x, y, w, h, QColor::fromRgb(Argb(brush_)));
  painter.setFont(font);
  painter.setPen(QColor::fromRgb(Argb(font_color_)));
  painter.drawText(x, y + metrics.ascent(), text);
  pen_x_ = x + w;
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
  const long long dw = dr - dl;
  const long long dh = db - dt;
  const long long sw = sr - sl;
  const long long sh = sb - st;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int x0 = std::max(dl, 0);
  const int x1 = std::min(dr, Width());
  const int y0 = std::max(dt, 0);
  const int y1 = std::min(db, Height());
  if (x0 >= x1 || y0 >= y1) return;

  // Copying onto itself must read the picture as it was before the copy.
  QImage snapshot;
  const QImage* src = source.image_.get();
  if (&source == this) {
    snapshot = image_->copy();
    src = &snapshot;
  }
  const bool keyed = use_transparency && source.transparent_;
  const std::uint32_t key = Argb(source.TransparentColor());
  const int src_w = src->width();
  const int src_h = src->height();

  thread_local std::vector<int> columns;
  columns.resize(static_cast<size_t>(x1 - x0));
  for (int x = x0; x < x1; ++x) {
    columns[static_cast<size_t>(x - x0)] = static_cast<int>(sl + (x - dl) * sw / dw);
  }
  for (int y = y0; y < y1; ++y) {
    const int sy = static_cast<int>(st + (y - dt) * sh / dh);
    auto* drow = reinterpret_cast<std::uint32_t*>(image_->scanLine(y));
    const bool row_inside = sy >= 0 && sy < src_h;
    const auto* srow =
        row_inside ? reinterpret_cast<const std::uint32_t*>(src->constScanLine(sy)) : nullptr;
    for (int x = x0; x < x1; ++x) {
      const int sx = columns[static_cast<size_t>(x - x0)];
      std::uint32_t c = 0xFF000000u;
      if (srow != nullptr && sx >= 0 && sx < src_w) c = srow[sx] | 0xFF000000u;
      if (keyed && c == key) continue;
      drow[x] = c;
    }
  }
}

}  // namespace qm
