#pragma once

// Pixel-level helpers for the surface tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/surface.h"

namespace qm::testing {

inline constexpr Color kRed = 0xFF0000;
inline constexpr Color kBlue = 0x0000FF;

// The pixels of a surface, for comparing whole pictures.
inline std::vector<Color> Pixels(const Surface& s) {
  std::vector<Color> out;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      out.push_back(s.Pixel(x, y));
  return out;
}

// The part of `big` at (ox, oy) of the size of `small`, so that drawing partly outside a surface
// can be compared with the same drawing on a larger one.
inline void ExpectSameAsCrop(const Surface& small, const Surface& big, int ox, int oy) {
  for (int y = 0; y < small.Height(); ++y)
    for (int x = 0; x < small.Width(); ++x)
      ASSERT_EQ(small.Pixel(x, y), big.Pixel(x + ox, y + oy)) << x << "," << y;
}

// The bounding box (left, top, right, bottom; exclusive) of pixels that differ from `background`.
struct Box {
  int l = 1 << 30, t = 1 << 30, r = -1, b = -1;
};
inline Box Painted(const Surface& s, Color background) {
  Box box;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.Pixel(x, y) != background) {
        box.l = std::min(box.l, x);
        box.t = std::min(box.t, y);
        box.r = std::max(box.r, x + 1);
        box.b = std::max(box.b, y + 1);
      }
  return box;
}

inline Surface PenAndBrush(int w, int h) {
  Surface s(w, h, kBlack);
  s.SetPenColor(kRed);
  s.SetBrushColor(kBlue);
  return s;
}

}  // namespace qm::testing
