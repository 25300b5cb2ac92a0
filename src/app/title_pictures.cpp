#include "app/title_pictures.h"

#include <string>

#include "platform/edition.h"
#include "platform/game_folder.h"

namespace qm {

bool LoadTitlePictures(TitlePictures& p) {
  bool all = true;
  auto load = [&all](Surface& s, const char* name) {
    all &= s.LoadBitmap(EditionPicturePath(std::string("\\cg\\") + name));
  };
  load(p.title_cg, "title.bmp");
  load(p.alone[0], "alone1.bmp");
  load(p.alone[1], "alone2.bmp");
  load(p.alone[2], "alone3.bmp");
  load(p.logo, "logo.bmp");
  load(p.title_a, "title_a.bmp");
  return all;
}

}  // namespace qm
