#pragma once

// RIFF/WAVE files with PCM samples: a "fmt " chunk of 16 bytes and one "data" chunk, padded to
// an even size as RIFF asks.

#include <cstdint>
#include <string>
#include <vector>

#include "dsp.h"

namespace qm::sounds {

struct WaveFormat {
  int channels = 1;
  int rate = 11025;
  int bits = 8;  // 8 (unsigned) or 16 (signed, little-endian)
};

// The file image of `sound` in `format`; the sound must already have the format's rate and
// channel count.
std::vector<std::uint8_t> EncodeWave(const Sound& sound, const WaveFormat& format);

}  // namespace qm::sounds
