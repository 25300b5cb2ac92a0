#include "platform/widgets/changed_parts.h"

#include <QImage>
#include <cstdint>
#include <cstring>

namespace qm {
namespace {

// Changes in neighbouring rows this close together sideways are taken as one part.
constexpr int kNear = 8;
// More parts than this are merged: each part drawn costs a pass over the controls it covers.
constexpr size_t kMostParts = 8;
// So many parts means the picture moves as a whole; one rectangle around them does.
constexpr size_t kScattered = 48;

long long Area(const QRect& r) {
  return static_cast<long long>(r.width()) * r.height();
}

}  // namespace

void MergeParts(std::vector<QRect>& parts) {
  if (parts.size() > kScattered) {
    QRect all;
    for (const QRect& r : parts)
      all |= r;
    parts.assign(1, all);
    return;
  }
  while (parts.size() > 1) {
    size_t best_a = 0, best_b = 1;
    long long best = Area(parts[0] | parts[1]) - Area(parts[0]) - Area(parts[1]);
    for (size_t a = 0; a < parts.size(); ++a)
      for (size_t b = a + 1; b < parts.size(); ++b) {
        const long long added = Area(parts[a] | parts[b]) - Area(parts[a]) - Area(parts[b]);
        if (added < best) {
          best = added;
          best_a = a;
          best_b = b;
        }
      }
    if (parts.size() <= kMostParts && best > 0) return;
    parts[best_a] |= parts[best_b];
    parts.erase(parts.begin() + static_cast<std::ptrdiff_t>(best_b));
  }
}

std::vector<QRect> ChangedParts(const QImage& before, const QImage& after, QRect area) {
  std::vector<QRect> parts;
  area = area.isNull() ? after.rect() : area & after.rect() & before.rect();
  if (area.isEmpty()) return parts;
  const size_t row_bytes = static_cast<size_t>(area.width()) * 4;
  QRect open;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    const auto* a = reinterpret_cast<const std::uint32_t*>(before.constScanLine(y));
    const auto* b = reinterpret_cast<const std::uint32_t*>(after.constScanLine(y));
    if (std::memcmp(a + area.left(), b + area.left(), row_bytes) == 0) {
      if (!open.isNull()) parts.push_back(open);
      open = QRect();
      continue;
    }
    int left = area.left();
    while (a[left] == b[left])
      ++left;
    int right = area.right();
    while (a[right] == b[right])
      --right;
    const QRect row(left, y, right - left + 1, 1);
    if (!open.isNull() && left <= open.right() + kNear && right >= open.left() - kNear) {
      open |= row;
    } else {
      if (!open.isNull()) parts.push_back(open);
      open = row;
    }
  }
  if (!open.isNull()) parts.push_back(open);
  MergeParts(parts);
  return parts;
}

}  // namespace qm
