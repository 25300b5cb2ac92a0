#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/color.h"

class QImage;

namespace qm {

// A rectangle of pixels with its own pen, brush and font, offering exactly the drawing the game
// does. Rectangles are (left, top, right, bottom) with right and bottom exclusive, as the game's
// coordinates were laid out for. Text is CP932 bytes; it becomes Unicode only here, where drawn.
class Surface {
 public:
  Surface();
  Surface(int width, int height, Color fill = kBlack);
  Surface(const Surface& other);
  Surface& operator=(const Surface& other);
  Surface(Surface&&) noexcept;
  Surface& operator=(Surface&&) noexcept;
  ~Surface();

  // Reads a Windows BMP file; false (and an empty surface) when it cannot be read.
  bool LoadBitmap(const std::string& path);

  bool IsNull() const;
  int Width() const { return width_; }
  int Height() const { return height_; }
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
  const QImage& Image() const;

 private:
  void Blit(int dl, int dt, int dr, int db, const Surface& source, int sl, int st, int sr, int sb,
            bool use_transparency);
  std::uint32_t* Row(int y);
  void SyncSize();
  void Span(int y, long long x0, long long x1, Color c);

  std::unique_ptr<QImage> image_;
  bool transparent_ = false;
  Color pen_ = kBlack;
  Color brush_ = kWhite;
  bool brush_clear_ = false;
  std::string font_face_ = "IPAPGothic";
  int font_pixels_ = 12;
  bool font_bold_ = false;
  bool font_italic_ = false;
  Color font_color_ = kBlack;
  int width_ = 0;
  int height_ = 0;
  int pen_x_ = 0;
  int pen_y_ = 0;
};

}  // namespace qm
