#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "voyage_rig.h"

namespace qm {
namespace {

using testing::VoyageRig;

// Speeds after each of n frames, read where the instruments would show them.
std::vector<int> Trace(VoyageRig& r, int n, const std::int32_t& speed) {
  std::vector<int> out;
  r.hooks.on_instruments = [&] { out.push_back(speed); };
  r.Frames(n);
  r.hooks.on_instruments = nullptr;
  return out;
}

void ExpectJitter(const std::vector<int>& v, size_t from, int lo, int hi) {
  std::set<int> distinct;
  for (size_t i = from; i < v.size(); ++i) {
    EXPECT_GE(v[i], lo) << "frame " << i;
    EXPECT_LE(v[i], hi) << "frame " << i;
    distinct.insert(v[i]);
  }
  // Held against the limit it jitters over the whole band, both ends included.
  EXPECT_TRUE(distinct.count(lo)) << lo;
  EXPECT_TRUE(distinct.count(hi)) << hi;
}

TEST(Steering, LeftButtonAtTheTopEdgeGainsTenPerFrameUpToTheForwardLimit) {
  VoyageRig r;
  r.vs.pad_left_held = 1;
  r.vs.pad_y_left = 0;
  r.vs.pad_x = 50;
  const auto v = Trace(r, 80, r.vs.speed_forward);
  EXPECT_EQ(v[0], 10);
  ExpectJitter(v, 1, 10, 19);
  EXPECT_EQ(r.vs.speed_side, 0);
  EXPECT_EQ(r.vs.speed_up, 0);
}

TEST(Steering, TheBoosterRaisesTheForwardLimitTo40) {
  VoyageRig r;
  r.vs.booster_seconds = 15;
  r.vs.pad_left_held = 1;
  r.vs.pad_y_left = 0;
  r.vs.pad_x = 50;
  const auto v = Trace(r, 80, r.vs.speed_forward);
  EXPECT_EQ(std::vector<int>(v.begin(), v.begin() + 4), (std::vector<int>{10, 20, 30, 40}));
  ExpectJitter(v, 4, 40, 49);

  // Backwards at the bottom edge, booster spent: the mirror image of the plain limit.
  r.vs.booster_seconds = 0;
  r.vs.speed_forward = 0;
  r.vs.pad_y_left = 100;
  const auto back = Trace(r, 80, r.vs.speed_forward);
  EXPECT_EQ(back[0], -10);
  ExpectJitter(back, 1, -19, -10);
}

TEST(Steering, SidewaysAndVerticalLimitsAre20) {
  VoyageRig r;
  r.vs.pad_left_held = 1;
  r.vs.pad_y_left = 50;
  r.vs.pad_x = 0;  // pointer at the right edge
  auto side = Trace(r, 80, r.vs.speed_side);
  EXPECT_EQ(side[0], 10);
  EXPECT_EQ(side[1], 20);
  ExpectJitter(side, 2, 20, 29);
  EXPECT_EQ(r.vs.speed_forward, 0);

  r.vs.speed_side = 0;
  r.vs.pad_x = 100;
  side = Trace(r, 80, r.vs.speed_side);
  EXPECT_EQ(side[0], -10);
  ExpectJitter(side, 2, -29, -20);

  r.vs.pad_left_held = 0;
  r.vs.speed_side = 0;
  r.vs.pad_right_held = 1;
  r.vs.pad_x = 50;
  r.vs.pad_y_right = 0;
  const auto up = Trace(r, 80, r.vs.speed_up);
  EXPECT_EQ(up[0], 10);
  EXPECT_EQ(up[1], 20);
  ExpectJitter(up, 2, 20, 29);
}

TEST(Steering, BothButtonsPushSidewaysTwice) {
  VoyageRig r;
  r.vs.pad_left_held = r.vs.pad_right_held = 1;
  r.vs.pad_y_left = r.vs.pad_y_right = 50;
  r.vs.pad_x = 40;  // 10 px right of the centre: 2 per button
  r.Frame();
  EXPECT_EQ(r.vs.speed_side, 4);
  EXPECT_EQ(r.vs.speed_forward, 0);
  EXPECT_EQ(r.vs.speed_up, 0);
}

TEST(Damping, HalvesTowardsZeroAndKeepsADriftOfOne) {
  VoyageRig r;
  r.vs.speed_forward = 7;
  r.vs.speed_side = -7;
  r.vs.speed_up = 9;
  std::vector<std::vector<int>> seen;
  r.hooks.on_instruments = [&] {
    seen.push_back({r.vs.speed_forward, r.vs.speed_side, r.vs.speed_up});
  };
  r.Frames(5);
  EXPECT_EQ(seen, (std::vector<std::vector<int>>{
                      {4, -4, 5}, {2, -2, 3}, {1, -1, 2}, {1, -1, 1}, {1, -1, 1}}));
  // The drift carries the ship on, one unit per frame.
  EXPECT_EQ(r.vs.local_z, 4 + 2 + 1 + 1 + 1);
  EXPECT_EQ(r.vs.local_x, -9);
}

TEST(Damping, SidewaysIsDampedWheneverTheLeftButtonIsUp) {
  VoyageRig r;
  r.vs.pad_right_held = 1;
  r.vs.pad_y_right = 50;
  r.vs.pad_x = 0;
  r.vs.speed_up = 6;
  const auto side = Trace(r, 3, r.vs.speed_side);
  EXPECT_EQ(side, (std::vector<int>{5, 8, 9}));  // 0+10 halved, 5+10 less 7, 8+10 halved
  EXPECT_EQ(r.vs.speed_up, 6);                   // the right button holds the vertical speed
}

TEST(Move, WrapsIntoTheNextSectorDroppingTheOvershoot) {
  VoyageRig r;
  r.vs.pad_left_held = 1;  // held at the centre: no push and no damping
  r.vs.pad_x = r.vs.pad_y_left = 50;
  r.vs.local_z = 249;
  r.vs.speed_forward = 5;
  r.Frame();
  EXPECT_EQ(r.vs.local_z, -250);
  EXPECT_EQ(r.game.sector_z, 1);

  r.vs.local_z = -249;
  r.vs.speed_forward = -5;
  r.Frame();
  EXPECT_EQ(r.vs.local_z, 250);
  EXPECT_EQ(r.game.sector_z, 0);

  r.vs.local_z = 245;
  r.vs.speed_forward = 5;
  r.Frame();
  EXPECT_EQ(r.vs.local_z, 250);  // the edge itself is still inside
  EXPECT_EQ(r.game.sector_z, 0);

  r.vs.speed_forward = 0;
  r.vs.local_y = 250;
  r.vs.speed_up = 1;  // a drift of one survives damping
  r.Frame();
  EXPECT_EQ(r.vs.local_y, -250);
  EXPECT_EQ(r.game.sector_y, 1);
}

TEST(Move, TheEdgeOfSpaceKeepsTheShipInItsSector) {
  VoyageRig r;
  r.vs.pad_left_held = 1;
  r.vs.pad_x = r.vs.pad_y_left = 50;
  r.game.sector_x = 30;
  r.vs.local_x = 249;
  r.vs.speed_side = 5;
  r.Frame();
  EXPECT_EQ(r.vs.local_x, -250);
  EXPECT_EQ(r.game.sector_x, 30);

  r.game.sector_z = -30;
  r.vs.speed_side = 0;
  r.vs.local_z = -249;
  r.vs.speed_forward = -5;
  r.Frame();
  EXPECT_EQ(r.vs.local_z, 250);
  EXPECT_EQ(r.game.sector_z, -30);
}

TEST(EngineTrouble, HalvesSpeedsButSideAndUpDriftsOfOneRemain) {
  VoyageRig r;
  r.game.trouble_level[kEngineTrouble] = 1;
  r.vs.pad_left_held = r.vs.pad_right_held = 1;
  r.vs.pad_x = r.vs.pad_y_left = r.vs.pad_y_right = 50;
  r.vs.speed_forward = 1;
  r.vs.speed_side = 1;
  r.vs.speed_up = -1;
  r.Frame();
  EXPECT_EQ(r.vs.speed_forward, 0);
  EXPECT_EQ(r.vs.speed_side, 1);
  EXPECT_EQ(r.vs.speed_up, -1);

  r.vs.speed_forward = -9;
  r.vs.speed_side = 6;
  r.vs.speed_up = -7;
  r.Frame();
  EXPECT_EQ(r.vs.speed_forward, -4);
  EXPECT_EQ(r.vs.speed_side, 3);
  EXPECT_EQ(r.vs.speed_up, -3);
}

}  // namespace
}  // namespace qm
