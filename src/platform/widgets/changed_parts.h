#pragma once

#include <QRect>
#include <vector>

class QImage;

namespace qm {

// The parts in which two 32-bit pictures of the same size differ within `area` (the whole
// picture when null), as a few rectangles that cover every differing pixel.
std::vector<QRect> ChangedParts(const QImage& before, const QImage& after, QRect area = QRect());

// Merges the two parts whose rectangle together adds the least area, while there are many or the
// merged part costs no more than the two did, so that parts that overlap are drawn once. So many
// parts that the picture seems to move as a whole become one rectangle around them.
void MergeParts(std::vector<QRect>& parts);

}  // namespace qm
