// The session interface of the mixer: session life, channel table, play queue placement and every
// refusal with its exact message.

#include <gtest/gtest.h>

#include "pcmmix/tpcmmix.h"
#include "pcmmix_rig.h"

namespace qm::testing {
namespace {

using SessionTest = MixRig;

TEST_F(SessionTest, SecondSessionIsRefusedAndTheFirstKeepsWorking) {
  Start();
  EXPECT_EQ(MIX_ERROR(PcmMixInit()), "Session already initialized");
  MixWave* w = Load(Filled(100, 200));
  Play(0, w);
  Advance(2048);
  EXPECT_EQ(Played(0, 99), Filled(99, 200));
}

TEST_F(SessionTest, InitRefusals) {
  device.devices.clear();
  EXPECT_EQ(MIX_ERROR(PcmMixInit()), "No wave output devices available");
  device.devices.push_back({"Card"});
  notifier.register_result = 5;
  EXPECT_EQ(MIX_ERROR(PcmMixInit()), "Error registering class #5");
  // Already prepared is as good as prepared.
  notifier.register_result = 1410;
  session = PcmMixInit();
  EXPECT_EQ(MIX_ERROR(PcmMixActivate(session, true)), "(none)");
}

TEST_F(SessionTest, EveryOperationRejectsAStaleOrEmptyHandle) {
  Start();
  MixWave* w = Load(Filled(10, 1));
  const HMixSession old = session;
  PcmMixCloseSession(old);
  session = PcmMixInit();
  ASSERT_NE(session, old);
  for (HMixSession h : {old, HMixSession::kNone}) {
    MixPlayParams p;
    p.session = h;
    p.wave = w;
    Bytes image = WaveImage(Filled(4, 9));
    EXPECT_EQ(MIX_ERROR(PcmMixActivate(h, true)), "Invalid Session handle");
    EXPECT_EQ(MIX_ERROR(PcmMixOpenChannel(h, 0, 0)), "Invalid Session handle");
    EXPECT_EQ(MIX_ERROR(PcmMixCloseChannel(h, 0, 0)), "Invalid Session handle");
    EXPECT_EQ(MIX_ERROR(PcmMixFlushChannel(h, 0, 0)), "Invalid Session handle");
    EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(h, WaveName::Memory(image), nullptr, LoadFromMemory)),
              "Invalid Session handle");
    EXPECT_EQ(MIX_ERROR(PcmMixFreeWave(h, w)), "Invalid Session handle");
    EXPECT_EQ(MIX_ERROR(PcmMixPlay(&p)), "Invalid Session handle");
    EXPECT_EQ(MIX_ERROR(PcmMixCloseSession(h)), "Invalid Session handle");
  }
  // The wave outlived its session and is released through the new one.
  EXPECT_EQ(MIX_ERROR(PcmMixFreeWave(session, w)), "(none)");
  Forget(w);
}

TEST_F(SessionTest, OpenChannelChecksInOrder) {
  WriteSettings("");
  session = PcmMixInit();
  EXPECT_EQ(MIX_ERROR(PcmMixOpenChannel(session, 99, 3)), "Invalid Flags");
  EXPECT_EQ(MIX_ERROR(PcmMixOpenChannel(session, 8, 0)), "Invalid channel number");
  EXPECT_EQ(MIX_ERROR(PcmMixOpenChannel(session, -1, 0)), "Invalid channel number");
  EXPECT_EQ(MIX_ERROR(PcmMixOpenChannel(session, 0, ChannelCount)), "Invalid number of channels");
  EXPECT_EQ(MIX_ERROR(PcmMixOpenChannel(session, 9, ChannelCount)), "Invalid number of channels");
  EXPECT_EQ(MIX_ERROR(PcmMixOpenChannel(session, 0, -1)), "Invalid flag");
  EXPECT_EQ(S().open_channels, 0);

  PcmMixOpenChannel(session, 5, 0);
  EXPECT_EQ(MIX_ERROR(PcmMixOpenChannel(session, 5, 0)), "The channel has already been opened");
  PcmMixOpenChannel(session, 3, ChannelCount);  // 0..2
  EXPECT_EQ(S().open_channels, 4);
  EXPECT_TRUE(S().channel_queue[2].open);
  EXPECT_FALSE(S().channel_queue[3].open);
  PcmMixOpenChannel(session, 123, ChannelAll);  // the rest, open ones untouched, no failure
  EXPECT_EQ(S().open_channels, 8);
}

TEST_F(SessionTest, FlushAndCloseChecks) {
  Start();
  for (auto op : {&PcmMixFlushChannel, &PcmMixCloseChannel}) {
    EXPECT_EQ(MIX_ERROR(op(session, 8, 0)), "Invalid channel number");
    EXPECT_EQ(MIX_ERROR(op(session, -1, FlushNoRemix)), "Invalid channel number");
    EXPECT_EQ(MIX_ERROR(op(session, 6, 0)), "The specified channel was not open");
  }
  // With ChannelAll the channel argument does not matter.
  EXPECT_EQ(MIX_ERROR(PcmMixFlushChannel(session, 99, ChannelAll)), "(none)");
  EXPECT_EQ(S().open_channels, 4);
  PcmMixCloseChannel(session, 2, 0);
  EXPECT_EQ(S().open_channels, 3);
  EXPECT_EQ(MIX_ERROR(PcmMixCloseChannel(session, 2, 0)), "The specified channel was not open");
  EXPECT_EQ(MIX_ERROR(PcmMixCloseChannel(session, -5, ChannelAll)), "(none)");
  EXPECT_EQ(S().open_channels, 0);
  EXPECT_EQ(MIX_ERROR(PcmMixFreeWave(session, nullptr)), "The given pointer was not valid");
}

TEST_F(SessionTest, PlayChecksInOrder) {
  WriteSettings("[default]\nGoodWavePos=1\n");
  session = PcmMixInit();
  MixWave* w = Load(Filled(10, 1));
  EXPECT_EQ(MIX_ERROR(PcmMixPlay(nullptr)), "nil parameters pointer passed to PcmMixPlay");
  MixPlayParams p;
  p.session = session;
  EXPECT_EQ(MIX_ERROR(PcmMixPlay(&p)), "nil wave pointer passed to PcmMixPlay!");
  p.wave = w;
  EXPECT_EQ(MIX_ERROR(PcmMixPlay(&p)),
            "Wave device not allocated, call PcmMixActivate(hMixSession,TRUE)");
  PcmMixActivate(session, true);
  EXPECT_EQ(MIX_ERROR(PcmMixPlay(&p)), "You must open a channel before you can play a wave");
  PcmMixOpenChannel(session, 1, 0);

  // A channel number outside the table is refused before anything is counted.
  p.channel = 8;
  EXPECT_EQ(MIX_ERROR(PcmMixPlay(&p)), "Invalid channel number");
  p.channel = -3;
  EXPECT_EQ(MIX_ERROR(PcmMixPlay(&p)), "Invalid channel number");
  EXPECT_EQ(S().play_counter, 0);

  // A closed channel is refused after the play was counted and stamped on it.
  p.channel = 0;
  EXPECT_EQ(MIX_ERROR(PcmMixPlay(&p)), "The specified channel was not open");
  EXPECT_EQ(S().play_counter, 1);
  EXPECT_EQ(S().channel_stamp[0], 1);
}

TEST_F(SessionTest, TheHundredAndFirstQueuedPlayFindsNoNode) {
  Start();
  MixWave* w = Load(Filled(50000, 140));
  for (int i = 0; i < 100; ++i)
    Play(i % 4, w);
  EXPECT_EQ(MIX_ERROR(Play(0, w)), "Not enough memory");
  EXPECT_EQ(S().play_counter, 101);
  // Finished plays give their nodes back.
  PcmMixFlushChannel(session, 3, 0);
  EXPECT_EQ(MIX_ERROR(Play(0, w)), "(none)");
}

TEST_F(SessionTest, PlacementOnIdleAndBusyMixer) {
  Start();
  MixWave* a = Load(Filled(7000, 150));
  MixWave* b = Load(Filled(300, 100));
  Play(0, a);
  mix::PlayNode* na = S().channel_queue[0].head;
  EXPECT_EQ(na->start_pos, 0);
  EXPECT_EQ(na->end_pos, 6999);
  EXPECT_EQ(S().mix_position, 3 * 2048);

  // Another channel starts behind the blocks already mixed.
  Play(1, b);
  EXPECT_EQ(S().channel_queue[1].head->start_pos, 3 * 2048);
  // The same channel: right at the end of the play before it, no gap, no overlap.
  Play(0, b, 0, 2);
  mix::PlayNode* nb = na->next;
  EXPECT_EQ(nb->start_pos, 6999);
  EXPECT_EQ(nb->end_pos, 6999 + 3 * 300 - 1);
  Play(0, b, 0, kLoopsEndless);
  EXPECT_EQ(nb->next->end_pos, 0x7FFFFFFF);
  // Behind an endless play nothing ever starts.
  Play(0, b);
  EXPECT_EQ(nb->next->next->start_pos, 0x7FFFFFFF);
  EXPECT_EQ(nb->next->next->end_pos, 0x7FFFFFFF);

  // So many repetitions that the end would pass the last position: the play never ends.
  Play(2, Load(Filled(40000, 130)), 0, 60000);
  EXPECT_EQ(S().channel_queue[2].head->end_pos, 0x7FFFFFFF);

  // Replace drops the channel's queue; the new play starts behind what is mixed.
  Play(0, b, PlayReplace);
  EXPECT_EQ(S().channel_queue[0].head->next, nullptr);
  EXPECT_EQ(S().channel_queue[0].head->wave, b);
}

TEST_F(SessionTest, OldestChannelChoice) {
  Start();
  MixWave* w = Load(Filled(30000, 150));
  MixPlayParams p;
  p.session = session;
  p.wave = w;
  p.flags = PlayOldestChannel;
  p.channel = 7;
  // Channel 0 idle: chosen at once, and written back.
  PcmMixPlay(&p);
  EXPECT_EQ(p.channel, 0);
  // Channel 0 busy, 1 idle and never used.
  PcmMixPlay(&p);
  EXPECT_EQ(p.channel, 1);
  PcmMixPlay(&p);
  PcmMixPlay(&p);
  EXPECT_EQ(p.channel, 3);
  // All four busy: the smallest stamp, the lowest channel on a tie.
  PcmMixPlay(&p);
  EXPECT_EQ(p.channel, 0);
  PcmMixPlay(&p);
  EXPECT_EQ(p.channel, 1);
  S().channel_stamp = {5, 5, 5, 5, 0, 0, 0, 0};
  PcmMixPlay(&p);
  EXPECT_EQ(p.channel, 0);

  // Channel 0 closed and nobody stamped lower: the choice stays there and fails.
  PcmMixCloseChannel(session, 0, 0);
  S().channel_stamp = {1, 4, 3, 2, 0, 0, 0, 0};
  EXPECT_EQ(MIX_ERROR(PcmMixPlay(&p)), "The specified channel was not open");
  EXPECT_EQ(p.channel, 0);
  // With a lower stamp elsewhere the closed channel is passed by.
  S().channel_stamp = {9, 4, 3, 2, 0, 0, 0, 0};
  PcmMixPlay(&p);
  EXPECT_EQ(p.channel, 3);
}

TEST_F(SessionTest, DeferredPlaysWaitForTheNextPlainPlay) {
  Start();
  MixWave* a = Load(Filled(100, 200));
  MixWave* b = Load(Filled(100, 60));
  MixWave* c = Load(Filled(100, 150));
  Play(0, a, PlayDeferred);
  Play(0, b, PlayDeferred);
  EXPECT_EQ(S().channel_queue[0].head, nullptr);
  EXPECT_EQ(device.writes, 0);
  Play(1, c);
  // Placed in the order entered: a, then b behind it on channel 0; c together with a.
  ASSERT_NE(S().channel_queue[0].head, nullptr);
  EXPECT_EQ(S().channel_queue[0].head->wave, a);
  EXPECT_EQ(S().channel_queue[0].head->next->start_pos, 99);
  Advance(2048);
  // Each play sounds up to, not including, its end: 99 bytes of a 100-byte wave.
  Bytes expect = Filled(99, 200 + 150 - 128);
  const Bytes then_b = Filled(99, 60);
  expect.insert(expect.end(), then_b.begin(), then_b.end());
  expect.push_back(128);
  EXPECT_EQ(Played(0, 199), expect);
}

TEST_F(SessionTest, PendingPlaysOfAClosedChannelOrFreedWaveAreDropped) {
  Start();
  MixWave* a = Load(Filled(100, 200));
  MixWave* b = Load(Filled(100, 60));
  MixWave* c = Load(Filled(100, 150));
  Play(2, a, PlayDeferred);
  Play(3, b, PlayDeferred);
  PcmMixCloseChannel(session, 2, 0);
  PcmMixOpenChannel(session, 2, 0);
  PcmMixFreeWave(session, b);
  Forget(b);
  Play(1, c);
  EXPECT_EQ(S().channel_queue[2].head, nullptr);
  EXPECT_EQ(S().channel_queue[3].head, nullptr);
  Advance(2048);
  EXPECT_EQ(Played(0, 99), Filled(99, 150));
  EXPECT_EQ(Played(99, 100), Filled(100, 128));
}

TEST_F(SessionTest, FreeWaveTakesItFromEveryChannel) {
  Start();
  MixWave* w = Load(Filled(10000, 200));
  MixWave* x = Load(Filled(100, 60));
  RecordingListener listener;
  Play(0, w, PlayDeferred, 0, &listener);
  Play(0, x, PlayDeferred, 0, &listener);
  Play(1, w, 0, 0, &listener);
  PcmMixFreeWave(session, w);
  Forget(w);
  EXPECT_EQ(MIX_ERROR(PcmMixFreeWave(session, w)), "The given pointer was not valid");
  ASSERT_NE(S().channel_queue[0].head, nullptr);
  EXPECT_EQ(S().channel_queue[0].head->wave, x);
  EXPECT_EQ(S().channel_queue[1].head, nullptr);
  PlayOut();
  // The mixed blocks play out; after them silence until x's start, then x alone.
  EXPECT_EQ(Played(0, 6144), Filled(6144, 255));
  EXPECT_EQ(Played(6144, 9999 - 6144), Filled(9999 - 6144, 128));
  EXPECT_EQ(Played(9999, 99), Filled(99, 60));
  EXPECT_EQ(device.played[9999 + 99], 128);
  ASSERT_EQ(listener.notices.size(), 1u);
  EXPECT_EQ(listener.notices[0], std::make_pair(0, x));
}

TEST_F(SessionTest, ComponentChannelsAndActivation) {
  WriteSettings("[default]\nGoodWavePos=1\n");
  {
    TPcmMix mix;
    EXPECT_EQ(MIX_ERROR(TPcmMix()), "Session already initialized");
    mix.SetActivated(true);
    EXPECT_TRUE(device.IsOpen());
    mix.SetActivated(true);  // unchanged: nothing happens
    mix.SetChannels(15);
    EXPECT_EQ(S().open_channels, 4);
    mix.SetChannels(9);
    EXPECT_TRUE(S().channel_queue[0].open);
    EXPECT_FALSE(S().channel_queue[1].open);
    EXPECT_FALSE(S().channel_queue[2].open);
    EXPECT_TRUE(S().channel_queue[3].open);
    mix.SetChannels(0);
    EXPECT_EQ(S().open_channels, 0);
    mix.SetChannels(255);
    EXPECT_EQ(S().open_channels, 8);

    const std::string path = folder_ + "/a-rather-long-sound-name.wav";
    const Bytes image = WaveImage(Filled(300, 90));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    MixWave* w = mix.LoadWave(path);
    EXPECT_EQ(w->name, path.substr(0, 15));
    mix.Play(2, w, nullptr, 0, 0);
    Advance(2048);
    EXPECT_EQ(Played(0, 299), Filled(299, 90));
    mix.FreeWave(w);
    EXPECT_EQ(MIX_ERROR(mix.Play(2, nullptr, nullptr, 0, 0)),
              "nil wave pointer passed to PcmMixPlay!");
  }
  // Destroyed: device given back, session gone, and a new one can be made.
  EXPECT_FALSE(device.IsOpen());
  EXPECT_EQ(mix::TheEngine().session, nullptr);
  TPcmMix again;
  EXPECT_EQ(MIX_ERROR(again.SetActivated(true)), "(none)");
}

}  // namespace
}  // namespace qm::testing
