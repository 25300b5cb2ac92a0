// The mixer's hot paths. MixBlock with eight channels sounding at once runs beside SDL's own 8-bit
// mixing of the same eight sources into a block of the same size, so the two figures compare in one
// run (goal: ours no slower). Loading one second of 44.1 kHz 16-bit stereo and converting it to the
// mixer's 11025 Hz mono has a goal of 2 ms.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstring>
#include <vector>

#include "pcmmix/engine.h"
#include "pcmmix/pcmmix.h"
#include "pcmmix/pump_notifier.h"
#include "pcmmix/virtual_wave_out.h"

namespace qm {
namespace {

constexpr int kBlock = 4096;
constexpr int kWaveBytes = 1 << 16;

// One session on the virtual device, with the defaults of a missing settings file.
struct MixBench {
  MixBench() {
    setenv("XDG_CONFIG_HOME", "/nonexistent-quelmarin-bench", 1);
    PcmMixSetPlatform({&device, &notifier, &timer});
    session = PcmMixInit();
    PcmMixActivate(session, true);
    PcmMixOpenChannel(session, 0, ChannelAll);
    for (int c = 0; c < 8; ++c) {
      std::vector<std::uint8_t>& s = sources[c];
      s.resize(kWaveBytes);
      for (int i = 0; i < kWaveBytes; ++i)
        s[i] = static_cast<std::uint8_t>(128 + (i * (c + 3)) % 61 - 30);
    }
  }
  static MixBench& Get() {
    static MixBench bench;
    return bench;
  }

  VirtualWaveOut device;
  PumpNotifier notifier;
  ManualMsTimer timer;
  HMixSession session;
  std::vector<std::uint8_t> sources[8];
};

std::vector<std::uint8_t> WaveImage(const std::vector<std::uint8_t>& samples,
                                    std::uint16_t channels, std::uint32_t rate,
                                    std::uint16_t bits) {
  std::vector<std::uint8_t> b(44 + samples.size());
  std::size_t at = 0;
  auto put = [&](std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
      b[at++] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  auto id = [&](const char* s) {
    for (int i = 0; i < 4; ++i)
      b[at++] = static_cast<std::uint8_t>(s[i]);
  };
  const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  id("RIFF");
  put(static_cast<std::uint32_t>(36 + samples.size()), 4);
  id("WAVE");
  id("fmt ");
  put(16, 4);
  put(1, 2);
  put(channels, 2);
  put(rate, 4);
  put(rate * align, 4);
  put(align, 2);
  put(bits, 2);
  id("data");
  put(static_cast<std::uint32_t>(samples.size()), 4);
  std::memcpy(b.data() + at, samples.data(), samples.size());
  return b;
}

void BM_MixBlock8Channels(benchmark::State& state) {
  MixBench& mb = MixBench::Get();
  std::vector<MixWave*> waves;
  for (int c = 0; c < 8; ++c) {
    const auto image = WaveImage(mb.sources[c], 1, 11025, 8);
    waves.push_back(PcmMixLoadWave(mb.session, WaveName::Memory(image), nullptr, LoadFromMemory));
    MixPlayParams p;
    p.session = mb.session;
    p.channel = c;
    p.wave = waves.back();
    p.loops = kLoopsEndless;
    p.flags = c < 7 ? PlayDeferred : 0;
    PcmMixPlay(&p);
  }
  mix::MixSession& s = *mix::TheEngine().session;
  s.block_length = kBlock;
  auto block = std::make_unique<mix::OutputBlock>();
  for (auto _ : state) {
    if (s.mix_position > kWaveBytes * 4) s.mix_position = 0;
    mix::MixBlock(s, block.get(), false);
    benchmark::DoNotOptimize(block->data);
  }
  state.SetBytesProcessed(state.iterations() * kBlock);
  PcmMixFlushChannel(mb.session, 0, ChannelAll | FlushNoRemix);
  for (MixWave* w : waves)
    PcmMixFreeWave(mb.session, w);
  s.block_length = 2048;
}
BENCHMARK(BM_MixBlock8Channels);

// SDL's way to mix eight 8-bit sources: copy the first, add the other seven one by one.
void BM_SdlMixAudioFormat8Channels(benchmark::State& state) {
  MixBench& mb = MixBench::Get();
  std::vector<std::uint8_t> out(kBlock);
  int pos = 0;
  for (auto _ : state) {
    if (pos + kBlock > kWaveBytes) pos = 0;
    std::memcpy(out.data(), mb.sources[0].data() + pos, kBlock);
    for (int c = 1; c < 8; ++c) {
      SDL_MixAudioFormat(out.data(), mb.sources[c].data() + pos, AUDIO_U8, kBlock,
                         SDL_MIX_MAXVOLUME);
    }
    benchmark::DoNotOptimize(out.data());
    pos += kBlock;
  }
  state.SetBytesProcessed(state.iterations() * kBlock);
}
BENCHMARK(BM_SdlMixAudioFormat8Channels);

void BM_LoadWave44k16BitStereoOneSecond(benchmark::State& state) {
  MixBench& mb = MixBench::Get();
  std::vector<std::uint8_t> samples(std::size_t{44100} * 4);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<std::uint8_t>(i * 31 % 256);
  const auto image = WaveImage(samples, 2, 44100, 16);
  for (auto _ : state) {
    MixWave* w = PcmMixLoadWave(mb.session, WaveName::Memory(image), nullptr, LoadFromMemory);
    benchmark::DoNotOptimize(w->data.get());
    PcmMixFreeWave(mb.session, w);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(samples.size()));
}
BENCHMARK(BM_LoadWave44k16BitStereoOneSecond)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qm
