#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "arrival_rig.h"
#include "cockpit/arrival.h"
#include "cockpit/story_texts.h"

namespace qm {
namespace {

using testing::ArrivalRig;
using testing::FindSeed;
using testing::PageList;

TEST(ArrivalBuoy, FirstCallRecordsGrowsTheHoldSuppliesAndServices) {
  ArrivalRig rig;
  ChartPoint& p = rig.Point(12, 1);
  p.yield = 25;
  p.resource_gain = 3;
  rig.game.trouble_level[kEngineTrouble] = 1;
  rig.vs.speed_forward = 9;
  rig.vs.speed_side = -3;
  rig.vs.speed_up = 2;
  rig.game.buoy_absence = 700;

  EXPECT_FALSE(rig.Arrive(12));

  EXPECT_EQ(rig.Pages(),
            (PageList{Sj("【地点12】 \r古い航路標識が瞬いている。"), Sj("この位置を記録しました。"),
                      Sj("★最大資源積載量が 1増えた!!"), Sj("★エネルギー補給 > +50!!"),
                      Sj("★資源補給 > + 3t!!"), Sj("★エンジンを修復しました。")}));
  EXPECT_EQ(rig.fake.sound.calls.front(), "cue 0 on.wav");
  EXPECT_TRUE(rig.BoxShown());
  EXPECT_EQ(rig.game.point_state[12], 2);
  EXPECT_EQ(rig.game.voyage_days, 1);
  EXPECT_EQ(rig.game.resources_max, 8);
  EXPECT_EQ(rig.game.energy, 150);
  EXPECT_EQ(rig.game.resources, 5);
  EXPECT_EQ(rig.game.hull, rig.game.hull_max);
  EXPECT_EQ(rig.game.trouble_level[kEngineTrouble], 0);
  EXPECT_EQ(rig.vs.arrival_banner, 10);
  EXPECT_EQ(rig.vs.speed_forward, 0);
  EXPECT_EQ(rig.vs.speed_side, 0);
  EXPECT_EQ(rig.vs.speed_up, 0);
  EXPECT_EQ(rig.game.buoy_absence, 0);
  EXPECT_EQ(rig.cs().ending_tick, 0);
}

TEST(ArrivalBuoy, ASecondCallGivesOnlyTheTextTheLinksAndTheService) {
  ArrivalRig rig;
  ChartPoint& p = rig.Point(12, 9);
  p.yield = 25;
  p.resource_gain = 3;
  p.next_point = 40;
  rig.Arrive(12);
  rig.ClearBox();
  rig.game.hull = 1;
  rig.game.trouble_level[kInfection] = 1;
  const GameState before = rig.game;

  rig.Arrive(12);

  EXPECT_EQ(rig.Pages(), (PageList{rig.Page(12), BuoyCluePage(rig.game.chart[40]),
                                   Sj("★船内を殺菌しました。")}));
  EXPECT_EQ(rig.game.voyage_days, before.voyage_days);
  EXPECT_EQ(rig.game.resources_max, before.resources_max);
  EXPECT_EQ(rig.game.energy, before.energy);
  EXPECT_EQ(rig.game.resources, before.resources);
  EXPECT_EQ(rig.game.hull, rig.game.hull_max);
}

TEST(ArrivalBuoy, GainsOfOddLengthGetASpaceBeforeThem) {
  struct Case {
    std::int32_t yield, resource_gain;
    const char* energy;
    const char* resources;
  };
  for (const Case& c : {Case{3, 12, "★エネルギー補給 > + 6!!", "★資源補給 > +12t!!"},
                        Case{6, 1, "★エネルギー補給 > +12!!", "★資源補給 > + 1t!!"},
                        Case{75, 100, "★エネルギー補給 > + 150!!", "★資源補給 > + 100t!!"},
                        Case{0, -4, "★エネルギー補給 > + 0!!", "★資源補給 > +-4t!!"}}) {
    ArrivalRig rig;
    ChartPoint& p = rig.Point(3, 17);
    p.yield = c.yield;
    p.resource_gain = c.resource_gain;
    rig.Arrive(3);
    // A supply point is known from the start: no record, no extra hold.
    EXPECT_EQ(rig.Pages(), (PageList{rig.Page(3), Sj(c.energy), Sj(c.resources)})) << c.yield;
    EXPECT_EQ(rig.game.energy, 100 + 2 * c.yield);
    EXPECT_EQ(rig.game.resources, 2 + c.resource_gain);
    EXPECT_EQ(rig.game.resources_max, 7);
  }
}

TEST(ArrivalBuoy, TheThreeLinksAreRevealedInOrderEvenWhenVisited) {
  ArrivalRig rig;
  ChartPoint& p = rig.Point(5, 2, 2);
  p.next_point = 30;
  p.next_point_2 = 31;
  p.extra_point = 32;
  ChartPoint& a = rig.game.chart[30];
  a.x = 3, a.y = -4, a.z = 12;  // "x:3  y:-4  z:12" is odd: a space is added
  ChartPoint& b = rig.game.chart[31];
  b.x = -13, b.y = 4, b.z = 12;  // even: none
  ChartPoint& e = rig.game.chart[32];
  e.x = 0, e.y = 0, e.z = -30;
  rig.game.point_state[31] = 2;

  rig.Arrive(5);

  EXPECT_EQ(
      rig.Pages(),
      (PageList{rig.Page(5),
                Sj("※他のブイの場所が記されています。\r\r\rNEXT POINT > x:3  y:-4  z:12 "),
                Sj("※他のブイの場所が記されています。\r\r\rNEXT POINT 2 > x:-13  y:4  z:12"),
                Sj("※他のある場所が記されています（この座標は海図に記録されない特殊なものです）"
                   "\r\r\rEXTRA POINT > x:0  y:0  z:-30 ")}));
  EXPECT_EQ(BuoyCluePage(a), rig.Pages()[1]);
  // The extra place is known like the others, so the scan finds it and it can be called at.
  EXPECT_EQ(rig.game.point_state[30], 1);
  EXPECT_EQ(rig.game.point_state[31], 1);
  EXPECT_EQ(rig.game.point_state[32], 1);
}

TEST(ArrivalBuoy, LinksOutsideTheChartAreSkipped) {
  ArrivalRig rig;
  ChartPoint& p = rig.Point(5, 8, 2);
  p.next_point = 400;
  p.next_point_2 = -7;
  p.extra_point = -1;
  const auto states = rig.game.point_state;
  rig.Arrive(5);
  EXPECT_EQ(rig.Pages(), (PageList{rig.Page(5)}));
  EXPECT_EQ(rig.game.point_state, states);
}

TEST(ArrivalBuoy, DismissingTheStartingBuoysClueMovesTheStoryOn) {
  ArrivalRig rig;
  ChartPoint& start = rig.Point(0, 1);
  start.next_point = 44;
  rig.game.chart[44].x = -7;
  rig.Arrive(0);
  ASSERT_EQ(rig.game.story_stage(), 0);
  rig.cs().typewriter_pos = 1000;  // every page already whole
  for (int i = 0; i < 20 && rig.game.story_stage() == 0; ++i) {
    rig.cockpit.Shape1MouseDown();
    rig.cs().typewriter_pos = 1000;
  }
  EXPECT_EQ(rig.game.story_stage(), 1);
}

TEST(ArrivalService, OnlyARepairDockMendsTheHullWallAndTheFuelTank) {
  const PageList all = {Sj("★エンジンを修復しました。"),
                        Sj("★負傷したコールドスリーパー達を手当てしました。"),
                        Sj("★損傷のある船壁を修理しました"),
                        Sj("★恒星風による汚染の影響を除去しました。"),
                        Sj("★船内の火災を鎮火しました。"),
                        Sj("★燃料タンク壁の損傷部分を修理しました。"),
                        Sj("★メインシンテムのプログラムを修復しました"),
                        Sj("★船内を殺菌しました。"),
                        Sj("★シンテムを復旧させました。"),
                        Sj("★レーダーの異常箇所を修復しました。")};
  for (int kind : {3, 1, 2, 8, 9, 10}) {
    ArrivalRig rig;
    rig.Point(7, kind, 2);
    for (int k = 0; k < kTroubleCount; ++k)
      rig.game.trouble_level[static_cast<size_t>(k)] = k == 1 ? 4 : 2;
    rig.Arrive(7);
    PageList expected = {rig.Page(7)};
    for (int k = 0; k < kTroubleCount; ++k) {
      const bool mended =
          kind == PointKind::kRepairDock || (k != kHullDamage && k != kFuelTankDamage);
      if (mended) expected.push_back(all[static_cast<size_t>(k)]);
      EXPECT_EQ(rig.game.trouble_level[static_cast<size_t>(k)], mended ? 0 : 2) << kind << k;
    }
    EXPECT_EQ(rig.Pages(), expected) << kind;
  }
}

TEST(ArrivalService, StationsZonesAndFindsGiveNoServiceAndNoHull) {
  for (int kind : {4, 5, 6, 7, 11, 12, 15, 16, 17, 19, 20}) {
    ArrivalRig rig;
    rig.Point(7, kind, 2);
    rig.game.trouble_level[kRadarFault] = 1;
    rig.Arrive(7);
    EXPECT_EQ(rig.game.trouble_level[kRadarFault], 1) << kind;
    EXPECT_EQ(rig.game.hull, 4) << kind;
  }
}

TEST(ArrivalKinds, EachKindsFirstAndLaterCalls) {
  struct Case {
    int kind;
    std::vector<const char*> first;  // after the name page
    std::vector<const char*> later;
  };
  const std::vector<Case> cases = {
      {4,
       {"この位置を記録しました。", "★エネルギー補給 > 満タン!!"},
       {"★エネルギー補給 > 満タン!!"}},
      {5,
       {"ここは高熱地帯です。長く留まる事は危険です"},
       {"ここは高熱地帯です。長く留まる事は危険です"}},
      {6,
       {"ここは小惑星帯です。長く留まる事は危険です"},
       {"ここは小惑星帯です。長く留まる事は危険です"}},
      {7, {"★資源調達 > 満タン!!"}, {}},
      {11, {"★彗星の成分から、エネルギーの研究が進展し、エネルギーの最大量が10増加した!!"}, {}},
      {12, {}, {}},
      {13, {}, {}},
      {14, {}, {}},
      {15, {"★難破船の部品を再利用し、船の耐久性をアップさせ、最大HPが 1増えた!!"}, {}},
      {16, {}, {}},
      {19,
       {"この位置を記録しました。", "★最大資源積載量が 1増えた!!", "おめでとう・・・"},
       {"おめでとう・・・"}},
  };
  for (const Case& c : cases) {
    ArrivalRig rig;
    rig.game.energy_max = 230;
    rig.Point(9, c.kind);
    EXPECT_FALSE(rig.Arrive(9));
    PageList first = {rig.Page(9)};
    for (const char* t : c.first)
      first.push_back(Sj(t));
    EXPECT_EQ(rig.Pages(), first) << c.kind;
    EXPECT_TRUE(rig.BoxShown()) << c.kind;
    EXPECT_EQ(rig.game.voyage_days, 1);

    rig.ClearBox();
    rig.Arrive(9);
    PageList later = {rig.Page(9)};
    for (const char* t : c.later)
      later.push_back(Sj(t));
    EXPECT_EQ(rig.Pages(), later) << c.kind;
    EXPECT_EQ(rig.game.voyage_days, 1);
  }
}

// Every kind of buoy and the supply point, at the first call: the position is recorded (buoys
// only), the hold grows by one (buoys only), and both supplies are paid, uncapped until the next
// instrument pass; the second call pays nothing.
TEST(ArrivalKinds, EveryBuoyKindAndTheSupplyPointPayAtTheFirstCall) {
  struct Case {
    int kind;
    bool buoy;
  };
  for (const Case& c : {Case{1, true}, Case{2, true}, Case{3, true}, Case{8, true}, Case{9, true},
                        Case{10, true}, Case{17, false}}) {
    SCOPED_TRACE(c.kind);
    ArrivalRig rig;
    ChartPoint& p = rig.Point(9, c.kind);
    p.yield = 30;
    p.resource_gain = 4;
    rig.game.resources_max = 7;
    EXPECT_FALSE(rig.Arrive(9));
    PageList want = {rig.Page(9)};
    if (c.buoy) want.push_back(Sj("この位置を記録しました。"));
    if (c.buoy) want.push_back(Sj("★最大資源積載量が 1増えた!!"));
    want.push_back(Sj("★エネルギー補給 > +60!!"));
    want.push_back(Sj("★資源補給 > + 4t!!"));
    EXPECT_EQ(rig.Pages(), want);
    EXPECT_EQ(rig.game.energy, 160);
    EXPECT_EQ(rig.game.resources, 6);
    EXPECT_EQ(rig.game.resources_max, c.buoy ? 8 : 7);
    EXPECT_EQ(rig.game.hull, c.buoy ? rig.game.hull_max : 4);  // the buoy call mends the hull

    rig.ClearBox();
    rig.Arrive(9);
    EXPECT_EQ(rig.game.energy, 160);
    EXPECT_EQ(rig.game.resources, 6);
    EXPECT_EQ(rig.game.resources_max, c.buoy ? 8 : 7);
  }
}

TEST(ArrivalKinds, FirstCallRewardsAreCountedOnce) {
  ArrivalRig rig;
  rig.game.energy = 12;
  rig.game.resources = 1;
  rig.game.resources_max = 9;
  rig.Point(1, 4);
  rig.Point(2, 7);
  rig.Point(3, 11);
  rig.Point(4, 15);
  rig.Point(5, 16);
  rig.Point(6, 19);
  for (int i = 1; i <= 6; ++i)
    rig.Arrive(i);
  for (int i = 1; i <= 6; ++i)
    rig.Arrive(i);
  // The station fills the tank at every call, the second time to the comet's new maximum.
  EXPECT_EQ(rig.game.energy, 210);
  EXPECT_EQ(rig.game.energy_max, 210);
  EXPECT_EQ(rig.game.resources, 9);
  EXPECT_EQ(rig.game.resources_max, 10);
  EXPECT_EQ(rig.game.hull_max, 11);
  EXPECT_EQ(rig.game.bottles_found, 1);
  EXPECT_EQ(rig.game.planets_found, 1);
  EXPECT_EQ(rig.game.voyage_days, 6);
}

TEST(ArrivalKinds, PointSeventyThreeStartsTheEndingWhateverItIs) {
  for (int kind : {16, 1, 12}) {
    ArrivalRig rig;
    rig.Point(73, kind);
    rig.Point(72, kind);
    rig.Arrive(72);
    EXPECT_EQ(rig.cs().ending_tick, 0);
    rig.Arrive(73);
    EXPECT_EQ(rig.cs().ending_tick, 1) << kind;
    // Only the first call starts it.
    rig.cs().ending_tick = 0;
    rig.Arrive(73);
    EXPECT_EQ(rig.cs().ending_tick, 0);
  }
}

// The two draws of the warp, X first, as a fresh generator with this seed makes them.
std::pair<int, int> WarpRolls(std::uint32_t seed) {
  Random r(seed);
  const int x = r.Next(48);
  return {x, r.Next(48)};
}

TEST(ArrivalWarp, ThrowsTheShipBetweenMinusEighteenAndTwentyNine) {
  struct Extreme {
    int x_roll, z_roll, sector_x, sector_z;
  };
  for (const Extreme& e : {Extreme{0, 47, 29, -18}, Extreme{47, 0, -18, 29}}) {
    ArrivalRig rig;
    rig.Point(60, 18);
    rig.game.sector_x = 3;
    rig.game.sector_y = -6;
    rig.game.sector_z = 4;
    rig.vs.local_x = 17;
    rig.vs.local_z = 120;
    rig.fake.random.SetSeed(FindSeed([&](Random& r) {
      const int x = r.Next(48);
      return x == e.x_roll && r.Next(48) == e.z_roll;
    }));
    rig.Arrive(60);
    EXPECT_EQ(rig.game.sector_x, e.sector_x);
    EXPECT_EQ(rig.game.sector_z, e.sector_z);
    EXPECT_EQ(rig.game.sector_y, -6);
    EXPECT_EQ(rig.vs.local_x, 17);
    EXPECT_EQ(rig.vs.local_z, 120);
    EXPECT_EQ(rig.Pages(), (PageList{rig.Page(60), Sj("この位置を記録しました。"),
                                     Sj("※違う空間へ転移してしまったようだ････！")}));
  }
  ArrivalRig rig;
  rig.Point(60, 18);
  std::set<int> xs;
  for (std::uint32_t seed = 1; seed < 3000; ++seed) {
    rig.game.point_state[60] = 1;
    rig.ClearBox();
    rig.fake.random.SetSeed(seed);
    rig.Arrive(60);
    const auto [x, z] = WarpRolls(seed);
    ASSERT_EQ(rig.game.sector_x, 29 - x);
    ASSERT_EQ(rig.game.sector_z, 29 - z);
    xs.insert(rig.game.sector_x);
  }
  EXPECT_EQ(*xs.begin(), -18);
  EXPECT_EQ(*xs.rbegin(), 29);
  // A warp already passed throws no more.
  rig.game.sector_x = 0;
  rig.Arrive(60);
  EXPECT_EQ(rig.game.sector_x, 0);
}

TEST(ArrivalKinds, NoPointMeansNoExamination) {
  ArrivalRig rig;
  const GameState before = rig.game;
  EXPECT_FALSE(rig.Arrive(-1));
  EXPECT_FALSE(rig.Arrive(kChartPointCount));
  EXPECT_TRUE(rig.fake.sound.calls.empty());
  EXPECT_EQ(rig.game.point_state, before.point_state);
}

}  // namespace
}  // namespace qm
