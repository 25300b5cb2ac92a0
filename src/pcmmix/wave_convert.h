#pragma once

// Bringing loaded samples to the session's output format once, at load time, so that mixing only
// ever sums bytes. Each step replaces the buffer with a new one of exactly the final size.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "pcmmix/wave_out.h"

namespace qm {

struct SampleBuffer {
  std::unique_ptr<std::uint8_t[]> bytes;
  std::size_t size = 0;
};

// The largest sound the mixer keeps (about 25 minutes at 44100 bytes per second). A file asking
// for more, or a conversion that would blow a small file up beyond it, is refused like a sound
// that does not fit in memory.
inline constexpr std::size_t kMaxWaveBytes = std::size_t{64} << 20;

// A buffer of `size` bytes; the memory message when it cannot be had or is beyond kMaxWaveBytes.
SampleBuffer AllocateSamples(std::size_t size);

void ConvertBits(SampleBuffer& samples, std::uint16_t from, std::uint16_t to);
void ConvertChannels(SampleBuffer& samples, std::uint16_t from, std::uint16_t to);
void ConvertRate(SampleBuffer& samples, std::uint32_t from, std::uint32_t to,
                 std::uint16_t channels);
void ConvertWave(const PcmFormat& output, const PcmFormat& file, SampleBuffer& samples);

}  // namespace qm
