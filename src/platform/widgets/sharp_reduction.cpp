#include "platform/widgets/sharp_reduction.h"

#include <QImage>
#include <algorithm>
#include <cstdint>

namespace qm {
namespace {

constexpr std::int64_t kLeastMix = 32;

// a and b mixed, b weighing w / 256: red and blue in one product, green and alpha in another.
// The same colour mixed with itself comes back exactly.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
  const std::uint32_t v = 256 - w;
  const std::uint32_t rb = ((a & 0x00FF00FFu) * v + (b & 0x00FF00FFu) * w) >> 8;
  const std::uint32_t ga = (((a >> 8) & 0x00FF00FFu) * v + ((b >> 8) & 0x00FF00FFu) * w) >> 8;
  return (rb & 0x00FF00FFu) | ((ga & 0x00FF00FFu) << 8);
}

}  // namespace

ReductionAxis MakeReductionAxis(int window, int factor, int shown) {
  ReductionAxis axis;
  axis.window = window;
  axis.factor = factor;
  axis.first.resize(static_cast<size_t>(std::max(shown, 0)));
  axis.weight.resize(axis.first.size());
  const std::int64_t enlarged = static_cast<std::int64_t>(window) * factor;
  const std::int64_t twice_shown = 2 * static_cast<std::int64_t>(shown);
  for (int j = 0; j < shown; ++j) {
    // Twice the shown size times the position read, in whole numbers, so a whole factor reads
    // every pixel exactly and a half factor mixes exactly half and half.
    const std::int64_t at = (2 * static_cast<std::int64_t>(j) + 1) * enlarged - shown;
    std::int64_t first = 0;
    std::int64_t weight = 0;
    if (at > 0) {
      first = at / twice_shown;
      weight = ((at % twice_shown) * 256 + shown) / twice_shown;
      // A mix of less than an eighth would only tint the pixel: it is left out, so a shown pixel
      // is either a window pixel's own colour or a mix anyone can see as the edge it is.
      if (weight < kLeastMix) weight = 0;
      if (weight > 256 - kLeastMix) {
        ++first;
        weight = 0;
      }
    }
    if (first >= enlarged - 1) {
      first = enlarged - 1;
      weight = 0;
    }
    axis.first[static_cast<size_t>(j)] = static_cast<int>(first);
    axis.weight[static_cast<size_t>(j)] = static_cast<std::uint16_t>(weight);
  }
  return axis;
}

std::pair<int, int> ReductionAxis::ShownOf(int from, int to) const {
  // Both ends of a shown pixel's window pixels only grow along the axis, so each end is the first
  // shown pixel, from `lo` on, for which `reached` holds.
  const auto first_reaching = [this](int lo, const auto& reached) {
    int hi = shown();
    while (lo < hi) {
      const int mid = (lo + hi) / 2;
      if (reached(mid)) {
        hi = mid;
      } else {
        lo = mid + 1;
      }
    }
    return lo;
  };
  const int begin = first_reaching(0, [&](int s) { return WindowLast(s) >= from; });
  const int end = first_reaching(begin, [&](int s) { return WindowFirst(s) >= to; });
  return {begin, end};
}

std::pair<int, int> ReductionAxis::WindowOf(int from, int to) const {
  if (from >= to) return {0, 0};
  return {WindowFirst(from), WindowLast(to - 1) + 1};
}

QRect ShownOf(const ReductionAxis& xs, const ReductionAxis& ys, const QRect& window_rect) {
  const auto [left, right] = xs.ShownOf(window_rect.left(), window_rect.right() + 1);
  const auto [top, bottom] = ys.ShownOf(window_rect.top(), window_rect.bottom() + 1);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

QRect WindowOf(const ReductionAxis& xs, const ReductionAxis& ys, const QRect& shown_rect) {
  const auto [left, right] = xs.WindowOf(shown_rect.left(), shown_rect.right() + 1);
  const auto [top, bottom] = ys.WindowOf(shown_rect.top(), shown_rect.bottom() + 1);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void Reduce(const QImage& enlarged, const ReductionAxis& xs, const ReductionAxis& ys,
            const QRect& rect, QImage& shown) {
  const QRect r = rect & QRect(0, 0, xs.shown(), ys.shown());
  if (r.isEmpty()) return;
  // The enlarged columns this rectangle reads.
  const int from = xs.first[static_cast<size_t>(r.left())];
  const int to = std::min(enlarged.width() - 1, xs.first[static_cast<size_t>(r.right())] + 1);
  std::vector<std::uint32_t> mixed(static_cast<size_t>(to - from + 1));
  for (int j = r.top(); j <= r.bottom(); ++j) {
    const int y = ys.first[static_cast<size_t>(j)];
    const std::uint32_t wy = ys.weight[static_cast<size_t>(j)];
    const auto* upper = reinterpret_cast<const std::uint32_t*>(enlarged.constScanLine(y));
    const std::uint32_t* row = upper + from;
    if (wy != 0) {
      // Rows first: every shown row needs its two enlarged rows mixed only where it reads them.
      const auto* lower = reinterpret_cast<const std::uint32_t*>(enlarged.constScanLine(y + 1));
      for (int x = from; x <= to; ++x)
        mixed[static_cast<size_t>(x - from)] = Mix(upper[x], lower[x], wy);
      row = mixed.data();
    }
    auto* out = reinterpret_cast<std::uint32_t*>(shown.scanLine(j));
    for (int i = r.left(); i <= r.right(); ++i) {
      const int x = xs.first[static_cast<size_t>(i)] - from;
      const std::uint32_t wx = xs.weight[static_cast<size_t>(i)];
      out[i] = wx == 0 ? row[x] : Mix(row[x], row[x + 1], wx);
    }
  }
}

}  // namespace qm
