#include "platform/game_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace qm {
namespace {

std::string& Override() {
  static std::string folder;
  return folder;
}

std::string WithSlashes(std::string_view backslashed) {
  std::string rel(backslashed);
  for (char& c : rel) {
    if (c == '\\') c = '/';
  }
  if (rel.empty() || rel.front() != '/') rel.insert(rel.begin(), '/');
  return rel;
}

// The home folder as the environment gives it, or else as the password database knows it.
std::string HomeFolder(const char* home) {
  if (home && home[0] != '\0') return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0])
    return entry->pw_dir;
  return {};
}

std::string WithoutTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return folder;
}

// The game's pictures and sounds, chart and all, as the build lays them out.
bool HoldsGameData(const std::string& folder) {
  std::error_code ec;
  const std::filesystem::path path(folder);
  return std::filesystem::is_directory(path / "cg", ec) &&
         std::filesystem::is_directory(path / "dat", ec);
}

// A folder copied whole may leave its marker behind, yet with the pictures and the chart beside
// the executable it is still the game; installed data never lies there.
bool PlayedFromItself(const std::string& executable_folder) {
  return IsPortableGameFolder(executable_folder) || HoldsGameData(executable_folder);
}

// The running executable's folder; empty when the system will not tell.
std::string ExecutableFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

}  // namespace

bool IsPortableGameFolder(const std::string& folder) {
  std::error_code ec;
  return std::filesystem::is_regular_file(
      std::filesystem::path(folder) / std::string(kPortableMarker), ec);
}

std::string GameFolderFor(const std::string& executable_folder) {
  if (PlayedFromItself(executable_folder)) return executable_folder;
  return (std::filesystem::path(executable_folder) / std::string(kInstalledDataFromExecutable))
      .lexically_normal()
      .string();
}

std::string GameFolder() {
  if (!Override().empty()) return Override();
  const std::string executable_folder = ExecutableFolder();
  if (executable_folder.empty()) return ".";
  return WithoutTrailingSlashes(GameFolderFor(executable_folder));
}

std::string GamePath(std::string_view backslashed) {
  return GameFolder() + WithSlashes(backslashed);
}

std::string PlayerFolderFor(const std::string& game_folder, const char* xdg_data_home,
                            const char* home) {
  if (IsPortableGameFolder(game_folder)) return game_folder;
  // A relative XDG_DATA_HOME is invalid and ignored, as the base directory rules say.
  if (xdg_data_home && xdg_data_home[0] == '/')
    return WithoutTrailingSlashes(xdg_data_home) + "/quelmarin";
  const std::string folder = HomeFolder(home);
  if (folder.empty()) return {};
  return WithoutTrailingSlashes(folder) + "/.local/share/quelmarin";
}

std::string PlayerFolderForExecutable(const std::string& executable_folder,
                                      const char* xdg_data_home, const char* home) {
  // A folder the game is played from is the player's own copy of it, the build's or one copied
  // whole: the voyage travels with it, as it did in the folder it came from. Nothing installed
  // is written to, as installed data never lies beside the executable.
  if (PlayedFromItself(executable_folder)) return executable_folder;
  return PlayerFolderFor(GameFolderFor(executable_folder), xdg_data_home, home);
}

std::string PlayerFolder() {
  const char* xdg_data_home = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  // A folder set by a test is a game folder, not an executable's: only its marker counts.
  const std::string executable_folder = Override().empty() ? ExecutableFolder() : std::string();
  if (!executable_folder.empty()) {
    return WithoutTrailingSlashes(
        PlayerFolderForExecutable(executable_folder, xdg_data_home, home));
  }
  return PlayerFolderFor(GameFolder(), xdg_data_home, home);
}

std::string PlayerPath(std::string_view backslashed) {
  const std::string folder = PlayerFolder();
  if (folder.empty()) return {};
  return folder + WithSlashes(backslashed);
}

void SetGameFolderForTesting(std::string folder) {
  Override() = std::move(folder);
}

}  // namespace qm
