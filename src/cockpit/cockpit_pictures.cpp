#include "cockpit/cockpit_pictures.h"

#include <string>

#include "platform/edition.h"
#include "platform/game_folder.h"

namespace qm {
namespace {

void Load(Surface& surface, const std::string& name, bool transparent) {
  if (surface.LoadBitmap(EditionPicturePath("\\cg\\" + name))) surface.SetTransparent(transparent);
}

}  // namespace

void LoadCockpitPictures(CockpitPictures& p) {
  Load(p.image1, "image1.bmp", true);
  Load(p.image2, "image2.bmp", false);
  Load(p.image6, "image6.bmp", false);
  for (int i = 0; i < kRepairButtons; ++i) {
    Load(p.tra_b[static_cast<size_t>(i)], "tra_b" + std::to_string(i + 1) + ".bmp", true);
  }
}

}  // namespace qm
