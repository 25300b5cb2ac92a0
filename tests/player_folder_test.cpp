// Where the player's saved game and voyage log live: in a portable game folder, or for an
// installed game in the player's data folder, made on the first save.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "built_game.h"
#include "fakes.h"
#include "platform/cp932.h"
#include "platform/game_folder.h"
#include "state/file_error.h"
#include "state/game_state.h"
#include "state/save_files.h"
#include "state/voyage_log.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
using testing::FakeServices;

// Sets an environment variable (or unsets it, for nullopt) for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_, old_->c_str(), 1);
    else
      ::unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A throw-away root holding an installed game (bin/ and share/quelmarin with the built chart)
// and a home folder for the player.
class PlayerFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qm-player-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "usr/bin");
    fs::create_directories(data() / "dat");
    fs::copy_file(testing::BuiltGame() / "dat/map.dat", data() / "dat/map.dat");
    fs::create_directories(home());
    SetGameFolderForTesting(data().string());
  }
  void TearDown() override {
    SetGameFolderForTesting("");
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  fs::path data() const { return root_ / "usr/share/quelmarin"; }
  fs::path home() const { return root_ / "home/captain"; }
  fs::path saves() const { return home() / ".local/share/quelmarin"; }
  static void Touch(const fs::path& path) { std::ofstream(path).put('\n'); }

  fs::path root_;
};

TEST_F(PlayerFolder, FollowsThePortableMarkerThenXdgDataHomeThenHome) {
  const std::string game = data().string();
  const std::string home_folder = home().string();
  // An installed game: the data folder when set and absolute, the home folder's otherwise.
  EXPECT_EQ(PlayerFolderFor(game, "/var/xdg", home_folder.c_str()), "/var/xdg/quelmarin");
  EXPECT_EQ(PlayerFolderFor(game, "/var/xdg/", home_folder.c_str()), "/var/xdg/quelmarin");
  EXPECT_EQ(PlayerFolderFor(game, nullptr, home_folder.c_str()), saves().string());
  EXPECT_EQ(PlayerFolderFor(game, "", home_folder.c_str()), saves().string());
  // A relative one would follow the working folder around, so it does not count.
  EXPECT_EQ(PlayerFolderFor(game, "xdg", home_folder.c_str()), saves().string());
  EXPECT_EQ(PlayerFolderFor(game, "./xdg", (home_folder + "/").c_str()), saves().string());
  // With no HOME the password database still knows the player's home.
  const std::string fallback = PlayerFolderFor(game, nullptr, nullptr);
  EXPECT_FALSE(fallback.empty());
  EXPECT_EQ(fs::path(fallback).filename(), "quelmarin");

  // A portable game folder keeps everything in itself, whatever the environment says.
  Touch(data() / std::string(kPortableMarker));
  EXPECT_EQ(PlayerFolderFor(game, "/var/xdg", home_folder.c_str()), game);
  EXPECT_EQ(PlayerFolderFor(game, nullptr, nullptr), game);
}

TEST_F(PlayerFolder, AnInstalledGameFindsItsDataBesideItsExecutableAndAPortableOneInItself) {
  EXPECT_EQ(GameFolderFor((root_ / "usr/bin").string()), data().string());
  EXPECT_EQ(GameFolderFor((root_ / "usr/games").string()), data().string());
  const fs::path portable = root_ / "game";
  fs::create_directories(portable);
  Touch(portable / std::string(kPortableMarker));
  EXPECT_EQ(GameFolderFor(portable.string()), portable.string());
  // A folder of that name is no marker.
  fs::create_directories(root_ / "usr/bin" / std::string(kPortableMarker));
  EXPECT_EQ(GameFolderFor((root_ / "usr/bin").string()), data().string());
}

// A game folder copied without its marker still has its pictures and chart beside the executable:
// it is played from there and keeps the voyage with it, as the folder it was copied from did.
TEST_F(PlayerFolder, ACopiedGameFolderWithoutItsMarkerPlaysAndSavesInItself) {
  const fs::path copy = root_ / "copy";
  fs::create_directories(copy / "cg");
  fs::create_directories(copy / "dat");
  const std::string home_folder = home().string();
  EXPECT_EQ(GameFolderFor(copy.string()), copy.string());
  EXPECT_EQ(PlayerFolderForExecutable(copy.string(), "/var/xdg", home_folder.c_str()),
            copy.string());
  // Without its pictures it is no game folder, and the game looks for its installed data.
  fs::remove(copy / "cg");
  EXPECT_EQ(GameFolderFor(copy.string()), (root_ / "share/quelmarin").string());
  // An installed game still keeps the player's files out of its data.
  EXPECT_EQ(PlayerFolderForExecutable((root_ / "usr/bin").string(), "/var/xdg", nullptr),
            "/var/xdg/quelmarin");
}

TEST_F(PlayerFolder, AnInstalledGameStartsFreshThenSavesAndContinuesInThePlayersFolder) {
  ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
  ScopedEnv home_env("HOME", home().string());
  {
    FakeServices f;
    GameState state;
    // Nothing there yet, not even the folder: a first start, without a word.
    EXPECT_TRUE(LoadGame(state, f.services));
    EXPECT_FALSE(f.controls.IsEnabled("count_b"));
    EXPECT_FALSE(fs::exists(saves()));
    EXPECT_TRUE(f.dialogs.errors.empty());

    state.commander_name = Sj("ﾘｮｳ");
    state.ship_name = Sj("銀河丸");
    state.voyage_days = 12;
    EXPECT_TRUE(SaveGame(state, f.services));
  }
  EXPECT_TRUE(fs::is_regular_file(saves() / "dat/my.dat"));
  EXPECT_TRUE(fs::is_regular_file(saves() / "航海日誌.txt"));
  struct stat info {};
  ASSERT_EQ(::stat(saves().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u) << "the player's folder is the player's alone";
  // Nothing of the player's went into the installed data.
  EXPECT_FALSE(fs::exists(data() / "dat/my.dat"));
  EXPECT_FALSE(fs::exists(data() / "航海日誌.txt"));
  EXPECT_EQ(std::distance(fs::directory_iterator(data() / "dat"), fs::directory_iterator()), 1);

  FakeServices f;
  GameState state;
  EXPECT_TRUE(LoadGame(state, f.services));
  EXPECT_TRUE(f.controls.IsEnabled("count_b"));
  EXPECT_EQ(state.commander_name, Sj("ﾘｮｳ"));
  EXPECT_EQ(state.voyage_days, 12);
}

TEST_F(PlayerFolder, APortableGameFolderKeepsTheSaveBesideItsExecutable) {
  Touch(data() / std::string(kPortableMarker));
  ScopedEnv xdg("XDG_DATA_HOME", (root_ / "xdg").string());
  FakeServices f;
  GameState state;
  state.commander_name = "A";
  EXPECT_TRUE(SaveGame(state, f.services));
  EXPECT_TRUE(fs::is_regular_file(data() / "dat/my.dat"));
  EXPECT_TRUE(fs::is_regular_file(data() / "航海日誌.txt"));
  EXPECT_FALSE(fs::exists(root_ / "xdg"));
}

TEST_F(PlayerFolder, AFolderThatCannotBeMadeIsTheGamesOwnFileErrorAndNoSave) {
  // The data folder's place is taken by a file.
  Touch(root_ / "xdg");
  ScopedEnv xdg("XDG_DATA_HOME", (root_ / "xdg").string());
  FakeServices f;
  GameState state;
  EXPECT_FALSE(SaveGame(state, f.services));
  EXPECT_EQ(f.dialogs.errors, std::vector<std::string>{FileErrorText(kInvalidFileName)});
  EXPECT_TRUE(f.dialogs.informed.empty()) << "no success told for a save that failed";
  EXPECT_TRUE(f.sound.calls.empty());
}

}  // namespace
}  // namespace qm
