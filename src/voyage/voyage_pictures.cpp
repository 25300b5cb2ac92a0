#include "voyage/voyage_pictures.h"

#include <vector>

#include "platform/edition.h"
#include "platform/game_folder.h"

namespace qm {

std::vector<std::string> LoadVoyagePictures(VoyagePictures& p) {
  struct Entry {
    Surface* surface;
    std::string name;
    bool transparent;
  };
  std::vector<Entry> order = {
      {&p.black, "black.bmp", false}, {&p.gamen, "gamen.bmp", true},  {&p.txt, "txt.bmp", true},
      {&p.cont, "cont.bmp", false},   {&p.cont2, "cont2.bmp", false},
  };
  for (int k = kFirstPointKind; k <= kLastPointKind; ++k) {
    if (Traits(k).has_picture) {
      order.push_back({&p.bui[static_cast<size_t>(k)], "bui" + std::to_string(k) + ".bmp", true});
    }
  }
  for (int k = 0; k < kNoisePictures; ++k) {
    order.push_back({&p.noize[static_cast<size_t>(k)], "noize" + std::to_string(k) + ".bmp", true});
  }
  order.push_back({&p.trable, "trable.bmp", true});
  order.push_back({&p.syowaku, "syowaku.bmp", false});

  std::vector<std::string> failed;
  for (const Entry& e : order) {
    const std::string path = EditionPicturePath("\\cg\\" + e.name);
    if (e.surface->LoadBitmap(path)) {
      e.surface->SetTransparent(e.transparent);
    } else {
      failed.push_back(path);
    }
  }
  return failed;
}

}  // namespace qm
