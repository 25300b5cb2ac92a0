#include "voyage/voyage_pictures.h"

namespace qm {

std::vector<PictureFile> VoyagePictureFiles(VoyagePictures& p) {
  std::vector<PictureFile> files = {
      {&p.black, "black.bmp", false}, {&p.gamen, "gamen.bmp", true},  {&p.txt, "txt.bmp", true},
      {&p.cont, "cont.bmp", false},   {&p.cont2, "cont2.bmp", false},
  };
  for (int k = kFirstPointKind; k <= kLastPointKind; ++k) {
    if (Traits(k).has_picture)
      files.push_back({&p.bui[static_cast<size_t>(k)], "bui" + std::to_string(k) + ".bmp", true});
  }
  for (int k = 0; k < kNoisePictures; ++k)
    files.push_back({&p.noize[static_cast<size_t>(k)], "noize" + std::to_string(k) + ".bmp", true});
  files.push_back({&p.trable, "trable.bmp", true});
  files.push_back({&p.syowaku, "syowaku.bmp", false});
  return files;
}

std::vector<std::string> LoadVoyagePictures(VoyagePictures& p) {
  return LoadPictureFiles(VoyagePictureFiles(p));
}

}  // namespace qm
