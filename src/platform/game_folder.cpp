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

}  // namespace

bool IsPortableGameFolder(const std::string& folder) {
  std::error_code ec;
  return std::filesystem::is_regular_file(
      std::filesystem::path(folder) / std::string(kPortableMarker), ec);
}

std::string GameFolderFor(const std::string& executable_folder) {
  if (IsPortableGameFolder(executable_folder)) return executable_folder;
  return (std::filesystem::path(executable_folder) / std::string(kInstalledDataFromExecutable))
      .lexically_normal()
      .string();
}

std::string GameFolder() {
  if (!Override().empty()) return Override();
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return WithoutTrailingSlashes(GameFolderFor(exe.parent_path().string()));
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

std::string PlayerFolder() {
  return PlayerFolderFor(GameFolder(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
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
