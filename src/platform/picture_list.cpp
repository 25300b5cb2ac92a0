#include "platform/picture_list.h"

#include "platform/edition.h"

namespace qm {

std::vector<std::string> LoadPictureFiles(const std::vector<PictureFile>& files) {
  std::vector<std::string> failed;
  for (const PictureFile& f : files) {
    const std::string path = EditionPicturePath("\\cg\\" + f.name);
    if (f.surface->LoadBitmap(path)) {
      f.surface->SetTransparent(f.transparent);
    } else {
      failed.push_back(path);
    }
  }
  return failed;
}

std::vector<std::string> PictureFileNames(const std::vector<PictureFile>& files) {
  std::vector<std::string> names;
  names.reserve(files.size());
  for (const PictureFile& f : files)
    names.push_back(f.name);
  return names;
}

}  // namespace qm
