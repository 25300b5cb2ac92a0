#pragma once

// A throw-away game folder (with its dat/ folder) for tests that read and write the game's files.
// It is a portable game folder, so the saved game and the voyage log stay in it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>

#include <QColor>
#include <QImage>

#include "platform/game_folder.h"

namespace qm::testing {

class TempGameFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-game-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::filesystem::create_directory(folder_ + "/dat");
    WriteBytes(folder_ + "/" + std::string(kPortableMarker), "");
    SetGameFolderForTesting(folder_);
  }
  void TearDown() override {
    SetGameFolderForTesting("");
    std::error_code ec;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(folder_, ec);
  }

  std::string Path(const std::string& relative) const { return folder_ + "/" + relative; }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Small plain stand-ins for pictures of cg/, so that a window is made whole without the built
  // game's pictures.
  void WriteStandInPictures(std::initializer_list<const char*> names,
                            QColor fill = QColor(0x40, 0x80, 0xC0)) {
    std::filesystem::create_directories(Path("cg"));
    for (const char* name : names) {
      QImage picture(8, 6, QImage::Format_RGB32);
      picture.fill(fill);
      ASSERT_TRUE(
          picture.save(QString::fromStdString(Path(std::string("cg/") + name + ".bmp")), "BMP"));
    }
  }

  std::string folder_;
};

}  // namespace qm::testing
