#include "app/title_pictures.h"

namespace qm {

std::vector<PictureFile> TitlePictureFiles(TitlePictures& p) {
  return {{&p.title_cg, "title.bmp", false},  {&p.alone[0], "alone1.bmp", false},
          {&p.alone[1], "alone2.bmp", false}, {&p.alone[2], "alone3.bmp", false},
          {&p.logo, "logo.bmp", false},       {&p.title_a, "title_a.bmp", false}};
}

bool LoadTitlePictures(TitlePictures& p) {
  return LoadPictureFiles(TitlePictureFiles(p)).empty();
}

}  // namespace qm
