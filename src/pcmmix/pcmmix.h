#pragma once

// The game's software mixer: up to eight channels of 8-bit PCM sound, mixed into one stream and
// fed block by block to the wave-output device. One session exists per process. Every failure is
// raised as EPcmMixError; nothing is reported by return codes.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "pcmmix/pcmmix_error.h"
#include "pcmmix/wave_out.h"

namespace qm {

// A session handle; it is valid only while the session it was made for lives.
enum class HMixSession : std::uint32_t { kNone = 0 };

// A loaded sound, already converted to the session's output format.
struct MixWave {
  PcmFormat format;                      // as read from the file, not updated by conversion
  std::unique_ptr<std::uint8_t[]> data;  // converted samples, owned by the wave
  std::int32_t length = 0;               // bytes of data
  std::string name;                      // at most 15 characters
  MixWave* next_live = nullptr;          // the mixer's list of live waves
};

// Told that a play has finished, while the engine handles a device notice on the UI thread. Like
// a posted message, an implementation should only note the news and act on it later.
class PlayListener {
 public:
  virtual ~PlayListener() = default;
  virtual void PostFinished(std::int32_t channel, MixWave* wave) = 0;
};

// Play flags.
inline constexpr std::uint32_t PlayReplace = 1;
inline constexpr std::uint32_t PlayOldestChannel = 2;
inline constexpr std::uint32_t PlayNow = 4;
inline constexpr std::uint32_t PlayDeferred = 8;

// Channel flags of PcmMixOpenChannel, and of PcmMixFlushChannel / PcmMixCloseChannel.
inline constexpr std::int32_t ChannelAll = 1;
inline constexpr std::int32_t ChannelCount = 2;
inline constexpr std::int32_t FlushNoRemix = 2;

// Load flags.
inline constexpr std::uint32_t LoadFromFile = 1;
inline constexpr std::uint32_t LoadFromResource = 2;
inline constexpr std::uint32_t LoadFromMemory = 4;

inline constexpr std::uint16_t kLoopsEndless = 0xFFFF;
inline constexpr std::uint16_t kMixPlayParamsSize = 24;
inline constexpr std::uint16_t kMixConfigSize = 10;

struct MixPlayParams {
  std::uint16_t size = kMixPlayParamsSize;
  HMixSession session = HMixSession::kNone;
  std::int32_t channel = 0;  // with PlayOldestChannel the chosen channel is written back here
  MixWave* wave = nullptr;
  PlayListener* notify_window = nullptr;
  std::uint32_t flags = 0;
  std::uint16_t loops = 0;  // extra repetitions; kLoopsEndless plays until stopped
};

// Optional wishes for the output format; a record whose size is not 10 is ignored.
inline constexpr std::uint32_t kConfigChannels = 1;
inline constexpr std::uint32_t kConfigRate = 2;
struct MixConfig {
  std::uint16_t size = kMixConfigSize;
  std::uint32_t flags = 0;
  std::uint16_t channels = 0;
  std::uint16_t rate = 0;  // 11, 22 or 44
};

// What PcmMixLoadWave reads: a file, a module resource (by name or number) or a memory image.
struct WaveName {
  std::string text;                     // file path or resource name
  std::optional<std::uint16_t> number;  // resource number
  std::span<const std::uint8_t> image;  // memory image
  static WaveName File(std::string path) { return {std::move(path), {}, {}}; }
  static WaveName Resource(std::string name) { return {std::move(name), {}, {}}; }
  static WaveName Resource(std::uint16_t number) { return {{}, number, {}}; }
  static WaveName Memory(std::span<const std::uint8_t> bytes) { return {{}, {}, bytes}; }
};
// Modules with resources do not exist on this platform; only "no module" is ever passed.
struct WaveModule;

// Installs the device, notice route and timer the engine uses; call before PcmMixInit.
void PcmMixSetPlatform(const MixPlatform& platform);

HMixSession PcmMixInit(const MixConfig* config = nullptr);
void PcmMixActivate(HMixSession session, bool on);
void PcmMixOpenChannel(HMixSession session, std::int32_t channel, std::int32_t flags);
void PcmMixCloseChannel(HMixSession session, std::int32_t channel, std::int32_t flags);
void PcmMixFlushChannel(HMixSession session, std::int32_t channel, std::int32_t flags);
MixWave* PcmMixLoadWave(HMixSession session, const WaveName& name, const WaveModule* module,
                        std::uint32_t flags);
void PcmMixFreeWave(HMixSession session, MixWave* wave);
void PcmMixPlay(MixPlayParams* params);
void PcmMixCloseSession(HMixSession session);

}  // namespace qm
