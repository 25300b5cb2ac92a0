#pragma once

#include <array>
#include <string>

#include "platform/color.h"
#include "state/game_state.h"
#include "voyage/voyage_state.h"

namespace qm {

class Random;

// The words and colours of the instrument panel, kept apart from the drawing so each can be
// checked byte for byte. All texts are CP932.

// The three speed lines, lateral first; the lateral speed is shown mirrored, like chart X.
std::array<std::string, 3> SpeedReadoutLines(const VoyageState& vs);

// The sector readout. With the system down the numbers flicker: each shows only on its own
// 1-in-5 roll (three rolls, X first), and Y and Z come out with the wrong sign.
std::string PositionReadoutText(const GameState& game, Random& random);

// The colour of the hull indicator for a hull value.
Color HullColor(std::int32_t hull);

std::string BoosterText(std::int32_t booster_seconds);

// The trouble list label of kind k at its level.
std::string TroubleLabel(int k, std::int32_t level);

// Captions of the panel labels `speed_l`, `energy_l2` and `vosk_l`.
std::string ResourcesCaption(const GameState& game);
std::string EnergyCaption(const GameState& game);
// The voyage window's caption: the ship's name and the captain's. CP932.
std::string VoyageWindowCaption(const GameState& game);

std::string StatusCaption(const GameState& game);

}  // namespace qm
