// The game's sounds through PcmMix1 on the virtual device: each cue of the game sounds its own
// file on its own channel, files are read once and kept until the title window goes, clicks are
// drawn from the game's generator, and every failure ends in silence, never in the caller.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/sound_cues.h"
#include "built_game.h"
#include "pcmmix_rig.h"
#include "platform/game_folder.h"

namespace qm::testing {
namespace {

// Stands in for mid_p: records the requests and fails when told to.
class FakeMidi : public MidiPlayer {
 public:
  void Open(const std::string& path) override {
    calls.push_back("open " + path);
    if (fail_open) throw MidiError("no MIDI device");
  }
  void Play() override { calls.push_back("play"); }
  void Stop() override {
    calls.push_back("stop");
    if (fail_stop) throw MidiError("no MIDI device");
  }
  std::vector<std::string> calls;
  bool fail_open = false;
  bool fail_stop = false;
};

int LiveWaves() {
  int n = 0;
  for (const MixWave* w = mix::TheEngine().live_waves; w; w = w->next_live)
    ++n;
  return n;
}

// The waves queued on a channel, in order.
std::vector<MixWave*> Queued(int channel) {
  std::vector<MixWave*> waves;
  for (const mix::PlayNode* n = mix::TheEngine().session->channel_queue[channel].head; n;
       n = n->next)
    waves.push_back(n->wave);
  return waves;
}

class SoundCuesTest : public MixRig {
 protected:
  void SetUp() override {
    MixRig::SetUp();
    game_ = folder_ + "/game";
    std::filesystem::create_directories(game_ + "/dat");
    SetGameFolderForTesting(game_);
    WriteSettings("[default]\nGoodWavePos=1\n");
  }
  void TearDown() override {
    cues.reset();
    SetGameFolderForTesting("");
    MixRig::TearDown();
  }

  void Make() {
    cues = std::make_unique<SoundCues>(MakePcmMix1(), midi, random);
    if (cues->PcmMix1()) session = cues->PcmMix1()->Session();
  }
  void WriteWave(const std::string& name, const Bytes& samples) {
    const Bytes image = WaveImage(samples);
    std::ofstream(game_ + "/dat/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
  }
  // Each sound audible up to its last byte, which the mixer never plays (a play ends at its
  // end position).
  static Bytes Heard(const Bytes& samples) { return Bytes(samples.begin(), samples.end() - 1); }

  std::string game_;
  FakeMidi midi;
  Random random{4242};
  std::unique_ptr<SoundCues> cues;
};

// ---- the game's own files ------------------------------------------------------------------

TEST_F(SoundCuesTest, EveryCueOfTheGameSoundsItsOwnFileOnItsChannel) {
  SetGameFolderForTesting(testing::BuiltGame().string());
  Make();
  ASSERT_NE(cues->PcmMix1(), nullptr);
  cues->LoadStartWaves();
  const std::vector<std::pair<int, std::string>> table = {
      {0, "log.wav"}, {2, "logon.wav"}, {2, "bom.wav"},     {0, "on.wav"},   {0, "e.wav"},
      {3, "e.wav"},   {2, "e2.wav"},    {0, "booster.wav"}, {3, "pi.wav"},   {2, "check.wav"},
      {0, "map.wav"}, {0, "6.wav"},     {0, "2.wav"},       {0, "baku.wav"}, {3, "error.wav"}};
  for (const auto& [channel, name] : table) {
    SCOPED_TRACE(name);
    // The file as the mixer converts it, read apart from the cues.
    MixWave* expected =
        PcmMixLoadWave(session, WaveName::File(testing::BuiltGame().string() + "/dat/" + name),
                       nullptr, LoadFromFile);
    const Bytes converted(expected->data.get(), expected->data.get() + expected->length);
    PcmMixFreeWave(session, expected);

    const std::size_t before = device.played.size();
    cues->PlayCue(channel, name);
    ASSERT_EQ(Queued(channel).size(), 1u);
    EXPECT_EQ(Queued(channel).front(), cues->Slot(channel));
    for (int other = 0; other < 4; ++other) {
      if (other != channel) {
        EXPECT_TRUE(Queued(other).empty()) << "channel " << other;
      }
    }
    PlayOut();
    ASSERT_GE(device.played.size(), before + converted.size());
    EXPECT_EQ(Played(before, converted.size() - 1), Heard(converted));
  }
}

TEST_F(SoundCuesTest, StartUpLoadsOneWaveIntoEachSlotInOrder) {
  // 1.wav apart from every other sound, so a slot holding anything else shows.
  const Bytes start = Ramp(40, 3);
  WriteWave("1.wav", start);
  WriteWave("log.wav", Ramp(40, 1));
  Make();
  cues->LoadStartWaves();
  // Each slot has its own load; later loads stand first in the mixer's list of live waves.
  std::set<MixWave*> distinct;
  const MixWave* live = mix::TheEngine().live_waves;
  for (int k = 3; k >= 0; --k) {
    SCOPED_TRACE("slot " + std::to_string(k));
    MixWave* slot = cues->Slot(k);
    ASSERT_NE(slot, nullptr);
    distinct.insert(slot);
    EXPECT_EQ(live, slot);
    EXPECT_EQ(Bytes(slot->data.get(), slot->data.get() + slot->length), start);
    live = live ? live->next_live : nullptr;
  }
  EXPECT_EQ(distinct.size(), 4u);
  EXPECT_EQ(live, nullptr);
  // "1.wav" is kept, never played.
  EXPECT_TRUE(device.played.empty());
  EXPECT_EQ(device.writes, 0);
}

TEST_F(SoundCuesTest, WithoutTheStartWaveTheSlotsStayEmptyAndTheCuesStillPlay) {
  const Bytes e2 = Ramp(60, 2);
  WriteWave("e2.wav", e2);
  Make();
  EXPECT_NO_THROW(cues->LoadStartWaves());
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(cues->Slot(k), nullptr) << "slot " << k;
  EXPECT_EQ(LiveWaves(), 0);
  cues->PlayCue(2, "e2.wav");
  PlayOut();
  EXPECT_EQ(Played(0, e2.size() - 1), Heard(e2));
}

// ---- kept by name --------------------------------------------------------------------------

TEST_F(SoundCuesTest, AFileIsReadOnceHoweverOftenItPlays) {
  const Bytes pi = Ramp(300, 5);
  WriteWave("pi.wav", pi);
  WriteWave("1.wav", Ramp(40, 1));
  Make();
  cues->LoadStartWaves();
  ASSERT_EQ(LiveWaves(), 4);
  // A message typed out: a beep every frame, some while the last ones still sound.
  for (int frame = 0; frame < 30; ++frame) {
    cues->PlayCue(3, "pi.wav");
    Advance(100);
  }
  EXPECT_EQ(LiveWaves(), 5);
  for (MixWave* w : Queued(3))
    EXPECT_EQ(w, cues->Slot(3));
  // Removing the file changes nothing: it is not read again.
  std::filesystem::remove(game_ + "/dat/pi.wav");
  const std::size_t before = device.played.size();
  PlayOut();
  cues->PlayCue(3, "pi.wav");
  const std::size_t start = device.played.size();
  PlayOut();
  EXPECT_GT(start, before);
  EXPECT_EQ(Played(start, pi.size() - 1), Heard(pi));
}

TEST_F(SoundCuesTest, TwoCuesOnOneChannelFollowEachOther) {
  const Bytes a = Ramp(1500, 3), b = Ramp(700, 9);
  WriteWave("on.wav", a);
  WriteWave("map.wav", b);
  Make();
  cues->PlayCue(0, "on.wav");
  // The second waits behind the blocks the first one filled, and never sounds over it.
  const auto second_start =
      static_cast<std::size_t>(std::max<std::int32_t>(S().mix_position, 1499));
  cues->PlayCue(0, "map.wav");
  EXPECT_EQ(Queued(0).size(), 2u);
  EXPECT_EQ(cues->Slot(0), Queued(0).back());
  PlayOut();
  EXPECT_EQ(Played(0, a.size() - 1), Heard(a));
  EXPECT_EQ(Played(a.size() - 1, second_start - (a.size() - 1)),
            Filled(second_start - (a.size() - 1), 128));
  EXPECT_EQ(Played(second_start, b.size() - 1), Heard(b));
}

TEST_F(SoundCuesTest, DestroyingTheTitleWindowReleasesEveryKeptWaveOnce) {
  WriteWave("1.wav", Ramp(40, 1));
  WriteWave("e.wav", Ramp(5000, 2));
  WriteWave("log.wav", Ramp(5000, 4));
  Make();
  cues->LoadStartWaves();
  // One wave in two slots, one slot's start wave replaced, plays still queued.
  cues->PlayCue(0, "e.wav");
  cues->PlayCue(3, "e.wav");
  cues->PlayCue(0, "log.wav");
  cues->PlayCue(0, "e.wav");
  ASSERT_EQ(cues->Slot(0), cues->Slot(3));
  ASSERT_EQ(LiveWaves(), 6);
  cues->ReleaseWaves();
  EXPECT_EQ(LiveWaves(), 0);
  EXPECT_TRUE(Queued(0).empty());
  EXPECT_TRUE(Queued(3).empty());
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(cues->Slot(k), nullptr);
  // The window is gone: later cues are not loaded or played, and nothing throws.
  cues->PlayCue(0, "log.wav");
  cues->PlayClick();
  EXPECT_EQ(LiveWaves(), 0);
  cues->ReleaseWaves();
}

// ---- clicks --------------------------------------------------------------------------------

TEST_F(SoundCuesTest, AClickIsOneOfTheNineteenDrawnFromTheGamesGenerator) {
  std::vector<Bytes> clicks;
  for (int n = 0; n < SoundCues::kClicks; ++n) {
    clicks.push_back(Ramp(200 + 10 * static_cast<std::size_t>(n), n + 20));
    WriteWave(std::to_string(n) + ".wav", clicks.back());
  }
  Make();
  Random replay{random.Seed()};
  std::set<int> heard;
  for (int i = 0; i < 60; ++i) {
    const int n = replay.Next(19);
    heard.insert(n);
    const std::size_t start = device.played.size();
    cues->PlayClick();
    ASSERT_EQ(Queued(1).size(), 1u);
    EXPECT_EQ(cues->Slot(1), Queued(1).front());
    PlayOut();
    EXPECT_EQ(Played(start, clicks[static_cast<std::size_t>(n)].size() - 1),
              Heard(clicks[static_cast<std::size_t>(n)]))
        << "click " << i << " should be " << n << ".wav";
  }
  EXPECT_EQ(random.Seed(), replay.Seed());
  EXPECT_GE(heard.size(), 15u);
}

TEST_F(SoundCuesTest, ClicksRollTheSameWithoutASoundDevice) {
  device.devices.clear();
  Make();
  ASSERT_EQ(cues->PcmMix1(), nullptr);
  Random replay{random.Seed()};
  for (int i = 0; i < 5; ++i) {
    cues->PlayClick();
    replay.Next(19);
  }
  EXPECT_EQ(random.Seed(), replay.Seed());
}

// ---- failures are silent -------------------------------------------------------------------

TEST_F(SoundCuesTest, AMissingOrBrokenFilePlaysNothingAndKeepsTheSlot) {
  WriteWave("1.wav", Ramp(40, 1));
  std::ofstream(game_ + "/dat/bad.wav", std::ios::binary) << "RIFF....WAVEjunk";
  Make();
  cues->LoadStartWaves();
  MixWave* start_wave = cues->Slot(2);
  EXPECT_NO_THROW(cues->PlayCue(2, "check.wav"));
  EXPECT_NO_THROW(cues->PlayCue(2, "bad.wav"));
  EXPECT_NO_THROW(cues->PlayCue(1, std::to_string(7) + ".wav"));
  EXPECT_NO_THROW(cues->PlayClick());
  EXPECT_EQ(cues->Slot(2), start_wave);
  EXPECT_TRUE(Queued(2).empty());
  EXPECT_EQ(device.writes, 0);
  EXPECT_EQ(LiveWaves(), 4);
}

TEST_F(SoundCuesTest, CuesBeyondTheFreePlaysAreDroppedQuietly) {
  const Bytes bom = Ramp(50, 6);
  WriteWave("bom.wav", bom);
  Make();
  for (int i = 0; i < 130; ++i)
    EXPECT_NO_THROW(cues->PlayCue(2, "bom.wav"));
  EXPECT_EQ(Queued(2).size(), 100u);
  // A closed channel and one that does not exist: nothing, and no slot is touched.
  EXPECT_NO_THROW(cues->PlayCue(5, "bom.wav"));
  EXPECT_NO_THROW(cues->PlayCue(-1, "bom.wav"));
  EXPECT_EQ(cues->Slot(0), nullptr);
  PlayOut();
  EXPECT_TRUE(Queued(2).empty());
  cues->PlayCue(2, "bom.wav");
  EXPECT_EQ(Queued(2).size(), 1u);
}

TEST_F(SoundCuesTest, WithoutADeviceTheGamePlaysOnSilently) {
  WriteWave("1.wav", Ramp(40, 1));
  WriteWave("log.wav", Ramp(400, 1));
  device.devices.clear();
  Make();
  EXPECT_EQ(cues->PcmMix1(), nullptr);
  EXPECT_NO_THROW(cues->LoadStartWaves());
  EXPECT_NO_THROW(cues->PlayCue(0, "log.wav"));
  EXPECT_NO_THROW(cues->PlayClick());
  EXPECT_NO_THROW(cues->ReleaseWaves());
  EXPECT_EQ(cues->Slot(0), nullptr);
  EXPECT_EQ(mix::TheEngine().session, nullptr);
}

TEST_F(SoundCuesTest, ADeviceThatWillNotOpenLeavesTheMixerQuiet) {
  WriteWave("1.wav", Ramp(40, 1));
  WriteWave("log.wav", Ramp(400, 1));
  device.open_result = kMmAllocated;
  Make();
  ASSERT_NE(cues->PcmMix1(), nullptr);
  EXPECT_FALSE(cues->PcmMix1()->Activated());
  EXPECT_EQ(cues->PcmMix1()->Channels(), 15);
  cues->LoadStartWaves();
  EXPECT_NE(cues->Slot(3), nullptr);
  EXPECT_NO_THROW(cues->PlayCue(0, "log.wav"));
  EXPECT_TRUE(Queued(0).empty());
  EXPECT_TRUE(device.played.empty());
}

// ---- music ---------------------------------------------------------------------------------

TEST_F(SoundCuesTest, MusicStartsFromItsFileAndNotStopsIt) {
  Make();
  cues->PlayMusic("title.mid");
  cues->PlayMusic("not");
  cues->PlayMusic("");
  cues->PlayMusic("not");
  cues->PlayMusic("title.mid");
  cues->PlayMusic("ending.mid");
  const std::string dat = game_ + "/dat/";
  EXPECT_EQ(midi.calls, (std::vector<std::string>{"open " + dat + "title.mid", "play", "stop",
                                                  "stop", "open " + dat + "title.mid", "play",
                                                  "open " + dat + "ending.mid", "play"}));
}

TEST_F(SoundCuesTest, MusicFailuresStayInside) {
  device.devices.clear();
  Make();
  midi.fail_open = true;
  midi.fail_stop = true;
  EXPECT_NO_THROW(cues->PlayMusic("opening.mid"));
  EXPECT_NO_THROW(cues->PlayMusic("not"));
  // A file that did not open is not played.
  EXPECT_EQ(midi.calls, (std::vector<std::string>{"open " + game_ + "/dat/opening.mid", "stop"}));
}

}  // namespace
}  // namespace qm::testing
