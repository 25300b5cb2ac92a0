// Any bytes as "PCMMIX.INI": reading never fails, and whatever the file says, the session ends up
// with a format, block count and block length the engine can work with, or a refusal message.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "pcmmix/engine.h"
#include "pcmmix/settings.h"
#include "pcmmix/virtual_wave_out.h"

namespace {

qm::VirtualWaveOut& Device() {
  static qm::VirtualWaveOut device = [] {
    qm::VirtualWaveOut d;
    d.devices[0].channels = 2;
    d.devices.push_back({"Second Card", 1});
    d.devices.push_back({"Blocking", 1, true});
    d.devices.push_back({"Mute", 1, false, true});
    return d;
  }();
  return device;
}

void Check(bool ok) {
  if (!ok) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const qm::Profile profile = qm::Profile::Parse(text);
  for (const char* key : {"Remix", "GoodWavePos", "WaveBlocks", "WaveBlockLen", "SamplesPerSec"}) {
    profile.GetInt("default", key, 7);
  }

  for (int with_config = 0; with_config < 2; ++with_config) {
    qm::MixConfig config;
    config.flags = qm::kConfigChannels;
    config.channels = 2;
    qm::mix::MixSession s{};
    s.output_format = qm::PcmFormat{qm::kWaveFormatPcm, 1, 11025, 11025, 1, 8};
    try {
      qm::mix::ApplySettings(s, profile, Device(), with_config ? &config : nullptr);
    } catch (const qm::EPcmMixError&) {
      continue;
    }
    const qm::PcmFormat& f = s.output_format;
    Check(s.block_count >= 2 && s.block_count <= 6);
    Check(s.block_length >= 512 && s.block_length <= 4096);
    Check(f.samples_per_sec == 11025 || f.samples_per_sec == 22050 || f.samples_per_sec == 44100);
    Check(f.channels == 1 || f.channels == 2);
    Check(f.block_align == f.channels && f.bits_per_sample == 8);
    Check(f.avg_bytes_per_sec == f.channels * f.samples_per_sec);
    Check(s.device_id >= -1 && s.device_id < 4);
    Check(s.device_name.size() <= qm::kMaxDeviceName);
    Check(s.remix_strategy == &qm::mix::RemixQueue || s.remix_strategy == &qm::mix::DeferStart);
  }
  return 0;
}
