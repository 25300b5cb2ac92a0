#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "surface_checks.h"

namespace qm {
namespace {

using namespace qm::testing;

TEST(SurfaceFillRect, OutlinesWithPenFillsWithBrushRightAndBottomExclusive) {
  Surface s = PenAndBrush(10, 10);
  s.FillRect(2, 3, 7, 8);
  for (int x = 2; x <= 6; ++x) {
    EXPECT_EQ(s.Pixel(x, 3), kRed);
    EXPECT_EQ(s.Pixel(x, 7), kRed);
  }
  for (int y = 3; y <= 7; ++y) {
    EXPECT_EQ(s.Pixel(2, y), kRed);
    EXPECT_EQ(s.Pixel(6, y), kRed);
  }
  for (int y = 4; y <= 6; ++y)
    for (int x = 3; x <= 5; ++x)
      EXPECT_EQ(s.Pixel(x, y), kBlue);
  const Box box = Painted(s, kBlack);
  EXPECT_EQ(box.l, 2);
  EXPECT_EQ(box.t, 3);
  EXPECT_EQ(box.r, 7);
  EXPECT_EQ(box.b, 8);
}

TEST(SurfaceFillRect, ClearBrushLeavesTheInsideAlone) {
  Surface s(10, 10, kGreen);
  s.SetPenColor(kRed);
  s.SetBrushColor(kBlue);
  s.SetBrushClear(true);
  s.FillRect(0, 0, 10, 10);
  EXPECT_EQ(s.Pixel(0, 0), kRed);
  EXPECT_EQ(s.Pixel(9, 9), kRed);
  EXPECT_EQ(s.Pixel(5, 5), kGreen);
  // Choosing a brush colour makes the brush solid again.
  s.SetBrushColor(kBlue);
  s.FillRect(0, 0, 10, 10);
  EXPECT_EQ(s.Pixel(5, 5), kBlue);
}

TEST(SurfaceFillRect, TinyAndEmptyRectangles) {
  Surface s = PenAndBrush(10, 10);
  s.FillRect(1, 1, 2, 2);
  EXPECT_EQ(s.Pixel(1, 1), kRed);
  EXPECT_EQ(Painted(s, kBlack).r, 2);
  EXPECT_EQ(Painted(s, kBlack).b, 2);

  Surface three = PenAndBrush(10, 10);
  three.FillRect(4, 4, 7, 7);
  EXPECT_EQ(three.Pixel(5, 5), kBlue);
  EXPECT_EQ(three.Pixel(4, 5), kRed);
  EXPECT_EQ(three.Pixel(6, 5), kRed);

  Surface empty = PenAndBrush(10, 10);
  empty.FillRect(3, 3, 3, 8);
  empty.FillRect(3, 3, 8, 3);
  EXPECT_EQ(Pixels(empty), Pixels(Surface(10, 10, kBlack)));
}

TEST(SurfaceFillRect, ClipsAtAndBeyondTheEdges) {
  Surface small = PenAndBrush(10, 10);
  Surface big = PenAndBrush(30, 30);
  small.FillRect(-5, -4, 3, 12);
  big.FillRect(5, 6, 13, 22);
  ExpectSameAsCrop(small, big, 10, 10);

  Surface far = PenAndBrush(10, 10);
  far.FillRect(10, 0, 20, 10);
  far.FillRect(0, 10, 10, 20);
  far.FillRect(-20, -20, 0, 0);
  EXPECT_EQ(Pixels(far), Pixels(Surface(10, 10, kBlack)));

  // A rectangle far larger than the surface fills it with the brush; its outline is off-screen.
  Surface huge = PenAndBrush(10, 10);
  huge.FillRect(-1000000, -1000000, 1000000, 1000000);
  EXPECT_EQ(Pixels(huge), Pixels(Surface(10, 10, kBlue)));
}

TEST(SurfaceEllipse, InscribedInTheRectangleAndSymmetric) {
  for (int w = 1; w <= 23; ++w) {
    for (int h : {1, 2, 3, 4, 5, 8, 13, 20}) {
      for (int left : {0, 37}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h) + " at " + std::to_string(left));
        Surface s = PenAndBrush(64, 32);
        const int top = left / 3;
        s.Ellipse(left, top, left + w, top + h);
        const Box box = Painted(s, kBlack);
        ASSERT_EQ(box.l, left);
        ASSERT_EQ(box.t, top);
        ASSERT_EQ(box.r, left + w);
        ASSERT_EQ(box.b, top + h);
        for (int y = top; y < top + h; ++y)
          for (int x = left; x < left + w; ++x) {
            const Color c = s.Pixel(x, y);
            ASSERT_EQ(c, s.Pixel(2 * left + w - 1 - x, y)) << x << "," << y;
            ASSERT_EQ(c, s.Pixel(x, 2 * top + h - 1 - y)) << x << "," << y;
          }
        // The corners of the box lie outside the ellipse once it is big enough to be round.
        if (w >= 4 && h >= 4) {
          EXPECT_EQ(s.Pixel(left, top), kBlack);
          EXPECT_EQ(s.Pixel(left + w - 1, top + h - 1), kBlack);
        }
      }
    }
  }
}

TEST(SurfaceEllipse, OutlineClosesAroundTheFill) {
  Surface s = PenAndBrush(40, 30);
  s.Ellipse(3, 2, 36, 27);
  int inside = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      if (s.Pixel(x, y) != kBlue) continue;
      ++inside;
      // No brush pixel touches the background: the pen ring is unbroken.
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
        ASSERT_NE(s.Pixel(x + dx, y + dy), kBlack) << x << "," << y;
    }
  EXPECT_GT(inside, 500);
  EXPECT_EQ(s.Pixel(19, 14), kBlue);
  EXPECT_EQ(s.Pixel(3, 14), kRed);
  EXPECT_EQ(s.Pixel(19, 2), kRed);
}

TEST(SurfaceEllipse, ClearBrushAndClipping) {
  Surface s(20, 20, kGreen);
  s.SetPenColor(kRed);
  s.SetBrushClear(true);
  s.Ellipse(0, 0, 20, 20);
  EXPECT_EQ(s.Pixel(10, 10), kGreen);
  EXPECT_EQ(s.Pixel(0, 10), kRed);

  Surface small = PenAndBrush(20, 20);
  Surface big = PenAndBrush(60, 60);
  small.Ellipse(-10, -7, 12, 25);
  big.Ellipse(10, 13, 32, 45);
  ExpectSameAsCrop(small, big, 20, 20);

  Surface off = PenAndBrush(20, 20);
  off.Ellipse(20, 0, 40, 20);
  off.Ellipse(-30, -30, 0, 0);
  off.Ellipse(5, 5, 5, 9);
  EXPECT_EQ(Pixels(off), Pixels(Surface(20, 20, kBlack)));
}

TEST(SurfaceEllipse, EnormousEllipseFillsTheSurfaceWithoutExhaustingMemory) {
  Surface s = PenAndBrush(10, 10);
  s.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000);
  EXPECT_EQ(Pixels(s), Pixels(Surface(10, 10, kBlue)));
  // Only the edge of a huge ellipse crosses the surface: outline and both sides show.
  Surface edge = PenAndBrush(10, 10);
  edge.Ellipse(5, -100000000, 200000005, 100000000);
  EXPECT_EQ(edge.Pixel(4, 5), kBlack);
  EXPECT_EQ(edge.Pixel(5, 5), kRed);
  EXPECT_EQ(edge.Pixel(9, 5), kBlue);
}

TEST(SurfaceLine, EndPointExcludedAndCurrentPointMoves) {
  Surface s(10, 10, kBlack);
  s.SetPenColor(kGreen);
  s.MoveTo(1, 1);
  s.LineTo(5, 1);
  for (int x = 1; x <= 4; ++x)
    EXPECT_EQ(s.Pixel(x, 1), kGreen);
  EXPECT_EQ(s.Pixel(5, 1), kBlack);
  s.LineTo(5, 4);
  for (int y = 1; y <= 3; ++y)
    EXPECT_EQ(s.Pixel(5, y), kGreen);
  EXPECT_EQ(s.Pixel(5, 4), kBlack);
  s.LineTo(2, 4);
  EXPECT_EQ(s.Pixel(5, 4), kGreen);
  EXPECT_EQ(s.Pixel(3, 4), kGreen);
  EXPECT_EQ(s.Pixel(2, 4), kBlack);

  Surface diag(10, 10, kBlack);
  diag.SetPenColor(kGreen);
  diag.MoveTo(0, 0);
  diag.LineTo(4, 4);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(diag.Pixel(i, i), kGreen);
  EXPECT_EQ(diag.Pixel(4, 4), kBlack);
  diag.LineTo(4, 4);  // zero length: nothing
  EXPECT_EQ(diag.Pixel(4, 4), kBlack);
}

TEST(SurfaceLine, SteepLinesHaveOnePixelPerRowAndStayConnected) {
  Surface s(10, 10, kBlack);
  s.SetPenColor(kGreen);
  s.MoveTo(0, 0);
  s.LineTo(3, 9);
  int previous_x = -1;
  for (int y = 0; y < 9; ++y) {
    int count = 0;
    int at = -1;
    for (int x = 0; x < 10; ++x)
      if (s.Pixel(x, y) == kGreen) {
        ++count;
        at = x;
      }
    ASSERT_EQ(count, 1) << y;
    if (previous_x >= 0) {
      EXPECT_LE(std::abs(at - previous_x), 1);
    }
    previous_x = at;
  }
  EXPECT_EQ(Painted(s, kBlack).b, 9);
}

TEST(SurfaceLine, ClipsLikeTheSameLineOnALargerSurface) {
  const std::vector<std::pair<std::pair<int, int>, std::pair<int, int>>> lines = {
      {{-5, 2}, {15, 2}}, {{-7, -3}, {14, 11}}, {{12, -4}, {-3, 9}}, {{4, -20}, {6, 30}}};
  for (const auto& [from, to] : lines) {
    Surface small(10, 10, kBlack);
    Surface big(60, 60, kBlack);
    small.SetPenColor(kGreen);
    big.SetPenColor(kGreen);
    small.MoveTo(from.first, from.second);
    small.LineTo(to.first, to.second);
    big.MoveTo(from.first + 25, from.second + 25);
    big.LineTo(to.first + 25, to.second + 25);
    ExpectSameAsCrop(small, big, 25, 25);
  }
  // Lines wholly off the surface draw nothing, however long.
  Surface off(10, 10, kBlack);
  off.SetPenColor(kGreen);
  off.MoveTo(-2000000000, -5);
  off.LineTo(2000000000, -5);
  off.MoveTo(20, -2000000000);
  off.LineTo(20, 2000000000);
  EXPECT_EQ(Pixels(off), Pixels(Surface(10, 10, kBlack)));
}

TEST(SurfaceLine, VeryLongLineAcrossTheSurface) {
  Surface s(10, 10, kBlack);
  s.SetPenColor(kGreen);
  s.MoveTo(-1000000000, 4);
  s.LineTo(1000000000, 4);
  for (int x = 0; x < 10; ++x)
    EXPECT_EQ(s.Pixel(x, 4), kGreen);
  EXPECT_EQ(s.Pixel(0, 3), kBlack);
  EXPECT_EQ(s.Pixel(0, 5), kBlack);
}

// A 3x2 bitmap with six different colours; bottom-left is magenta, the transparency key.
Surface Sample() {
  Surface b(3, 2, kBlack);
  const Color colours[2][3] = {{0x112233, 0x445566, 0xFF00FF}, {0xFF00FF, 0x778899, 0xAABBCC}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      b.SetPixel(x, y, colours[y][x]);
  return b;
}

TEST(SurfaceDraw, CopiesUnscaledAndKeysOutTheBottomLeftColour) {
  Surface opaque(6, 5, kGreen);
  const Surface bmp = Sample();
  opaque.Draw(2, 1, bmp);
  EXPECT_EQ(opaque.Pixel(2, 1), 0x112233u);
  EXPECT_EQ(opaque.Pixel(4, 1), 0xFF00FFu);
  EXPECT_EQ(opaque.Pixel(2, 2), 0xFF00FFu);
  EXPECT_EQ(opaque.Pixel(4, 2), 0xAABBCCu);
  EXPECT_EQ(opaque.Pixel(5, 1), kGreen);
  EXPECT_EQ(opaque.Pixel(2, 3), kGreen);

  Surface keyed(6, 5, kGreen);
  Surface transparent = Sample();
  transparent.SetTransparent(true);
  EXPECT_EQ(transparent.TransparentColor(), 0xFF00FFu);
  keyed.Draw(2, 1, transparent);
  EXPECT_EQ(keyed.Pixel(2, 1), 0x112233u);  // top-left is not the key
  EXPECT_EQ(keyed.Pixel(4, 1), kGreen);     // key colour anywhere is see-through
  EXPECT_EQ(keyed.Pixel(2, 2), kGreen);
  EXPECT_EQ(keyed.Pixel(3, 2), 0x778899u);

  Surface clipped(6, 5, kGreen);
  clipped.Draw(-1, -1, bmp);
  EXPECT_EQ(clipped.Pixel(0, 0), 0x778899u);
  EXPECT_EQ(clipped.Pixel(1, 0), 0xAABBCCu);
  EXPECT_EQ(clipped.Pixel(2, 0), kGreen);
  clipped.Draw(5, 4, bmp);
  EXPECT_EQ(clipped.Pixel(5, 4), 0x112233u);

  Surface untouched(6, 5, kGreen);
  untouched.Draw(0, 0, Surface());
  untouched.Draw(6, 0, bmp);
  untouched.Draw(-3, 0, bmp);
  EXPECT_EQ(Pixels(untouched), Pixels(Surface(6, 5, kGreen)));
}

TEST(SurfaceDraw, StretchIsNearestNeighbourWithTransparency) {
  Surface s(12, 8, kGreen);
  Surface bmp = Sample();
  s.StretchDraw(0, 0, 9, 6, bmp);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 9; ++x)
      ASSERT_EQ(s.Pixel(x, y), bmp.Pixel(x / 3, y / 3)) << x << "," << y;
  EXPECT_EQ(s.Pixel(9, 0), kGreen);
  EXPECT_EQ(s.Pixel(0, 6), kGreen);

  bmp.SetTransparent(true);
  Surface keyed(12, 8, kGreen);
  keyed.StretchDraw(0, 0, 9, 6, bmp);
  EXPECT_EQ(keyed.Pixel(7, 1), kGreen);
  EXPECT_EQ(keyed.Pixel(2, 5), kGreen);
  EXPECT_EQ(keyed.Pixel(4, 4), 0x778899u);

  // An uneven scale still only ever shows source colours, in source order.
  Surface odd(7, 1, kGreen);
  Surface row(3, 1, kBlack);
  for (int x = 0; x < 3; ++x)
    row.SetPixel(x, 0, 0x100000u * static_cast<Color>(x + 1));
  odd.StretchDraw(0, 0, 7, 1, row);
  Color last = 0;
  std::set<Color> seen;
  for (int x = 0; x < 7; ++x) {
    const Color c = odd.Pixel(x, 0);
    ASSERT_TRUE(c == 0x100000u || c == 0x200000u || c == 0x300000u) << x;
    ASSERT_GE(c, last);
    last = c;
    seen.insert(c);
  }
  EXPECT_EQ(seen.size(), 3u);
}

// Each pixel names its own position, so a copied pixel tells where it came from.
Surface Numbered(int w, int h) {
  Surface s(w, h, kBlack);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      s.SetPixel(x, y, static_cast<Color>(x * 1024 + y + 1));
  return s;
}
std::pair<int, int> Origin(Color c) {
  return {static_cast<int>((c - 1) / 1024), static_cast<int>((c - 1) % 1024)};
}

TEST(SurfaceCopyRect, SelfCopyShiftsTheViewInEitherDirection) {
  for (auto [a, b] : {std::pair{3, 2}, {-4, -1}, {0, 5}, {-2, 3}}) {
    SCOPED_TRACE(std::to_string(a) + "," + std::to_string(b));
    Surface view = Numbered(400, 300);
    const Surface before = view;
    view.CopyRect(-a, -b, 400 - a, 300 - b, view, 0, 0, 400, 300);
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 400; ++x) {
        const bool covered = x + a >= 0 && x + a < 400 && y + b >= 0 && y + b < 300;
        const Color expected = covered ? before.Pixel(x + a, y + b) : before.Pixel(x, y);
        ASSERT_EQ(view.Pixel(x, y), expected) << x << "," << y;
      }
  }
}

TEST(SurfaceCopyRect, SelfCopyZoomsIntoTheMiddle) {
  for (int w : {1, 10, 40}) {
    SCOPED_TRACE(w);
    Surface view = Numbered(400, 300);
    view.CopyRect(0, 0, 400, 300, view, w, w, 400 - w, 300 - w);
    EXPECT_EQ(Origin(view.Pixel(0, 0)), std::make_pair(w, w));
    int last_x = -1;
    for (int x = 0; x < 400; ++x) {
      const auto [sx, sy] = Origin(view.Pixel(x, 150));
      const double ideal = w + (x + 0.5) * (400 - 2 * w) / 400.0 - 0.5;
      ASSERT_LE(std::abs(sx - ideal), 1.0) << x;
      ASSERT_GE(sx, last_x);
      ASSERT_LT(sx, 400 - w);
      last_x = sx;
    }
    int last_y = -1;
    for (int y = 0; y < 300; ++y) {
      const auto [sx, sy] = Origin(view.Pixel(200, y));
      const double ideal = w + (y + 0.5) * (300 - 2 * w) / 300.0 - 0.5;
      ASSERT_LE(std::abs(sy - ideal), 1.0) << y;
      ASSERT_GE(sy, last_y);
      ASSERT_LT(sy, 300 - w);
      last_y = sy;
    }
  }
}

TEST(SurfaceCopyRect, SourceOutsideItsSurfaceReadsBlack) {
  const Surface src(4, 4, kWhite);
  Surface dest(4, 4, kRed);
  dest.CopyRect(0, 0, 4, 4, src, 2, 2, 6, 6);
  EXPECT_EQ(dest.Pixel(1, 1), kWhite);
  EXPECT_EQ(dest.Pixel(2, 1), kBlack);
  EXPECT_EQ(dest.Pixel(1, 2), kBlack);
  EXPECT_EQ(dest.Pixel(3, 3), kBlack);

  Surface before(4, 4, kRed);
  before.CopyRect(0, 0, 4, 4, src, -2, -3, 2, 1);
  EXPECT_EQ(before.Pixel(1, 2), kBlack);
  EXPECT_EQ(before.Pixel(2, 2), kBlack);
  EXPECT_EQ(before.Pixel(2, 3), kWhite);
  EXPECT_EQ(before.Pixel(1, 3), kBlack);

  // A transparent source does not key out a CopyRect.
  Surface keyed = Sample();
  keyed.SetTransparent(true);
  Surface copy(3, 2, kGreen);
  copy.CopyRect(0, 0, 3, 2, keyed, 0, 0, 3, 2);
  EXPECT_EQ(Pixels(copy), Pixels(keyed));

  Surface empty(4, 4, kRed);
  empty.CopyRect(0, 0, 4, 4, src, 2, 2, 2, 4);
  empty.CopyRect(1, 1, 1, 3, src, 0, 0, 4, 4);
  empty.CopyRect(0, 0, 4, 4, Surface(), 0, 0, 4, 4);
  EXPECT_EQ(Pixels(empty), Pixels(Surface(4, 4, kRed)));
}

TEST(SurfaceCopyRect, ExtremeRectanglesDoNotOverflow) {
  Surface src = Numbered(8, 8);
  Surface dest(8, 8, kRed);
  dest.CopyRect(-2000000000, -2000000000, 2000000000, 2000000000, src, 0, 0, 8, 8);
  dest.CopyRect(0, 0, 8, 8, src, -2000000000, -2000000000, 2000000000, 2000000000);
  // Both copies land somewhere sensible: every pixel is a source pixel or outside-black.
  for (Color c : Pixels(dest)) {
    if (c == kBlack) continue;
    const auto [x, y] = Origin(c);
    ASSERT_TRUE(x >= 0 && x < 8 && y >= 0 && y < 8) << c;
  }
}

TEST(SurfaceBasics, PixelAccessOutsideIsHarmlessAndCopiesAreDeep) {
  Surface s(3, 3, kWhite);
  s.SetPixel(-1, 0, kRed);
  s.SetPixel(3, 0, kRed);
  s.SetPixel(0, 3, kRed);
  EXPECT_EQ(Pixels(s), Pixels(Surface(3, 3, kWhite)));
  EXPECT_EQ(s.Pixel(-1, 0), kBlack);
  EXPECT_EQ(s.Pixel(0, 99), kBlack);

  Surface copy = s;
  copy.SetPixel(1, 1, kRed);
  EXPECT_EQ(s.Pixel(1, 1), kWhite);
  EXPECT_EQ(copy.Pixel(1, 1), kRed);

  Surface moved = std::move(copy);
  EXPECT_EQ(moved.Pixel(1, 1), kRed);
  // What is left behind after a move is an empty surface, not a trap.
  EXPECT_TRUE(copy.IsNull());  // NOLINT(bugprone-use-after-move)
  copy.FillRect(0, 0, 2, 2);
  Surface again(copy);
  EXPECT_TRUE(again.IsNull());
  copy = moved;
  EXPECT_EQ(copy.Pixel(1, 1), kRed);
}

}  // namespace
}  // namespace qm
