#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace qm::tools {

// A source file of the build's tools, read whole; false when it cannot be read.
inline bool ReadWholeFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return !in.bad();
}

}  // namespace qm::tools
