// What comes into a surface from outside: BMP files and text in the game's fonts.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/surface.h"
#include "surface_checks.h"

namespace qm {
namespace {

using namespace qm::testing;

std::string TempPath(const QTemporaryDir& dir, const char* name) {
  return dir.filePath(QString::fromLatin1(name)).toStdString();
}

TEST(SurfaceLoadBitmap, ReadsBmpFilesOfTheUsualDepths) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage rgb(5, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      rgb.setPixel(x, y, qRgb(x * 50, y * 80, 7));
  ASSERT_TRUE(rgb.save(dir.filePath(QStringLiteral("rgb.bmp")), "BMP"));
  QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8);
  ASSERT_TRUE(indexed.save(dir.filePath(QStringLiteral("pal.bmp")), "BMP"));

  for (const char* name : {"rgb.bmp", "pal.bmp"}) {
    SCOPED_TRACE(name);
    Surface s;
    ASSERT_TRUE(s.LoadBitmap(TempPath(dir, name)));
    ASSERT_EQ(s.Width(), 5);
    ASSERT_EQ(s.Height(), 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(s.Pixel(x, y), static_cast<Color>((x * 50) << 16 | (y * 80) << 8 | 7));
  }
}

// The 54-byte header of a bottom-up 24-bit BMP file of the given size.
std::string BmpHeader(std::uint32_t width, std::uint32_t height) {
  const std::uint32_t row = (width * 3 + 3) / 4 * 4;
  const std::uint32_t image = row * height;
  std::string h;
  auto put = [&h](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
      h += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  h += "BM";
  put(54 + image, 4);
  put(0, 4);
  put(54, 4);  // pixels start right after the headers
  put(40, 4);
  put(width, 4);
  put(height, 4);
  put(1, 2);   // planes
  put(24, 2);  // bits per pixel
  put(0, 4);   // no compression
  put(image, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  return h;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(SurfaceLoadBitmap, ReadsAHandWrittenBottomUpBmp) {
  // 3x2, rows bottom-up and padded to four bytes, as paint programs of the era wrote.
  const std::string rows = std::string(
      // bottom row: blue, green, red (stored B, G, R), then three bytes of padding
      "\xFF\x00\x00"
      "\x00\xFF\x00"
      "\x00\x00\xFF"
      "\x00\x00\x00"
      // top row: white, black, window grey
      "\xFF\xFF\xFF"
      "\x00\x00\x00"
      "\x94\x94\x94"
      "\x00\x00\x00",
      24);
  QTemporaryDir dir;
  const std::string path = TempPath(dir, "hand.bmp");
  WriteFile(path, BmpHeader(3, 2) + rows);
  Surface s;
  ASSERT_TRUE(s.LoadBitmap(path));
  EXPECT_EQ(s.Pixel(0, 0), kWhite);
  EXPECT_EQ(s.Pixel(1, 0), kBlack);
  EXPECT_EQ(s.Pixel(2, 0), kWindowGrey);
  EXPECT_EQ(s.Pixel(0, 1), kBlue);
  EXPECT_EQ(s.Pixel(1, 1), kGreen);
  EXPECT_EQ(s.Pixel(2, 1), kRed);
  s.SetTransparent(true);
  EXPECT_EQ(s.TransparentColor(), kBlue);
}

TEST(SurfaceLoadBitmap, MissingOrBrokenFilesFailQuietly) {
  QTemporaryDir dir;
  const std::string garbage = TempPath(dir, "garbage.bmp");
  const std::string truncated = TempPath(dir, "truncated.bmp");
  const std::string empty = TempPath(dir, "empty.bmp");
  std::ofstream(garbage, std::ios::binary) << "this is not a picture at all, just words";
  // A BMP file header and the start of an info header, then nothing.
  const char truncated_bytes[] = {'B', 'M', 0x4e, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 0x28, 0};
  std::ofstream(truncated, std::ios::binary).write(truncated_bytes, sizeof truncated_bytes);
  std::ofstream(empty, std::ios::binary).flush();
  // Complete headers whose pixels are missing: one small, one claiming a picture far too big.
  const std::string no_pixels = TempPath(dir, "no_pixels.bmp");
  const std::string giant = TempPath(dir, "giant.bmp");
  WriteFile(no_pixels, BmpHeader(3, 2));
  WriteFile(giant, BmpHeader(100000, 100000));
  for (const std::string& path : {TempPath(dir, "missing.bmp"), garbage, truncated, empty,
                                  no_pixels, giant, TempPath(dir, "")}) {
    SCOPED_TRACE(path);
    Surface s(4, 4, kWhite);
    EXPECT_FALSE(s.LoadBitmap(path));
    EXPECT_TRUE(s.IsNull());
    EXPECT_EQ(s.Width(), 0);
    // An empty surface takes drawing and being drawn without complaint.
    s.FillRect(0, 0, 4, 4);
    s.Ellipse(0, 0, 4, 4);
    s.TextOut(0, 0, "A");
    Surface target(4, 4, kGreen);
    target.Draw(0, 0, s);
    target.StretchDraw(0, 0, 4, 4, s);
    EXPECT_EQ(Pixels(target), Pixels(Surface(4, 4, kGreen)));
  }
}

// Text drawn on its own surface: the set of pixels in the font colour.
std::vector<Color> Rendered(const char* face, std::string_view utf8) {
  Surface s(40, 24, kBlack);
  s.SetFontFace(face);
  s.SetFontPixelSize(16);
  s.SetFontColor(kWhite);
  s.SetBrushClear(true);
  s.TextOut(2, 2, Sj(utf8));
  return Pixels(s);
}

TEST(SurfaceText, BrushFillsTheTextCellUnlessClear) {
  Surface s(100, 30, kGreen);
  s.SetBrushColor(kBlue);
  s.SetFontColor(kWhite);
  s.TextOut(5, 5, "AB");
  const int w = s.TextWidth("AB");
  const int h = s.TextHeight();
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);
  int ink = 0;
  for (int y = 5; y < 5 + h; ++y)
    for (int x = 5; x < 5 + w; ++x) {
      const Color c = s.Pixel(x, y);
      ASSERT_TRUE(c == kBlue || c == kWhite) << x << "," << y << " " << c;  // no grey fringes
      ink += c == kWhite;
    }
  EXPECT_GT(ink, 10);
  EXPECT_EQ(s.Pixel(4, 5), kGreen);
  EXPECT_EQ(s.Pixel(5, 4), kGreen);
  EXPECT_EQ(s.Pixel(5 + w, 5), kGreen);
  EXPECT_EQ(s.Pixel(5, 5 + h), kGreen);

  Surface clear(100, 30, kGreen);
  clear.SetBrushColor(kBlue);
  clear.SetBrushClear(true);
  clear.SetFontColor(kWhite);
  clear.TextOut(5, 5, "AB");
  const Box box = Painted(clear, kGreen);
  for (Color c : Pixels(clear))
    ASSERT_TRUE(c == kGreen || c == kWhite);
  EXPECT_GE(box.l, 5);
  EXPECT_GE(box.t, 5);
  EXPECT_LE(box.r, 5 + w + 1);
  EXPECT_LE(box.b, 5 + h);
}

TEST(SurfaceText, WidthGrowsWithTheText) {
  Surface s(10, 10);
  EXPECT_EQ(s.TextWidth(""), 0);
  const int one = s.TextWidth("W");
  EXPECT_GT(one, 0);
  EXPECT_GT(s.TextWidth("WW"), one);
  EXPECT_GT(s.TextWidth("WWWWWWWWWW"), s.TextWidth("WWWWW"));
  s.SetFontPixelSize(24);
  EXPECT_GT(s.TextWidth("W"), one);
  s.SetFontSize(9);
  EXPECT_EQ(s.FontPixelSize(), 12);
  s.SetFontSize(10);
  EXPECT_EQ(s.FontPixelSize(), 13);
}

TEST(SurfaceText, MeasuresKeptFromEarlierTextsBelongToTheirOwnFont) {
  Surface s(10, 10);
  const int small = s.TextWidth("WWW");
  const int small_height = s.TextHeight();
  s.SetFontPixelSize(24);
  const int large = s.TextWidth("WWW");
  EXPECT_GT(large, small);
  EXPECT_GT(s.TextHeight(), small_height);
  s.SetFontStyle(true, false);
  EXPECT_GE(s.TextWidth("WWW"), large);
  s.SetFontStyle(false, false);
  EXPECT_EQ(s.TextWidth("WWW"), large);
  // Past the store's size older texts are measured afresh, to the same width.
  for (int i = 0; i < 600; ++i)
    s.TextWidth(std::to_string(i));
  s.SetFontPixelSize(12);
  EXPECT_EQ(s.TextWidth("WWW"), small);
  EXPECT_EQ(s.TextHeight(), small_height);
}

TEST(SurfaceText, JapaneseGlyphsAreRealInBothFaces) {
  for (const char* face : {"IPAPGothic", "IPAPMincho"}) {
    SCOPED_TRACE(face);
    Surface s(10, 10);
    s.SetFontFace(face);
    s.SetFontPixelSize(12);
    const int kanji = s.TextWidth(Sj("確認"));
    EXPECT_GE(kanji, 16);
    EXPECT_LE(kanji, 30);
    EXPECT_GT(s.TextWidth(Sj("確認します")), kanji);
    // A missing glyph draws the same box for every character; real glyphs differ.
    const auto a = Rendered(face, "確");
    const auto b = Rendered(face, "認");
    const auto c = Rendered(face, "ﾏ");
    EXPECT_NE(a, b);
    EXPECT_NE(a, c);
    EXPECT_NE(a, Pixels(Surface(40, 24, kBlack)));
  }
  // The two faces are really different fonts, not one fallback.
  EXPECT_NE(Rendered("IPAPGothic", "永"), Rendered("IPAPMincho", "永"));
}

}  // namespace
}  // namespace qm
