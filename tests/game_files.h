#pragma once

// The game's text files line by line, for tests that write them by hand.

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/gcc12_false_warnings.h"
#include "state/game_state.h"

namespace qm::testing {

inline std::string Join(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines)
    bytes += line + "\r\n";
  return bytes;
}

inline std::vector<std::string> Split(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  return lines;
}

// A chart file, edited by point and by the line of the point's record (1..12).
struct ChartFile {
  ChartFile() : lines(4800, "0") {
    for (int i = 0; i < kChartPointCount; ++i) {
      QM_GCC12_FALSE_WARNINGS_BEGIN
      Set(i, 1, "P" + std::to_string(i));
      QM_GCC12_FALSE_WARNINGS_END
      Set(i, 2, Sj("ここは") + std::to_string(i));
      for (int link_line : {9, 10, 11})
        Set(i, link_line, "-1");
    }
  }
  void Set(int point, int record_line, const std::string& value) {
    lines[static_cast<std::size_t>(point * 12 + record_line - 1)] = value;
  }
  std::string Bytes() const { return Join(lines); }
  std::vector<std::string> lines;
};

}  // namespace qm::testing
