#pragma once

#include <array>

#include "cockpit/cockpit_state.h"
#include "platform/picture_list.h"
#include "platform/surface.h"

namespace qm {

// The pictures of the cockpit panel's layout: button faces and plates. Unlike the view's
// pictures these are decoration: one that cannot be read is left empty and simply not drawn.
struct CockpitPictures {
  Surface image1;  // marker in the corner of the message box
  Surface image2;  // plate behind the energy gauge
  Surface image6;  // plate behind the repair buttons
  std::array<Surface, kRepairButtons> tra_b;
};

std::vector<PictureFile> CockpitPictureFiles(CockpitPictures& pictures);
void LoadCockpitPictures(CockpitPictures& pictures);

}  // namespace qm
