#include "cockpit/cockpit_pictures.h"

#include <string>

namespace qm {

std::vector<PictureFile> CockpitPictureFiles(CockpitPictures& p) {
  std::vector<PictureFile> files = {{&p.image1, "image1.bmp", true},
                                    {&p.image2, "image2.bmp", false},
                                    {&p.image6, "image6.bmp", false}};
  for (int i = 0; i < kRepairButtons; ++i)
    files.push_back(
        {&p.tra_b[static_cast<size_t>(i)], "tra_b" + std::to_string(i + 1) + ".bmp", true});
  return files;
}

void LoadCockpitPictures(CockpitPictures& p) {
  LoadPictureFiles(CockpitPictureFiles(p));
}

}  // namespace qm
