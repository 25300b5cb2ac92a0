#include "app/sound_cues.h"

#include <algorithm>
#include <exception>

#include "platform/game_folder.h"

namespace qm {
namespace {

constexpr char kStartWave[] = "1.wav";
constexpr std::string_view kStopMusic = "not";
constexpr std::uint8_t kChannels0To3 = 15;

std::string DatPath(std::string_view name) {
  std::string path = "\\dat\\";
  path += name;
  return GamePath(path);
}

}  // namespace

std::unique_ptr<TPcmMix> MakePcmMix1() {
  std::unique_ptr<TPcmMix> mix;
  try {
    mix = std::make_unique<TPcmMix>();
  } catch (const EPcmMixError&) {
    return nullptr;
  }
  // A device that is there but will not open costs the sounds, not the game.
  try {
    mix->SetActivated(true);
  } catch (const EPcmMixError&) {
  }
  try {
    mix->SetChannels(kChannels0To3);
  } catch (const EPcmMixError&) {
  }
  return mix;
}

SoundCues::SoundCues(std::unique_ptr<TPcmMix> mix, MidiPlayer& music, Random& random)
    : mix_(std::move(mix)), music_(music), random_(random) {
  start_waves_.reserve(kWaveSlots);
}

SoundCues::~SoundCues() {
  ReleaseWaves();
}

void SoundCues::PlayCue(int channel, std::string_view wave_name) {
  Cue(channel, wave_name);
}

void SoundCues::PlayClick() {
  // Rolled even when nothing can sound, so a voyage draws the same numbers on every machine.
  const std::int32_t n = random_.Next(kClicks);
  Cue(kClickChannel, std::to_string(n) + ".wav");
}

void SoundCues::Cue(int channel, std::string_view wave_name) {
  if (!mix_ || released_) return;
  try {
    MixWave* wave = Kept(wave_name);
    if (!wave) return;
    if (channel >= 0 && channel < kWaveSlots) slots_[static_cast<std::size_t>(channel)] = wave;
    mix_->Play(channel, wave, nullptr, 0, 0);
  } catch (const std::exception&) {
    // A full play pool, a closed channel, an inactive mixer: this cue is not heard.
  }
}

MixWave* SoundCues::Kept(std::string_view wave_name) {
  auto it = kept_.find(wave_name);
  if (it != kept_.end()) return it->second;
  it = kept_.emplace(std::string(wave_name), nullptr).first;
  try {
    it->second = mix_->LoadWave(DatPath(wave_name));
  } catch (const EPcmMixError&) {
    // Missing or unreadable: stays null, and the slot keeps its previous wave.
  }
  return it->second;
}

void SoundCues::PlayMusic(std::string_view midi_name) {
  try {
    if (midi_name == kStopMusic) {
      music_.Stop();
    } else if (!midi_name.empty()) {
      music_.Open(DatPath(midi_name));
      music_.Play();
    }
  } catch (const std::exception&) {
    // No soundfont, no audio driver, no such file: the game goes on without music.
  }
}

void SoundCues::Hold(bool held) {
  if (device_) device_->Hold(held);
  music_.Hold(held);
}

int SoundCues::Volume(SoundPart part) const {
  return part == SoundPart::kEffects ? volumes_.effects : volumes_.music;
}

void SoundCues::SetVolume(SoundPart part, int percent) {
  const int v = std::clamp(percent, 0, kFullVolume);
  if (part == SoundPart::kEffects) {
    volumes_.effects = v;
    if (device_) device_->SetVolume(v);
  } else {
    volumes_.music = v;
    music_.SetVolume(v);
  }
  WriteSoundVolumes(volume_settings_, volumes_);
}

void SoundCues::SetDevice(WaveOut* device) {
  device_ = device;
  if (device_) device_->SetVolume(volumes_.effects);
}

void SoundCues::UseVolumeSettings(const std::string& path) {
  volume_settings_ = path;
  volumes_ = ReadSoundVolumes(path);
  if (device_) device_->SetVolume(volumes_.effects);
  music_.SetVolume(volumes_.music);
}

void SoundCues::LoadStartWaves() {
  if (!mix_ || released_) return;
  try {
    for (int k = 0; k < kWaveSlots; ++k) {
      MixWave* wave = mix_->LoadWave(DatPath(kStartWave));
      start_waves_.push_back(wave);
      slots_[static_cast<std::size_t>(k)] = wave;
    }
  } catch (const EPcmMixError&) {
  }
}

void SoundCues::ReleaseWaves() {
  if (released_) return;
  released_ = true;
  if (!mix_) return;
  // One wave may sit in several slots and under its name as well; each is freed once.
  std::vector<MixWave*> freed;
  freed.reserve(slots_.size() + start_waves_.size() + kept_.size());
  auto release = [&](MixWave* wave) {
    if (!wave || std::find(freed.begin(), freed.end(), wave) != freed.end()) return;
    freed.push_back(wave);
    try {
      mix_->FreeWave(wave);
    } catch (const EPcmMixError&) {
    }
  };
  for (int k = kWaveSlots - 1; k >= 0; --k)
    release(slots_[static_cast<std::size_t>(k)]);
  for (MixWave* wave : start_waves_)
    release(wave);
  for (const auto& [name, wave] : kept_)
    release(wave);
  slots_ = {};
  start_waves_.clear();
  kept_.clear();
}

}  // namespace qm
