#pragma once

#include <array>
#include <string>
#include <string_view>

#include "state/game_state.h"

namespace qm {

// dat/map.dat in the game folder.
std::string ChartPath();

// Reads the 400 chart points of the chart file into the state, in index order, as ParseChart
// does; throws FileFailure, for the file's own faults too.
void ReadChart(const std::string& path, GameState& state);

// Reads the chart points from the bytes of dat/map.dat. A link to a point that does not exist
// reads as "no link" (-1), so nothing read here can index outside the chart. Bytes that end early
// leave zeros and empty texts; a value that is no number throws FileFailure(kNotANumber), with the
// points before it read.
void ParseChart(std::string_view bytes, std::array<ChartPoint, kChartPointCount>& chart);

// The bytes of dat/map.dat: 12 lines per point, CR LF, texts as CP932 bytes.
std::string ChartFileBytes(const std::array<ChartPoint, kChartPointCount>& chart);

}  // namespace qm
