#pragma once

#include <QImage>
#include <string>
#include <string_view>
#include <utility>

#include "platform/color.h"

namespace qm {

// A rectangle of pixels with its own pen, brush and font, offering exactly the drawing the game
// does. Rectangles are (left, top, right, bottom) with right and bottom exclusive, as the game's
// coordinates were laid out for. Text is CP932 bytes; it becomes Unicode only here, where drawn.
class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Color fill = kBlack);

  // Reads a Windows BMP file; false (and an empty surface) when it cannot be read.
  bool LoadBitmap(const std::string& path);

  bool IsNull() const { return pixels_.image.isNull(); }
  int Width() const { return pixels_.width; }
  int Height() const { return pixels_.height; }
  Color Pixel(int x, int y) const;
  void SetPixel(int x, int y, Color c);

  // A transparent bitmap leaves the destination alone wherever it has the colour of its own
  // bottom-left pixel.
  void SetTransparent(bool on) { transparent_ = on; }
  bool Transparent() const { return transparent_; }
  Color TransparentColor() const;

  void SetPenColor(Color c) { pen_ = c; }
  Color PenColor() const { return pen_; }
  void SetBrushColor(Color c) {
    brush_ = c;
    brush_clear_ = false;
  }
  Color BrushColor() const { return brush_; }
  void SetBrushClear(bool clear) { brush_clear_ = clear; }
  bool BrushClear() const { return brush_clear_; }

  // Font size in points at 96 dots per inch, as the game's windows were designed.
  void SetFontFace(std::string_view face) { font_face_ = face; }
  void SetFontSize(int points);
  void SetFontPixelSize(int pixels) { font_pixels_ = pixels; }
  void SetFontStyle(bool bold, bool italic) {
    font_bold_ = bold;
    font_italic_ = italic;
  }
  void SetFontColor(Color c) { font_color_ = c; }
  Color FontColor() const { return font_color_; }
  int FontPixelSize() const { return font_pixels_; }

  // Outlined with the pen, filled with the brush (unless clear).
  void FillRect(int left, int top, int right, int bottom);
  // Inscribed in the rectangle, outlined with the pen, filled with the brush.
  void Ellipse(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  // Pen-coloured line from the current point; the end point itself is not drawn.
  void LineTo(int x, int y);
  // Top-left of the text cell at (x, y); the cell is filled with the brush unless it is clear.
  void TextOut(int x, int y, std::string_view cp932);
  int TextWidth(std::string_view cp932) const;
  int TextHeight() const;

  void Draw(int x, int y, const Surface& bitmap);
  void StretchDraw(int left, int top, int right, int bottom, const Surface& bitmap);
  // Copies the source rectangle scaled to the destination rectangle, no transparency. Source
  // pixels outside the source surface read as black. Copying a surface onto itself is allowed.
  void CopyRect(int dl, int dt, int dr, int db, const Surface& source, int sl, int st, int sr,
                int sb);

  // The pixels, for the windows that show them.
  const QImage& Image() const { return pixels_.image; }

 private:
  // The image and its size, kept beside it because the drawing loops ask for it once per pixel.
  // A surface copied shares its pixels until either is drawn on (QImage's own sharing); one moved
  // from is left empty, size and all, so that every operation on it stays harmless.
  struct Pixels {
    Pixels() = default;
    explicit Pixels(QImage pixels)
        : image(std::move(pixels)), width(image.width()), height(image.height()) {}
    Pixels(const Pixels&) = default;
    Pixels& operator=(const Pixels&) = default;
    Pixels(Pixels&& other) noexcept
        : image(std::move(other.image)),
          width(std::exchange(other.width, 0)),
          height(std::exchange(other.height, 0)) {}
    Pixels& operator=(Pixels&& other) noexcept {
      image = std::move(other.image);
      width = std::exchange(other.width, 0);
      height = std::exchange(other.height, 0);
      return *this;
    }
    ~Pixels() = default;

    QImage image;
    int width = 0;
    int height = 0;
  };

  void Blit(int dl, int dt, int dr, int db, const Surface& source, int sl, int st, int sr, int sb,
            bool use_transparency);
  std::uint32_t* Row(int y);
  void Span(int y, long long x0, long long x1, Color c);

  Pixels pixels_;
  bool transparent_ = false;
  Color pen_ = kBlack;
  Color brush_ = kWhite;
  bool brush_clear_ = false;
  std::string font_face_ = "IPAPGothic";
  int font_pixels_ = 12;
  bool font_bold_ = false;
  bool font_italic_ = false;
  Color font_color_ = kBlack;
  int pen_x_ = 0;
  int pen_y_ = 0;
};

}  // namespace qm
