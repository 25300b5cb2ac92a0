#pragma once

#include <string>

namespace qm {

// Whether an enlarged window may be shown at any factor that fits, its pixels kept sharp (fit), or
// only at whole factors (pixel-perfect). Until the player chooses, full screen fits and the
// window's own size steps by whole factors, as it always did.
enum class FitChoice { kUnchosen, kFit, kPixelPerfect };

// How the player last left a game window: its enlargement factor in a window (whole, or a half
// step once fit is chosen) and whether it filled the screen. `stored` says the player's settings
// held a choice for that window at all.
struct WindowChoice {
  double scale = 1;
  bool full_screen = false;
  bool stored = false;
  FitChoice fit = FitChoice::kUnchosen;
};

// The player's window settings file: $XDG_CONFIG_HOME/quelmarin/window.ini, by default under
// ~/.config. Empty when neither variable names a folder.
std::string WindowSettingsPath();

// The player's game settings beside it (settings.ini): the edition last chosen. Empty when the
// configuration folder is unknown.
std::string GameSettingsPath();

// The edition the player last chose; empty when none is stored or the file cannot be read.
std::string ReadEditionChoice(const std::string& path);
// Makes the folder when needed; a file that cannot be written is left as it is.
void WriteEditionChoice(const std::string& path, const std::string& language);

// The player's loudness of the sound effects and of the music, in percent, kept in the game
// settings beside the edition.
struct SoundVolumes {
  int effects = 100;
  int music = 100;
  bool operator==(const SoundVolumes&) const = default;
};
// A missing or damaged file, or a value outside 0..100, gives full volume for that sound.
SoundVolumes ReadSoundVolumes(const std::string& path);
// Makes the folder when needed; the edition and anything else in the file stay as they are.
void WriteSoundVolumes(const std::string& path, const SoundVolumes& volumes);

// A missing or damaged file, or a value out of range, gives the defaults for that window.
WindowChoice ReadWindowChoice(const std::string& path, const std::string& window);
// Makes the folder when needed; a file that cannot be written is left as it is.
void WriteWindowChoice(const std::string& path, const std::string& window,
                       const WindowChoice& choice);

}  // namespace qm
