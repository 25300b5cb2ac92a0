#include <gtest/gtest.h>

#include <QImage>
#include <set>
#include <vector>

#include "voyage_rig.h"

namespace qm {
namespace {

using testing::SolidPicture;
using testing::VoyageRig;

// Everything a frame could touch, flattened, so "nothing changed" is one comparison.
std::vector<long long> Snapshot(const VoyageRig& r) {
  const VoyageState& v = r.vs;
  std::vector<long long> out = {v.blink_counter,
                                v.booster_seconds,
                                v.speed_side,
                                v.speed_up,
                                v.speed_forward,
                                v.local_x,
                                v.local_y,
                                v.local_z,
                                v.current_point,
                                v.logon_step,
                                v.check_countdown,
                                v.noise_countdown,
                                v.arrival_banner,
                                v.contact_blink,
                                v.chart_blink,
                                r.game.sector_x,
                                r.game.sector_y,
                                r.game.sector_z,
                                r.fake.random.Seed(),
                                static_cast<long long>(r.hooks.calls.size()),
                                static_cast<long long>(r.fake.sound.calls.size())};
  for (const Star& s : v.stars) {
    out.insert(out.end(), {s.x, s.y, s.radius, s.vx, s.vy, s.vz, s.motion});
  }
  return out;
}

TEST(FrameGate, ACallUnder100MsAfterAFrameChangesNothingAtAll) {
  VoyageRig r;
  r.voyage.InitStars();
  r.vs.speed_forward = 7;
  r.vs.noise_countdown = 10;
  r.vs.booster_seconds = 5;
  r.Frame();
  const auto before = Snapshot(r);
  const double next_frame = r.vs.next_frame_time;
  const double next_second = r.vs.next_second_time;
  const QImage view = r.view.Image().copy();
  const QImage pad = r.pad.Image().copy();

  r.fake.clock.AdvanceMs(99);
  r.voyage.Timer1Timer();
  EXPECT_EQ(Snapshot(r), before);
  EXPECT_EQ(r.vs.next_frame_time, next_frame);
  EXPECT_EQ(r.vs.next_second_time, next_second);
  EXPECT_TRUE(r.view.Image() == view);
  EXPECT_TRUE(r.pad.Image() == pad);

  r.fake.clock.AdvanceMs(2);
  const int blink = r.vs.blink_counter;
  r.voyage.Timer1Timer();
  EXPECT_EQ(r.vs.blink_counter, blink + 1);
}

TEST(FrameGate, ALateFrameIsNotCaughtUpAndTheNextIsMeasuredFromIt) {
  VoyageRig r;
  r.Frame();
  r.fake.clock.AdvanceMs(1000);
  r.voyage.Timer1Timer();
  r.voyage.Timer1Timer();
  EXPECT_EQ(r.vs.blink_counter, 2);
  r.fake.clock.AdvanceMs(95);
  r.voyage.Timer1Timer();
  EXPECT_EQ(r.vs.blink_counter, 2);
  r.fake.clock.AdvanceMs(6);
  r.voyage.Timer1Timer();
  EXPECT_EQ(r.vs.blink_counter, 3);
}

TEST(FrameGate, TheBoosterCountsDownOncePerRealSecond) {
  VoyageRig r;
  r.vs.booster_seconds = 15;
  r.Frame();  // the first frame starts the first second
  EXPECT_EQ(r.vs.booster_seconds, 14);
  r.Frames(9);  // up to 900 ms
  EXPECT_EQ(r.vs.booster_seconds, 14);
  r.Frames(2);  // 1100 ms
  EXPECT_EQ(r.vs.booster_seconds, 13);

  // Polled every 5 ms, as the window's timer does, for two more seconds and a half.
  for (int t = 0; t < 500; ++t) {
    r.fake.clock.AdvanceMs(5);
    r.voyage.Timer1Timer();
  }
  EXPECT_EQ(r.vs.booster_seconds, 11);

  r.vs.booster_seconds = 0;
  r.Frames(30);
  EXPECT_EQ(r.vs.booster_seconds, 0);
}

TEST(FrameGate, BlinkCounterWrapsFrom999To0) {
  VoyageRig r;
  r.vs.blink_counter = 997;
  std::vector<int> seen;
  r.hooks.on_instruments = [&] { seen.push_back(r.vs.blink_counter); };
  r.Frames(4);
  EXPECT_EQ(seen, (std::vector<int>{998, 999, 0, 1}));
}

TEST(FrameGate, HiddenWindowRunsNoFrame) {
  VoyageRig r;
  r.vs.speed_forward = 5;
  r.fake.controls.SetVisible(kVoyageWindow, false);
  const auto before = Snapshot(r);
  r.Frames(3);
  EXPECT_EQ(Snapshot(r), before);
  EXPECT_EQ(r.vs.next_frame_time, 0.0);
  r.fake.controls.SetVisible(kVoyageWindow, true);
  r.Frame();
  EXPECT_EQ(r.vs.blink_counter, 1);
  EXPECT_EQ(r.hooks.calls, (std::vector<std::string>{"type", "instruments"}));
}

TEST(ChartPointScan, HighestIndexInTheSectorWinsAndUnknownPointsAreNotFound) {
  VoyageRig r;
  r.game.sector_x = 4;  // chart X -4
  r.game.sector_y = -2;
  r.game.sector_z = 9;
  r.PointHere(3, 1);
  r.PointHere(7, 2, 2);
  r.PointHere(9, 3, 0);
  r.Frame();
  EXPECT_EQ(r.vs.current_point, 7);

  r.game.point_state[7] = 0;
  r.Frame();
  EXPECT_EQ(r.vs.current_point, 3);

  // The X axis is mirrored, and Y counts although the grid has none.
  r.game.chart[3].x = 4;
  r.Frame();
  EXPECT_EQ(r.vs.current_point, -1);
  r.game.chart[3].x = -4;
  r.game.chart[3].y = -3;
  r.Frame();
  EXPECT_EQ(r.vs.current_point, -1);
}

TEST(ChartPointScan, ACometPushesTheShipAlongXAndJiggles) {
  VoyageRig r;
  r.PointHere(5, 11);
  Random predict(r.fake.random.Seed());
  r.Frame();  // the comet's roll is the first of the frame
  EXPECT_EQ(r.vs.local_x, 2);
  EXPECT_EQ(r.vs.local_y, predict.Next(3) - 1);

  std::set<int> steps;
  for (int i = 0; i < 30; ++i) {
    const int y = r.vs.local_y;
    r.Frame();
    steps.insert(r.vs.local_y - y);
  }
  EXPECT_EQ(r.vs.local_x, 62);
  EXPECT_EQ(steps, (std::set<int>{-1, 0, 1}));
}

TEST(ChartPointScan, AGravityPointPullsTheShipTowardsItsBox) {
  VoyageRig r;
  r.PointHere(5, 12);
  r.vs.local_x = 10;
  r.vs.local_y = -10;
  r.vs.local_z = 100;
  r.Frame();
  EXPECT_EQ(r.vs.local_x, 8);
  EXPECT_EQ(r.vs.local_y, -8);
  EXPECT_EQ(r.vs.local_z, 102);

  r.vs.local_x = 0;
  r.vs.local_y = 0;
  r.vs.local_z = -50;
  r.Frame();
  EXPECT_EQ(r.vs.local_x, 2);
  EXPECT_EQ(r.vs.local_y, 2);
  EXPECT_EQ(r.vs.local_z, -48);
}

struct BoxCase {
  int kind;
  int x, y, z;
  bool hit;
};

TEST(ChartPointScan, CollisionBoxIsTestedAfterTheDrift) {
  const BoxCase cases[] = {
      {1, 150, 200, 190, true}, {1, -150, -200, 250, true}, {1, 0, 0, 250, true},
      {1, 151, 0, 200, false},  {1, -151, 0, 200, false},   {1, 0, 201, 200, false},
      {1, 0, -201, 200, false}, {1, 0, 0, 189, false},      {11, 149, 0, 200, false},
      {11, -152, 0, 200, true}, {12, 0, 0, 188, true},      {12, 152, 0, 200, true},
      {12, 0, 202, 200, true},  {5, 0, 0, 200, false},      {6, 0, 0, 220, false},
      {13, 0, 0, 220, false},   {14, 0, 0, 220, false},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.kind) + " at " + std::to_string(c.x) + "," +
                 std::to_string(c.y) + "," + std::to_string(c.z));
    VoyageRig r;
    r.PointHere(0, c.kind);
    r.vs.local_x = c.x;
    r.vs.local_y = c.y;
    r.vs.local_z = c.z;
    const int drift_z = c.kind == PointKind::kGravityBody ? 2 : 0;
    r.Frame();
    if (c.hit) {
      EXPECT_EQ(r.vs.local_z, c.z + drift_z - 20);
      EXPECT_EQ(r.hooks.Count("hit"), 1);
      EXPECT_EQ(r.fake.sound.calls, (std::vector<std::string>{"cue 2 bom.wav"}));
    } else {
      EXPECT_EQ(r.vs.local_z, c.z + drift_z);
      EXPECT_EQ(r.hooks.Count("hit"), 0);
      EXPECT_TRUE(r.fake.sound.calls.empty());
    }
  }
}

// Rolls each zone's trouble for many frames: it comes now and then inside the zone's column at
// any height, and never in the next column.
TEST(Zones, ActByGridCellAtAnyHeightEvenForUnknownPoints) {
  const int zone_trouble[][2] = {
      {5, kFire}, {6, kFuelTankDamage}, {13, kMainSystemFault}, {14, kRadarFault}};
  for (const auto& [kind, trouble] : zone_trouble) {
    SCOPED_TRACE("zone kind " + std::to_string(kind));
    VoyageRig r;
    ChartPoint& p = r.game.chart[42];
    p.x = 4;
    p.y = 0;
    p.z = -3;
    p.kind = kind;
    BuildGrid(r.game);  // the point stays unknown (state 0)
    r.game.sector_x = -4;
    r.game.sector_y = 17;
    r.game.sector_z = -3;
    r.Frames(600);
    EXPECT_EQ(r.vs.current_point, -1);
    const int n = r.hooks.Count("trouble " + std::to_string(trouble));
    EXPECT_GE(n, 1);
    EXPECT_LE(n, 30);

    r.game.sector_x = -5;
    r.hooks.calls.clear();
    r.Frames(300);
    EXPECT_EQ(r.hooks.Count("trouble " + std::to_string(trouble)), 0);
  }
}

TEST(Zones, TheClearSeesLastFramesPointAndTheNoiseZoneSeesThisFrames) {
  VoyageRig r;
  r.PointHere(2, 5);       // known, but not in the grid: only the scan finds it
  r.vs.blink_counter = 3;  // next frames: 4 (pulse #550000), 5 (#440000)
  r.Frame();
  EXPECT_EQ(r.view.Pixel(10, 10), 0x000000u);
  r.Frame();
  EXPECT_EQ(r.view.Pixel(10, 10), 0x440000u);

  VoyageRig n;
  n.PointHere(2, 13);
  n.pics.noize[kNoiseInterference] = SolidPicture(8, 8, 0x111111);
  n.pics.noize[kNoiseInterference2] = SolidPicture(8, 8, 0x222222);
  n.vs.blink_counter = 3;
  n.Frame();
  const Color c = n.view.Pixel(10, 10);
  EXPECT_TRUE(c == 0x111111u || c == 0x222222u) << std::hex << c;
}

TEST(CheckCountdown, ExaminesTheCurrentPointOnceNineFramesAfterContact) {
  VoyageRig r;
  r.PointHere(6, 1);
  r.vs.check_countdown = 10;
  std::vector<int> exam_frames;
  int frame = 0;
  r.hooks.on_exam = [&](int) {
    exam_frames.push_back(frame);
    return false;
  };
  for (frame = 1; frame <= 14; ++frame)
    r.Frame();
  EXPECT_EQ(exam_frames, (std::vector<int>{9}));
  EXPECT_EQ(r.hooks.Count("exam 6"), 1);
  EXPECT_EQ(r.vs.check_countdown, 0);
}

TEST(CheckCountdown, NoExaminationWhenTheShipLeftTheSector) {
  VoyageRig r;
  r.vs.check_countdown = 10;
  r.Frames(12);
  for (const auto& c : r.hooks.calls)
    EXPECT_NE(c.rfind("exam", 0), 0u) << c;
  EXPECT_EQ(r.vs.check_countdown, 0);
}

TEST(CheckCountdown, FramesNestedInTheExaminationDoNotExamineAgain) {
  VoyageRig r;
  r.PointHere(6, 20);
  r.vs.check_countdown = 2;
  int nested = 0;
  r.hooks.on_exam = [&](int) {
    // The survey question is open. In the window its nested loop takes the timer's posted polls
    // and runs whole frames beneath it (VoyageWindow.FramesKeepRunningWhileAQuestionAskedByAFrame-
    // IsOpen shows that on the real loop); here they run through the same gate, one by one.
    for (int i = 0; i < 3; ++i, ++nested)
      r.Frame();
    return true;
  };
  r.Frame();
  EXPECT_EQ(nested, 3);
  EXPECT_EQ(r.hooks.Count("exam 6"), 1);
  EXPECT_EQ(r.hooks.Count("instruments"), 3);  // the nested frames only; the outer one ended
  EXPECT_EQ(r.vs.check_countdown, 0);
  r.Frames(5);
  EXPECT_EQ(r.hooks.Count("exam 6"), 1);
}

TEST(CheckCountdown, AnExaminationThatEndsTheFrameSkipsEverythingAfterIt) {
  VoyageRig r;
  r.PointHere(6, 21);
  r.vs.check_countdown = 2;
  r.vs.arrival_banner = 5;
  r.vs.contact_blink = 5;
  r.vs.pad_left_held = 1;
  r.vs.pad_y_left = 0;
  r.vs.pad_x = 50;
  r.pics.cont2 = SolidPicture(100, 100, 0x345678);
  r.hooks.on_exam = [](int) { return true; };
  r.Frame();
  EXPECT_EQ(r.hooks.calls, (std::vector<std::string>{"exam 6"}));
  EXPECT_EQ(r.vs.arrival_banner, 5);
  EXPECT_EQ(r.vs.contact_blink, 5);
  EXPECT_EQ(r.vs.speed_forward, 0);
  EXPECT_EQ(r.vs.local_z, 0);
  EXPECT_EQ(r.pad.Pixel(5, 5), kBlack);  // no cockpit overlay

  r.Frame();  // the next frame is whole again
  EXPECT_EQ(r.vs.speed_forward, 10);
  EXPECT_EQ(r.pad.Pixel(5, 5), 0x345678u);
}

TEST(FrameOrder, EachStepSeesWhatTheStepsBeforeItLeft) {
  VoyageRig r;
  r.PointHere(8, 1);
  r.vs.local_z = 200;  // inside the collision box
  r.vs.check_countdown = 2;
  r.vs.noise_countdown = 3;
  r.vs.arrival_banner = 3;
  r.vs.contact_blink = 3;
  r.vs.pad_left_held = 1;
  r.vs.pad_y_left = 0;
  r.vs.pad_x = 50;
  std::vector<std::vector<int>> at;
  auto snap = [&] {
    at.push_back({r.vs.current_point, r.vs.local_z, r.vs.check_countdown, r.vs.noise_countdown,
                  r.vs.arrival_banner, r.vs.contact_blink, r.vs.speed_forward});
  };
  r.hooks.on_hit = snap;
  r.hooks.on_exam = [&](int) {
    snap();
    return false;
  };
  r.hooks.on_type = snap;
  r.hooks.on_instruments = snap;
  r.Frame();
  EXPECT_EQ(r.hooks.calls, (std::vector<std::string>{"hit", "exam 8", "type", "instruments"}));
  ASSERT_EQ(at.size(), 4u);
  EXPECT_EQ(at[0], (std::vector<int>{8, 180, 2, 3, 3, 3, 0}));   // collision, before contact
  EXPECT_EQ(at[1], (std::vector<int>{8, 180, 1, 3, 3, 3, 0}));   // arrival, before the shake
  EXPECT_EQ(at[2], (std::vector<int>{8, 180, 1, 2, 3, 3, 0}));   // typewriter after the shake
  EXPECT_EQ(at[3], (std::vector<int>{8, 190, 1, 2, 2, 2, 10}));  // instruments after the move
  EXPECT_FALSE(r.fake.controls.IsVisible("contact_b"));          // 2 is even: hidden
  r.Frame();
  EXPECT_TRUE(r.fake.controls.IsVisible("contact_b"));
}

TEST(FrameOrder, InstrumentsFollowTheFrameInWhichTheLogOnEnds) {
  VoyageRig r;
  r.vs.logon_step = 43;
  std::vector<int> steps;
  r.hooks.on_instruments = [&] { steps.push_back(r.vs.logon_step); };
  r.Frame();
  r.Frame();
  EXPECT_EQ(r.vs.logon_step, 45);
  EXPECT_TRUE(steps.empty());
  r.Frames(3);
  EXPECT_EQ(steps, (std::vector<int>{45, 45, 45}));
}

TEST(FrameEffects, FlashesBannerBlinksAndTheEndOfVoyageNoise) {
  VoyageRig r;
  r.pics.noize[kNoiseSignalLost] = SolidPicture(4, 4, 0x0000A0);
  r.pics.noize[kNoiseSignalLost2] = SolidPicture(4, 4, 0x0000B0);
  r.pics.noize[5] = SolidPicture(4, 4, 0x0000C0);
  r.pics.noize[6] = SolidPicture(4, 4, 0x0000D0);

  r.vs.check_countdown = 5;  // no point here: the flash runs but nothing is examined
  r.vs.blink_counter = 1;    // frame 2: even
  r.Frame();
  EXPECT_EQ(r.view.Pixel(0, 0), 0x0000C0u);
  EXPECT_EQ(r.view.Pixel(399, 299), 0x0000C0u);
  r.Frame();  // odd
  EXPECT_EQ(r.view.Pixel(0, 0), kBlack);
  EXPECT_EQ(r.vs.check_countdown, 3);

  r.vs.check_countdown = 0;
  r.vs.arrival_banner = 4;
  r.Frame();  // even
  EXPECT_EQ(r.view.Pixel(110, 120), 0x0000D0u);
  EXPECT_EQ(r.view.Pixel(289, 179), 0x0000D0u);
  EXPECT_EQ(r.view.Pixel(109, 120), kBlack);
  EXPECT_EQ(r.view.Pixel(290, 150), kBlack);
  EXPECT_EQ(r.view.Pixel(200, 180), kBlack);
  EXPECT_EQ(r.vs.arrival_banner, 3);

  r.vs.arrival_banner = 0;
  r.vs.chart_blink = 10;
  r.Frame();
  EXPECT_TRUE(r.fake.controls.IsVisible("u_map_b"));  // 9
  r.Frame();
  EXPECT_FALSE(r.fake.controls.IsVisible("u_map_b"));  // 8

  r.game.voyage_over = 1;
  r.Frame();  // blink 7: odd
  EXPECT_EQ(r.view.Pixel(200, 150), 0x0000B0u);
  r.Frame();
  EXPECT_EQ(r.view.Pixel(200, 150), 0x0000A0u);
}

TEST(FrameEffects, TheShakeShiftsTheViewUpAndLeftByRandomAmounts) {
  VoyageRig r;
  // Every pixel names its own place, so the shift can be read back.
  Surface pattern(kViewWidth, kViewHeight);
  for (int y = 0; y < kViewHeight; ++y) {
    for (int x = 0; x < kViewWidth; ++x)
      pattern.SetPixel(x, y, static_cast<Color>(x << 12 | y));
  }
  r.pics.noize[5] = pattern;
  r.vs.check_countdown = 5;
  r.vs.blink_counter = 1;
  r.vs.noise_countdown = 10;
  // A seed whose two shake rolls are both above 0.
  std::uint32_t seed = 1;
  for (;; ++seed) {
    Random probe(seed);
    if (probe.Next(10) > 0 && probe.Next(10) > 0) break;
  }
  r.fake.random.SetSeed(seed);
  Random predict(seed);
  const int a = predict.Next(10);
  const int b = predict.Next(10);
  r.Frame();
  EXPECT_EQ(r.vs.noise_countdown, 9);
  EXPECT_EQ(r.view.Pixel(0, 0), static_cast<Color>(a << 12 | b));
  EXPECT_EQ(r.view.Pixel(100, 50), static_cast<Color>((100 + a) << 12 | (50 + b)));
  // The strip the shift uncovers keeps the picture as it was.
  EXPECT_EQ(r.view.Pixel(399, 299), static_cast<Color>(399 << 12 | 299));
}

}  // namespace
}  // namespace qm
