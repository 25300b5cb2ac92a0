#pragma once

// Every sound of the game: cues and clicks on the mixer component PcmMix1, music on the media
// player mid_p. This is where a sound that cannot play becomes silence; nothing of it ever
// reaches the player or the caller.

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/midi_player.h"
#include "pcmmix/tpcmmix.h"
#include "pcmmix/wave_out.h"
#include "platform/random.h"
#include "platform/services.h"
#include "platform/window_settings.h"

namespace qm {

// PcmMix1 as the title window's layout makes it: the session, then the device, then channels 0..3
// (Channels = 15). Null when the machine has no wave-output device; a device that will not open
// leaves it inactive, and its plays then fail quietly like any other.
std::unique_ptr<TPcmMix> MakePcmMix1();

class SoundCues final : public Sound {
 public:
  // Slot k holds the wave last played on channel k, 0..3.
  static constexpr int kWaveSlots = kGameChannels;
  // The clicks "0.wav" .. "18.wav".
  static constexpr int kClicks = 19;

  // Without a mixer the effects are silent; the music and the clicks' rolls go on regardless.
  SoundCues(std::unique_ptr<TPcmMix> mix, MidiPlayer& music, Random& random);
  // Whatever is still kept goes before the mixer does.
  ~SoundCues() override;
  SoundCues(const SoundCues&) = delete;
  SoundCues& operator=(const SoundCues&) = delete;

  // Plays dat\<name> on `channel`, behind what is queued there. The file is read the first time
  // it is asked for and kept by name from then on.
  void PlayCue(int channel, std::string_view wave_name) override;
  // One of the nineteen clicks, at random, on channel 1.
  void PlayClick() override;
  // dat\<name> from its beginning, replacing any music; "not" stops the music; "" does nothing.
  void PlayMusic(std::string_view midi_name) override;
  // The effects stand still on the output device and the music where it is.
  void Hold(bool held) override;
  int Volume(SoundPart part) const override;
  // Sets one loudness (clamped to 0..100) on the device or the music, and writes both to the
  // player's settings when they are kept there.
  void SetVolume(SoundPart part, int percent) override;

  // The device the mixer plays on, where the effects' loudness and hold are applied; without
  // one they have nothing to act on.
  void SetDevice(WaveOut* device);
  // Takes the player's loudnesses from the settings file at `path` and keeps every change there;
  // an empty path keeps nothing.
  void UseVolumeSettings(const std::string& path);

  // Title window creation: "1.wav" into slots 0, 1, 2 and 3, each slot its own load. A failure
  // ends the loading and leaves the remaining slots empty.
  void LoadStartWaves();
  // Title window destruction: the slots' waves go, slot 3 first, then every other kept wave.
  // Later cues play nothing.
  void ReleaseWaves();

  TPcmMix* PcmMix1() const { return mix_.get(); }
  MixWave* Slot(int k) const { return slots_.at(static_cast<std::size_t>(k)); }

 private:
  void Cue(int channel, std::string_view wave_name);
  // The wave kept for dat\<name>, loaded on first use; null if it could not be loaded, which is
  // remembered too, so a broken file is not read again every frame.
  MixWave* Kept(std::string_view wave_name);

  std::unique_ptr<TPcmMix> mix_;
  MidiPlayer& music_;
  Random& random_;
  std::array<MixWave*, kWaveSlots> slots_{};
  // The four loads of "1.wav"; each is released whether or not a cue has taken its slot since.
  std::vector<MixWave*> start_waves_;
  std::map<std::string, MixWave*, std::less<>> kept_;
  bool released_ = false;
  WaveOut* device_ = nullptr;
  SoundVolumes volumes_;
  std::string volume_settings_;
};

}  // namespace qm
