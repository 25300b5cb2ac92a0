// Playing allocates nothing: every play node and output block exists beforehand. This file
// replaces the global allocator to count what this thread allocates, and to make chosen
// allocations of the mixer fail, so the memory messages can be seen too.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "pcmmix_rig.h"

namespace {

thread_local bool counting = false;
thread_local int allocations = 0;
// The next nothrow allocation of exactly this size (after `fail_skip` others of it) fails.
thread_local std::size_t fail_size = 0;
thread_local int fail_skip = 0;

void FailAllocation(std::size_t size, int skip = 0) {
  fail_size = size;
  fail_skip = skip;
}

void* Allocate(std::size_t size) {
  if (counting) ++allocations;
  return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrFail(std::size_t size) {
  if (fail_size != 0 && size == fail_size) {
    if (fail_skip-- == 0) {
      fail_size = 0;
      return nullptr;
    }
  }
  return Allocate(size);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrFail(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrFail(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}

namespace qm::testing {
namespace {

// Remembers notices in place, so that listening allocates nothing either.
struct FixedListener : PlayListener {
  void PostFinished(std::int32_t, MixWave*) override { ++count; }
  int count = 0;
};

using AllocTest = MixRig;

TEST_F(AllocTest, PlayingAllocatesNothing) {
  Start("[default]\nGoodWavePos=1\nWaveBlocks=4\n");
  PcmMixOpenChannel(session, 0, ChannelAll);
  MixWave* a = Load(Ramp(5000, 1));
  MixWave* b = Load(Ramp(700, 2));
  MixWave* c = Load(Filled(300, 200));
  FixedListener listener;
  MixPlayParams p;
  p.session = session;
  p.notify_window = &listener;

  counting = true;
  allocations = 0;
  for (int round = 0; round < 3; ++round) {
    p.wave = a;
    p.channel = 0;
    p.flags = 0;
    p.loops = 2;
    PcmMixPlay(&p);
    p.wave = b;
    p.flags = PlayOldestChannel;
    p.loops = 0;
    for (int i = 0; i < 6; ++i)
      PcmMixPlay(&p);
    p.wave = c;
    p.channel = 7;
    p.flags = PlayDeferred;
    p.loops = kLoopsEndless;
    PcmMixPlay(&p);
    p.flags = PlayNow;
    p.channel = 6;
    PcmMixPlay(&p);
    Advance(3000);
    p.flags = PlayReplace;
    p.channel = 0;
    p.loops = 1;
    PcmMixPlay(&p);
    Advance(5000);
    // The endless plays stop; everything else plays to its end.
    PcmMixFlushChannel(session, 7, 0);
    PcmMixFlushChannel(session, 6, FlushNoRemix);
    PlayOut();
    PcmMixFlushChannel(session, 0, ChannelAll);
  }
  counting = false;
  EXPECT_EQ(allocations, 0);
  EXPECT_GE(listener.count, 15);
  EXPECT_GT(device.played.size(), 20000u);
}

TEST_F(AllocTest, MemoryShortagesGiveTheMemoryMessage) {
  const std::string message =
      "Unable to allocate memory for waveform data.  Try making more memory available by closing "
      "other applications.";
  WriteSettings("");
  FailAllocation(sizeof(mix::MixSession));
  EXPECT_EQ(MIX_ERROR(PcmMixInit()), message);
  EXPECT_EQ(mix::TheEngine().session, nullptr);

  session = PcmMixInit();
  FailAllocation(sizeof(mix::OutputBlock), 3);
  EXPECT_EQ(MIX_ERROR(PcmMixActivate(session, true)), message);
  for (auto* block : mix::TheEngine().blocks)
    EXPECT_EQ(block, nullptr);
  EXPECT_FALSE(device.IsOpen());
  EXPECT_FALSE(notifier.IsOpen());
  EXPECT_FALSE(S().activated);

  const Bytes image = WaveImage(Ramp(1234));
  FailAllocation(sizeof(MixWave));
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::Memory(image), nullptr, LoadFromMemory)),
            message);
  FailAllocation(1234);
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::Memory(image), nullptr, LoadFromMemory)),
            message);
  // A conversion step that cannot get its buffer.
  const Bytes wide = WaveImage(Ramp(1234), 1, 11025, 16);
  FailAllocation(617);
  EXPECT_EQ(MIX_ERROR(PcmMixLoadWave(session, WaveName::Memory(wide), nullptr, LoadFromMemory)),
            message);
  EXPECT_EQ(mix::TheEngine().live_waves, nullptr);
  FailAllocation(0);
}

}  // namespace
}  // namespace qm::testing
