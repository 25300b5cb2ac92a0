#include "app/midi_player.h"

#include <fluidsynth.h>

#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string_view>

namespace qm {
namespace {

// Far beyond any piece of the game; a bigger file is not music we made.
constexpr std::uintmax_t kMaxSongBytes = 4u << 20;
constexpr int kMidiChannels = 16;
constexpr int kPeriodFrames = 1024;
constexpr int kPeriods = 2;
constexpr int kIdleLookMs = 1500;
constexpr int kSustainPedal = 64;

// FluidSynth tells stderr about every driver it could not open; the game has no log, and a
// machine without music is no news.
void QuietFluidSynth() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, nullptr, nullptr);
  });
}

std::vector<char> ReadSong(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec) throw MidiError("no such music file: " + path);
  if (size > kMaxSongBytes) throw MidiError("music file too large: " + path);
  std::ifstream in(path, std::ios::binary);
  std::vector<char> song((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A standard MIDI file starts with its 14-byte header chunk.
  if (song.size() < 14 || std::string_view(song.data(), 4) != "MThd")
    throw MidiError("not a standard MIDI file: " + path);
  return song;
}

// The folders the soundfonts are looked for in: the system's; in a test build (QM_TEST_HOOKS),
// QM_SOUNDFONT_DIRS may name others (separated by ':'), so that a test can take the soundfont away
// or offer a broken one.
std::vector<std::string> SoundfontFolders() {
#if defined(QM_TEST_HOOKS)
  const char* dirs = std::getenv("QM_SOUNDFONT_DIRS");
#else
  const char* dirs = nullptr;
#endif
  if (dirs == nullptr) return {"/usr/share/sounds/sf2"};
  std::vector<std::string> folders;
  std::string_view rest(dirs);
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    if (colon != 0) folders.emplace_back(rest.substr(0, colon));
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return folders;
}

}  // namespace

FluidConfig DefaultFluidConfig() {
  FluidConfig config;
  for (const std::string& folder : SoundfontFolders()) {
    for (const char* name : {"FluidR3_GM.sf2", "TimGM6mb.sf2", "default-GM.sf2"})
      config.soundfonts.push_back(folder + "/" + name);
  }
  config.drivers = {"pulseaudio", "alsa"};
  return config;
}

struct FluidMidiPlayer::Fluid {
  Fluid(const Fluid&) = delete;
  Fluid& operator=(const Fluid&) = delete;
  FluidConfig config;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  fluid_audio_driver_t* driver = nullptr;
  std::string soundfont;
  std::string driver_name;
  // Why this machine has no music; empty while it may still have some.
  std::string unavailable;
  std::vector<char> song;
  // The player runs on the audio driver's thread. Its events pass this gate, so that once Stop
  // has closed it no note can start behind the notes-off.
  std::mutex gate;
  bool muted = true;
  // No music, no synthesis: once the piece has ended or been stopped, and its last notes have
  // died away, the driver and its thread go; Play brings them back.
  QTimer watch;
  int idle_looks = 0;
  // The player's pause: the piece stands still, and goes on when the hold is let go if it was
  // playing (or was asked to play) meanwhile.
  bool held = false;
  bool play_on_release = false;
  int volume = 100;

  Fluid() {
    watch.setInterval(kIdleLookMs);
    QObject::connect(&watch, &QTimer::timeout, [this] {
      // A held piece is still playing, only waiting.
      const bool playing =
          play_on_release || (player && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING);
      idle_looks = playing ? 0 : idle_looks + 1;
      if (idle_looks < 2) return;
      CloseDriver();
      watch.stop();
    });
  }

  static int PassEvent(void* data, fluid_midi_event_t* event) {
    auto* f = static_cast<Fluid*>(data);
    std::lock_guard<std::mutex> lock(f->gate);
    if (f->muted) return FLUID_OK;
    return fluid_synth_handle_midi_event(f->synth, event);
  }

  // The gain the player's loudness asks for; the game's own gain at 100 %. Held, silence: the
  // notes sounding when the hold came fade out unheard instead of ringing through the pause.
  double Gain() const {
    if (held) return 0.0;
    return volume >= 100 ? config.gain : config.gain * volume / 100.0;
  }

  void SetMuted(bool value) {
    std::lock_guard<std::mutex> lock(gate);
    muted = value;
  }

  // The driver goes first: deleting it joins the audio thread, after which nothing plays the
  // player and it can be deleted safely.
  void CloseDriver() {
    if (driver) delete_fluid_audio_driver(driver);
    driver = nullptr;
    driver_name.clear();
  }

  void CloseSong() {
    watch.stop();
    CloseDriver();
    if (player) delete_fluid_player(player);
    player = nullptr;
    song.clear();
    SetMuted(true);
    play_on_release = false;
  }

  [[noreturn]] void GiveUp(std::string why) {
    unavailable = std::move(why);
    CloseSong();
    throw MidiError(unavailable);
  }

  void MakeSynth() {
    if (synth) return;
    QuietFluidSynth();
    settings = new_fluid_settings();
    if (!settings) GiveUp("FluidSynth has no settings");
    fluid_settings_setnum(settings, "synth.gain", Gain());
    // FluidSynth's own periods of 64 frames wake its audio thread some 700 times a second; 1024
    // frames in two periods (about 23 ms each at 44.1 kHz) keep the music smooth and the machine
    // quiet, with a start that lags the cue by no more than a frame of the voyage.
    fluid_settings_setint(settings, "audio.period-size", kPeriodFrames);
    fluid_settings_setint(settings, "audio.periods", kPeriods);
    for (const auto& [name, value] : config.settings)
      fluid_settings_setstr(settings, name.c_str(), value.c_str());
    synth = new_fluid_synth(settings);
    if (!synth) GiveUp("FluidSynth made no synthesizer");
    for (const std::string& font : config.soundfonts) {
      std::error_code ec;
      if (!std::filesystem::is_regular_file(font, ec) || !fluid_is_soundfont(font.c_str()))
        continue;
      if (fluid_synth_sfload(synth, font.c_str(), 1) == FLUID_FAILED) continue;
      soundfont = font;
      return;
    }
    GiveUp("no General MIDI soundfont");
  }

  void OpenDriver() {
    for (const std::string& name : config.drivers) {
      // SDL's one device belongs to the mixer.
      if (name == "sdl2") continue;
      fluid_settings_setstr(settings, "audio.driver", name.c_str());
      driver = new_fluid_audio_driver(settings, synth);
      if (driver) {
        driver_name = name;
        return;
      }
    }
    GiveUp("no audio driver for music");
  }

  ~Fluid() {
    CloseSong();
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

FluidMidiPlayer::FluidMidiPlayer(FluidConfig config) : fluid_(std::make_unique<Fluid>()) {
  fluid_->config = std::move(config);
}

FluidMidiPlayer::~FluidMidiPlayer() = default;

void FluidMidiPlayer::Open(const std::string& path) {
  Fluid& f = *fluid_;
  f.CloseSong();
  if (!f.unavailable.empty()) throw MidiError(f.unavailable);
  std::vector<char> song = ReadSong(path);
  f.MakeSynth();
  f.player = new_fluid_player(f.synth);
  if (!f.player) throw MidiError("FluidSynth made no player");
  fluid_player_set_playback_callback(f.player, &Fluid::PassEvent, &f);
  if (fluid_player_add_mem(f.player, song.data(), song.size()) != FLUID_OK) {
    f.CloseSong();
    throw MidiError("FluidSynth refused " + path);
  }
  f.song = std::move(song);
  f.OpenDriver();
}

void FluidMidiPlayer::Play() {
  Fluid& f = *fluid_;
  if (!f.player) throw MidiError("no music is open");
  if (!f.driver) f.OpenDriver();
  f.idle_looks = 0;
  f.watch.start();
  f.SetMuted(false);
  if (f.held) {
    f.play_on_release = true;
    return;
  }
  if (fluid_player_play(f.player) != FLUID_OK) throw MidiError("FluidSynth would not play");
}

void FluidMidiPlayer::Stop() {
  Fluid& f = *fluid_;
  f.play_on_release = false;
  if (!f.player) return;
  f.SetMuted(true);
  fluid_player_stop(f.player);
  // Lift any held pedal too, or its notes would ring on after the music stopped.
  for (int channel = 0; channel < kMidiChannels; ++channel)
    fluid_synth_cc(f.synth, channel, kSustainPedal, 0);
  fluid_synth_all_notes_off(f.synth, -1);
}

void FluidMidiPlayer::Hold(bool held) {
  Fluid& f = *fluid_;
  if (held == f.held) return;
  f.held = held;
  if (f.synth) fluid_synth_set_gain(f.synth, static_cast<float>(f.Gain()));
  if (!f.player) return;
  if (held) {
    // Stopping a FluidSynth player keeps its place in the piece; playing it again goes on from
    // there.
    f.play_on_release = fluid_player_get_status(f.player) == FLUID_PLAYER_PLAYING;
    if (f.play_on_release) fluid_player_stop(f.player);
    return;
  }
  if (!f.play_on_release) return;
  f.play_on_release = false;
  fluid_player_play(f.player);
}

void FluidMidiPlayer::SetVolume(int percent) {
  Fluid& f = *fluid_;
  f.volume = std::clamp(percent, 0, 100);
  if (f.synth) fluid_synth_set_gain(f.synth, static_cast<float>(f.Gain()));
}

int FluidMidiPlayer::Tick() const {
  return fluid_->player ? fluid_player_get_current_tick(fluid_->player) : -1;
}

const std::string& FluidMidiPlayer::soundfont() const {
  return fluid_->soundfont;
}

const std::string& FluidMidiPlayer::driver() const {
  return fluid_->driver_name;
}

}  // namespace qm
