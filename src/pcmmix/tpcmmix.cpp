#include "pcmmix/tpcmmix.h"

namespace qm {

TPcmMix::TPcmMix() {
  MixConfig config;
  config.size = kMixConfigSize;
  session_ = PcmMixInit(&config);
  params_.size = kMixPlayParamsSize;
  params_.session = session_;
}

TPcmMix::~TPcmMix() {
  try {
    SetChannels(0);
  } catch (const EPcmMixError&) {
  }
  try {
    SetActivated(false);
  } catch (const EPcmMixError&) {
  }
  try {
    if (session_ != HMixSession::kNone) PcmMixCloseSession(session_);
  } catch (const EPcmMixError&) {
  }
}

void TPcmMix::SetActivated(bool value) {
  if (value == activated_) return;
  PcmMixActivate(session_, value);
  activated_ = value;
}

void TPcmMix::SetChannels(std::uint8_t value) {
  if (value == channels_) return;
  if (value == 255) {
    PcmMixOpenChannel(session_, 0, ChannelAll);
  } else if (value == 0) {
    PcmMixCloseChannel(session_, 0, ChannelAll);
  } else {
    // Written with a difference mask: GCC 12 at -O2 miscompiled the bit-by-bit bool comparison.
    const unsigned changed = static_cast<unsigned>(value ^ channels_);
    for (int i = 0; i < 8; ++i) {
      if (!(changed >> i & 1u)) continue;
      if (value >> i & 1u) {
        PcmMixOpenChannel(session_, i, 0);
      } else {
        PcmMixCloseChannel(session_, i, 0);
      }
    }
  }
  channels_ = value;
}

MixWave* TPcmMix::LoadWave(const std::string& file_name) {
  return PcmMixLoadWave(session_, WaveName::File(file_name), nullptr, LoadFromFile);
}

void TPcmMix::FreeWave(MixWave* wave) {
  PcmMixFreeWave(session_, wave);
}

void TPcmMix::Play(std::int32_t channel, MixWave* wave, PlayListener* notify, std::uint32_t flags,
                   std::uint16_t loops) {
  params_.channel = channel;
  params_.wave = wave;
  params_.notify_window = notify;
  params_.flags = flags;
  params_.loops = loops;
  PcmMixPlay(&params_);
}

}  // namespace qm
