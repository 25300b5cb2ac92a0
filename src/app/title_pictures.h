#pragma once

#include <array>

#include "platform/picture_list.h"
#include "platform/surface.h"

namespace qm {

// The picture sources of the title window, laid out beside the visible title picture where the
// player never sees them. A picture that could not be read stays empty and draws as nothing.
struct TitlePictures {
  Surface title_cg;              // background, 201 x 151
  std::array<Surface, 3> alone;  // the figure, 199 x 44 each
  Surface logo;                  // the maker's logo, 180 x 20
  Surface title_a;               // the lettering, 143 x 18
};

// The pictures with their files in cg/.
std::vector<PictureFile> TitlePictureFiles(TitlePictures& pictures);
// Reads the pictures from cg/ in the game folder; false when any of them is missing.
bool LoadTitlePictures(TitlePictures& pictures);

}  // namespace qm
