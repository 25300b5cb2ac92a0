#pragma once

// The game folder the build made, for tests that read its pictures, sounds, music or chart:
// QM_GAME_DIR when it is set, or else build/game beside build/tests.

#include <cstdlib>
#include <filesystem>

namespace qm::testing {

inline std::filesystem::path BuiltGame() {
  if (const char* dir = std::getenv("QM_GAME_DIR")) return dir;
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "game";
}

}  // namespace qm::testing
