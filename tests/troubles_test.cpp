#include <gtest/gtest.h>

#include <set>

#include "cockpit_rig.h"

namespace qm {
namespace {

using testing::CockpitRig;
using testing::LastSuccess;
using testing::SetNextRaw;
using testing::SetRawAfter;

TEST(RaiseTrouble, EngineTroubleStopsTheShipAndShakesTheView) {
  CockpitRig rig;
  rig.vs.speed_forward = 9;
  rig.vs.speed_side = 4;
  rig.cockpit.RaiseTrouble(kEngineTrouble);
  EXPECT_EQ(rig.game.trouble_level[kEngineTrouble], 1);
  EXPECT_EQ(rig.vs.speed_forward, 0);
  EXPECT_EQ(rig.vs.speed_side, 4);
  EXPECT_EQ(rig.vs.noise_countdown, 10);
}

TEST(RaiseTrouble, LevelsGrowByOneUpToFive) {
  for (int k : {kHullDamage, kStellarWindPollution, kFire, kFuelTankDamage}) {
    CockpitRig rig;
    rig.cockpit.RaiseTrouble(k);
    EXPECT_EQ(rig.game.trouble_level[static_cast<size_t>(k)], 1);
    for (int i = 0; i < 6; ++i)
      rig.cockpit.RaiseTrouble(k);
    EXPECT_EQ(rig.game.trouble_level[static_cast<size_t>(k)], 5) << k;
  }
}

TEST(RaiseTrouble, OnOffTroublesAndTheDriftPattern) {
  for (int k : {kInfection, kSystemDown, kRadarFault}) {
    CockpitRig rig;
    rig.cockpit.RaiseTrouble(k);
    rig.cockpit.RaiseTrouble(k);
    EXPECT_EQ(rig.game.trouble_level[static_cast<size_t>(k)], 1) << k;
  }
  CockpitRig rig;
  std::set<int> patterns;
  for (int i = 0; i < 200; ++i) {
    rig.cockpit.RaiseTrouble(kMainSystemFault);
    patterns.insert(rig.game.trouble_level[kMainSystemFault]);
  }
  EXPECT_EQ(patterns, (std::set<int>{1, 2, 3, 4}));
  // Nothing outside the ten kinds is touched.
  const auto before = rig.game.trouble_level;
  rig.cockpit.RaiseTrouble(10);
  rig.cockpit.RaiseTrouble(-1);
  EXPECT_EQ(rig.game.trouble_level, before);
}

TEST(RaiseTrouble, FirstInjuryHurtsOneToFiveSleepersWithoutAWord) {
  std::set<int> injured;
  for (int i = 0; i < 200; ++i) {
    CockpitRig rig;
    rig.fake.random.SetSeed(static_cast<std::uint32_t>(i * 7919));
    rig.cockpit.RaiseTrouble(kSleeperInjury);
    injured.insert(rig.game.trouble_level[kSleeperInjury]);
    EXPECT_TRUE(rig.cs().message_pages[0].empty());
  }
  EXPECT_EQ(injured, (std::set<int>{1, 2, 3, 4, 5}));
}

TEST(RaiseTrouble, ASecondInjuryKillsTheInjuredAndShrinksTheHoldFromSixUp) {
  CockpitRig rig;
  rig.game.trouble_level[kSleeperInjury] = 3;
  rig.game.resources_max = 6;
  rig.cockpit.RaiseTrouble(kSleeperInjury);
  EXPECT_EQ(rig.cs().message_pages[0],
            Sj("3 人のコールドフリーパーが死亡しました。\r\r最大積載資源量が 1減少しました"));
  EXPECT_EQ(rig.game.resources_max, 5);
  EXPECT_EQ(rig.game.trouble_level[kSleeperInjury], 0);
  EXPECT_TRUE(rig.Visible("moji_box"));

  CockpitRig small;
  small.game.trouble_level[kSleeperInjury] = 5;
  small.game.resources_max = 5;
  small.cockpit.RaiseTrouble(kSleeperInjury);
  EXPECT_EQ(small.cs().message_pages[0], Sj("5 人のコールドフリーパーが死亡しました。\r\r"));
  EXPECT_EQ(small.game.resources_max, 5);
}

TEST(HullHit, AlwaysFlashesShakesAndLetsGoOfThePad) {
  CockpitRig rig;
  rig.vs.pad_left_held = 1;
  rig.cockpit.HullHit();
  EXPECT_EQ(rig.view.Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(rig.view.Pixel(399, 299), 0xFF0000u);
  EXPECT_EQ(rig.vs.noise_countdown, 10);
  EXPECT_EQ(rig.vs.pad_left_held, 0);
}

TEST(HullHit, HalfTheHitsStopTheShipAndOnlyThoseDoDamage) {
  CockpitRig rig;
  rig.fake.random.SetSeed(2024);
  constexpr int kHits = 30000;
  int stops = 0, hull = 0, injuries = 0, walls = 0, downs = 0;
  for (int i = 0; i < kHits; ++i) {
    rig.vs.speed_forward = 5;
    rig.game.hull = 10;
    rig.game.trouble_level.fill(0);
    rig.cockpit.HullHit();
    const bool stopped = rig.vs.speed_forward == 0;
    const bool damaged = rig.game.hull != 10 || rig.game.trouble_level[kSleeperInjury] != 0 ||
                         rig.game.trouble_level[kHullDamage] != 0 ||
                         rig.game.trouble_level[kSystemDown] != 0;
    ASSERT_TRUE(stopped || !damaged);
    stops += stopped;
    hull += rig.game.hull == 9;
    injuries += rig.game.trouble_level[kSleeperInjury] != 0;
    walls += rig.game.trouble_level[kHullDamage] == 1;
    downs += rig.game.trouble_level[kSystemDown] == 1;
  }
  auto near = [](int count, double p) { return std::abs(count - p * kHits) < 0.1 * p * kHits; };
  EXPECT_TRUE(near(stops, 1.0 / 2)) << stops;
  EXPECT_TRUE(near(hull, 1.0 / 6)) << hull;
  EXPECT_TRUE(near(injuries, 1.0 / 6)) << injuries;
  EXPECT_TRUE(near(walls, 1.0 / 4)) << walls;
  EXPECT_TRUE(near(downs, 1.0 / 10)) << downs;
}

// One trouble-effect step with the pad released and the roll `skip` draws in set to `raw`.
void EffectsWithRoll(CockpitRig& rig, int skip, std::uint32_t raw) {
  SetRawAfter(rig.fake.random, skip, raw);
  rig.cockpit.TroubleEffects();
}

TEST(EngineRoll, StartsAfterTwoHundredHeldFramesAndLettingGoResetsIt) {
  CockpitRig rig;
  rig.vs.pad_left_held = 0;
  rig.cockpit.TroubleEffects();
  EXPECT_EQ(rig.cs().engine_trouble_timer, 1);

  // Every engine roll would succeed; the first comes on the 200th held frame.
  rig.vs.pad_left_held = 1;
  for (int frame = 1; frame < 200; ++frame) {
    EffectsWithRoll(rig, 0, LastSuccess(100));
    ASSERT_EQ(rig.game.trouble_level[kEngineTrouble], 0) << frame;
  }
  EffectsWithRoll(rig, 0, LastSuccess(100));
  EXPECT_EQ(rig.game.trouble_level[kEngineTrouble], 1);
  EXPECT_EQ(rig.cs().engine_trouble_timer, 0);
  EXPECT_EQ(rig.vs.noise_countdown, 10);
  EXPECT_EQ(rig.game.hull, 10);

  // Short strokes never get there.
  CockpitRig strokes;
  for (int stroke = 0; stroke < 5; ++stroke) {
    strokes.vs.pad_left_held = 1;
    for (int frame = 0; frame < 150; ++frame)
      EffectsWithRoll(strokes, 0, LastSuccess(100));
    strokes.vs.pad_left_held = 0;
    strokes.cockpit.TroubleEffects();
  }
  EXPECT_EQ(strokes.game.trouble_level[kEngineTrouble], 0);
}

TEST(EngineRoll, IsOneInAHundredAndCostsHullWhenTheEngineIsAlreadyBroken) {
  CockpitRig rig;
  rig.vs.pad_left_held = 1;
  rig.cs().engine_trouble_timer = 500;
  EffectsWithRoll(rig, 0, LastSuccess(100) + 1);
  EXPECT_EQ(rig.game.trouble_level[kEngineTrouble], 0);
  EXPECT_EQ(rig.cs().engine_trouble_timer, 501);

  rig.game.trouble_level[kEngineTrouble] = 1;
  EffectsWithRoll(rig, 0, LastSuccess(100));
  EXPECT_EQ(rig.game.hull, 9);
  EXPECT_EQ(rig.cs().engine_trouble_timer, 0);
}

// Whether a trouble's roll, `skip` draws into the step, succeeds exactly up to 1 in `n`.
struct RollCase {
  int trouble;
  int level;
  int skip;
  std::uint32_t n;
};

bool HullWasHit(CockpitRig& rig) {
  return rig.vs.noise_countdown == 10;
}

TEST(TroubleEffects, HullDamageAndFireHitTheHullAtTheirRates) {
  const RollCase cases[] = {
      {kHullDamage, 1, 0, 290}, {kHullDamage, 5, 0, 250}, {kFire, 1, 1, 370}, {kFire, 5, 1, 250}};
  for (const RollCase& c : cases) {
    CockpitRig hit;
    hit.game.trouble_level[static_cast<size_t>(c.trouble)] = c.level;
    EffectsWithRoll(hit, c.skip, LastSuccess(c.n));
    EXPECT_TRUE(HullWasHit(hit)) << c.trouble << " " << c.level;

    CockpitRig miss;
    miss.game.trouble_level[static_cast<size_t>(c.trouble)] = c.level;
    EffectsWithRoll(miss, c.skip, LastSuccess(c.n) + 1);
    EXPECT_FALSE(HullWasHit(miss)) << c.trouble << " " << c.level;
  }
}

TEST(TroubleEffects, StellarWindInjuresSleepersAndArisesOnceInNineThousand) {
  for (const auto& [level, n] : {std::pair{1, 380u}, std::pair{5, 300u}}) {
    CockpitRig hit;
    hit.game.trouble_level[kStellarWindPollution] = level;
    EffectsWithRoll(hit, 1, LastSuccess(n));
    EXPECT_GE(hit.game.trouble_level[kSleeperInjury], 1) << level;
    CockpitRig miss;
    miss.game.trouble_level[kStellarWindPollution] = level;
    EffectsWithRoll(miss, 1, LastSuccess(n) + 1);
    EXPECT_EQ(miss.game.trouble_level[kSleeperInjury], 0) << level;
  }
  CockpitRig wind;
  EffectsWithRoll(wind, 0, LastSuccess(9000));
  EXPECT_EQ(wind.game.trouble_level[kStellarWindPollution], 1);
  CockpitRig calm;
  EffectsWithRoll(calm, 0, LastSuccess(9000) + 1);
  EXPECT_EQ(calm.game.trouble_level[kStellarWindPollution], 0);
}

TEST(TroubleEffects, ADamagedFuelTankLosesItsLevelInEnergy) {
  CockpitRig rig;
  rig.game.trouble_level[kFuelTankDamage] = 4;
  EffectsWithRoll(rig, 1, LastSuccess(80));
  EXPECT_EQ(rig.game.energy, 196);
  EffectsWithRoll(rig, 1, LastSuccess(80) + 1);
  EXPECT_EQ(rig.game.energy, 196);
}

TEST(TroubleEffects, MainSystemFailureDriftsInFourPatterns) {
  struct Drift {
    int value;
    int up;
    int side;
  };
  for (const Drift& d : {Drift{4, 1, 1}, Drift{1, -1, 1}, Drift{2, -1, -1}, Drift{3, 1, -1}}) {
    CockpitRig rig;
    rig.game.trouble_level[kMainSystemFault] = d.value;
    rig.vs.speed_forward = 6;
    for (int frame = 0; frame < 3; ++frame)
      EffectsWithRoll(rig, 1, LastSuccess(50) + 1);
    EXPECT_EQ(rig.vs.speed_up, 3 * d.up) << d.value;
    EXPECT_EQ(rig.vs.speed_side, 3 * d.side) << d.value;
    EXPECT_EQ(rig.vs.speed_forward, 6);
  }
}

TEST(TroubleEffects, MainSystemFailureSometimesReversesTheShip) {
  CockpitRig rig;
  rig.game.trouble_level[kMainSystemFault] = 4;
  rig.vs.speed_side = 3;
  rig.vs.speed_up = -4;
  rig.vs.speed_forward = 5;
  rig.vs.pad_left_held = 1;
  EffectsWithRoll(rig, 1, LastSuccess(50));
  EXPECT_EQ(rig.vs.speed_side, -3 + 1);
  EXPECT_EQ(rig.vs.speed_up, 4 + 1);
  EXPECT_EQ(rig.vs.speed_forward, -5);
  EXPECT_EQ(rig.vs.pad_left_held, 0);
}

TEST(TroubleEffects, InfectionComesWhenTheShipStaysAwayFromBuoysTooLong) {
  CockpitRig rig;
  rig.game.buoy_absence = 1200;
  // The absence grows by the second draw: 0 keeps it at the limit, 1 passes it.
  EffectsWithRoll(rig, 1, 0);
  EXPECT_EQ(rig.game.buoy_absence, 1200);
  EXPECT_EQ(rig.game.trouble_level[kInfection], 0);
  EffectsWithRoll(rig, 1, 0xFFFFFFFFu);
  EXPECT_EQ(rig.game.buoy_absence, 0);
  EXPECT_EQ(rig.game.trouble_level[kInfection], 1);
}

TEST(TroubleEffects, InfectionEatsResources) {
  CockpitRig rig;
  rig.game.trouble_level[kInfection] = 1;
  EffectsWithRoll(rig, 2, LastSuccess(230));
  EXPECT_EQ(rig.game.resources, 6);
  EffectsWithRoll(rig, 2, LastSuccess(230) + 1);
  EXPECT_EQ(rig.game.resources, 6);
}

// A repair button pressed with some resources on hand; the trouble is at `level`.
struct RepairCase {
  int button;
  int trouble;
  int level;
  int resources;
  std::string text;
  int resources_after;
};

TEST(Repairs, EachButtonReportsWithItsCost) {
  const RepairCase cases[] = {
      {2, kSleeperInjury, 3, 3,
       Sj("ﾏｰﾒｲﾀﾞ「コールドスリーパー全員を手当てしました。」\r\r資源：-3ｔ"), 0},
      {2, kSleeperInjury, 3, 2,
       Sj("ﾏｰﾒｲﾀﾞ「コールドスリーパー全員を手当てできるだけの資源が足りません」\r\r要資源： 3ｔ"),
       2},
      // Never padded, even when odd.
      {2, kSleeperInjury, 10, 2,
       Sj("ﾏｰﾒｲﾀﾞ「コールドスリーパー全員を手当てできるだけの資源が足りません」\r\r要資源： 10ｔ"),
       2},
      {3, kHullDamage, 2, 7, Sj("ﾏｰﾒｲﾀﾞ「損傷した船壁を修理しました。」\r\r資源：-2ｔ"), 5},
      {3, kHullDamage, 4, 3,
       Sj("ﾏｰﾒｲﾀﾞ「損傷した船壁の修理に必要な資源が足りません」\r\r要資源： 4ｔ"), 3},
      {4, kStellarWindPollution, 1, 1, Sj("ﾏｰﾒｲﾀﾞ「恒星風汚染を食いとめしました。」\r\r資源：-1ｔ"),
       0},
      {4, kStellarWindPollution, 5, 4,
       Sj("ﾏｰﾒｲﾀﾞ「恒星風汚染を食いとめるのに必要な資源が足りません」\r\r要資源： 5ｔ"), 4},
      {5, kFire, 3, 6, Sj("ﾏｰﾒｲﾀﾞ「船内の火災を消化しました。」\r\r資源：-6ｔ"), 0},
      {5, kFire, 3, 5,
       Sj("ﾏｰﾒｲﾀﾞ「船内の火災を消化するのに必要な資源が足りません」\r\r要資源： 6ｔ"), 5},
      // Two digits make the text odd; it gets its space.
      {5, kFire, 5, 12, Sj("ﾏｰﾒｲﾀﾞ「船内の火災を消化しました。」\r\r資源：-10ｔ "), 2},
      {6, kFuelTankDamage, 2, 4, Sj("ﾏｰﾒｲﾀﾞ「燃料タンク壁を修復しました。」\r\r資源：-4ｔ"), 0},
      {6, kFuelTankDamage, 5, 9,
       Sj("ﾏｰﾒｲﾀﾞ「燃料タンク壁の修復に必要な資源が足りません」\r\r要資源： 10ｔ "), 9},
      {7, kMainSystemFault, 3, 5,
       Sj("ﾏｰﾒｲﾀﾞ「メインシステムの復旧に成功しました。」\r\r資源：-5ｔ"), 0},
      {7, kMainSystemFault, 3, 4,
       Sj("ﾏｰﾒｲﾀﾞ「メインシステムの復旧に必要な資源が足りません」\r\r要資源： 5ｔ"), 4},
      {9, kSystemDown, 1, 7, Sj("ﾏｰﾒｲﾀﾞ「システムが復旧しました。」\r\r資源：-6ｔ"), 1},
      {9, kSystemDown, 1, 5,
       Sj("ﾏｰﾒｲﾀﾞ「システムがダウンしていますが、修理に必要な資源が足りません。」\r\r要資源： 6ｔ"),
       5},
      {10, kRadarFault, 1, 6, Sj("ﾏｰﾒｲﾀﾞ「レーダーシステムの異常を修復しました。」\r\r資源：-6ｔ"),
       0},
      {10, kRadarFault, 1, 5,
       Sj("ﾏｰﾒｲﾀﾞ「レーダーシステムに異常が発生していますが、修復に必要な資源が足りません」\r\r要資"
          "源： 6ｔ"),
       5},
  };
  for (const RepairCase& c : cases) {
    CockpitRig rig;
    rig.game.resources = c.resources;
    rig.game.trouble_level[static_cast<size_t>(c.trouble)] = c.level;
    rig.cockpit.RepairMouseDown(c.button);
    const bool repaired = c.resources_after != c.resources;
    EXPECT_EQ(rig.cs().message_pages[0], c.text) << "tra_b" << c.button;
    EXPECT_EQ(rig.game.resources, c.resources_after) << "tra_b" << c.button;
    EXPECT_EQ(rig.game.trouble_level[static_cast<size_t>(c.trouble)], repaired ? 0 : c.level)
        << "tra_b" << c.button;
    EXPECT_TRUE(rig.Visible("moji_box"));
    EXPECT_EQ(rig.fake.controls.moved["moji_box"], std::make_pair(4, 304));
    EXPECT_EQ(rig.Sounds("click"), c.button == 10 ? 0 : 1) << "tra_b" << c.button;
  }
}

TEST(Repairs, EngineAndInfectionCannotBeMendedOnBoard) {
  CockpitRig rig;
  rig.game.trouble_level[kEngineTrouble] = 1;
  rig.game.trouble_level[kInfection] = 1;
  rig.cockpit.tra_b1MouseDown();
  EXPECT_EQ(rig.cs().message_pages[0],
            Sj("ﾏｰﾒｲﾀﾞ「重度のエンジントラブルです。近隣のブイへ大至急寄港して下さい」"));
  rig.cockpit.tra_b8MouseDown();
  EXPECT_EQ(rig.cs().message_pages[0],
            Sj("ﾏｰﾒｲﾀﾞ「長期間ブイに寄港していないため、船内に未知の病原菌が入りこんでいます。"
               "近隣のブイへ大至急寄港して下さい」"));
  EXPECT_EQ(rig.game.trouble_level[kEngineTrouble], 1);
  EXPECT_EQ(rig.game.trouble_level[kInfection], 1);
  EXPECT_EQ(rig.game.resources, 7);
  EXPECT_EQ(rig.Sounds("click"), 2);
}

TEST(Repairs, TheReportIsTypedAndTheFirstClickClosesIt) {
  CockpitRig rig;
  rig.game.trouble_level[kRadarFault] = 1;
  rig.cockpit.TypewriterStep();
  rig.cockpit.tra_b10MouseDown();
  for (int frame = 0; frame < 60; ++frame)
    rig.cockpit.TypewriterStep();
  EXPECT_EQ(rig.Caption("moji_l"), rig.cs().message_pages[0]);
  rig.cockpit.Shape1MouseDown();
  EXPECT_FALSE(rig.Visible("moji_box"));
  EXPECT_EQ(rig.Caption("moji_l"), "");
}

}  // namespace
}  // namespace qm
