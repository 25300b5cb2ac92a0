#pragma once

// The seams between the mixer and the outside world: the PCM output device, the route that brings
// a finished block's notice back to the UI thread, and the millisecond timer. The engine only ever
// talks to these, so a test can swap in a device that plays when told and a timer it winds itself.

#include <atomic>
#include <cstdint>
#include <string>

namespace qm {

// The 16-byte PCM format record of a WAVE file and of the output stream.
struct PcmFormat {
  std::uint16_t format_tag = 0;
  std::uint16_t channels = 0;
  std::uint32_t samples_per_sec = 0;
  std::uint32_t avg_bytes_per_sec = 0;
  std::uint16_t block_align = 0;
  std::uint16_t bits_per_sample = 0;
};
inline constexpr std::uint16_t kWaveFormatPcm = 1;

// Result codes of the device operations, numbered as the classic wave-output interface numbers
// them, because they end up in the player-visible messages ("…device #2").
inline constexpr std::uint32_t kMmNoError = 0;
inline constexpr std::uint32_t kMmError = 1;
inline constexpr std::uint32_t kMmBadDeviceId = 2;
inline constexpr std::uint32_t kMmAllocated = 4;
inline constexpr std::uint32_t kMmNoMem = 7;
inline constexpr std::uint32_t kWaveBadFormat = 32;
inline constexpr std::uint32_t kWaveUnprepared = 34;

// Device number of the platform's default device, in its 32-bit and its 16-bit spelling.
inline constexpr std::uint32_t kWaveMapper = 0xFFFFFFFF;
inline constexpr std::uint32_t kWaveMapper16 = 0xFFFF;
inline bool IsWaveMapper(std::uint32_t device_id) {
  return device_id == kWaveMapper || device_id == kWaveMapper16;
}

// Header flags. `done` is set by the device (possibly on its own thread), hence atomic.
inline constexpr std::uint32_t kWhdrDone = 0x01;
inline constexpr std::uint32_t kWhdrPrepared = 0x02;
inline constexpr std::uint32_t kWhdrInQueue = 0x10;

struct WaveHeader {
  std::uint8_t* data = nullptr;
  std::uint32_t buffer_length = 0;
  std::atomic<std::uint32_t> flags{0};
  std::uint32_t loops = 0;
};

struct WaveOutCaps {
  std::string name;  // at most 31 bytes
  std::uint16_t channels = 1;
  bool synchronous = false;  // a blocking device, which the mixer refuses
};
inline constexpr std::size_t kMaxDeviceName = 31;
// The name of a device that cannot be described; its settings are kept under this name.
inline constexpr char kUnknownDeviceName[] = "Unknown Device";

// Runs on the UI thread once per posted notice.
using NoticeHandler = void (*)(void* context);

// The road from "the device finished a block" to the UI thread, where the engine refills its queue.
class Notifier {
 public:
  virtual ~Notifier() = default;
  // Once per engine set-up; 0, or an error code (1410, "already prepared", also counts as success).
  virtual std::uint32_t Register() { return 0; }
  // Starts delivering notices to `handler`; false if the route cannot be made.
  virtual bool Open(NoticeHandler handler, void* context) = 0;
  // Stops delivery; notices still on the way are dropped.
  virtual void Close() = 0;
  // Any thread: one finished block.
  virtual void Post() = 0;
};

// The PCM output device, shaped after the classic wave-output interface. One device is open at a
// time. Positions count bytes: with 8-bit output one byte is one sample of one channel, which is
// the unit every position of the mixer is kept in.
class WaveOut {
 public:
  virtual ~WaveOut() = default;
  virtual std::uint32_t GetNumDevs() = 0;
  virtual std::uint32_t GetDevCaps(std::uint32_t device_id, WaveOutCaps& caps) = 0;
  // Whether the device would accept `format`, without opening it.
  virtual std::uint32_t QueryFormat(std::uint32_t device_id, const PcmFormat& format) = 0;
  // The device posts to `done` each time a written block has played or was given back by Reset.
  virtual std::uint32_t Open(std::uint32_t device_id, const PcmFormat& format, Notifier& done) = 0;
  virtual std::uint32_t PrepareHeader(WaveHeader& header) = 0;
  virtual std::uint32_t UnprepareHeader(WaveHeader& header) = 0;
  virtual std::uint32_t Write(WaveHeader& header) = 0;
  virtual std::uint32_t Pause() = 0;
  virtual std::uint32_t Restart() = 0;
  // Stops playback, marks every written block done and gives it back, and zeroes the position.
  virtual std::uint32_t Reset() = 0;
  // Bytes played since the device was opened or reset.
  virtual std::uint32_t GetPosition() = 0;
  virtual std::uint32_t Close() = 0;
  // The player's pause, apart from the mixer's own Pause and Restart (which only line up the
  // blocks of a fresh start): while held the device plays nothing and counts nothing, whatever
  // the mixer does, and every byte written waits for the release. Kept across Open and Close.
  virtual void Hold(bool /*held*/) {}
  // The player's loudness, 0 to 100 %, applied to the bytes as they leave for the speakers; the
  // blocks the mixer wrote stay as they are. 100 plays them unchanged.
  virtual void SetVolume(int /*percent*/) {}
};

// The millisecond timer the position clock runs on when the device's own count is not trusted.
class MsTimer {
 public:
  virtual ~MsTimer() = default;
  virtual std::uint32_t Now() = 0;  // wraps like any 32-bit millisecond counter
};

class SteadyMsTimer final : public MsTimer {
 public:
  std::uint32_t Now() override;
};

class ManualMsTimer final : public MsTimer {
 public:
  explicit ManualMsTimer(std::uint32_t start = 1000) : now_(start) {}
  std::uint32_t Now() override { return now_; }
  void Advance(std::uint32_t ms) { now_ += ms; }
  void Set(std::uint32_t ms) { now_ = ms; }

 private:
  std::uint32_t now_;
};

// The back ends the engine uses; PcmMixSetPlatform installs them before PcmMixInit.
struct MixPlatform {
  WaveOut* wave_out = nullptr;
  Notifier* notifier = nullptr;
  MsTimer* timer = nullptr;
};

}  // namespace qm
