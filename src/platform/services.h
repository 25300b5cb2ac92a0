#pragma once

#include <string>
#include <string_view>

namespace qm {

// The application title: the caption of information and error boxes.
inline constexpr char kApplicationTitle[] = "QUELMARIN";

class Clock;
class Random;

// The modal boxes the game asks and tells with. Texts are CP932; a carriage return breaks a line.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // "確認" with "はい(&Y)" and "いいえ(&N)"; true for yes.
  virtual bool Confirm(const std::string& text) = 0;
  // One "OK" button, titled with the application title.
  virtual void Inform(const std::string& text) = 0;
  // The error box of a failed file operation.
  virtual void Error(const std::string& text) = 0;
};

// The mixer channels the game's cues play on, each a queue of its own, so cues on one channel
// follow each other and the four sound together. The mixer has eight; the game opens these four
// and leaves 4..7 closed.
enum SoundChannel : int {
  kEventChannel = 0,   // what happens to the voyage: arrivals, the chart, the booster, the shock
  kClickChannel = 1,   // the random clicks of buttons and answers
  kShipChannel = 2,    // the ship's machinery: contact, log-on, a collision, the pad let go
  kSignalChannel = 3,  // beeps and alarms: the typewriter, the error, half the pad presses
};
constexpr int kGameChannels = 4;

// The two loudnesses the player sets, each 0 to 100 %.
enum class SoundPart { kEffects, kMusic };
inline constexpr int kFullVolume = 100;

// The game's one sound interface. Never fails towards its caller: a sound that cannot play is
// silent.
class Sound {
 public:
  virtual ~Sound() = default;
  virtual void PlayCue(int channel, std::string_view wave_name) = 0;
  virtual void PlayClick() = 0;
  virtual void PlayMusic(std::string_view midi_name) = 0;
  // Holds every sound and the music where they stand, and lets them go on from there; nothing
  // queued meanwhile is lost or skipped.
  virtual void Hold(bool /*held*/) {}
  // The loudness of the effects or the music where they leave the game; 100 % is the sound as
  // made, 0 % silence that still plays.
  virtual int Volume(SoundPart /*part*/) const { return kFullVolume; }
  virtual void SetVolume(SoundPart /*part*/, int /*percent*/) {}
};

// Shows, hides, moves and re-captions the windows' controls by their component names.
class Controls {
 public:
  virtual ~Controls() = default;
  virtual void SetVisible(std::string_view name, bool visible) = 0;
  virtual bool IsVisible(std::string_view name) const = 0;
  virtual void Move(std::string_view name, int left, int top) = 0;
  virtual void SetCaption(std::string_view name, const std::string& cp932) = 0;
  // A disabled control stays in view but ignores the player (CONTINUE without a saved voyage).
  virtual void SetEnabled(std::string_view name, bool enabled) = 0;
};

// Sound that plays nothing, for headless runs before the mixer is connected.
class SilentSound final : public Sound {
 public:
  void PlayCue(int, std::string_view) override {}
  void PlayClick() override {}
  void PlayMusic(std::string_view) override {}
};

// Everything outside the game logic that a window's logic reaches, bundled so tests swap it whole.
struct Services {
  Clock& clock;
  Random& random;
  Dialogs& dialogs;
  Sound& sound;
  Controls& controls;
};

}  // namespace qm
