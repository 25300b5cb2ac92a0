// The player's loudness of the effects and the music is kept in the player's settings beside the
// edition, read back by the next game, and written only when the player changes it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "app/midi_player.h"
#include "app/sound_cues.h"
#include "platform/random.h"
#include "platform/window_settings.h"

namespace qm {
namespace {

TEST(SoundVolume, IsKeptBesideTheEditionAndReadBackByTheNextGame) {
  std::string folder = (std::filesystem::temp_directory_path() / "qm-volume-XXXXXX").string();
  ASSERT_NE(::mkdtemp(folder.data()), nullptr);
  const std::string path = folder + "/quelmarin/settings.ini";
  SilentMidiPlayer music;
  Random random{3};
  {
    SoundCues cues(nullptr, music, random);
    cues.UseVolumeSettings(path);
    EXPECT_EQ(cues.Volume(SoundPart::kEffects), 100);
    EXPECT_EQ(cues.Volume(SoundPart::kMusic), 100);
    EXPECT_FALSE(std::filesystem::exists(path)) << "written though nothing changed";
    WriteEditionChoice(path, "en");
    cues.SetVolume(SoundPart::kEffects, 40);
    cues.SetVolume(SoundPart::kMusic, 130);
  }
  EXPECT_EQ(ReadEditionChoice(path), "en");
  SoundCues next(nullptr, music, random);
  next.UseVolumeSettings(path);
  EXPECT_EQ(next.Volume(SoundPart::kEffects), 40);
  EXPECT_EQ(next.Volume(SoundPart::kMusic), 100);
  // A damaged value is full loudness.
  std::ofstream(path) << "[sound]\neffects=loud\nmusic=-5\n";
  EXPECT_EQ(ReadSoundVolumes(path), (SoundVolumes{100, 100}));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace qm
