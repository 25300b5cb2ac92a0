#pragma once

#include <array>
#include <string>

namespace qm {

constexpr int kPrologueLineCount = 10;
constexpr int kEndingLineCount = 12;
constexpr int kEarthMessagePageCount = 7;

// The prologue roll, line by line; the last line is the maker's credit. CP932.
const std::array<std::string, kPrologueLineCount>& PrologueLines();

// The ending roll; its last line is the dedication to this voyage's ship and captain. CP932.
std::array<std::string, kEndingLineCount> EndingLines(const std::string& ship_name,
                                                      const std::string& commander_name);

// The message from Earth that the ship computer reads out after the ending roll. CP932.
const std::array<std::string, kEarthMessagePageCount>& EarthMessagePages();

}  // namespace qm
