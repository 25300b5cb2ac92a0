#include "pcmmix/wave_convert.h"

#include <new>

#include "pcmmix/pcmmix_error.h"

namespace qm {

SampleBuffer AllocateSamples(std::size_t size) {
  if (size > kMaxWaveBytes) Fail(kMsgNoMemory);
  SampleBuffer buffer;
  buffer.bytes.reset(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
  if (!buffer.bytes) Fail(kMsgNoMemory);
  buffer.size = size;
  return buffer;
}

void ConvertBits(SampleBuffer& samples, std::uint16_t from, std::uint16_t to) {
  if (from == to) return;
  if (from != 8 && from != 16) Fail(kMsgFormatNotSupported);
  // 16 to 8: the signed high byte moved to the unsigned range.
  const std::size_t n = samples.size / 2;
  SampleBuffer out = AllocateSamples(n);
  const std::uint8_t* in = samples.bytes.get();
  for (std::size_t i = 0; i < n; ++i)
    out.bytes[i] = static_cast<std::uint8_t>(in[2 * i + 1] + 128);
  samples = std::move(out);
}

void ConvertChannels(SampleBuffer& samples, std::uint16_t from, std::uint16_t to) {
  if (from == to) return;
  // Only mono and stereo exist for the mixer; a file claiming none or more has nothing it can use.
  if (from == 0 || from > 2) Fail(kMsgFormatNotSupported);
  const std::size_t frames = samples.size / from;
  if (frames == 0) Fail(kMsgNoData);
  SampleBuffer out = AllocateSamples(frames * to);
  const std::uint8_t* in = samples.bytes.get();
  if (from < to) {
    for (std::size_t f = 0; f < frames; ++f)
      out.bytes[2 * f] = out.bytes[2 * f + 1] = in[f];
  } else {
    for (std::size_t f = 0; f < frames; ++f) {
      out.bytes[f] = static_cast<std::uint8_t>((in[2 * f] + in[2 * f + 1]) / 2);
    }
  }
  samples = std::move(out);
}

void ConvertRate(SampleBuffer& samples, std::uint32_t from, std::uint32_t to,
                 std::uint16_t channels) {
  if (from == to) return;
  if (from == 0) Fail(kMsgFormatNotSupported);
  const std::size_t c = channels;
  const std::size_t frames = samples.size / c;
  if (frames == 0) Fail(kMsgNoData);
  const std::uint8_t* in = samples.bytes.get();

  if (from < to) {
    const std::size_t k = to / from;
    if (frames > kMaxWaveBytes / c / k) Fail(kMsgNoMemory);
    SampleBuffer out = AllocateSamples(frames * k * c);
    std::uint8_t* o = out.bytes.get();
    for (std::size_t f = 0; f + 1 < frames; ++f) {
      for (std::size_t i = 0; i < k; ++i) {
        for (std::size_t ch = 0; ch < c; ++ch) {
          const int a = in[f * c + ch];
          const int z = in[(f + 1) * c + ch];
          const int step = (z - a) / static_cast<int>(k);
          *o++ = static_cast<std::uint8_t>(a + static_cast<int>(i) * step);
        }
      }
    }
    for (std::size_t i = 0; i < k; ++i) {
      for (std::size_t ch = 0; ch < c; ++ch)
        *o++ = in[(frames - 1) * c + ch];
    }
    samples = std::move(out);
    return;
  }

  const std::uint64_t k = (std::uint64_t{from} + to / 2) / to;
  const std::size_t new_frames = static_cast<std::size_t>(frames / k);
  if (new_frames == 0) Fail(kMsgNoData);
  SampleBuffer out = AllocateSamples(new_frames * c);
  std::uint8_t* o = out.bytes.get();
  for (std::size_t f = 0; f + 1 < new_frames; ++f) {
    for (std::size_t ch = 0; ch < c; ++ch) {
      std::int64_t sum = 0;
      for (std::uint64_t j = 0; j < k; ++j)
        sum += in[(f * k + j) * c + ch] - 128;
      *o++ = static_cast<std::uint8_t>(128 + sum / static_cast<std::int64_t>(k));
    }
  }
  for (std::size_t ch = 0; ch < c; ++ch)
    *o++ = in[(new_frames - 1) * k * c + ch];
  samples = std::move(out);
}

void ConvertWave(const PcmFormat& output, const PcmFormat& file, SampleBuffer& samples) {
  if (file.channels != output.channels || file.samples_per_sec != output.samples_per_sec ||
      file.bits_per_sample != output.bits_per_sample) {
    ConvertBits(samples, file.bits_per_sample, output.bits_per_sample);
    ConvertChannels(samples, file.channels, output.channels);
    ConvertRate(samples, file.samples_per_sec, output.samples_per_sec, output.channels);
  }
  // Less than one frame of the output is no sound at all.
  if (samples.size < output.block_align || samples.size == 0) Fail(kMsgNoData);
}

}  // namespace qm
