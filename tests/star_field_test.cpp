#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>

#include "voyage_rig.h"

namespace qm {
namespace {

using testing::SolidPicture;
using testing::VoyageRig;

Star& Place(VoyageRig& r, int x, int y, int radius, int motion = 4) {
  Star& s = r.vs.stars[0];
  s.x = x;
  s.y = y;
  s.radius = radius;
  s.motion = motion;
  s.drawn = 1;
  return s;
}

TEST(InitStars, PlacesEveryStarInTheViewSmallAndVaried) {
  VoyageRig r;
  r.vs.stars[7].vx = 5;
  r.voyage.InitStars();
  std::set<int> radii, motions;
  int left = 0, right = 0;
  for (const Star& s : r.vs.stars) {
    EXPECT_GE(s.x, 0);
    EXPECT_LT(s.x, 400);
    EXPECT_GE(s.y, 0);
    EXPECT_LT(s.y, 300);
    EXPECT_EQ(s.drawn, 1);
    EXPECT_EQ(s.vx | s.vy | s.vz, 0);
    radii.insert(s.radius);
    motions.insert(s.motion);
    (s.x < 200 ? left : right)++;
  }
  EXPECT_EQ(radii, (std::set<int>{1, 2}));
  EXPECT_EQ(motions, (std::set<int>{0, 1, 2, 3, 4}));
  EXPECT_GT(left, 150);
  EXPECT_GT(right, 150);
}

TEST(StarStep, StandingStillStarsStayAndAreRedrawnInPlace) {
  VoyageRig r;
  r.voyage.InitStars();
  const auto before = r.vs.stars;
  r.vs.blink_counter = 4;
  r.Frames(6);
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(r.vs.stars[i].x, before[i].x);
    EXPECT_EQ(r.vs.stars[i].y, before[i].y);
    EXPECT_EQ(r.vs.stars[i].radius, before[i].radius);
  }
  // Radius 1 and 2 both cover the pixel up and left of the centre.
  const Star& s = r.vs.stars[0];
  EXPECT_NE(r.view.Pixel(s.x - 1, s.y - 1), kBlack);
}

TEST(StarStep, AStarIsAGreyDiscWithADarkerRim) {
  VoyageRig r;
  Place(r, 100, 100, 2);
  r.voyage.StarStep();
  EXPECT_EQ(r.view.Pixel(98, 99), 0x808080u);  // rim, left end of the row above the centre
  EXPECT_EQ(r.view.Pixel(99, 99), 0xC0C0C0u);  // inside
  EXPECT_EQ(r.view.Pixel(97, 99), kBlack);
  r.vs.stars[0].drawn = 0;
  r.view.SetPixel(99, 99, kBlack);
  r.voyage.StarStep();
  EXPECT_EQ(r.view.Pixel(99, 99), kBlack);
}

TEST(StarStep, SidewaysDriftScalesWithTheRadius) {
  VoyageRig r;
  Star& s = Place(r, 100, 100, 3);
  r.vs.speed_side = 2;
  r.vs.speed_up = -1;
  r.voyage.StarStep();
  EXPECT_EQ(s.x, 106);
  EXPECT_EQ(s.y, 97);
  EXPECT_EQ(s.vx, 2);
  EXPECT_EQ(s.vy, -1);
  EXPECT_EQ(s.vz, 0);
}

TEST(StarStep, FlyingForwardAStarPastTheEdgeIsRespawnedAtTheCentre) {
  for (int speed : {3, 19}) {
    SCOPED_TRACE(speed);
    VoyageRig r;
    Star& s = Place(r, 460, 100, 7, 0);
    r.vs.speed_forward = speed;
    Random predict(r.fake.random.Seed());
    const int m = std::max(speed, 5);
    const int x0 = 200 - m / 2 + predict.Next(m + 1);
    const int y0 = 150 - m / 2 + predict.Next(m + 1);
    const int motion = predict.Next(5);
    r.voyage.StarStep();
    EXPECT_EQ(s.motion, motion);
    // Reborn with radius 1, grown at once when it lands on a growth line.
    const bool grows = (x0 % 50 == 0 || y0 % 40 == 0) && x0 != 200 && y0 != 200;
    EXPECT_EQ(s.radius, grows ? 2 : 1);
    // Then the first outward step of its new pattern, from the respawn point: S = speed times
    // radius, and the step S times the radius again.
    const int step = speed * s.radius * s.radius;
    const int a = motion == 1 ? step / 5 : motion == 3 ? step / 2 : step;
    const int b = motion == 0 ? step / 5 : motion == 2 ? step / 2 : step;
    EXPECT_EQ(s.x, x0 > 200 ? x0 + a : x0 - a);
    EXPECT_EQ(s.y, y0 > 150 ? y0 + b : y0 - b);
  }
}

TEST(StarStep, FlyingForwardTheCentreLineCountsAsLeftAndUp) {
  VoyageRig r;
  r.vs.speed_forward = 2;
  Star& s = Place(r, 200, 150, 1);
  r.voyage.StarStep();
  EXPECT_EQ(s.x, 198);
  EXPECT_EQ(s.y, 148);
  EXPECT_EQ(s.radius, 1);  // x = 200 never grows

  Place(r, 201, 151, 1);
  r.voyage.StarStep();
  EXPECT_EQ(s.x, 203);
  EXPECT_EQ(s.y, 153);
}

// Speed 2 and radius 3 off every growth line: S = 6, S x r = 18, (S x r) div 5 = 3, div 2 = 9.
TEST(StarStep, TheFivePatternsStepByTheSpeedTimesTheRadiusSquared) {
  struct Case {
    int motion, x, y;
  };
  for (const Case& c : {Case{0, 319, 204}, Case{1, 304, 219}, Case{2, 319, 210}, Case{3, 310, 219},
                        Case{4, 319, 219}}) {
    SCOPED_TRACE(c.motion);
    VoyageRig r;
    r.vs.speed_forward = 2;
    Star& s = Place(r, 301, 201, 3, c.motion);
    r.voyage.StarStep();
    EXPECT_EQ(s.radius, 3);
    EXPECT_EQ(s.x, c.x);
    EXPECT_EQ(s.y, c.y);
  }
  // Backwards the steps are negative and truncate towards zero: -18, -3.
  VoyageRig r;
  r.vs.speed_forward = -2;
  r.vs.blink_counter = 1;
  Star& s = Place(r, 301, 201, 3, 0);
  r.voyage.StarStep();
  EXPECT_EQ(s.x, 283);
  EXPECT_EQ(s.y, 198);
}

TEST(StarStep, FlyingForwardStarsGrowOnTheFiftyAndFortyLines) {
  VoyageRig r;
  r.vs.speed_forward = 1;
  Star& s = Place(r, 100, 77, 2, 4);
  r.voyage.StarStep();
  EXPECT_EQ(s.radius, 3);
  // S = 1 x 3 with the grown radius, and the step S x 3 = 9 (4 with the radius before growing).
  EXPECT_EQ(s.x, 91);
  EXPECT_EQ(s.y, 68);

  Place(r, 33, 80, 50, 0);
  r.voyage.StarStep();
  EXPECT_EQ(s.radius, 50);  // at most 50

  Place(r, 33, -40, 2, 0);  // the remainder keeps the sign of the dividend: -40 mod 40 = 0
  r.voyage.StarStep();
  EXPECT_EQ(s.radius, 3);

  Place(r, 100, 200, 2, 4);  // y = 200 is excluded too
  r.voyage.StarStep();
  EXPECT_EQ(s.radius, 2);

  Place(r, 101, 79, 2, 4);
  r.voyage.StarStep();
  EXPECT_EQ(s.radius, 2);
}

TEST(StarStep, FlyingBackwardStarsShrinkEveryFifthFrame) {
  VoyageRig r;
  r.vs.speed_forward = -1;
  Star& s = Place(r, 100, 80, 5, 4);
  r.vs.blink_counter = 10;
  r.voyage.StarStep();
  EXPECT_EQ(s.radius, 4);
  // S = -1 x 4, the step -4 x 4 = -16: it streams towards the centre.
  EXPECT_EQ(s.x, 116);
  EXPECT_EQ(s.y, 96);
  for (int blink = 11; blink <= 14; ++blink) {
    r.vs.blink_counter = blink;
    r.voyage.StarStep();
    EXPECT_EQ(s.radius, 4);
  }
  r.vs.blink_counter = 15;
  r.voyage.StarStep();
  EXPECT_EQ(s.radius, 3);
}

TEST(StarStep, FlyingBackwardStarsAtTheCentreOrShrunkAwayRespawnAtAnEdge) {
  VoyageRig r;
  r.vs.speed_forward = -1;
  r.vs.blink_counter = 1;
  for (size_t i = 0; i < r.vs.stars.size(); ++i) {
    Star& s = r.vs.stars[i];
    // Half of them in the (one-pixel) centre box, half shrunk to nothing elsewhere.
    s.x = i % 2 ? 200 : 60;
    s.y = i % 2 ? 150 : 70;
    s.radius = i % 2 ? 2 : 0;
    s.motion = 0;
  }
  r.voyage.StarStep();
  std::set<int> radii;
  int left = 0, right = 0, above = 0, below = 0;
  for (const Star& s : r.vs.stars) {
    radii.insert(s.radius);
    EXPECT_EQ(s.motion, 4);
    // Put beyond an edge (at least 10 pixels out), then one step of r x r (at most 16) inwards.
    EXPECT_TRUE(s.x <= 6 || s.x >= 394 || s.y <= 6 || s.y >= 294) << s.x << "," << s.y;
    left += s.x <= 6;
    right += s.x >= 394;
    above += s.y <= 6;
    below += s.y >= 294;
  }
  EXPECT_EQ(radii, (std::set<int>{3, 4}));
  EXPECT_GT(left, 0);
  EXPECT_GT(right, 0);
  EXPECT_GT(above, 0);
  EXPECT_GT(below, 0);

  // Outside the centre box a star with radius left is not respawned.
  Star& s = Place(r, 60, 70, 2, 4);
  r.voyage.StarStep();
  EXPECT_EQ(s.radius, 2);
  EXPECT_EQ(s.x, 64);  // S = -2, the step -2 x 2
}

TEST(StarStep, EdgeWrapTestsRunInOrderEachSeeingTheOneBefore) {
  struct Case {
    int x, y;
  };
  for (const Case c : {Case{460, 400}, Case{-60, 100}, Case{100, 310}, Case{100, -60}}) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    VoyageRig r;
    Star& s = Place(r, c.x, c.y, 2);
    Random p(r.fake.random.Seed());
    int x = c.x, y = c.y;
    if (x > 450) {
      x = -p.Next(400) - 10;
      y = p.Next(300);
    }
    if (x < -50) {
      x = p.Next(400) + 410;
      y = p.Next(300);
    }
    if (y > 300) {
      y = -p.Next(300) - 10;
      x = p.Next(400);
    }
    if (y < -50) {
      y = p.Next(300) + 310;
      x = p.Next(400);
    }
    r.voyage.StarStep();
    EXPECT_EQ(s.x, x);
    EXPECT_EQ(s.y, y);
    EXPECT_EQ(r.fake.random.Seed(), p.Seed());
  }
}

// The view after the clear and the asteroid step, with the ship in a zone of the kind.
void ZoneCell(VoyageRig& r, int kind) {
  ChartPoint& p = r.game.chart[30];
  p.x = 0;
  p.z = 0;
  p.kind = kind;
  BuildGrid(r.game);
}

TEST(ClearView, HotZonePulsesDarkRedOverEightFrames) {
  const Color pulse[8] = {0x000000, 0x220000, 0x330000, 0x440000,
                          0x550000, 0x440000, 0x330000, 0x220000};
  VoyageRig r;
  ZoneCell(r, 5);
  for (int blink = 0; blink < 16; ++blink) {
    r.vs.blink_counter = blink;
    r.voyage.ClearView();
    EXPECT_EQ(r.view.Pixel(200, 150), pulse[blink % 8]) << blink;
    EXPECT_EQ(r.view.Pixel(0, 0), pulse[blink % 8]) << blink;  // the outline too
  }
  VoyageRig cold;
  cold.vs.blink_counter = 4;
  cold.voyage.ClearView();
  EXPECT_EQ(cold.view.Pixel(200, 150), kBlack);
}

TEST(AsteroidView, PansAndZoomsAWindowOfTheAsteroidPicture) {
  VoyageRig r;
  ZoneCell(r, 6);
  Surface field(300, 200);
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 300; ++x)
      field.SetPixel(x, y, static_cast<Color>(x << 12 | y));
  }
  r.pics.syowaku = field;
  r.vs.local_x = 10;    // l = 100
  r.vs.local_y = 20;    // t = 50
  r.vs.local_z = -249;  // e = 1: the window just fills the view (at -250 it is skipped)
  r.voyage.AsteroidView();
  EXPECT_EQ(r.view.Pixel(0, 0), static_cast<Color>(100 << 12 | 50));
  EXPECT_EQ(r.view.Pixel(399, 299), static_cast<Color>(139 << 12 | 79));
  EXPECT_EQ(r.view.Pixel(15, 25), static_cast<Color>(101 << 12 | 52));

  r.vs.local_z = -150;  // e = 100: destination (-100,-100)-(500,400)
  r.voyage.AsteroidView();
  EXPECT_EQ(r.view.Pixel(0, 0), static_cast<Color>(106 << 12 | 56));
}

TEST(AsteroidView, SkippedWhenALocalCoordinateIsExactlyAtTheEdge) {
  for (int axis = 0; axis < 3; ++axis) {
    for (int edge : {250, -250}) {
      VoyageRig r;
      ZoneCell(r, 6);
      r.pics.syowaku = SolidPicture(400, 300, 0x123456);
      (axis == 0 ? r.vs.local_x : axis == 1 ? r.vs.local_y : r.vs.local_z) = edge;
      const auto seed = r.fake.random.Seed();
      r.voyage.AsteroidView();
      EXPECT_EQ(r.view.Pixel(200, 150), kBlack) << axis << " " << edge;
      EXPECT_EQ(r.fake.random.Seed(), seed);  // no trouble roll either
      (axis == 0 ? r.vs.local_x : axis == 1 ? r.vs.local_y : r.vs.local_z) = edge - edge / 250;
      r.voyage.AsteroidView();
      EXPECT_EQ(r.view.Pixel(200, 150), 0x123456u) << axis << " " << edge;
    }
  }
}

TEST(ZoneEffects, NoiseZoneStretchesANoisePictureEveryFourthFrame) {
  VoyageRig r;
  ZoneCell(r, 13);
  r.pics.noize[kNoiseInterference] = SolidPicture(4, 4, 0x333333);
  r.pics.noize[kNoiseInterference2] = SolidPicture(4, 4, 0x444444);
  int shown = 0;
  for (int blink = 0; blink < 40; ++blink) {
    r.vs.blink_counter = blink;
    r.voyage.ClearView();
    Random p(r.fake.random.Seed());
    p.Next(30);
    const Color want = blink % 4 ? kBlack : p.Next(2) == 0 ? 0x333333 : 0x444444;
    r.voyage.Zone13Effect();
    EXPECT_EQ(r.view.Pixel(0, 0), want) << blink;
    shown += want != kBlack;
  }
  EXPECT_EQ(shown, 10);
}

TEST(ZoneEffects, RadarZoneZoomsIntoTheMiddleOfTheView) {
  VoyageRig r;
  ZoneCell(r, 14);
  int zooms = 0;
  for (int i = 0; i < 20; ++i) {
    for (int y = 0; y < kViewHeight; ++y) {
      for (int x = 0; x < kViewWidth; ++x)
        r.view.SetPixel(x, y, static_cast<Color>(x << 12 | y));
    }
    Random p(r.fake.random.Seed());
    const int w = p.Next(150);
    const bool flash = p.Next(50) == 0;
    r.voyage.Zone14Effect();
    const Color want = flash ? kWhite : static_cast<Color>(w << 12 | w);
    EXPECT_EQ(r.view.Pixel(1, 1), want);
    EXPECT_EQ(r.view.Pixel(0, 0), flash ? r.view.PenColor() : want);
    zooms += w > 0;
  }
  EXPECT_GT(zooms, 0);
}

// Draws the chart point picture of a kind-`kind` point of half-size 40 with the ship at the local
// place given, and returns the drawn square's (left, top, right, bottom) read from the view.
std::array<int, 4> PictureBox(int kind, int lx, int ly, int lz) {
  VoyageRig r;
  r.PointHere(1, kind).size = 40;
  r.pics.bui[static_cast<size_t>(kind)] = SolidPicture(10, 10, 0xAA0000, true);
  r.vs.local_x = lx;
  r.vs.local_y = ly;
  r.vs.local_z = lz;
  r.voyage.ChartPointScan();
  std::array<int, 4> box = {9999, 9999, -9999, -9999};
  for (int y = 0; y < kViewHeight; ++y) {
    for (int x = 0; x < kViewWidth; ++x) {
      if (r.view.Pixel(x, y) != 0xAA0000u) continue;
      box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1),
             std::max(box[3], y + 1)};
    }
  }
  return box;
}

TEST(PointPicture, ShrinksBehindGrowsInFrontAndStandsByTheSidewaysOffset) {
  using Box = std::array<int, 4>;
  EXPECT_EQ(PictureBox(1, 0, 0, -100), (Box{196, 146, 204, 154}));  // 40 div 10
  EXPECT_EQ(PictureBox(1, 0, 0, -29), (Box{180, 130, 220, 170}));   // 40 div 2
  EXPECT_EQ(PictureBox(1, 0, 0, 0), (Box{160, 110, 240, 190}));
  EXPECT_EQ(PictureBox(1, 0, 0, 5), (Box{160, 110, 240, 190}));    // depth step at least 1
  EXPECT_EQ(PictureBox(1, 0, 0, 30), (Box{80, 30, 320, 270}));     // 40 times 3
  EXPECT_EQ(PictureBox(1, 30, -20, 0), (Box{190, 90, 270, 170}));  // the place follows x and y
  EXPECT_EQ(PictureBox(1, 0, 0, -250)[2] - PictureBox(1, 0, 0, -250)[0], 2);  // 40 div 25
  // A gravity point: place and depth step from before its pull, the side from after it.
  EXPECT_EQ(PictureBox(12, 10, 0, 19), (Box{170, 110, 250, 190}));
  // Kinds without a picture draw nothing.
  EXPECT_EQ(PictureBox(5, 0, 0, 0)[0], 9999);
}

TEST(PointPicture, AHugeSizeFromADamagedChartStillCoversTheView) {
  VoyageRig r;
  r.PointHere(1, 1).size = 1000000000;
  r.pics.bui[1] = SolidPicture(10, 10, 0xAA0000, true);
  r.vs.local_z = 30;  // three times the size: beyond 32 bits
  r.voyage.ChartPointScan();
  EXPECT_EQ(r.view.Pixel(0, 0), 0xAA0000u);
  EXPECT_EQ(r.view.Pixel(399, 299), 0xAA0000u);
}

TEST(ChartOverlay, AVisitedPointFarOutsideSpaceIsNotDrawnOnTheChart) {
  VoyageRig r;
  ChartPoint& p = r.game.chart[4];
  p.x = 1073741774;  // four times this wraps around to -200 in 32 bits
  p.z = 0;
  p.kind = 1;
  r.game.point_state[4] = 2;
  r.voyage.ChartOverlay();
  for (int y = 140; y < 160; ++y) {
    for (int x = 0; x < 10; ++x)
      EXPECT_NE(r.view.Pixel(x, y), kAqua) << x << "," << y;
  }
}

// The view pixel on the left outline of the chart dot at chart X, Z; and one inside it.
Color DotOutline(const VoyageRig& r, int x, int z) {
  return r.view.Pixel(198 + 4 * x, 149 - 4 * z);
}
Color DotInside(const VoyageRig& r, int x, int z) {
  return r.view.Pixel(200 + 4 * x, 150 - 4 * z);
}

TEST(ChartOverlay, VisitedPointsShowInTheirKindsColours) {
  VoyageRig r;
  for (int kind = kFirstPointKind; kind <= kLastPointKind; ++kind) {
    ChartPoint& p = r.game.chart[static_cast<size_t>(kind)];
    p.x = kind - 11;  // -10..11 along X
    p.z = kind % 2 ? 5 : -6;
    p.kind = kind;
    r.game.point_state[static_cast<size_t>(kind)] = 2;
  }
  ChartPoint& known = r.game.chart[40];  // known but never visited
  known.x = 0;
  known.z = 12;
  known.kind = 1;
  r.game.point_state[40] = 1;
  r.vs.blink_counter = 1;
  r.voyage.ChartOverlay();

  for (int kind = kFirstPointKind; kind <= kLastPointKind; ++kind) {
    const ChartPoint& p = r.game.chart[static_cast<size_t>(kind)];
    using enum PointKind;
    auto among = [kind](std::initializer_list<PointKind> kinds) {
      return std::find(kinds.begin(), kinds.end(), static_cast<PointKind>(kind)) != kinds.end();
    };
    Color want = kBlack;
    if (among({kAltairBuoy, kVegaBuoy, kRepairDock, kEnergyStation, kSurveyBuoy, kDistressBuoy,
               kRelayBuoy, kWarp}))
      want = kAqua;
    if (among({kAsteroidBelt, kSupplyPoint, kSmallPlanet, kMediumPlanet, kLargePlanet}))
      want = kGreen;
    if (among({kSpecialPlanet})) want = 0xFF0000;
    EXPECT_EQ(DotOutline(r, p.x, p.z), want) << "kind " << kind;
  }
  EXPECT_EQ(DotOutline(r, 0, 12), kBlack);
  // Dots are filled black, over the grid line that runs through the centre.
  EXPECT_EQ(DotInside(r, r.game.chart[1].x, r.game.chart[1].z), kBlack);
}

TEST(ChartOverlay, GridFrameAndTheBlinkingShip) {
  VoyageRig r;
  r.game.sector_x = 3;  // chart X -3
  r.game.sector_z = 2;
  r.vs.blink_counter = 1;
  r.voyage.ChartOverlay();
  EXPECT_EQ(r.view.Pixel(96, 100), 0x003300u);  // i = 2
  EXPECT_EQ(r.view.Pixel(88, 100), 0x008000u);  // i = 1
  EXPECT_EQ(r.view.Pixel(96, 38), 0x008000u);   // the bright lines are drawn last
  EXPECT_EQ(r.view.Pixel(80, 100), kGreen);     // frame
  EXPECT_EQ(r.view.Pixel(319, 269), kGreen);
  EXPECT_EQ(r.view.Pixel(85, 35), kBlack);  // the frame is not filled
  EXPECT_EQ(r.view.Pixel(321, 100), kBlack);
  EXPECT_NE(r.view.Pixel(188, 142), 0xFFFF00u);  // odd frame: no ship

  r.vs.blink_counter = 2;
  r.voyage.ChartOverlay();
  EXPECT_EQ(r.view.Pixel(188, 142), 0xFFFF00u);  // centre of (186,140)-(190,144)
  EXPECT_EQ(r.view.Pixel(186, 141), 0xFFFF00u);
  EXPECT_FALSE(r.view.BrushClear());
}

// The zones' trouble rolls, over many frames of a seeded generator: the share of frames that raise
// the trouble must lie close to the zone's 1 in N (1 in 80 where 1 in 100 is meant, or the other
// way round, falls outside).
TEST(ZoneTroubles, EachZoneRaisesItsTroubleAtItsOwnRate) {
  struct Zone {
    int kind, trouble, one_in;
  };
  for (const Zone& z : {Zone{5, 4, 100}, Zone{6, 5, 100}, Zone{13, 6, 80}, Zone{14, 9, 80}}) {
    SCOPED_TRACE(z.kind);
    VoyageRig r;
    r.game.sector_grid[kGridSize / 2][kGridSize / 2] = static_cast<std::uint8_t>(z.kind);
    r.pics.syowaku = SolidPicture(40, 30, 0x808080);
    constexpr int kFrames = 20000;
    for (int i = 0; i < kFrames; ++i) {
      r.vs.blink_counter = i % 1000;
      r.voyage.ClearView();
      r.voyage.AsteroidView();
      r.voyage.Zone13Effect();
      r.voyage.Zone14Effect();
    }
    const double expected = static_cast<double>(kFrames) / z.one_in;
    const int raised = r.hooks.Count("trouble " + std::to_string(z.trouble));
    EXPECT_GT(raised, expected * 0.85);
    EXPECT_LT(raised, expected * 1.15);
    EXPECT_EQ(static_cast<int>(r.hooks.calls.size()), raised);  // no other zone's trouble
  }
}

}  // namespace
}  // namespace qm
