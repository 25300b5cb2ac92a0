#pragma once

#include <cstdint>
#include <string>

#include "state/game_state.h"
#include "state/saved_game.h"

namespace qm {

struct Services;

// dat/my.dat in the player's folder: the game folder itself when it is portable, else the
// player's data folder.
std::string SavedGamePath();

// Start-up: reads the saved voyage (dat/my.dat) and the chart (dat/map.dat), checks the saved
// voyage against its check value and builds the sector grid. Without a saved voyage (first start)
// CONTINUE (`count_b`) is disabled silently; a saved voyage that cannot be read or fails its check
// disables it too, the former with its error box. The chart is read either way. Returns false when
// an error box was shown.
bool LoadGame(GameState& state, Services& services);

// Records the voyage: replaces dat/my.dat (the old file stays whole if anything fails), tells the
// player "セーブ完了！", plays the click cue and rewrites the voyage log. A failure is shown in
// the error box and ends the save there; returns whether everything was written, and tells
// through `record_written` whether dat/my.dat was (a failed voyage log comes after that).
bool SaveGame(const GameState& state, Services& services, bool* record_written = nullptr);

// A name as the entry boxes allow it: at most 8 bytes, never ending in half a double-byte
// character. Shorter names pass unchanged. Names read from a saved game are never cut: the voyage
// resumes with them as they were written.
std::string FitName(const std::string& name);

}  // namespace qm
