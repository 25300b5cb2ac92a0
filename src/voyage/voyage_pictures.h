#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/picture_list.h"
#include "platform/surface.h"
#include "state/point_kind.h"

namespace qm {

// The noise pictures cg\noize0..6, by what the view shows them for.
enum NoisePicture : int {
  kNoiseSignalLost = 0,    // the voyage is over: this on even frames,
  kNoiseSignalLost2 = 1,   // this on odd ones
  kNoiseSnow = 2,          // loaded with the others; no frame shows it
  kNoiseInterference = 3,  // the static of a noise zone, one of the two at random
  kNoiseInterference2 = 4,
  kNoiseContactFlash = 5,  // a contact being made
  kNoiseArrivalBanner = 6,
};
constexpr int kNoisePictures = 7;

// The voyage window's pictures, loaded once when the window is made. A picture that failed to
// load stays empty and draws as nothing.
struct VoyagePictures {
  Surface black;
  Surface gamen;                // cockpit frame
  Surface txt;                  // instrument panel bitmap
  Surface cont;                 // idle pad
  Surface cont2;                // pressed pad
  std::array<Surface, 23> bui;  // point picture by kind; kinds without a picture stay empty
  std::array<Surface, kNoisePictures> noize;  // by NoisePicture
  Surface trable;                             // trouble list bitmap
  Surface syowaku;                            // asteroid field
};

// The pictures in the window's load order, each with its file in cg/.
std::vector<PictureFile> VoyagePictureFiles(VoyagePictures& pictures);

// Loads every picture in the window's order. One that cannot be read is left empty and the rest
// still load, so a damaged installation still flies; returns the full paths of those that
// failed, in load order (none when all loaded).
std::vector<std::string> LoadVoyagePictures(VoyagePictures& pictures);

}  // namespace qm
