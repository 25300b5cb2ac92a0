#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "state/game_state.h"

namespace qm {

// The bytes of dat/my.dat: the 428 values of the commander record, one per CR LF line, then the
// check value. Names go out exactly as they are held.
std::string SavedGameText(const GameState& state);

// Reads the record and its check value (into `save_checksum`) from the bytes of dat/my.dat, in the
// writer's order. Bytes that end early leave zeros and empty texts; a value that is no number
// throws FileFailure(kNotANumber), with the values before it already read.
void ParseSavedGame(std::string_view bytes, GameState& state);

// The check value of the saved game: eight values of the record summed with 32-bit wrap.
std::int32_t SaveChecksum(const GameState& state);

}  // namespace qm
