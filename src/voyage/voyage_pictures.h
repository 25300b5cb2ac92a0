#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace qm {

// The voyage window's pictures, loaded once when the window is made. A picture that failed to
// load stays empty and draws as nothing.
struct VoyagePictures {
  Surface black;
  Surface gamen;                 // cockpit frame
  Surface txt;                   // instrument panel bitmap
  Surface cont;                  // idle pad
  Surface cont2;                 // pressed pad
  std::array<Surface, 23> bui;   // point picture by kind; kinds without a picture stay empty
  std::array<Surface, 7> noize;  // noise pictures 0..6
  Surface trable;                // trouble list bitmap
  Surface syowaku;               // asteroid field
};

// Chart point kinds that are drawn as a picture (and can be collided with).
bool KindHasPicture(int kind);

// Loads every picture in the window's order. One that cannot be read is left empty and the rest
// still load, so a damaged installation still flies; returns the full paths of those that
// failed, in load order (none when all loaded).
std::vector<std::string> LoadVoyagePictures(VoyagePictures& pictures);

}  // namespace qm
