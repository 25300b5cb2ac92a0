// "PCMMIX.INI": defaults, clamps, device choice and refusals, and the private-profile reading.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "pcmmix/settings.h"
#include "pcmmix_rig.h"

namespace qm::testing {
namespace {

class SettingsTest : public MixRig {
 protected:
  mix::MixSession& Init(const std::string& text, const MixConfig* config = nullptr) {
    if (mix::TheEngine().session) PcmMixCloseSession(session);
    WriteSettings(text);
    session = PcmMixInit(config);
    return S();
  }
};

TEST_F(SettingsTest, DefaultsWithoutAFile) {
  session = PcmMixInit();
  const mix::MixSession& s = S();
  EXPECT_EQ(s.device_id, 0);
  EXPECT_EQ(s.device_name, "Virtual Wave Out");
  EXPECT_EQ(s.output_format.format_tag, 1);
  EXPECT_EQ(s.output_format.channels, 1);
  EXPECT_EQ(s.output_format.samples_per_sec, 11025u);
  EXPECT_EQ(s.output_format.avg_bytes_per_sec, 11025u);
  EXPECT_EQ(s.output_format.block_align, 1);
  EXPECT_EQ(s.output_format.bits_per_sample, 8);
  EXPECT_EQ(s.block_count, 3);
  EXPECT_EQ(s.block_length, 2048);
  EXPECT_EQ(s.good_wave_pos, 0);
  EXPECT_EQ(s.remix_strategy, &mix::RemixQueue);
}

TEST_F(SettingsTest, APipeInTheFilesPlaceGivesTheDefaultsAtOnce) {
  ASSERT_EQ(::mkfifo((folder_ + "/PCMMIX.INI").c_str(), 0600), 0);
  session = PcmMixInit();
  EXPECT_EQ(S().output_format.samples_per_sec, 11025u);
  EXPECT_EQ(S().block_count, 3);
}

TEST_F(SettingsTest, RatesAndTheBlockLengthsTheyBring) {
  EXPECT_EQ(Init("[default]\nSamplesPerSec=44\n").output_format.samples_per_sec, 44100u);
  EXPECT_EQ(S().block_length, 4096);
  EXPECT_EQ(S().output_format.avg_bytes_per_sec, 44100u);
  EXPECT_EQ(Init("[Virtual Wave Out]\nSamplesPerSec=22\n").output_format.samples_per_sec, 22050u);
  EXPECT_EQ(S().block_length, 4096);
  EXPECT_EQ(Init("[default]\nSamplesPerSec=16\n").output_format.samples_per_sec, 11025u);
  EXPECT_EQ(S().block_length, 2048);
}

TEST_F(SettingsTest, BlockCountAndLengthAreClamped) {
  EXPECT_EQ(Init("[default]\nWaveBlocks=1\n").block_count, 2);
  EXPECT_EQ(Init("[Virtual Wave Out]\nWaveBlocks=10\n").block_count, 6);
  EXPECT_EQ(Init("[default]\nWaveBlockLen=100\n").block_length, 512);
  EXPECT_EQ(Init("[Virtual Wave Out]\nWaveBlockLen=5000\n").block_length, 4096);
  // Section "default" rounds down to a multiple of 4; the device's own section does not.
  EXPECT_EQ(Init("[default]\nWaveBlockLen=1023\n").block_length, 1020);
  EXPECT_EQ(Init("[Virtual Wave Out]\nWaveBlockLen=1023\n").block_length, 1023);
  EXPECT_EQ(Init("[default]\nWaveBlockLen=-1\n").block_length, 4096);     // low 16 bits: 65532
  EXPECT_EQ(Init("[default]\nWaveBlockLen=65536\n").block_length, 2048);  // low 16 bits: 0
}

TEST_F(SettingsTest, TheDeviceSectionOverridesKeyByKey) {
  const mix::MixSession& s = Init(
      "[default]\nRemix=2\nGoodWavePos=1\nWaveBlocks=5\n"
      "[Virtual Wave Out]\nRemix=3\nWaveBlocks=4\n");
  EXPECT_EQ(s.remix_strategy, &mix::RemixQueue);  // 3 is not 2
  EXPECT_EQ(s.good_wave_pos, 1);                  // from "default"
  EXPECT_EQ(s.block_count, 4);
  EXPECT_EQ(Init("[Virtual Wave Out]\nRemix=2\nGoodWavePos=257\n").remix_strategy,
            &mix::DeferStart);
  EXPECT_EQ(S().good_wave_pos, 1);
  EXPECT_EQ(Init("[default]\nGoodWavePos=2\n").good_wave_pos, 2);
}

TEST_F(SettingsTest, DeviceChoice) {
  device.devices.push_back({"Second Card", 2});
  EXPECT_EQ(Init("[general]\nWaveOutDevice=1\n[Second Card]\nWaveBlocks=6\n").device_id, 1);
  EXPECT_EQ(S().device_name, "Second Card");
  EXPECT_EQ(S().block_count, 6);
  EXPECT_EQ(Init("[general]\nWaveOutDevice=5\n").device_id, -1);
  EXPECT_EQ(Init("[general]\nWaveOutDevice=-5\n").device_id, -1);
  EXPECT_EQ(S().device_name, "Virtual Default Device");
  PcmMixActivate(session, true);
  EXPECT_EQ(device.opened_device, 0xFFFFFFFFu);

  device.devices[0].caps_fail = true;
  EXPECT_EQ(Init("[Unknown Device]\nWaveBlocks=2\n").device_name, "Unknown Device");
  EXPECT_EQ(S().block_count, 2);

  device.devices[0] = {"A Sound Card With A Very Long Name Indeed"};
  EXPECT_EQ(Init("").device_name, "A Sound Card With A Very Long N");
}

TEST_F(SettingsTest, RefusedDevicesLeaveNoSession) {
  WriteSettings("[not compatible]\nVirtual Wave Out=1\n");
  EXPECT_EQ(MIX_ERROR(PcmMixInit()),
            "Virtual Wave Out is not compatible with the realtime pcm mixer");
  EXPECT_EQ(mix::TheEngine().session, nullptr);
  WriteSettings("[not compatible]\nVirtual Wave Out=0\n");
  EXPECT_EQ(MIX_ERROR(session = PcmMixInit()), "(none)");
  PcmMixCloseSession(session);

  device.devices[0].synchronous = true;
  EXPECT_EQ(MIX_ERROR(PcmMixInit()),
            "Virtual Wave Out is a syncronous (blocking) wave output device.  This will not permit "
            "audio to play while other applications are running");
  EXPECT_EQ(mix::TheEngine().session, nullptr);
}

TEST_F(SettingsTest, ConfigRecordWishes) {
  device.devices[0].channels = 2;
  MixConfig config;
  config.flags = kConfigChannels | kConfigRate;
  config.channels = 2;
  config.rate = 22;
  const mix::MixSession& s = Init("[default]\nSamplesPerSec=44\n", &config);
  EXPECT_EQ(s.output_format.channels, 2);
  EXPECT_EQ(s.output_format.block_align, 2);
  EXPECT_EQ(s.output_format.samples_per_sec, 22050u);
  EXPECT_EQ(s.output_format.avg_bytes_per_sec, 44100u);

  config.rate = 33;  // not a rate: the file decides
  EXPECT_EQ(Init("[default]\nSamplesPerSec=44\n", &config).output_format.samples_per_sec, 44100u);
  config.size = 9;  // not the record: ignored whole
  EXPECT_EQ(Init("", &config).output_format.channels, 1);
  config.size = 10;
  device.devices[0].channels = 1;  // a mono device stays mono
  EXPECT_EQ(Init("", &config).output_format.channels, 1);
}

TEST_F(SettingsTest, ReadOncePerSession) {
  Init("[default]\nWaveBlocks=5\n");
  WriteSettings("[default]\nWaveBlocks=2\n");
  PcmMixActivate(session, true);
  EXPECT_EQ(S().block_count, 5);
  EXPECT_EQ(Init("[default]\nWaveBlocks=2\n").block_count, 2);
}

TEST_F(SettingsTest, FileIsLookedForInTheConfigurationFolder) {
  const std::string home = ::getenv("HOME") ? ::getenv("HOME") : "";
  ::setenv("XDG_CONFIG_HOME", "/somewhere", 1);
  EXPECT_EQ(MixSettingsPath(), "/somewhere/PCMMIX.INI");
  ::setenv("HOME", "/home/captain", 1);
  ::setenv("XDG_CONFIG_HOME", "relative/path", 1);
  EXPECT_EQ(MixSettingsPath(), "/home/captain/.config/PCMMIX.INI");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(MixSettingsPath(), "/home/captain/.config/PCMMIX.INI");
  ::setenv("HOME", home.c_str(), 1);
}

TEST(ProfileTest, PrivateProfileReading) {
  const Profile p = Profile::Parse(
      "Orphan=5\r\n"
      "; a comment\n"
      "[Default]\r\n"
      "  remix  =  2 \r\n"
      "Blocks=+4\n"
      "Neg=-17\n"
      "Trail=12abc\n"
      "Word=abc\n"
      "Empty=\n"
      "Big=99999999999\n"
      "Small=-99999999999\n"
      "Twice=1\n"
      "Twice=2\n"
      "[default]\n"
      "Late=9\n"
      "[ spaced name ]\n"
      "k=3\n"
      "[no close\n"
      "k=4\n"
      "broken line\n");
  EXPECT_EQ(p.GetInt("default", "Remix", 1), 2);
  EXPECT_EQ(p.GetInt("default", "blocks", 0), 4);
  EXPECT_EQ(p.GetInt("default", "Neg", 0), -17);
  EXPECT_EQ(p.GetInt("default", "Trail", 0), 12);
  EXPECT_EQ(p.GetInt("default", "Word", 7), 0);
  EXPECT_EQ(p.GetInt("default", "Empty", 7), 7);
  EXPECT_EQ(p.GetInt("default", "Big", 0), 2147483647);
  EXPECT_EQ(p.GetInt("default", "Small", 0), -2147483647 - 1);
  EXPECT_EQ(p.GetInt("default", "Twice", 0), 1);
  EXPECT_EQ(p.GetInt("default", "Late", 8), 8);  // the first section of a name wins
  EXPECT_EQ(p.GetInt("default", "Orphan", 8), 8);
  EXPECT_EQ(p.GetInt("spaced name", "k", 0), 3);
  EXPECT_EQ(p.GetInt("no close", "k", 0), 4);
  EXPECT_EQ(p.GetInt("missing", "k", -3), -3);
  EXPECT_EQ(Profile::Load("/no/such/file").GetInt("default", "Remix", 1), 1);
}

}  // namespace
}  // namespace qm::testing
