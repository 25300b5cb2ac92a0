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
  std::ofstream(folder_ + "/empty.mid");  // NOLINT(bugprone-unused-raii): only the file is wanted
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

// The player's pause holds the piece where it stands, unheard, and lets it go on from there; a
// loudness of 0 % silences it.
TEST_F(MidiPlayerTest, AHeldPieceStandsStillUnheardAndGoesOnAndNoLoudnessIsSilence) {
  const std::string font = InstalledSoundfont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  const std::string out = folder_ + "/held.wav";
  int at_hold = -1, end_of_hold = -1, going_on = -1;
  auto wait = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  {
    FluidMidiPlayer player({{font}, {"file"}, {{"audio.file.name", out}}});
    player.Open(TitleMusic());
    player.Play();
    wait(500);
    player.Hold(true);
    wait(50);
    at_hold = player.Tick();
    wait(700);
    end_of_hold = player.Tick();
    player.Hold(false);
    wait(500);
    going_on = player.Tick();
    player.SetVolume(0);
    wait(600);
  }
  EXPECT_GT(at_hold, 0);
  EXPECT_EQ(end_of_hold, at_hold) << "the piece went on while held";
  // Half a second on from where it stood: neither from the start nor the held time ahead.
  EXPECT_GT(going_on, at_hold);
  EXPECT_LT(going_on, 2 * at_hold + at_hold / 2);
  std::ifstream in(out, std::ios::binary);
  const std::vector<char> wav((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
  const int playing = Peak(wav, 0.05, 0.5);
  EXPECT_GT(playing, 1000);
  EXPECT_LT(Peak(wav, 0.9, 1.2), playing / 10) << "sounding while held";
  EXPECT_GT(Peak(wav, 1.35, 1.7), 1000) << "silent after the hold was let go";
  EXPECT_LT(Peak(wav, 2.05, 2.3), playing / 10) << "sounding at 0 %";
}

}  // namespace
}  // namespace qm::testing
