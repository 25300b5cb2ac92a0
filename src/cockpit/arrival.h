#pragma once

#include <cstdint>
#include <string>

#include "state/game_state.h"

namespace qm {

// The chart point where the voyage ends: its first call starts the ending roll.
constexpr int kEndingPoint = 73;

// "x:" X "  y:" Y "  z:" Z of a chart point, one space longer when that is odd, so a page built
// on it ends on a whole reveal step. CP932.
std::string CoordinateText(const ChartPoint& point);

// A supply gain as the supply messages write it: a space before a number of odd length, so that
// "+ 6" and "+12" line up.
std::string SupplyGainText(std::int32_t gain);

// The first page of every arrival: the point's name in 【】 and its text. CP932.
std::string ArrivalPage(const ChartPoint& point);

// The page of a buoy's second link and of its extra link (the first link is the clue page).
std::string NextPoint2Page(const ChartPoint& target);
std::string ExtraPointPage(const ChartPoint& target);

// What buoy service says when it clears trouble k. CP932.
std::string ServiceMessage(int trouble);

// The question put before a survey team goes down; `cost` in tonnes. CP932.
std::string SurveyQuestion(const ChartPoint& planet, std::int32_t cost);

}  // namespace qm
