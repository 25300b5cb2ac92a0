// The music player over FluidSynth: with no soundfont or no audio device it refuses at once and
// never hangs; with both, the title music really sounds, rendered by FluidSynth's file driver
// into a WAVE file, and stopping it silences it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "app/midi_player.h"
#include "built_game.h"

namespace qm::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::string TitleMusic() {
  return testing::BuiltGame().string() + "/dat/title.mid";
}

// The first soundfont of the desktop's search order that this machine has, or "".
std::string InstalledSoundfont() {
  for (const std::string& font : DefaultFluidConfig().soundfonts) {
    if (std::filesystem::exists(font)) return font;
  }
  return "";
}

// The loudest 16-bit sample in [from, to) seconds of a WAVE file's 44.1 kHz stereo data.
int Peak(const std::vector<char>& wav, double from, double to) {
  const std::string_view bytes(wav.data(), wav.size());
  const std::size_t data = bytes.find("data");
  if (data == std::string_view::npos) return -1;
  const std::size_t begin = data + 8;
  const std::size_t frames = (wav.size() - begin) / 4;
  const auto first = std::min(frames, static_cast<std::size_t>(from * 44100));
  const auto last = std::min(frames, static_cast<std::size_t>(to * 44100));
  int peak = 0;
  for (std::size_t f = first; f < last; ++f) {
    for (int side = 0; side < 2; ++side) {
      const std::size_t at = begin + f * 4 + static_cast<std::size_t>(side) * 2;
      const auto v = static_cast<std::int16_t>(static_cast<std::uint8_t>(wav[at]) |
                                               static_cast<std::uint8_t>(wav[at + 1]) << 8);
      peak = std::max(peak, std::abs(static_cast<int>(v)));
    }
  }
  return peak;
}

class MidiPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-midi-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  // Drivers that cannot open on any machine: no such PulseAudio server, no such ALSA device.
  FluidConfig Unreachable(std::vector<std::string> soundfonts) const {
    return {std::move(soundfonts),
            {"pulseaudio", "alsa", "sdl2"},
            {{"audio.pulseaudio.server", "unix:" + folder_ + "/no-pulse"},
             {"audio.alsa.device", "qm_no_such_device"}}};
  }
  std::string folder_;
};

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST_F(MidiPlayerTest, NoSoundfontMeansSilenceAtOnce) {
  const std::string out = folder_ + "/never.wav";
  FluidMidiPlayer player({{folder_ + "/missing.sf2", folder_ + "/also-missing.sf2"},
                          {"file"},
                          {{"audio.file.name", out}}});
  const auto start = Clock::now();
  EXPECT_THROW(player.Open(TitleMusic()), MidiError);
  EXPECT_THROW(player.Open(TitleMusic()), MidiError);
  EXPECT_THROW(player.Play(), MidiError);
  EXPECT_NO_THROW(player.Stop());
  EXPECT_LT(SecondsSince(start), 2.0);
  EXPECT_EQ(player.soundfont(), "");
  // No driver was ever opened.
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(MidiPlayerTest, ASoundfontThatIsNoSoundfontIsPassedOver) {
  const std::string font = InstalledSoundfont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  const std::string fake = folder_ + "/fake.sf2";
  std::ofstream(fake) << "RIFF, but not a soundfont";
  FluidMidiPlayer player(Unreachable({fake, font}));
  EXPECT_THROW(player.Open(TitleMusic()), MidiError);
  EXPECT_EQ(player.soundfont(), font);
}

TEST_F(MidiPlayerTest, NoAudioDeviceMeansSilenceWithoutAHang) {
  const std::string font = InstalledSoundfont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  const auto start = Clock::now();
  {
    FluidMidiPlayer player(Unreachable({font}));
    EXPECT_THROW(player.Open(TitleMusic()), MidiError);
    EXPECT_EQ(player.driver(), "");
    EXPECT_THROW(player.Play(), MidiError);
    EXPECT_NO_THROW(player.Stop());
    // Given up for good: the next piece does not try the drivers again.
    const auto again = Clock::now();
    EXPECT_THROW(player.Open(testing::BuiltGame().string() + "/dat/ending.mid"), MidiError);
    EXPECT_LT(SecondsSince(again), 0.05);
  }
  EXPECT_LT(SecondsSince(start), 5.0);
}

TEST_F(MidiPlayerTest, OnlyStandardMidiFilesAreOpened) {
  FluidMidiPlayer player({{folder_ + "/missing.sf2"}, {"file"}, {}});
  EXPECT_THROW(player.Open(folder_ + "/none.mid"), MidiError);
  std::ofstream(folder_ + "/empty.mid");
  EXPECT_THROW(player.Open(folder_ + "/empty.mid"), MidiError);
  EXPECT_THROW(player.Open(testing::BuiltGame().string() + "/dat/1.wav"), MidiError);
  EXPECT_THROW(player.Open(folder_), MidiError);
}

TEST_F(MidiPlayerTest, TheTitleMusicSoundsAndStopSilencesIt) {
  const std::string font = InstalledSoundfont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  const std::string out = folder_ + "/title.wav";
  {
    // FluidSynth's file driver renders in real time, as a sound card would play.
    FluidMidiPlayer player({{font}, {"sdl2", "file"}, {{"audio.file.name", out}}});
    player.Open(TitleMusic());
    EXPECT_EQ(player.driver(), "file");
    player.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    player.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(900));
  }
  std::ifstream in(out, std::ios::binary);
  const std::vector<char> wav((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  ASSERT_GT(wav.size(), 44100u * 4 / 2) << "less than half a second was rendered";
  const double seconds = static_cast<double>(wav.size()) / (44100 * 4);
  const int playing = Peak(wav, 0.0, 0.5);
  const int stopped = Peak(wav, seconds - 0.2, seconds);
  EXPECT_GT(playing, 1000);
  // Only the last release tails are left, far under the music.
  EXPECT_LT(stopped, playing / 10) << "still sounding after the stop";
}

TEST_F(MidiPlayerTest, OpeningAnotherPieceReplacesTheFirst) {
  const std::string font = InstalledSoundfont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  FluidMidiPlayer player({{font}, {"file"}, {{"audio.file.name", folder_ + "/music.wav"}}});
  player.Open(TitleMusic());
  player.Play();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  player.Stop();
  player.Open(testing::BuiltGame().string() + "/dat/opening.mid");
  player.Play();
  // A missing piece leaves nothing playing and the player usable.
  EXPECT_THROW(player.Open(folder_ + "/none.mid"), MidiError);
  EXPECT_THROW(player.Play(), MidiError);
  player.Open(testing::BuiltGame().string() + "/dat/ending.mid");
  player.Play();
  EXPECT_EQ(player.driver(), "file");
}

// The player's pause: the piece stands still where it is, unheard, and goes on from there.
TEST_F(MidiPlayerTest, AHeldPieceStandsStillUnheardAndGoesOnFromWhereItStood) {
  const std::string font = InstalledSoundfont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  const std::string out = folder_ + "/held.wav";
  int at_hold = -1, end_of_hold = -1, going_on = -1;
  {
    FluidMidiPlayer player({{font}, {"file"}, {{"audio.file.name", out}}});
    player.Open(TitleMusic());
    player.Play();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    player.Hold(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    at_hold = player.Tick();
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    end_of_hold = player.Tick();
    player.Hold(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    going_on = player.Tick();
  }
  EXPECT_GT(at_hold, 0);
  EXPECT_EQ(end_of_hold, at_hold) << "the piece went on while held";
  EXPECT_GT(going_on, at_hold) << "the piece did not go on";
  // From where it stood: half a second on, not back at the start nor the held time ahead.
  EXPECT_LT(going_on, 2 * at_hold + at_hold / 2);

  std::ifstream in(out, std::ios::binary);
  const std::vector<char> wav((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  const int playing = Peak(wav, 0.05, 0.5);
  EXPECT_GT(playing, 1000);
  EXPECT_LT(Peak(wav, 0.9, 1.2), playing / 10) << "sounding while held";
  EXPECT_GT(Peak(wav, 1.35, 1.75), 1000) << "silent after the hold was let go";
}

// The player's loudness of the music scales what FluidSynth renders; 0 % is silence.
TEST_F(MidiPlayerTest, TheMusicsLoudnessScalesItsSound) {
  const std::string font = InstalledSoundfont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  auto render = [&](int percent, bool before_open) {
    const std::string out = folder_ + "/at" + std::to_string(percent) + ".wav";
    {
      FluidMidiPlayer player({{font}, {"file"}, {{"audio.file.name", out}}});
      if (before_open) player.SetVolume(percent);
      player.Open(TitleMusic());
      if (!before_open) player.SetVolume(percent);
      player.Play();
      std::this_thread::sleep_for(std::chrono::milliseconds(600));
    }
    std::ifstream in(out, std::ios::binary);
    const std::vector<char> wav((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
    return Peak(wav, 0.05, 0.5);
  };
  const int full = render(100, false);
  const int half = render(50, false);
  const int none = render(0, true);
  ASSERT_GT(full, 1000);
  EXPECT_GT(half, full * 35 / 100);
  EXPECT_LT(half, full * 65 / 100);
  EXPECT_LT(none, 16) << "music at 0 %";
}

}  // namespace
}  // namespace qm::testing
