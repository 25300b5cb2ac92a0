#pragma once

// The game's wave-output device over SDL2's audio subsystem in callback mode. Written blocks are
// copied into the device's own slots at once, so the mixer may rebuild a block it has handed over
// without racing the audio thread; the callback only copies slot bytes out and counts them.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "pcmmix/wave_out.h"

namespace qm {

class SdlWaveOut final : public WaveOut {
 public:
  // How many output devices SDL can name, or -1 when it cannot list them; some back ends cannot,
  // yet their default device plays.
  using DeviceCounter = int (*)();

  // Starts SDL's audio subsystem (and nothing else of SDL); with no audio at all, no devices.
  // `count_devices` stands in for SDL's own count, for tests of back ends this machine lacks.
  explicit SdlWaveOut(DeviceCounter count_devices = nullptr);
  ~SdlWaveOut() override;
  SdlWaveOut(const SdlWaveOut&) = delete;
  SdlWaveOut& operator=(const SdlWaveOut&) = delete;

  std::uint32_t GetNumDevs() override;
  std::uint32_t GetDevCaps(std::uint32_t device_id, WaveOutCaps& caps) override;
  std::uint32_t QueryFormat(std::uint32_t device_id, const PcmFormat& format) override;
  std::uint32_t Open(std::uint32_t device_id, const PcmFormat& format, Notifier& done) override;
  std::uint32_t PrepareHeader(WaveHeader& header) override;
  std::uint32_t UnprepareHeader(WaveHeader& header) override;
  std::uint32_t Write(WaveHeader& header) override;
  std::uint32_t Pause() override;
  std::uint32_t Restart() override;
  std::uint32_t Reset() override;
  std::uint32_t GetPosition() override { return position_.load(); }
  std::uint32_t Close() override;
  void Hold(bool held) override;
  void SetVolume(int percent) override;

 private:
  static constexpr int kSlots = 8;
  static constexpr std::uint32_t kSlotBytes = 4096;
  struct Slot {
    WaveHeader* header = nullptr;
    std::uint32_t length = 0;
    std::uint32_t read = 0;
    std::uint8_t bytes[kSlotBytes];
  };

  static void Callback(void* self, std::uint8_t* stream, int len);
  // SDL's one pause switch serves both the mixer's fresh starts and the player's hold.
  void ApplyPause();
  void Fill(std::uint8_t* stream, int len);
  bool ValidDevice(std::uint32_t device_id);

  // Device 0 is SDL's default device when SDL cannot list its devices.
  bool DefaultOnly();

  bool audio_ = false;
  DeviceCounter count_devices_;
  std::uint32_t device_ = 0;  // SDL's device id; 0 = none
  Notifier* done_ = nullptr;
  std::unique_ptr<Slot[]> slots_;
  int head_ = 0;
  int count_ = 0;
  std::uint8_t silence_ = 128;
  std::atomic<std::uint32_t> position_{0};
  bool mixer_paused_ = false;
  bool held_ = false;
  std::atomic<int> volume_{100};
};

// 8-bit unsigned samples brought to `percent` of their swing around the silence of 128; 100
// leaves them as they are.
void ScaleToVolume(std::uint8_t* samples, std::uint32_t count, int percent);

}  // namespace qm
