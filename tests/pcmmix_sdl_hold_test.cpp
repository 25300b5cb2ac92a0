// The player's loudness and pause at the SDL2 device, on SDL's disk driver: the bytes that leave
// are the mixer's brought to the loudness (its own blocks untouched), and a held device plays
// nothing until let go, then every byte it was given, none lost and none twice.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "pcmmix/queued_notifier.h"
#include "pcmmix/sdl_wave_out.h"
#include "pcmmix_rig.h"

namespace qm::testing {
namespace {

// Never silence, so what was played stands out from the silence around it.
Bytes NeverSilent(std::size_t n) {
  Bytes b = Ramp(n, 5);
  for (std::uint8_t& v : b) {
    if (v == 128) v = 127;
  }
  return b;
}

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Contains(const Bytes& in, const Bytes& part) {
  return std::search(in.begin(), in.end(), part.begin(), part.end()) != in.end();
}

// Runs the event loop (where the device's notices arrive) until `done` or `ms` have passed.
bool Until(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return done();
}

class SdlHoldTest : public MixRig {
 protected:
  // The disk driver into `name`; `paced` plays in real time, as a sound card does.
  std::string UseDisk(const std::string& name, bool paced) {
    const std::string out = folder_ + "/" + name;
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    if (paced) {
      ::unsetenv("SDL_DISKAUDIODELAY");
    } else {
      ::setenv("SDL_DISKAUDIODELAY", "0", 1);
    }
    WriteSettings("");
    return out;
  }
  // One sound played out at `percent`: what the device wrote, and the mixer's first block.
  Bytes PlayAt(int percent, const Bytes& sound, const std::string& name, Bytes& mixed) {
    const std::string out = UseDisk(name, false);
    {
      SdlWaveOut sdl;
      QueuedNotifier queued;
      SteadyMsTimer steady;
      PcmMixSetPlatform({&sdl, &queued, &steady});
      sdl.SetVolume(percent);
      session = PcmMixInit();
      PcmMixActivate(session, true);
      PcmMixOpenChannel(session, 1, 0);
      const Bytes image = WaveImage(sound);
      MixWave* w = PcmMixLoadWave(session, WaveName::Memory(image), nullptr, LoadFromMemory);
      Play(1, w);
      const mix::OutputBlock* first = mix::TheEngine().blocks[0];
      mixed.assign(first->data, first->data + 2048);
      EXPECT_TRUE(Until([&] { return S().channel_queue[1].head == nullptr; }, 10000));
      PcmMixFreeWave(session, w);
      PcmMixCloseSession(session);
      PcmMixSetPlatform({&device, &notifier, &timer});
    }
    return ReadAll(out);
  }
};

TEST_F(SdlHoldTest, TheLoudnessScalesTheSwingAroundSilenceAtTheDeviceAlone) {
  const Bytes sound = NeverSilent(1500);
  for (int percent : {0, 50, 100}) {
    SCOPED_TRACE(percent);
    Bytes mixed;
    const Bytes written = PlayAt(percent, sound, "out" + std::to_string(percent) + ".raw", mixed);
    Bytes heard = sound;
    heard.pop_back();  // a play ends before its last byte
    // The mixer made the sound's own bytes, whatever the loudness.
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), mixed.begin()));
    for (std::uint8_t& v : heard)
      v = static_cast<std::uint8_t>(128 + (v - 128) * percent / 100);
    if (percent == 0) {
      // Silence, though the sound played: the device counted it through.
      EXPECT_TRUE(std::all_of(written.begin(), written.end(), [](auto v) { return v == 128; }));
      continue;
    }
    ASSERT_TRUE(Contains(written, heard)) << "not in the " << written.size() << " bytes";
  }
}

TEST_F(SdlHoldTest, AHeldDeviceKeepsEveryByteForTheReleaseWhateverTheMixerDoes) {
  const std::string out = UseDisk("held.raw", true);
  const Bytes sound = NeverSilent(6000);  // a little over half a second
  {
    SdlWaveOut sdl;
    QueuedNotifier queued;
    SteadyMsTimer steady;
    PcmMixSetPlatform({&sdl, &queued, &steady});
    session = PcmMixInit();
    PcmMixActivate(session, true);
    PcmMixOpenChannel(session, 4, ChannelCount);
    const Bytes image = WaveImage(sound);
    MixWave* w = PcmMixLoadWave(session, WaveName::Memory(image), nullptr, LoadFromMemory);

    // Held before the sound starts: the mixer's pause and restart of a fresh start keep it held.
    sdl.Hold(true);
    Play(0, w);
    ASSERT_FALSE(Until([&] { return sdl.GetPosition() > 0; }, 400)) << "played while held";

    // Let go, held again halfway: the count stands still, a second play waits behind.
    sdl.Hold(false);
    ASSERT_TRUE(Until([&] { return sdl.GetPosition() >= 2000; }, 5000));
    sdl.Hold(true);
    const std::uint32_t at_hold = sdl.GetPosition();
    ASSERT_LT(at_hold, 5999u) << "the sound ended before it could be held";
    Play(0, w);
    EXPECT_FALSE(Until([&] { return sdl.GetPosition() != at_hold; }, 500));
    EXPECT_NE(S().channel_queue[0].head, nullptr);

    sdl.Hold(false);
    EXPECT_TRUE(Until([&] { return S().channel_queue[0].head == nullptr; }, 10000));
    PcmMixFreeWave(session, w);
    PcmMixCloseSession(session);
    PcmMixSetPlatform({&device, &notifier, &timer});
  }
  const Bytes written = ReadAll(out);
  // The silence of the holds aside, both sounds came out whole, in order, once each.
  Bytes heard;
  std::copy_if(written.begin(), written.end(), std::back_inserter(heard),
               [](std::uint8_t v) { return v != 128; });
  Bytes twice(sound.begin(), sound.end() - 1);
  twice.insert(twice.end(), sound.begin(), sound.end() - 1);
  EXPECT_TRUE(heard == twice) << heard.size() << " bytes heard of " << twice.size();
}

TEST(SdlLoudness, ScalingTruncatesTowardsSilence) {
  std::uint8_t samples[] = {0, 1, 127, 128, 129, 200, 255};
  ScaleToVolume(samples, 7, 100);
  EXPECT_EQ(Bytes(std::begin(samples), std::end(samples)), (Bytes{0, 1, 127, 128, 129, 200, 255}));
  ScaleToVolume(samples, 7, 50);
  EXPECT_EQ(Bytes(std::begin(samples), std::end(samples)),
            (Bytes{64, 65, 128, 128, 128, 164, 191}));
  ScaleToVolume(samples, 7, 0);
  EXPECT_EQ(Bytes(std::begin(samples), std::end(samples)), Bytes(7, 128));
}

}  // namespace
}  // namespace qm::testing
