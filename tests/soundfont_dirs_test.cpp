// QM_SOUNDFONT_DIRS points the music's soundfont search at other folders, so that the end-to-end
// runs can start the game without a soundfont, or with files that only pretend to be one. A test
// hook: only a build with QM_TEST_HOOKS has it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/midi_player.h"
#include "built_game.h"

namespace qm {
namespace {

std::string TitleMusic() {
  return (testing::BuiltGame() / "dat" / "title.mid").string();
}

class SoundfontFolders : public ::testing::Test {
 protected:
  void SetUp() override {
#if !defined(QM_TEST_HOOKS)
    GTEST_SKIP() << "QM_SOUNDFONT_DIRS is a test hook; configure with -DQM_TEST_HOOKS=ON";
#endif
    ::unsetenv("QM_SOUNDFONT_DIRS");
    // The player must get as far as its soundfont search, past reading the music.
    ASSERT_TRUE(std::filesystem::is_regular_file(TitleMusic())) << TitleMusic();
    for (const std::string& font : DefaultFluidConfig().soundfonts) {
      if (installed_.empty() && std::filesystem::exists(font)) installed_ = font;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-sf2-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    ::unsetenv("QM_SOUNDFONT_DIRS");
    std::filesystem::remove_all(folder_);
  }
  // The player as the game makes it, but with no way out to the speakers: a test stays silent
  // and the soundfont it found can still be seen.
  static FluidConfig Muted() {
    FluidConfig config = DefaultFluidConfig();
    config.drivers.clear();
    return config;
  }
  std::string installed_;
  std::string folder_;
};

TEST_F(SoundfontFolders, EachNamedFolderIsSearchedInTurnInsteadOfTheSystems) {
  ::setenv("QM_SOUNDFONT_DIRS", "/a::/b", 1);
  EXPECT_EQ(
      DefaultFluidConfig().soundfonts,
      (std::vector<std::string>{"/a/FluidR3_GM.sf2", "/a/TimGM6mb.sf2", "/a/default-GM.sf2",
                                "/b/FluidR3_GM.sf2", "/b/TimGM6mb.sf2", "/b/default-GM.sf2"}));
  ::setenv("QM_SOUNDFONT_DIRS", "", 1);
  EXPECT_TRUE(DefaultFluidConfig().soundfonts.empty());
}

TEST_F(SoundfontFolders, AnEmptyFolderTakesTheInstalledSoundfontAway) {
  if (installed_.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  ::setenv("QM_SOUNDFONT_DIRS", folder_.c_str(), 1);
  FluidMidiPlayer player(Muted());
  EXPECT_THROW(player.Open(TitleMusic()), MidiError);
  EXPECT_EQ(player.soundfont(), "");
}

TEST_F(SoundfontFolders, AFileThatOnlyBearsASoundfontsNameIsPassedOver) {
  if (installed_.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  std::ofstream(folder_ + "/FluidR3_GM.sf2") << "RIFF, but no soundfont inside";
  std::filesystem::create_symlink(installed_, folder_ + "/TimGM6mb.sf2");
  ::setenv("QM_SOUNDFONT_DIRS", folder_.c_str(), 1);
  FluidMidiPlayer player(Muted());
  EXPECT_THROW(player.Open(TitleMusic()), MidiError);  // no driver, on purpose
  EXPECT_EQ(player.soundfont(), folder_ + "/TimGM6mb.sf2");
}

}  // namespace
}  // namespace qm
