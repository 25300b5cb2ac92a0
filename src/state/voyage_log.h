#pragma once

#include <string>

#include "state/game_state.h"

namespace qm {

class Dialogs;

// The voyage log's place on disk: at the top of the player's folder (beside the executable in a
// portable game folder), under its Japanese name in UTF-8.
std::string VoyageLogPath();

// The whole page of the captain's diary for the state, CP932 with CR LF line ends.
std::string VoyageLogText(const GameState& state);

// Rewrites the voyage log with the page of the state, replacing the old page only once the new
// one is safely written. A failure is shown in the error box; returns whether the page was
// written.
bool WriteVoyageLog(const GameState& state, Dialogs& dialogs);

}  // namespace qm
