#include "platform/game_folder.h"

#include <filesystem>
#include <system_error>

namespace qm {
namespace {
std::string& Override() {
  static std::string folder;
  return folder;
}
}  // namespace

std::string GameFolder() {
  if (!Override().empty()) return Override();
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return exe.parent_path().string();
}

std::string GamePath(std::string_view backslashed) {
  std::string rel(backslashed);
  for (char& c : rel) {
    if (c == '\\') c = '/';
  }
  if (rel.empty() || rel.front() != '/') rel.insert(rel.begin(), '/');
  return GameFolder() + rel;
}

void SetGameFolderForTesting(std::string folder) {
  Override() = std::move(folder);
}

}  // namespace qm
