// The mixer's SDL device must leave the process's signals alone. SDL would otherwise catch
// SIGTERM and SIGINT and turn them into quit events for an event queue this program never reads:
// the game could then be ended by nothing short of SIGKILL.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include "pcmmix/sdl_wave_out.h"

namespace qm {
namespace {

TEST(SdlSignals, OpeningTheSoundDeviceLeavesTerminationAlone) {
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  struct sigaction term_before {
  }, int_before{};
  ASSERT_EQ(sigaction(SIGTERM, nullptr, &term_before), 0);
  ASSERT_EQ(sigaction(SIGINT, nullptr, &int_before), 0);
  {
    SdlWaveOut sdl;
    // SDL's audio really started, so it had its chance at the signals.
    ASSERT_GE(sdl.GetNumDevs(), 1u);
    struct sigaction term_now {
    }, int_now{};
    ASSERT_EQ(sigaction(SIGTERM, nullptr, &term_now), 0);
    ASSERT_EQ(sigaction(SIGINT, nullptr, &int_now), 0);
    EXPECT_EQ(term_now.sa_handler, term_before.sa_handler);
    EXPECT_EQ(int_now.sa_handler, int_before.sa_handler);
  }
}

}  // namespace
}  // namespace qm
