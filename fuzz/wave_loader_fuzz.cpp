// Any bytes as a WAVE memory image: loading must end in a wave or an EPcmMixError, and a loaded
// wave must mix without reading past its data. The first byte picks the output format, so every
// conversion path is reached.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "pcmmix/pcmmix.h"
#include "pcmmix/pump_notifier.h"
#include "pcmmix/virtual_wave_out.h"
#include "pcmmix/wave_convert.h"

namespace {

qm::VirtualWaveOut device;
qm::PumpNotifier notifier;
qm::ManualMsTimer timer;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // No settings file: the defaults, and the config record below, decide.
  setenv("XDG_CONFIG_HOME", "/nonexistent-quelmarin-fuzz", 1);
  device.devices[0].channels = 2;
  qm::PcmMixSetPlatform({&device, &notifier, &timer});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t pick = data[0];
  qm::MixConfig config;
  config.flags = qm::kConfigChannels | qm::kConfigRate;
  config.channels = (pick & 1) ? 2 : 1;
  static constexpr std::uint16_t kRates[] = {11, 22, 44, 11};
  config.rate = kRates[(pick >> 1) & 3];
  const qm::HMixSession session = qm::PcmMixInit(&config);
  qm::PcmMixActivate(session, true);
  qm::PcmMixOpenChannel(session, 2, qm::ChannelCount);

  const std::span<const std::uint8_t> image(data + 1, size - 1);
  qm::MixWave* wave = nullptr;
  try {
    wave = qm::PcmMixLoadWave(session, qm::WaveName::Memory(image), nullptr, qm::LoadFromMemory);
  } catch (const qm::EPcmMixError&) {
  }
  if (wave) {
    if (wave->length <= 0 || static_cast<std::size_t>(wave->length) > qm::kMaxWaveBytes) abort();
    // Mix it twice over itself, once looping, and play a few blocks through.
    qm::MixPlayParams p;
    p.session = session;
    p.wave = wave;
    p.loops = static_cast<std::uint16_t>(pick >> 3 & 1);
    qm::PcmMixPlay(&p);
    p.channel = 1;
    p.flags = qm::PlayNow;
    qm::PcmMixPlay(&p);
    for (int i = 0; i < 4; ++i) {
      device.Play(4096);
      notifier.Pump();
    }
    device.played.clear();
    qm::PcmMixFreeWave(session, wave);
  }
  qm::PcmMixCloseSession(session);
  return 0;
}
