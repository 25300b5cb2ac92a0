#include "wave_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qm::sounds {
namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutId(std::vector<std::uint8_t>& out, const char* id) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(id[i]));
}

void PutSample(std::vector<std::uint8_t>& out, float v, int bits) {
  const double x = std::clamp(static_cast<double>(v), -1.0, 1.0);
  if (bits == 8) {
    out.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(x * 128) + 128, 0L, 255L)));
  } else {
    const long s = std::clamp(std::lround(x * 32768), -32768L, 32767L);
    PutLe(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(s)), 2);
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeWave(const Sound& sound, const WaveFormat& format) {
  std::vector<std::uint8_t> samples;
  const int bytes = format.bits / 8;
  samples.reserve(sound.left.size() * format.channels * bytes);
  for (std::size_t i = 0; i < sound.left.size(); ++i) {
    PutSample(samples, sound.left[i], format.bits);
    if (format.channels == 2) PutSample(samples, sound.right[i], format.bits);
  }
  const std::uint32_t align = static_cast<std::uint32_t>(format.channels * bytes);
  const std::uint32_t data_size = static_cast<std::uint32_t>(samples.size());
  const std::uint32_t padded = data_size + (data_size & 1);

  std::vector<std::uint8_t> out;
  out.reserve(44 + padded);
  PutId(out, "RIFF");
  PutLe(out, 4 + (8 + 16) + (8 + padded), 4);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);  // PCM
  PutLe(out, static_cast<std::uint32_t>(format.channels), 2);
  PutLe(out, static_cast<std::uint32_t>(format.rate), 4);
  PutLe(out, static_cast<std::uint32_t>(format.rate) * align, 4);
  PutLe(out, align, 2);
  PutLe(out, static_cast<std::uint32_t>(format.bits), 2);
  PutId(out, "data");
  PutLe(out, data_size, 4);  // the chunk size counts the samples, not the pad byte
  out.insert(out.end(), samples.begin(), samples.end());
  if (data_size & 1) out.push_back(0);
  return out;
}

}  // namespace qm::sounds
