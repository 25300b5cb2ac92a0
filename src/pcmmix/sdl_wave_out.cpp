#include "pcmmix/sdl_wave_out.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace qm {
namespace {

// Callbacks well under one of the mixer's blocks (2048 bytes, 186 ms at 11025 Hz) keep each
// finished block's notice close to when it was heard; 1024 frames (93 ms at 11025 Hz) wake the
// audio thread about eleven times a second instead of twenty-two.
constexpr Uint16 kCallbackFrames = 1024;

// The first 31 bytes of a name, not cutting a UTF-8 character in two. A device SDL gives no name
// is the unknown device, whose settings the player may keep under that name.
std::string ShortName(const char* name) {
  if (name == nullptr || name[0] == '\0') return kUnknownDeviceName;
  std::string s = name;
  if (s.size() <= kMaxDeviceName) return s;
  std::size_t cut = kMaxDeviceName;
  while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80)
    --cut;
  return s.substr(0, cut);
}

class AudioLock {
 public:
  explicit AudioLock(std::uint32_t device) : device_(device) {
    if (device_) SDL_LockAudioDevice(device_);
  }
  ~AudioLock() {
    if (device_) SDL_UnlockAudioDevice(device_);
  }
  AudioLock(const AudioLock&) = delete;
  AudioLock& operator=(const AudioLock&) = delete;

 private:
  std::uint32_t device_;
};

// Left to itself SDL turns SIGINT and SIGTERM into quit events for an event queue this program
// never reads, and the game would no longer end when the desktop or a terminal asks it to.
bool OpenAudio() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  return SDL_Init(SDL_INIT_AUDIO) == 0;
}

int SdlOutputDevices() {
  return SDL_GetNumAudioDevices(0);
}

}  // namespace

SdlWaveOut::SdlWaveOut(DeviceCounter count_devices)
    : audio_(OpenAudio()), count_devices_(count_devices ? count_devices : &SdlOutputDevices) {}

SdlWaveOut::~SdlWaveOut() {
  Close();
  if (audio_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

std::uint32_t SdlWaveOut::GetNumDevs() {
  if (!audio_) return 0;
  // A count SDL cannot give still leaves the default device to play on: count that one.
  const int n = count_devices_();
  return n < 0 ? 1u : static_cast<std::uint32_t>(n);
}

bool SdlWaveOut::DefaultOnly() {
  return audio_ && count_devices_() < 0;
}

bool SdlWaveOut::ValidDevice(std::uint32_t device_id) {
  return audio_ && (IsWaveMapper(device_id) || device_id < GetNumDevs());
}

std::uint32_t SdlWaveOut::GetDevCaps(std::uint32_t device_id, WaveOutCaps& caps) {
  if (!ValidDevice(device_id)) return kMmBadDeviceId;
  SDL_AudioSpec spec{};
  if (IsWaveMapper(device_id) || DefaultOnly()) {
    char* name = nullptr;
    if (SDL_GetDefaultAudioInfo(&name, &spec, 0) == 0) {
      caps.name = ShortName(name);
      SDL_free(name);
    } else if (IsWaveMapper(device_id)) {
      return kMmError;
    } else {
      // Nothing to tell about the one device but that it is there.
      caps.name = kUnknownDeviceName;
      spec.channels = 1;
    }
  } else {
    const int index = static_cast<int>(device_id);
    const char* name = SDL_GetAudioDeviceName(index, 0);
    if (name == nullptr) return kMmError;
    caps.name = ShortName(name);
    if (SDL_GetAudioDeviceSpec(index, 0, &spec) != 0) spec.channels = 1;
  }
  caps.channels = spec.channels;
  caps.synchronous = false;
  return kMmNoError;
}

std::uint32_t SdlWaveOut::QueryFormat(std::uint32_t device_id, const PcmFormat& format) {
  if (!ValidDevice(device_id)) return kMmBadDeviceId;
  const bool ours = format.format_tag == kWaveFormatPcm && format.bits_per_sample == 8 &&
                    (format.channels == 1 || format.channels == 2) && format.samples_per_sec > 0;
  return ours ? kMmNoError : kWaveBadFormat;
}

std::uint32_t SdlWaveOut::Open(std::uint32_t device_id, const PcmFormat& format, Notifier& done) {
  if (device_) return kMmAllocated;
  const std::uint32_t query = QueryFormat(device_id, format);
  if (query != kMmNoError) return query;
  slots_.reset(new (std::nothrow) Slot[kSlots]);
  if (!slots_) return kMmNoMem;
  head_ = count_ = 0;
  position_ = 0;
  done_ = &done;

  SDL_AudioSpec want{};
  want.freq = static_cast<int>(format.samples_per_sec);
  want.format = AUDIO_U8;
  want.channels = static_cast<Uint8>(format.channels);
  want.samples = kCallbackFrames;
  want.callback = &SdlWaveOut::Callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  const char* name = IsWaveMapper(device_id) || DefaultOnly()
                         ? nullptr
                         : SDL_GetAudioDeviceName(static_cast<int>(device_id), 0);
  // No format changes allowed: SDL converts our 8-bit stream to whatever the hardware wants.
  device_ = SDL_OpenAudioDevice(name, 0, &want, &have, 0);
  if (device_ == 0) {
    slots_.reset();
    done_ = nullptr;
    return kMmError;
  }
  silence_ = have.silence;
  mixer_paused_ = false;
  ApplyPause();
  return kMmNoError;
}

std::uint32_t SdlWaveOut::PrepareHeader(WaveHeader& header) {
  header.flags |= kWhdrPrepared;
  return kMmNoError;
}

std::uint32_t SdlWaveOut::UnprepareHeader(WaveHeader& header) {
  header.flags &= ~kWhdrPrepared;
  return kMmNoError;
}

std::uint32_t SdlWaveOut::Write(WaveHeader& header) {
  if (!device_) return kMmError;
  if (!(header.flags & kWhdrPrepared)) return kWaveUnprepared;
  if (header.buffer_length == 0 || header.buffer_length > kSlotBytes) return kMmError;
  AudioLock lock(device_);
  if (count_ == kSlots) return kMmNoMem;
  Slot& slot = slots_[(head_ + count_) % kSlots];
  std::memcpy(slot.bytes, header.data, header.buffer_length);
  slot.header = &header;
  slot.length = header.buffer_length;
  slot.read = 0;
  header.flags = (header.flags & ~kWhdrDone) | kWhdrInQueue;
  ++count_;
  return kMmNoError;
}

std::uint32_t SdlWaveOut::Pause() {
  if (!device_) return kMmError;
  mixer_paused_ = true;
  ApplyPause();
  return kMmNoError;
}

std::uint32_t SdlWaveOut::Restart() {
  if (!device_) return kMmError;
  mixer_paused_ = false;
  ApplyPause();
  return kMmNoError;
}

void SdlWaveOut::Hold(bool held) {
  held_ = held;
  ApplyPause();
}

void SdlWaveOut::ApplyPause() {
  // SDL takes the device's lock to pause it, so once this returns no callback is under way and
  // the count stands still until the release.
  if (device_) SDL_PauseAudioDevice(device_, mixer_paused_ || held_ ? 1 : 0);
}

void SdlWaveOut::SetVolume(int percent) {
  volume_ = std::clamp(percent, 0, 100);
}

void ScaleToVolume(std::uint8_t* samples, std::uint32_t count, int percent) {
  if (percent >= 100) return;
  for (std::uint32_t i = 0; i < count; ++i) {
    const int swing = static_cast<int>(samples[i]) - 128;
    samples[i] = static_cast<std::uint8_t>(128 + swing * percent / 100);
  }
}

std::uint32_t SdlWaveOut::Reset() {
  if (!device_) return kMmError;
  AudioLock lock(device_);
  for (; count_ > 0; --count_, head_ = (head_ + 1) % kSlots) {
    WaveHeader& h = *slots_[head_].header;
    h.flags = (h.flags & ~kWhdrInQueue) | kWhdrDone;
    done_->Post();
  }
  head_ = 0;
  position_ = 0;
  return kMmNoError;
}

std::uint32_t SdlWaveOut::Close() {
  if (!device_) return kMmNoError;
  SDL_CloseAudioDevice(device_);
  device_ = 0;
  mixer_paused_ = false;
  slots_.reset();
  count_ = 0;
  done_ = nullptr;
  return kMmNoError;
}

void SdlWaveOut::Callback(void* self, std::uint8_t* stream, int len) {
  static_cast<SdlWaveOut*>(self)->Fill(stream, len);
}

// On the audio thread, with SDL holding the device lock.
void SdlWaveOut::Fill(std::uint8_t* stream, int len) {
  auto left = static_cast<std::uint32_t>(len);
  const int volume = volume_.load();
  while (left > 0 && count_ > 0) {
    Slot& slot = slots_[head_];
    const std::uint32_t n = std::min(left, slot.length - slot.read);
    std::memcpy(stream, slot.bytes + slot.read, n);
    ScaleToVolume(stream, n, volume);
    slot.read += n;
    stream += n;
    left -= n;
    position_ += n;
    if (slot.read == slot.length) {
      slot.header->flags = (slot.header->flags & ~kWhdrInQueue) | kWhdrDone;
      head_ = (head_ + 1) % kSlots;
      --count_;
      done_->Post();
    }
  }
  if (left > 0) std::memset(stream, silence_, left);
}

}  // namespace qm
