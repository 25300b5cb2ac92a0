#pragma once

// The mixer on the virtual device: a private settings folder, a timer and a notice pump that the
// test winds, WAVE images built in memory, and a session made from a settings text.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pcmmix/engine.h"
#include "pcmmix/pcmmix.h"
#include "pcmmix/pump_notifier.h"
#include "pcmmix/virtual_wave_out.h"
#include "platform/gcc12_false_warnings.h"

namespace qm::testing {

using Bytes = std::vector<std::uint8_t>;

inline void PutLe(Bytes& out, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
inline void PutId(Bytes& out, const char* id) {
  QM_GCC12_FALSE_WARNINGS_BEGIN
  out.insert(out.end(), id, id + 4);
  QM_GCC12_FALSE_WARNINGS_END
}

// A "fmt " chunk body of 16 bytes.
inline Bytes FmtBody(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                     std::uint16_t tag = 1) {
  Bytes b;
  const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
  PutLe(b, tag, 2);
  PutLe(b, channels, 2);
  PutLe(b, rate, 4);
  PutLe(b, rate * align, 4);
  PutLe(b, align, 2);
  PutLe(b, bits, 2);
  return b;
}

inline Bytes Chunk(const char* id, const Bytes& body, bool pad = true) {
  Bytes c;
  PutId(c, id);
  PutLe(c, static_cast<std::uint32_t>(body.size()), 4);
  c.insert(c.end(), body.begin(), body.end());
  if (pad && body.size() % 2) c.push_back(0);
  return c;
}

inline Bytes Riff(const std::vector<Bytes>& chunks, const char* form = "WAVE") {
  Bytes body;
  PutId(body, form);
  for (const Bytes& c : chunks)
    body.insert(body.end(), c.begin(), c.end());
  return Chunk("RIFF", body);
}

inline Bytes WaveImage(const Bytes& samples, std::uint16_t channels = 1, std::uint32_t rate = 11025,
                       std::uint16_t bits = 8) {
  return Riff({Chunk("fmt ", FmtBody(channels, rate, bits)), Chunk("data", samples)});
}

inline Bytes Filled(std::size_t n, std::uint8_t value) {
  return Bytes(n, value);
}

// Bytes that differ from their neighbours, so that a shifted copy shows.
inline Bytes Ramp(std::size_t n, int seed = 0) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i)
    b[i] = static_cast<std::uint8_t>((i * 7 + seed) % 251 + 2);
  return b;
}

// Records the finished-play notices.
struct RecordingListener : PlayListener {
  void PostFinished(std::int32_t channel, MixWave* wave) override {
    notices.push_back({channel, wave});
  }
  std::vector<std::pair<std::int32_t, MixWave*>> notices;
};

class MixRig : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-mix-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    ::setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    device.ReservePlayed(1 << 20);
    PcmMixSetPlatform({&device, &notifier, &timer});
  }
  void TearDown() override {
    const auto live = static_cast<HMixSession>(mix::TheEngine().handle);
    for (MixWave* w : waves_) {
      try {
        PcmMixFreeWave(live, w);
      } catch (const EPcmMixError&) {
      }
    }
    if (mix::TheEngine().session) PcmMixCloseSession(live);
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  void WriteSettings(const std::string& text) {
    std::ofstream(folder_ + "/PCMMIX.INI", std::ios::binary) << text;
  }

  // A session on the settings text, device taken, channels 0..3 open.
  void Start(const std::string& settings = "[default]\nGoodWavePos=1\n") {
    WriteSettings(settings);
    session = PcmMixInit();
    PcmMixActivate(session, true);
    PcmMixOpenChannel(session, 4, ChannelCount);
  }

  mix::MixSession& S() { return *mix::TheEngine().session; }

  MixWave* Load(const Bytes& samples) {
    image_ = WaveImage(samples);
    MixWave* w = PcmMixLoadWave(session, WaveName::Memory(image_), nullptr, LoadFromMemory);
    waves_.push_back(w);
    return w;
  }
  void Forget(MixWave* w) { std::erase(waves_, w); }

  void Play(std::int32_t channel, MixWave* wave, std::uint32_t flags = 0, std::uint16_t loops = 0,
            PlayListener* listener = nullptr) {
    MixPlayParams p;
    p.session = session;
    p.channel = channel;
    p.wave = wave;
    p.flags = flags;
    p.loops = loops;
    p.notify_window = listener;
    PcmMixPlay(&p);
  }

  // Time passes: the device plays `bytes` bytes, the timer moves on, notices reach the engine.
  void Advance(std::uint32_t bytes) {
    device.Play(bytes);
    timer.Advance(bytes * 1000 / 11025);
    notifier.Pump();
  }
  // Plays on until the device has nothing left.
  void PlayOut() {
    for (int guard = 0; guard < 10000 && device.QueuedBlocks() > 0; ++guard)
      Advance(512);
  }

  Bytes Played(std::size_t from, std::size_t count) const {
    return Bytes(device.played.begin() + static_cast<std::ptrdiff_t>(from),
                 device.played.begin() + static_cast<std::ptrdiff_t>(from + count));
  }

  VirtualWaveOut device;
  PumpNotifier notifier;
  ManualMsTimer timer;
  HMixSession session = HMixSession::kNone;
  std::string folder_;

 private:
  Bytes image_;
  std::vector<MixWave*> waves_;
};

// The message of the EPcmMixError `statement` raises, or "(none)".
#define MIX_ERROR(statement)                         \
  [&]() -> std::string {                             \
    try {                                            \
      statement;                                     \
    } catch (const ::qm::EPcmMixError& mix_error_) { \
      return mix_error_.Message();                   \
    }                                                \
    return "(none)";                                 \
  }()

}  // namespace qm::testing
