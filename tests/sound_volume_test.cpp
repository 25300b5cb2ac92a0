// The player's loudness of the effects and the music and the pause of both, as the sound cues
// hand them to the output device and to the music, and as the player's settings keep them from
// one game to the next beside the edition.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QSettings>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/midi_player.h"
#include "app/sound_cues.h"
#include "pcmmix/wave_out.h"
#include "platform/random.h"
#include "platform/window_settings.h"

namespace qm {
namespace {

// A device that only records what the player asked of it.
class RecordingDevice final : public WaveOut {
 public:
  std::uint32_t GetNumDevs() override { return 1; }
  std::uint32_t GetDevCaps(std::uint32_t, WaveOutCaps&) override { return kMmNoError; }
  std::uint32_t QueryFormat(std::uint32_t, const PcmFormat&) override { return kMmNoError; }
  std::uint32_t Open(std::uint32_t, const PcmFormat&, Notifier&) override { return kMmNoError; }
  std::uint32_t PrepareHeader(WaveHeader&) override { return kMmNoError; }
  std::uint32_t UnprepareHeader(WaveHeader&) override { return kMmNoError; }
  std::uint32_t Write(WaveHeader&) override { return kMmNoError; }
  std::uint32_t Pause() override { return kMmNoError; }
  std::uint32_t Restart() override { return kMmNoError; }
  std::uint32_t Reset() override { return kMmNoError; }
  std::uint32_t GetPosition() override { return 0; }
  std::uint32_t Close() override { return kMmNoError; }
  void Hold(bool h) override { held = h; }
  void SetVolume(int percent) override { volumes.push_back(percent); }

  bool held = false;
  std::vector<int> volumes;
};

class RecordingMusic final : public MidiPlayer {
 public:
  void Open(const std::string&) override {}
  void Play() override {}
  void Stop() override {}
  void Hold(bool h) override { held = h; }
  void SetVolume(int percent) override { volumes.push_back(percent); }

  bool held = false;
  std::vector<int> volumes;
};

class SoundVolume : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-volume-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/quelmarin/settings.ini";
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  std::unique_ptr<SoundCues> Cues() {
    auto cues = std::make_unique<SoundCues>(nullptr, music_, random_);
    cues->SetDevice(&device_);
    cues->UseVolumeSettings(path_);
    return cues;
  }
  void WriteFile(const std::string& text) {
    std::filesystem::create_directories(folder_ + "/quelmarin");
    std::ofstream(path_) << text;
  }

  std::string folder_;
  std::string path_;
  RecordingDevice device_;
  RecordingMusic music_;
  Random random_{3};
};

TEST_F(SoundVolume, TheKeptLoudnessesReachTheDeviceAndTheMusicAtStart) {
  WriteFile("[game]\nlanguage=en\n\n[sound]\neffects=30\nmusic=70\n");
  auto cues = Cues();
  EXPECT_EQ(cues->Volume(SoundPart::kEffects), 30);
  EXPECT_EQ(cues->Volume(SoundPart::kMusic), 70);
  ASSERT_FALSE(device_.volumes.empty());
  EXPECT_EQ(device_.volumes.back(), 30);
  ASSERT_FALSE(music_.volumes.empty());
  EXPECT_EQ(music_.volumes.back(), 70);
}

TEST_F(SoundVolume, EveryChangeIsKeptBesideTheEditionForTheNextGame) {
  WriteEditionChoice(path_, "en");
  {
    auto cues = Cues();
    cues->SetVolume(SoundPart::kEffects, 40);
    cues->SetVolume(SoundPart::kMusic, 0);
    EXPECT_EQ(device_.volumes.back(), 40);
    EXPECT_EQ(music_.volumes.back(), 0);
  }
  EXPECT_EQ(ReadEditionChoice(path_), "en");
  EXPECT_EQ(ReadSoundVolumes(path_), (SoundVolumes{40, 0}));
  // The next game starts at the kept loudness.
  device_.volumes.clear();
  music_.volumes.clear();
  auto next = Cues();
  EXPECT_EQ(next->Volume(SoundPart::kEffects), 40);
  EXPECT_EQ(next->Volume(SoundPart::kMusic), 0);
  ASSERT_FALSE(device_.volumes.empty());
  EXPECT_EQ(device_.volumes.back(), 40);
  EXPECT_EQ(music_.volumes, std::vector<int>{0});
  // Out of range is brought to the nearest end.
  next->SetVolume(SoundPart::kEffects, 130);
  next->SetVolume(SoundPart::kMusic, -10);
  EXPECT_EQ(ReadSoundVolumes(path_), (SoundVolumes{100, 0}));
}

TEST_F(SoundVolume, NothingKeptOrSomethingDamagedIsFullLoudnessAndNothingIsWrittenUnasked) {
  auto cues = Cues();
  EXPECT_EQ(cues->Volume(SoundPart::kEffects), 100);
  EXPECT_EQ(cues->Volume(SoundPart::kMusic), 100);
  // A game whose loudness nobody touches leaves the player's folder as it was.
  EXPECT_FALSE(std::filesystem::exists(path_));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/quelmarin"));

  WriteFile("[sound]\neffects=loud\nmusic=150\n");
  EXPECT_EQ(ReadSoundVolumes(path_), (SoundVolumes{100, 100}));
  WriteFile("[sound]\neffects=-1\nmusic=20\n");
  EXPECT_EQ(ReadSoundVolumes(path_), (SoundVolumes{100, 20}));
  EXPECT_EQ(ReadSoundVolumes(""), (SoundVolumes{100, 100}));
  // No settings folder known: changes still sound, and nothing is written anywhere.
  SoundCues unkept(nullptr, music_, random_);
  unkept.SetDevice(&device_);
  unkept.UseVolumeSettings("");
  unkept.SetVolume(SoundPart::kEffects, 60);
  EXPECT_EQ(device_.volumes.back(), 60);
}

TEST_F(SoundVolume, HoldingHoldsTheEffectsAtTheDeviceAndTheMusic) {
  auto cues = Cues();
  cues->Hold(true);
  EXPECT_TRUE(device_.held);
  EXPECT_TRUE(music_.held);
  cues->Hold(false);
  EXPECT_FALSE(device_.held);
  EXPECT_FALSE(music_.held);
}

}  // namespace
}  // namespace qm
