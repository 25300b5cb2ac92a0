#pragma once

#include <string>

#include "state/game_state.h"

namespace qm {

// dat/map.dat in the game folder.
std::string ChartPath();

// Reads the 400 chart points of the chart file into the state, in index order. A link to a point
// that does not exist reads as "no link" (-1), so nothing read here can index outside the chart.
// Points read before a failure stay; throws FileFailure.
void ReadChart(const std::string& path, GameState& state);

}  // namespace qm
