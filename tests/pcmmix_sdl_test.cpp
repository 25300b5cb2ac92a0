// The SDL2 device end to end, on SDL's disk driver: what the mixer plays lands in a file, byte for
// byte, and each finished block comes back to this thread through the Qt event loop.

#include <SDL.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <iterator>

#include "pcmmix/queued_notifier.h"
#include "pcmmix/sdl_wave_out.h"
#include "pcmmix_rig.h"

namespace qm::testing {
namespace {

using SdlTest = MixRig;

TEST_F(SdlTest, AKnownSoundComesOutOfTheDiskDriver) {
  const std::string out_file = folder_ + "/out.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", out_file.c_str(), 1);
  ::setenv("SDL_DISKAUDIODELAY", "0", 1);
  WriteSettings("");
  const Bytes click = Ramp(3000, 11);
  {
    SdlWaveOut sdl;
    QueuedNotifier queued;
    SteadyMsTimer steady;
    PcmMixSetPlatform({&sdl, &queued, &steady});
    ASSERT_GE(sdl.GetNumDevs(), 1u);
    WaveOutCaps caps;
    ASSERT_EQ(sdl.GetDevCaps(0, caps), kMmNoError);
    EXPECT_LE(caps.name.size(), kMaxDeviceName);
    EXPECT_FALSE(caps.name.empty());
    EXPECT_EQ(sdl.GetDevCaps(7, caps), kMmBadDeviceId);

    session = PcmMixInit();
    EXPECT_EQ(S().device_name, caps.name);
    PcmMixActivate(session, true);
    PcmMixOpenChannel(session, 1, 0);
    const Bytes image = WaveImage(click);
    MixWave* w = PcmMixLoadWave(session, WaveName::Memory(image), nullptr, LoadFromMemory);
    Play(1, w);
    // The play leaves its channel once the device has counted past its end and said so.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (S().channel_queue[1].head && std::chrono::steady_clock::now() < deadline) {
      QCoreApplication::processEvents();
    }
    EXPECT_EQ(S().channel_queue[1].head, nullptr) << "no finished-block notice arrived";
    EXPECT_GE(sdl.GetPosition(), 2999u);
    PcmMixFreeWave(session, w);
    PcmMixCloseSession(session);
    PcmMixSetPlatform({&device, &notifier, &timer});
  }
  std::ifstream in(out_file, std::ios::binary);
  const Bytes written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto found = std::search(written.begin(), written.end(), click.begin(), click.end() - 1);
  ASSERT_NE(found, written.end()) << "the sound is not in the " << written.size() << " bytes";
  // Silence around it, as the device plays nothing else.
  if (found != written.begin()) {
    EXPECT_EQ(*(found - 1), 128);
  }
  EXPECT_EQ(*(found + 2999), 128);
}

// Some back ends cannot list their devices and SDL counts -1, while the default device plays: the
// mixer must still find one device and open it, or every sound of the game is gone.
TEST_F(SdlTest, ADeviceCountSDLCannotGiveIsTheDefaultDevice) {
  const std::string out_file = folder_ + "/unlisted.raw";
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", out_file.c_str(), 1);
  ::setenv("SDL_DISKAUDIODELAY", "0", 1);
  WriteSettings("");
  {
    SdlWaveOut sdl([] { return -1; });
    QueuedNotifier queued;
    SteadyMsTimer steady;
    PcmMixSetPlatform({&sdl, &queued, &steady});
    EXPECT_EQ(sdl.GetNumDevs(), 1u);
    WaveOutCaps caps;
    EXPECT_EQ(sdl.GetDevCaps(0, caps), kMmNoError);
    EXPECT_EQ(sdl.GetDevCaps(1, caps), kMmBadDeviceId);
    session = PcmMixInit();
    PcmMixActivate(session, true);
    EXPECT_TRUE(S().activated);
    PcmMixCloseSession(session);
    PcmMixSetPlatform({&device, &notifier, &timer});
  }
  // A count of none is still none.
  SdlWaveOut none([] { return 0; });
  EXPECT_EQ(none.GetNumDevs(), 0u);
}

// A default device SDL has no name for is the unknown device, and the settings under that name
// are the ones it plays with.
TEST_F(SdlTest, ADefaultDeviceSDLCannotNameTakesTheUnknownDevicesSettings) {
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  ::setenv("SDL_DISKAUDIOFILE", (folder_ + "/nameless.raw").c_str(), 1);
  WriteSettings("[Unknown Device]\nWaveBlocks=5\n");
  SdlWaveOut sdl([] { return -1; });
  SDL_AudioSpec spec{};
  ASSERT_NE(SDL_GetDefaultAudioInfo(nullptr, &spec, 0), 0) << "the disk driver names its device";
  PcmMixSetPlatform({&sdl, &notifier, &timer});
  session = PcmMixInit();
  EXPECT_EQ(S().device_name, "Unknown Device");
  EXPECT_EQ(S().block_count, 5);
  PcmMixCloseSession(session);
  PcmMixSetPlatform({&device, &notifier, &timer});
}

}  // namespace
}  // namespace qm::testing
