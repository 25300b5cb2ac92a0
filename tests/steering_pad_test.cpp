#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "platform/cp932.h"
#include "voyage_rig.h"

namespace qm {
namespace {

using testing::SolidPicture;
using testing::VoyageRig;
using Calls = std::vector<std::string>;

// The channel "e.wav" goes to on the next press: 0 or 3 by a coin toss.
std::string PressCue(const VoyageRig& r) {
  Random p(r.fake.random.Seed());
  return p.Next(2) == 0 ? "cue 0 e.wav" : "cue 3 e.wav";
}

TEST(PadPress, LeftAndRightButtonsTakeThePointer) {
  VoyageRig r;
  std::set<std::string> cues;
  for (int i = 0; i < 8; ++i) {
    const std::string cue = PressCue(r);
    r.fake.sound.calls.clear();
    r.voyage.contMouseDown(MouseButton::kLeft, 30, 70);
    EXPECT_EQ(r.fake.sound.calls, Calls{cue});
    cues.insert(cue);
  }
  EXPECT_EQ(cues.size(), 2u);  // both channels are used
  EXPECT_EQ(r.vs.pad_left_held, 1);
  EXPECT_EQ(r.vs.pad_x, 70);
  EXPECT_EQ(r.vs.pad_y_left, 70);
  EXPECT_EQ(r.vs.pad_right_held, 0);

  r.voyage.contMouseDown(MouseButton::kRight, 90, 5);
  EXPECT_EQ(r.vs.pad_right_held, 1);
  EXPECT_EQ(r.vs.pad_x, 10);
  EXPECT_EQ(r.vs.pad_y_right, 5);
  EXPECT_EQ(r.vs.pad_y_left, 70);
}

TEST(PadPress, PointerAtTheCentreChangesNoSpeed) {
  VoyageRig r;
  r.voyage.contMouseDown(MouseButton::kLeft, 50, 50);
  r.voyage.contMouseDown(MouseButton::kRight, 50, 50);
  r.Frames(3);
  EXPECT_EQ(r.vs.speed_forward, 0);
  EXPECT_EQ(r.vs.speed_side, 0);
  EXPECT_EQ(r.vs.speed_up, 0);
}

TEST(PadPress, MiddleButtonClicksButDoesNotSteer) {
  VoyageRig r;
  r.vs.pad_x = 33;
  const std::string cue = PressCue(r);
  r.voyage.contMouseDown(MouseButton::kMiddle, 0, 0);
  EXPECT_EQ(r.fake.sound.calls, Calls{cue});
  EXPECT_EQ(r.vs.pad_left_held, 0);
  EXPECT_EQ(r.vs.pad_right_held, 0);
  EXPECT_EQ(r.vs.pad_x, 33);
  r.Frame();
  EXPECT_EQ(r.vs.speed_forward, 0);
  EXPECT_EQ(r.vs.speed_side, 0);
}

TEST(PadMove, FollowsTheLeftButtonFirst) {
  VoyageRig r;
  r.voyage.contMouseMove(10, 10);  // no button: nothing
  EXPECT_EQ(r.vs.pad_x, 0);
  EXPECT_EQ(r.vs.pad_y_left, 0);

  r.voyage.contMouseDown(MouseButton::kRight, 50, 50);
  r.voyage.contMouseMove(20, 80);
  EXPECT_EQ(r.vs.pad_x, 80);
  EXPECT_EQ(r.vs.pad_y_right, 80);

  r.voyage.contMouseDown(MouseButton::kLeft, 50, 50);
  r.voyage.contMouseMove(70, 10);
  EXPECT_EQ(r.vs.pad_x, 30);
  EXPECT_EQ(r.vs.pad_y_left, 10);
  EXPECT_EQ(r.vs.pad_y_right, 80);  // both held: only the left values move
}

TEST(PadRelease, AlwaysClicksAndEndsBothButtons) {
  VoyageRig r;
  r.voyage.contMouseUp();  // nothing was steering
  EXPECT_EQ(r.fake.sound.calls, Calls{"cue 2 e2.wav"});

  r.voyage.contMouseDown(MouseButton::kLeft, 50, 0);
  r.voyage.contMouseDown(MouseButton::kRight, 50, 0);
  r.fake.sound.calls.clear();
  r.voyage.contMouseUp();
  EXPECT_EQ(r.fake.sound.calls, Calls{"cue 2 e2.wav"});
  EXPECT_EQ(r.vs.pad_left_held, 0);
  EXPECT_EQ(r.vs.pad_right_held, 0);
}

TEST(PadRelease, AfterTheVoyageEndsOnlyTheReleaseStillWorks) {
  VoyageRig r;
  r.voyage.contMouseDown(MouseButton::kLeft, 40, 60);
  r.game.voyage_over = 1;
  r.fake.sound.calls.clear();
  const auto seed = r.fake.random.Seed();

  r.voyage.contMouseDown(MouseButton::kRight, 0, 0);
  r.voyage.contMouseMove(0, 0);
  EXPECT_TRUE(r.fake.sound.calls.empty());
  EXPECT_EQ(r.fake.random.Seed(), seed);
  EXPECT_EQ(r.vs.pad_right_held, 0);
  EXPECT_EQ(r.vs.pad_x, 60);
  EXPECT_EQ(r.vs.pad_y_left, 60);

  r.voyage.contMouseUp();
  EXPECT_EQ(r.fake.sound.calls, Calls{"cue 2 e2.wav"});
  EXPECT_EQ(r.vs.pad_left_held, 0);
}

TEST(PadSteering, APointerAboveThePadIsUsedUnclamped) {
  VoyageRig r;
  r.voyage.contMouseDown(MouseButton::kLeft, 50, -100);
  r.voyage.Steering();
  EXPECT_EQ(r.vs.speed_forward, 30);

  r.vs.speed_forward = 0;
  r.vs.booster_seconds = 15;  // a limit of 40 lets the whole push through
  r.Frame();
  EXPECT_EQ(r.vs.speed_forward, 30);

  r.vs.speed_forward = 0;
  r.vs.booster_seconds = 0;
  r.Frame();
  EXPECT_GE(r.vs.speed_forward, 10);
  EXPECT_LE(r.vs.speed_forward, 19);
}

const std::string kBoosterQuestion =
    Sj("資源を 2t使って、エンジンブースターを15sec.起動できます。") + "\r" + Sj("起動しますか？");

TEST(Booster, RefusedWithOneTonneOrWhileRunning) {
  VoyageRig r;
  r.game.resources = 1;
  r.voyage.speed_lMouseDown();
  r.game.resources = 10;
  r.vs.booster_seconds = 1;
  r.voyage.speed_lMouseDown();
  EXPECT_TRUE(r.fake.sound.calls.empty());
  EXPECT_TRUE(r.fake.dialogs.asked.empty());
  EXPECT_EQ(r.game.resources, 10);
  EXPECT_EQ(r.vs.booster_seconds, 1);
}

TEST(Booster, AcceptedSpendsTwoTonnesForFifteenSeconds) {
  VoyageRig r;
  r.game.resources = 2;
  r.fake.dialogs.answers = {true};
  r.voyage.speed_lMouseDown();
  EXPECT_EQ(r.fake.dialogs.asked, Calls{kBoosterQuestion});
  EXPECT_EQ(r.fake.sound.calls, (Calls{"click", "cue 0 booster.wav"}));
  EXPECT_EQ(r.vs.booster_seconds, 15);
  EXPECT_EQ(r.game.resources, 0);
}

TEST(Booster, DeclinedCostsNothingAndClicksTwice) {
  VoyageRig r;
  r.game.resources = 5;
  r.fake.dialogs.answers = {false};
  r.voyage.speed_lMouseDown();
  EXPECT_EQ(r.fake.dialogs.asked, Calls{kBoosterQuestion});
  EXPECT_EQ(r.fake.sound.calls, (Calls{"click", "click"}));
  EXPECT_EQ(r.vs.booster_seconds, 0);
  EXPECT_EQ(r.game.resources, 5);
}

class PadDots : public ::testing::Test {
 protected:
  void SetUp() override {
    r.pics.cont = SolidPicture(100, 100, kIdle);
    r.pics.cont2 = SolidPicture(100, 100, kPressed);
  }
  // Draws the overlay and returns the two radii the overlay will roll (before limits).
  std::pair<int, int> Draw() {
    Random p(r.fake.random.Seed());
    const int ra = p.Next(3);
    const int rb = p.Next(3);
    r.voyage.DrawCockpitOverlay();
    return {ra, rb};
  }
  // A dot of radius k about (cx, cy) covers [cx - k, cx + k - 1] on the row above the centre
  // and [cy - k, cy + k - 1] on the column left of the centre.
  void ExpectDot(int cx, int cy, int k, Color c) {
    // Off the pad there is nothing to see.
    auto is = [&](int x, int y, bool want) {
      if (x < 0 || x >= 100 || y < 0 || y >= 100) return;
      EXPECT_EQ(r.pad.Pixel(x, y) == c, want) << x << "," << y;
    };
    is(cx - k, cy - 1, true);
    is(cx + k - 1, cy - 1, true);
    is(cx - k - 1, cy - 1, false);
    is(cx + k, cy - 1, false);
    is(cx - 1, cy - k, true);
    is(cx - 1, cy + k - 1, true);
    is(cx - 1, cy - k - 1, false);
    is(cx - 1, cy + k, false);
  }

  static constexpr Color kIdle = 0x101010;
  static constexpr Color kPressed = 0x202020;
  VoyageRig r;
};

TEST_F(PadDots, HeldButtonsGrowTheDotsWithPointerAndSpeed) {
  const Color blue[3] = {0x0080FF, 0x77BBFF, 0x00348A};
  const Color pink[3] = {0xFF0080, 0xFF75BA, 0x97004B};
  r.vs.pad_left_held = r.vs.pad_right_held = 1;
  r.vs.pad_y_right = 110;  // 60 from the centre: +4
  r.vs.speed_up = 30;
  r.vs.speed_side = -20;
  r.vs.speed_forward = 25;  // 45 in all: +4
  for (int blink = 0; blink < 3; ++blink) {
    SCOPED_TRACE(blink);
    r.vs.blink_counter = blink;
    const auto [ra, rb] = Draw();
    EXPECT_EQ(r.pad.Pixel(5, 5), kPressed);
    ExpectDot(50, 20, ra + 4, blue[blink]);
    ExpectDot(70, 25, rb + 4, pink[blink]);
  }
}

TEST_F(PadDots, EachDotFollowsItsOwnButton) {
  r.vs.pad_y_right = 10;  // 40 from the centre: +3
  r.vs.speed_side = 30;   // 30 in all: +3
  r.vs.blink_counter = 0;
  r.vs.pad_left_held = 1;
  auto [ra, rb] = Draw();
  ExpectDot(50, 50, 1, 0x0080FF);
  ExpectDot(20, 50, rb + 3, 0xFF0080);

  r.vs.pad_left_held = 0;
  r.vs.pad_right_held = 1;
  std::tie(ra, rb) = Draw();
  ExpectDot(50, 50, ra + 3, 0x0080FF);
  ExpectDot(20, 50, 1, 0xFF0080);
}

TEST_F(PadDots, DotsStayOnThePadAndStopAtRadius20) {
  r.vs.pad_left_held = r.vs.pad_right_held = 1;
  r.vs.pad_y_right = 50 + 13 * 30;
  r.vs.speed_forward = -45;  // the pink dot out of the way, low on the pad
  r.vs.blink_counter = 0;
  Draw();
  ExpectDot(50, 50, 20, 0x0080FF);

  r.vs.speed_up = -80;
  r.vs.speed_side = 60;
  r.vs.speed_forward = -70;
  const auto [ra, rb] = Draw();
  ExpectDot(50, 100, 20, 0x0080FF);
  // (0, 100), radius 13 and up: only its right half is on the pad.
  EXPECT_EQ(r.pad.Pixel(0, 99), 0xFF0080u);
  EXPECT_EQ(r.pad.Pixel(12 + rb, 99), 0xFF0080u);
  EXPECT_NE(r.pad.Pixel(13 + rb, 99), 0xFF0080u);
  EXPECT_EQ(r.pad.Pixel(0, 100 - 13 - rb), 0xFF0080u);
  EXPECT_NE(r.pad.Pixel(0, 99 - 13 - rb), 0xFF0080u);
  (void)ra;
}

TEST_F(PadDots, ReleasedButtonsShrinkTheDotsToOnePixelRadius) {
  r.vs.pad_y_right = 115;
  r.vs.speed_up = 30;
  r.vs.speed_side = -20;
  r.vs.speed_forward = 25;
  r.vs.blink_counter = 2;
  Draw();
  EXPECT_EQ(r.pad.Pixel(5, 5), kIdle);
  ExpectDot(50, 20, 1, 0x00348A);
  EXPECT_EQ(r.pad.Pixel(50, 21), kIdle);
  ExpectDot(70, 25, 1, 0x97004B);
  EXPECT_EQ(r.pad.Pixel(70, 26), kIdle);
}

TEST_F(PadDots, TheCockpitFrameIsLaidOverTheViewWithItsKeyColour) {
  Surface gamen(4, 4, 0xFF00FF);
  gamen.SetPixel(0, 0, 0x445566);
  gamen.SetTransparent(true);
  r.pics.gamen = gamen;
  r.view.SetBrushColor(0x010203);
  r.view.SetPenColor(0x010203);
  r.view.FillRect(0, 0, 400, 300);
  Draw();
  EXPECT_EQ(r.view.Pixel(0, 0), 0x445566u);
  EXPECT_EQ(r.view.Pixel(99, 74), 0x445566u);
  EXPECT_EQ(r.view.Pixel(100, 74), 0x010203u);
  EXPECT_EQ(r.view.Pixel(99, 75), 0x010203u);
  EXPECT_EQ(r.view.Pixel(399, 299), 0x010203u);
}

}  // namespace
}  // namespace qm
