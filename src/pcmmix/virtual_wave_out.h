#pragma once

// A wave-output device that plays only when told to, and keeps every byte it played, so that
// tests see the exact stream the mixer produced. It can also be told to fail.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "pcmmix/wave_out.h"

namespace qm {

class VirtualWaveOut final : public WaveOut {
 public:
  struct Device {
    std::string name;
    std::uint16_t channels = 1;
    bool synchronous = false;
    bool caps_fail = false;
  };

  VirtualWaveOut() : devices{Device{"Virtual Wave Out"}} {}

  std::uint32_t GetNumDevs() override { return static_cast<std::uint32_t>(devices.size()); }
  std::uint32_t GetDevCaps(std::uint32_t device_id, WaveOutCaps& caps) override;
  std::uint32_t QueryFormat(std::uint32_t device_id, const PcmFormat& format) override;
  std::uint32_t Open(std::uint32_t device_id, const PcmFormat& format, Notifier& done) override;
  std::uint32_t PrepareHeader(WaveHeader& header) override;
  std::uint32_t UnprepareHeader(WaveHeader& header) override;
  std::uint32_t Write(WaveHeader& header) override;
  std::uint32_t Pause() override;
  std::uint32_t Restart() override;
  std::uint32_t Reset() override;
  std::uint32_t GetPosition() override { return position_; }
  std::uint32_t Close() override;

  // Plays up to `bytes` bytes of the written blocks, unless paused; each block played to its end
  // is marked done and its notice posted. Returns the bytes played.
  std::uint32_t Play(std::uint32_t bytes);
  // Room for this many played bytes, so that playing does not allocate.
  void ReservePlayed(std::size_t bytes) { played.reserve(bytes); }

  bool IsOpen() const { return open_; }
  bool IsPaused() const { return paused_; }
  int QueuedBlocks() const { return count_; }

  // The devices it reports, and the default device's own description.
  std::vector<Device> devices;
  Device mapper{"Virtual Default Device"};
  // Answers to force: non-zero codes for the next calls of these operations.
  std::uint32_t query_result = 0;
  std::uint32_t open_result = 0;
  std::uint32_t prepare_result = 0;
  bool refuse_writes = false;
  // What the engine did.
  std::vector<std::uint8_t> played;
  std::uint32_t opened_device = 0;
  PcmFormat opened_format;
  int writes = 0;
  int resets = 0;
  int prepared = 0;

 private:
  const Device* Find(std::uint32_t device_id) const;

  static constexpr int kRing = 16;
  std::array<WaveHeader*, kRing> ring_{};
  int head_ = 0;
  int count_ = 0;
  std::uint32_t offset_ = 0;
  std::uint32_t position_ = 0;
  bool open_ = false;
  bool paused_ = false;
  Notifier* done_ = nullptr;
};

}  // namespace qm
