#pragma once

#include <string>
#include <string_view>

namespace qm {

// The folder holding the executable, found from the executable's own path so that the game runs
// the same from any working directory. No trailing slash.
std::string GameFolder();

// A path inside the game folder, written as the game writes it ("\cg\gamen.bmp"); backslashes
// become slashes.
std::string GamePath(std::string_view backslashed);

// For tests and tools that lay out a game folder of their own.
void SetGameFolderForTesting(std::string folder);

}  // namespace qm
