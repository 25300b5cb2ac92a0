#pragma once

#include <QRect>
#include <cstdint>
#include <utility>
#include <vector>

class QImage;

namespace qm {

// Showing the window at a factor that is not whole, sharply: the window is drawn enlarged pixel
// for pixel at the next whole factor, and that picture is reduced smoothly to the size shown.
// Each shown pixel is read from two neighbouring enlarged pixels on each axis; inside a window
// pixel's enlarged block both are the same colour, so the shown pixel is that colour exactly,
// and only where two window pixels meet is one shown pixel a mix of the two. Every window pixel
// thus keeps a solid core whose width differs from its neighbours' by one pixel at most, with
// at most one mixed pixel at each of its edges: no uneven columns, and no blur.

// One axis of the reduction, from `enlarged` pixels (the window's own size times the whole
// factor) to `shown` pixels. Shown pixel j is read at the enlarged position of its centre,
// (j + 1/2) * enlarged / shown - 1/2: from `first[j]` and the pixel after it, the latter weighing
// `weight[j]` / 256, a weight below an eighth (or above seven) taken as none (or all).
struct ReductionAxis {
  int window = 0;  // the window's own pixels on this axis
  int factor = 1;  // the whole factor the window is drawn at before the reduction
  std::vector<int> first;
  std::vector<std::uint16_t> weight;

  int shown() const { return static_cast<int>(first.size()); }
  // The window pixels shown pixel j is made from: [first, last].
  int WindowFirst(int j) const { return first[j] / factor; }
  int WindowLast(int j) const { return (first[j] + (weight[j] != 0 ? 1 : 0)) / factor; }
  // The shown pixels that change when window pixels [from, to) change, as [begin, end).
  std::pair<int, int> ShownOf(int from, int to) const;
  // The window pixels shown pixels [from, to) are made from, as [begin, end).
  std::pair<int, int> WindowOf(int from, int to) const;
};

ReductionAxis MakeReductionAxis(int window, int factor, int shown);

// The shown rectangle of the window rectangle `window_rect`, and the window rectangle the shown
// rectangle `shown_rect` is made from.
QRect ShownOf(const ReductionAxis& xs, const ReductionAxis& ys, const QRect& window_rect);
QRect WindowOf(const ReductionAxis& xs, const ReductionAxis& ys, const QRect& shown_rect);

// Writes `rect` (shown pixels) of `shown` from `enlarged`; both images are 32-bit RGB, `enlarged`
// of the window's size times the factor, `shown` of the shown size.
void Reduce(const QImage& enlarged, const ReductionAxis& xs, const ReductionAxis& ys,
            const QRect& rect, QImage& shown);

}  // namespace qm
