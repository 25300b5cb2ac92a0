#pragma once

#include <string>
#include <vector>

#include "platform/surface.h"

namespace qm {

// One picture of the game folder's cg/ and the surface it is read into. Each part of the windows
// keeps its list of these beside its pictures; that list is the one place a picture is named, and
// the build's checks read the names from it.
struct PictureFile {
  Surface* surface;
  std::string name;  // the file name in cg/, "gamen.bmp"
  bool transparent;  // drawn with the colour of its bottom-left pixel left out
};

// Reads each picture of the list, in order, the edition's own where it has one. One that cannot
// be read is left empty and the rest still load; returns the full paths of those that failed.
std::vector<std::string> LoadPictureFiles(const std::vector<PictureFile>& files);

// The file names of a list, in order.
std::vector<std::string> PictureFileNames(const std::vector<PictureFile>& files);

}  // namespace qm
