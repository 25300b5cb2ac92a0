#pragma once

// The title window's invisible media player `mid_p`: one standard MIDI file open at a time,
// played once from its beginning, stopped on request. Failures are raised as MidiError and only
// the sound cues decide that the game goes on without music.

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qm {

class MidiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class MidiPlayer {
 public:
  virtual ~MidiPlayer() = default;
  // Opens a standard MIDI file; whatever was open is closed first, its music with it.
  virtual void Open(const std::string& path) = 0;
  // Plays the open file from its beginning, once.
  virtual void Play() = 0;
  // Stops the music; the file stays open. Stopping with nothing playing is no error.
  virtual void Stop() = 0;
  // Holds the music where it is, silent, and lets it go on from that very place. A piece played
  // while held waits for the release. Never fails.
  virtual void Hold(bool /*held*/) {}
  // The player's loudness, 0 to 100 % of the music as made. Never fails.
  virtual void SetVolume(int /*percent*/) {}
};

// For machines without music: opens nothing and fails nothing, so the game sounds as before.
class SilentMidiPlayer final : public MidiPlayer {
 public:
  void Open(const std::string&) override {}
  void Play() override {}
  void Stop() override {}
};

// Where the synthesizer looks for its instruments and its way out to the speakers.
struct FluidConfig {
  // General MIDI soundfonts, the first one present is used.
  std::vector<std::string> soundfonts;
  // FluidSynth's audio drivers, tried in order. Never "sdl2": the mixer holds SDL's device.
  std::vector<std::string> drivers;
  // Further FluidSynth string settings ("audio.alsa.device", "audio.file.name", ...).
  std::vector<std::pair<std::string, std::string>> settings;
  // FluidSynth's own 0.2 leaves the music some 30 dB under the sounds; 0.6 still peaks below
  // full scale in every piece of the game.
  double gain = 0.6;
};

// The desktop's own: FluidR3, TimGM6mb, then whatever default-GM points to, in the system's
// soundfont folder or (in a test build) in each folder QM_SOUNDFONT_DIRS names; PulseAudio (which
// PipeWire desktops serve too), then ALSA.
FluidConfig DefaultFluidConfig();

// Music through FluidSynth with its own audio driver. The synthesizer and its soundfont are made
// at the first Open; with no soundfont or no driver that opens, every later Open fails at once,
// so a machine without music never waits on it twice.
class FluidMidiPlayer final : public MidiPlayer {
 public:
  explicit FluidMidiPlayer(FluidConfig config = DefaultFluidConfig());
  ~FluidMidiPlayer() override;
  FluidMidiPlayer(const FluidMidiPlayer&) = delete;
  FluidMidiPlayer& operator=(const FluidMidiPlayer&) = delete;

  void Open(const std::string& path) override;
  void Play() override;
  void Stop() override;
  void Hold(bool held) override;
  void SetVolume(int percent) override;

  // Where the open piece stands, in MIDI ticks; -1 with none.
  int Tick() const;
  // The soundfont in use, once the synthesizer is made; empty before or without one.
  const std::string& soundfont() const;
  // The audio driver that opened for the file that is open; empty without one.
  const std::string& driver() const;

 private:
  struct Fluid;
  std::unique_ptr<Fluid> fluid_;
};

}  // namespace qm
