#pragma once

#include <cstdio>
#include <cstdlib>

namespace qm::fuzz {

// A broken promise stops the run like a crash, so libFuzzer keeps the input.
inline void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

}  // namespace qm::fuzz
