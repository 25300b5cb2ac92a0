#pragma once

#include <string>
#include <string_view>

namespace qm {

// The file that makes a game folder portable: the build puts it in its game folder, and such a
// folder keeps the player's saved game and voyage log in itself. An installed game has none.
inline constexpr std::string_view kPortableMarker = "portable.txt";

// Where an installed game's data lies, seen from the folder of its executable (bin/ or games/
// beside share/), so that the game runs from any prefix and from a staging root.
inline constexpr std::string_view kInstalledDataFromExecutable = "../share/quelmarin";

// The folder holding the game's data (cg/, dat/), found from the executable's own path so that
// the game runs the same from any working directory: the executable's folder when it is a
// portable game folder or holds the game's data itself, else the installed data beside it. No
// trailing slash.
std::string GameFolder();

// The same choice for an executable in `executable_folder`.
std::string GameFolderFor(const std::string& executable_folder);

// A path inside the game folder, written as the game writes it ("\cg\gamen.bmp"); backslashes
// become slashes.
std::string GamePath(std::string_view backslashed);

// Whether the folder holds the portable marker.
bool IsPortableGameFolder(const std::string& folder);

// The folder of the player's own files (dat/my.dat, the voyage log), laid out as in the game
// folder so that a save can be copied between the two: the game folder itself when the game is
// played from beside its executable (see PlayerFolderForExecutable), else $XDG_DATA_HOME/quelmarin,
// or ~/.local/share/quelmarin when that is unset, empty or not an absolute path. Never the
// installed data. Empty when no home folder is known. It may not exist yet: the first save makes
// it.
std::string PlayerFolder();

// The choice for a game folder alone, kept in it only when it holds the portable marker, and the
// two variables as the environment holds them (null when unset).
std::string PlayerFolderFor(const std::string& game_folder, const char* xdg_data_home,
                            const char* home);

// The player's folder for the game whose executable lies in `executable_folder`: that folder
// when the game is played from it (marked portable, or holding the game's data), else as
// PlayerFolderFor says for the installed data.
std::string PlayerFolderForExecutable(const std::string& executable_folder,
                                      const char* xdg_data_home, const char* home);

// A path inside the player's folder, written as the game writes it ("\dat\my.dat"). Empty when
// the player's folder is unknown.
std::string PlayerPath(std::string_view backslashed);

// For tests and tools that lay out a game folder of their own. The player's folder follows the
// same rule as for a real game: put the marker in the folder to keep the player's files there.
void SetGameFolderForTesting(std::string folder);

}  // namespace qm
