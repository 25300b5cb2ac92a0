#pragma once

#include <string>

namespace qm {

// How the player last left a game window: its whole enlargement factor and whether it filled the
// screen. `stored` says the player's settings held a choice for that window at all.
struct WindowChoice {
  int scale = 1;
  bool full_screen = false;
  bool stored = false;
};

// The player's window settings file: $XDG_CONFIG_HOME/quelmarin/window.ini, by default under
// ~/.config. Empty when neither variable names a folder.
std::string WindowSettingsPath();

// A missing or damaged file, or a value out of range, gives the defaults for that window.
WindowChoice ReadWindowChoice(const std::string& path, const std::string& window);
// Makes the folder when needed; a file that cannot be written is left as it is.
void WriteWindowChoice(const std::string& path, const std::string& window,
                       const WindowChoice& choice);

}  // namespace qm
