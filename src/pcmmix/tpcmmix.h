#pragma once

// The mixer component the title window owns as PcmMix1: one session, switched on and off through
// `Activated`, its channels opened and closed through the bit mask `Channels`.

#include <cstdint>
#include <string>

#include "pcmmix/pcmmix.h"

namespace qm {

class TPcmMix {
 public:
  // Creates the session; only the settings file decides the format. Raises EPcmMixError.
  TPcmMix();
  // Closes the channels, gives back the device and closes the session; errors are dropped here,
  // as a destructor has nobody to pass them to.
  ~TPcmMix();
  TPcmMix(const TPcmMix&) = delete;
  TPcmMix& operator=(const TPcmMix&) = delete;

  bool Activated() const { return activated_; }
  void SetActivated(bool value);
  // Bit i set = channel i open; 255 = all eight.
  std::uint8_t Channels() const { return channels_; }
  void SetChannels(std::uint8_t value);

  MixWave* LoadWave(const std::string& file_name);
  void FreeWave(MixWave* wave);
  void Play(std::int32_t channel, MixWave* wave, PlayListener* notify, std::uint32_t flags,
            std::uint16_t loops);

  HMixSession Session() const { return session_; }

 private:
  MixPlayParams params_;
  HMixSession session_ = HMixSession::kNone;
  bool activated_ = false;
  std::uint8_t channels_ = 0;
};

}  // namespace qm
