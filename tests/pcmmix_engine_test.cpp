// The mixing engine on the virtual device: the exact bytes that reach the device, the position
// clock, the remix strategies and the device failures.

#include <gtest/gtest.h>

#include <algorithm>

#include "pcmmix_rig.h"

namespace qm::testing {
namespace {

using EngineTest = MixRig;

std::uint8_t Sum(std::initializer_list<int> bytes) {
  int v = 128;
  for (int b : bytes)
    v += b - 128;
  return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts)
    out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Slice(const Bytes& b, std::size_t from, std::size_t n) {
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(from),
               b.begin() + static_cast<std::ptrdiff_t>(from + n));
}

TEST_F(EngineTest, OneSoundAloneIsCopiedByteForByte) {
  Start();
  const Bytes a = Ramp(3000);
  Play(0, Load(a));
  EXPECT_EQ(device.writes, 2);  // the third block would hold nothing
  PlayOut();
  ASSERT_EQ(device.played.size(), 4096u);
  EXPECT_EQ(Played(0, 2999), Slice(a, 0, 2999));
  EXPECT_EQ(Played(2999, 4096 - 2999), Filled(4096 - 2999, 128));
  // Nothing left: no further block, the device falls silent.
  EXPECT_EQ(device.writes, 2);
  EXPECT_EQ(device.QueuedBlocks(), 0);
}

TEST_F(EngineTest, BytesBeforeASoundsStartInItsBlockAreSilence) {
  Start();
  const Bytes a = Ramp(3000);
  const Bytes b = Ramp(500, 9);
  Play(0, Load(a));
  Advance(100);
  Play(1, Load(b));                   // behind the two mixed blocks, at 4096
  PcmMixFlushChannel(session, 0, 0);  // a falls silent at once; the blocks are mixed again from 100
  PlayOut();
  EXPECT_EQ(device.played.size(), 100u + 3 * 2048);
  EXPECT_EQ(Played(0, 100), Slice(a, 0, 100));
  EXPECT_EQ(Played(100, 4096 - 100), Filled(4096 - 100, 128));
  EXPECT_EQ(Played(4096, 499), Slice(b, 0, 499));
  EXPECT_EQ(device.played.back(), 128);
}

TEST_F(EngineTest, OverlappingSoundsSumAroundSilenceAndClampOnce) {
  Start("[default]\nGoodWavePos=1\nWaveBlocks=6\n");
  const std::pair<std::uint8_t, std::uint8_t> pairs[] = {{255, 255}, {0, 0}, {200, 100}};
  for (const auto& [x, y] : pairs) {
    Play(0, Load(Filled(10, x)), PlayDeferred);
    Play(1, Load(Filled(10, y)));
    PlayOut();
  }
  ASSERT_EQ(device.played.size(), 3 * 2048u);
  EXPECT_EQ(Played(0, 9), Filled(9, 255));
  EXPECT_EQ(Played(2048, 9), Filled(9, 0));
  EXPECT_EQ(Played(4096, 9), Filled(9, 172));

  // Eight sources summed once: four loud and four quiet come back into range, where clamping
  // after each addition would have ended at 0.
  device.played.clear();
  const int values[] = {250, 250, 250, 250, 10, 10, 10, 10};
  PcmMixOpenChannel(session, 0, ChannelAll);
  for (int c = 0; c < 8; ++c) {
    Play(c, Load(Filled(10, static_cast<std::uint8_t>(values[c]))), c < 7 ? PlayDeferred : 0);
  }
  PlayOut();
  EXPECT_EQ(device.played[0], Sum({250, 250, 250, 250, 10, 10, 10, 10}));
  EXPECT_EQ(device.played[0], 144);
}

TEST_F(EngineTest, LoopsRepeatTheWaveAndTheLastByteIsNotHeard) {
  Start();
  const Bytes w = Ramp(1000);
  Play(0, Load(w), 0, 1);
  PlayOut();
  ASSERT_EQ(device.played.size(), 2048u);
  EXPECT_EQ(Played(0, 1999), Cat({w, Slice(w, 0, 999)}));
  EXPECT_EQ(Played(1999, 49), Filled(49, 128));
}

TEST_F(EngineTest, EndlessLoopsCrossBlockEdgesWithoutAGlitch) {
  Start();
  const Bytes w = Ramp(300, 4);
  Play(2, Load(w), 0, kLoopsEndless);
  for (int i = 0; i < 20; ++i)
    Advance(700);
  ASSERT_GE(device.played.size(), 14000u);
  for (std::size_t i = 0; i < device.played.size(); ++i)
    ASSERT_EQ(device.played[i], w[i % 300]) << i;
}

TEST_F(EngineTest, TwoPlaysOnOneChannelFollowEachOtherWithoutGap) {
  Start();
  const Bytes a = Ramp(7000, 1);
  const Bytes b = Ramp(500, 2);
  Play(0, Load(a));
  Play(0, Load(b));
  PlayOut();
  EXPECT_EQ(Played(0, 6999), Slice(a, 0, 6999));
  EXPECT_EQ(Played(6999, 499), Slice(b, 0, 499));
  EXPECT_EQ(device.played[6999 + 499], 128);
}

TEST_F(EngineTest, FinishedPlaysAreNoticedAndTheirOwnerTold) {
  Start();
  RecordingListener listener;
  MixWave* a = Load(Filled(1000, 140));
  MixWave* b = Load(Filled(500, 150));
  Play(0, a, 0, 0, &listener);
  Play(0, b, 0, 0, &listener);
  Play(3, b, 0, 0, nullptr);
  Advance(1000);
  EXPECT_TRUE(listener.notices.empty());  // no block finished yet
  Advance(1048);
  ASSERT_EQ(listener.notices.size(), 1u);
  EXPECT_EQ(listener.notices[0], std::make_pair(0, a));
  PlayOut();
  ASSERT_EQ(listener.notices.size(), 2u);
  EXPECT_EQ(listener.notices[1], std::make_pair(0, b));
  for (const auto& q : S().channel_queue)
    EXPECT_EQ(q.head, nullptr);
}

TEST_F(EngineTest, PlayNowWithRemixQueueIsHeardAtThePlaybackPosition) {
  Start();
  const Bytes a = Ramp(10000, 1);
  const Bytes b = Ramp(1000, 77);
  Play(0, Load(a));
  Advance(300);
  Play(1, Load(b), PlayNow);
  PlayOut();
  ASSERT_EQ(device.played.size(), 300u + 5 * 2048);
  EXPECT_EQ(Played(0, 300), Slice(a, 0, 300));
  for (int i = 0; i < 999; ++i)
    ASSERT_EQ(device.played[300 + i], Sum({a[300 + i], b[i]})) << i;
  EXPECT_EQ(Played(1299, 9999 - 1299), Slice(a, 1299, 9999 - 1299));
}

TEST_F(EngineTest, PlayNowWithDeferStartBeginsBehindTheQueuedBlocks) {
  Start("[default]\nGoodWavePos=1\nRemix=2\n");
  const Bytes a = Ramp(10000, 1);
  const Bytes b = Ramp(1000, 77);
  Play(0, Load(a));
  Advance(300);
  Play(1, Load(b), PlayNow);
  PlayOut();
  EXPECT_EQ(Played(0, 6144), Slice(a, 0, 6144));
  for (int i = 0; i < 999; ++i)
    ASSERT_EQ(device.played[6144 + i], Sum({a[6144 + i], b[i]})) << i;
  EXPECT_EQ(Played(7143, 9999 - 7143), Slice(a, 7143, 9999 - 7143));
}

TEST_F(EngineTest, FlushSilencesAtOnceOrLetsTheMixedBlocksPlayOut) {
  for (const char* settings :
       {"[default]\nGoodWavePos=1\n", "[default]\nGoodWavePos=1\nRemix=2\n"}) {
    SCOPED_TRACE(settings);
    Start(settings);
    const Bytes a = Ramp(20000, 3);
    Play(0, Load(a));
    Advance(100);
    PcmMixFlushChannel(session, 0, 0);
    PlayOut();
    const bool remix = std::string(settings).find("Remix=2") == std::string::npos;
    // Mixed again from the playback position with nothing left, no block is written at all.
    const std::size_t heard = remix ? 100 : 6144;
    ASSERT_EQ(device.played.size(), heard);
    EXPECT_EQ(Played(0, heard), Slice(a, 0, heard));
    PcmMixCloseSession(session);
    device.played.clear();
  }
}

TEST_F(EngineTest, DeactivationKeepsThePositionAndActivationResumes) {
  Start();
  const Bytes w = Ramp(300, 8);
  Play(0, Load(w), 0, kLoopsEndless);
  Advance(1000);
  PcmMixActivate(session, false);
  EXPECT_FALSE(device.IsOpen());
  EXPECT_EQ(S().mix_position, 1000);
  ASSERT_NE(S().channel_queue[0].head, nullptr);
  EXPECT_EQ(MIX_ERROR(Play(1, S().channel_queue[0].head->wave)),
            "Wave device not allocated, call PcmMixActivate(hMixSession,TRUE)");
  PcmMixActivate(session, true);
  for (int i = 0; i < 10; ++i)
    Advance(1000);
  ASSERT_EQ(device.played.size(), 11000u);
  for (std::size_t i = 0; i < device.played.size(); ++i)
    ASSERT_EQ(device.played[i], w[i % 300]) << i;
}

TEST_F(EngineTest, TimerClockCountsPastThirtyTwoBitProducts) {
  Start("");  // positions from the timer
  mix::MixSession& s = S();
  mix::SetPlayPosition(s, 0);
  timer.Advance(1000);
  EXPECT_EQ(mix::GetPlayPosition(s), 11025);
  timer.Advance(399000);  // 400 s: 400000 * 11025 needs 33 bits
  EXPECT_EQ(mix::GetPlayPosition(s), 4410000);
  mix::SetPlayPosition(s, 5000);
  EXPECT_EQ(mix::GetPlayPosition(s), 4994);  // the clock base is whole milliseconds
  EXPECT_EQ(s.mix_position, 5000);
}

TEST_F(EngineTest, StereoTimerPositionsAreEven) {
  device.devices[0].channels = 2;
  WriteSettings("");
  MixConfig config;
  config.flags = kConfigChannels;
  config.channels = 2;
  session = PcmMixInit(&config);
  PcmMixActivate(session, true);
  mix::SetPlayPosition(S(), 0);
  timer.Advance(20);  // 22050 bytes per second: 441
  EXPECT_EQ(mix::GetPlayPosition(S()), 440);
  timer.Advance(1);
  EXPECT_EQ(mix::GetPlayPosition(S()), 462);
}

TEST_F(EngineTest, DeviceFailuresLeaveNothingBehind) {
  WriteSettings("");
  session = PcmMixInit();
  notifier.refuse_open = true;
  EXPECT_EQ(MIX_ERROR(PcmMixActivate(session, true)), "Failed to create callback window");
  notifier.refuse_open = false;
  device.open_result = 4;
  EXPECT_EQ(MIX_ERROR(PcmMixActivate(session, true)), "Failed to open waveform output device #4");
  EXPECT_FALSE(notifier.IsOpen());
  device.open_result = 0;
  device.prepare_result = 11;
  EXPECT_EQ(MIX_ERROR(PcmMixActivate(session, true)), "Unable to prepare wave header #11");
  EXPECT_FALSE(device.IsOpen());
  EXPECT_FALSE(notifier.IsOpen());
  EXPECT_FALSE(S().activated);
  for (auto* b : mix::TheEngine().blocks)
    EXPECT_EQ(b, nullptr);
  // A failed activation does not hold the device: the next try succeeds.
  device.prepare_result = 0;
  PcmMixActivate(session, true);
  EXPECT_TRUE(S().activated);
  EXPECT_EQ(device.prepared, 6);
}

TEST_F(EngineTest, RefusedWritesAreReportedAndTheDeviceRunsOn) {
  Start();
  MixWave* a = Load(Ramp(5000));
  device.refuse_writes = true;
  EXPECT_EQ(MIX_ERROR(Play(0, a)), "Failed to write block to device");
  EXPECT_FALSE(device.IsPaused());
  EXPECT_TRUE(mix::OutputQueueEmpty());
  device.refuse_writes = false;
  // The play stayed queued; the next play gets the output going again.
  Play(1, a, PlayDeferred);
  Play(2, Load(Filled(5, 128)));
  EXPECT_EQ(device.writes, 3);

  // A remix whose writes are refused gives every unwritten block back.
  Advance(100);
  device.refuse_writes = true;
  EXPECT_EQ(MIX_ERROR(Play(3, a, PlayNow)), "Failed to write block to device");
  EXPECT_FALSE(device.IsPaused());
  EXPECT_TRUE(mix::OutputQueueEmpty());
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(mix::TheEngine().blocks[i]->available);
}

}  // namespace
}  // namespace qm::testing
