#include <gtest/gtest.h>

#include <QImage>

#include "platform/cp932.h"
#include "voyage_rig.h"

namespace qm {
namespace {

// A voyage window just opened: the log-on has not begun.
struct VoyageRig : testing::VoyageRig {
  VoyageRig() { vs.logon_step = 0; }
};

constexpr Color kFade[9] = {0,        0x001100, 0x003300, 0x005500, 0x007700,
                            0x009900, 0x00BB00, 0x00DD00, 0x00FF00};

// Runs log-on steps until `logon_step` is `step`.
void StepTo(VoyageRig& r, int step) {
  while (r.vs.logon_step < step)
    r.voyage.LogonStep();
}

// One line of the log-on screen written alone on a plain background, as the screen's font does.
Surface Written(int x, int y, const std::string& text, Color background) {
  Surface s(kViewWidth, kViewHeight, background);
  s.SetFontColor(kBlack);
  s.SetFontSize(10);
  s.SetFontStyle(true, true);
  s.SetBrushColor(background);
  s.TextOut(x, y, text);
  return s;
}

// True when rows [top, bottom) of the two pictures are the same inside the screen's outline.
bool RowsMatch(const Surface& a, const Surface& b, int top, int bottom) {
  for (int y = top; y < bottom; ++y) {
    for (int x = 1; x < kViewWidth - 1; ++x) {
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
    }
  }
  return true;
}

TEST(LogonScreen, FadesInToGreenOverEightFramesOutlinedWithTheViewsPen) {
  for (int step = 1; step <= 12; ++step) {
    SCOPED_TRACE(step);
    VoyageRig r;
    r.vs.logon_step = step - 1;
    r.view.SetPenColor(0x0A0B0C);
    r.voyage.LogonStep();
    EXPECT_EQ(r.vs.logon_step, step);
    EXPECT_EQ(r.view.Pixel(390, 290), kFade[std::min(step, 8)]);
    EXPECT_EQ(r.view.Pixel(0, 0), 0x0A0B0Cu);
    EXPECT_EQ(r.view.Pixel(399, 150), 0x0A0B0Cu);
  }
}

TEST(LogonScreen, PlaysTheLogOnSoundOnceAtStep31) {
  VoyageRig r;
  for (int step = 1; step <= kLogonFrames; ++step) {
    r.voyage.LogonStep();
    EXPECT_EQ(r.fake.sound.calls.size(), step < 31 ? 0u : 1u) << step;
  }
  EXPECT_EQ(r.fake.sound.calls, std::vector<std::string>{"cue 2 logon.wav"});
}

TEST(LogonScreen, TheTitleIsCentredAtRow100) {
  VoyageRig r;
  StepTo(r, 3);
  Surface probe(1, 1);
  probe.SetFontSize(10);
  probe.SetFontStyle(true, true);
  const std::string title = "ROVODUDI ver1.1";
  const Surface want = Written((400 - probe.TextWidth(title)) / 2, 100, title, kFade[3]);
  EXPECT_TRUE(RowsMatch(r.view, want, 100, 115));
}

TEST(LogonScreen, TheDotsGrowOneEveryTwoFramesUntilFrame30) {
  for (int step : {1, 2, 3, 9, 29, 30, 31, 40}) {
    SCOPED_TRACE(step);
    VoyageRig r;
    StepTo(r, step);
    const std::string dots(step <= 30 ? static_cast<size_t>(step / 2) : 0, '.');
    EXPECT_TRUE(RowsMatch(r.view, Written(170, 115, dots, kFade[std::min(step, 8)]), 115, 125));
    if (!dots.empty()) {
      EXPECT_FALSE(
          RowsMatch(r.view, Written(170, 115, dots + ".", kFade[std::min(step, 8)]), 115, 125));
    }
  }
}

TEST(LogonScreen, PromptLinesAppearFromTheirFramesAndOnlyThen) {
  struct Line {
    int from, y;
    const char* text;
  };
  const Line lines[] = {{31, 125, ">"},
                        {32, 135, ">"},
                        {33, 145, ">"},
                        {34, 155, ">"},
                        {35, 165, ">....OK"},
                        {37, 185, ">ID:ｸｴﾙ"},
                        {38, 195, ">Pass:*********"},
                        {40, 215, ">LOG ON"}};
  VoyageRig r;
  r.game.commander_name = Sj("ｸｴﾙ");
  QImage previous;
  for (int step = 30; step <= kLogonFrames; ++step) {
    SCOPED_TRACE(step);
    StepTo(r, step);
    bool new_line = false;
    for (const Line& l : lines) {
      const bool due = step >= l.from;
      new_line |= step == l.from;
      EXPECT_EQ(RowsMatch(r.view, Written(170, l.y, Sj(l.text), kGreen), l.y, l.y + 10), due)
          << l.text;
    }
    // Nothing is written at rows 175 and 205: below the lines above them, those rows stay green.
    EXPECT_TRUE(RowsMatch(r.view, Surface(kViewWidth, kViewHeight, kGreen), 181, 185));
    EXPECT_TRUE(RowsMatch(r.view, Surface(kViewWidth, kViewHeight, kGreen), 211, 215));
    if (step > 31) {
      EXPECT_EQ(r.view.Image() != previous, new_line);
    }
    previous = r.view.Image().copy();
  }
}

TEST(LogonScreen, AnEmptyNameLeavesTheIdPromptAlone) {
  VoyageRig r;
  StepTo(r, 37);
  EXPECT_TRUE(RowsMatch(r.view, Written(170, 185, ">ID:", kGreen), 185, 195));

  VoyageRig named;
  named.game.commander_name = Sj("太郎");
  StepTo(named, 37);
  EXPECT_FALSE(RowsMatch(named.view, Written(170, 185, ">ID:", kGreen), 185, 195));
  EXPECT_TRUE(RowsMatch(named.view, Written(170, 185, ">ID:" + Sj("太郎"), kGreen), 185, 195));
}

TEST(LogonScreen, StopsAt45AndTheFrameDrawsTheInstrumentsInstead) {
  VoyageRig r;
  r.Frames(50);
  EXPECT_EQ(r.vs.logon_step, 45);
  EXPECT_EQ(r.hooks.Count("instruments"), 5);
  EXPECT_EQ(r.view.Pixel(390, 290), kBlack);  // the view is no longer covered
}

TEST(LogonScreen, CoversTheViewButNotTheCockpitFrameOrThePadDots) {
  VoyageRig r;
  r.vs.logon_step = 20;
  r.game.chart[3].size = 100;
  r.PointHere(3, 1);
  r.pics.bui[1] = testing::SolidPicture(4, 4, 0xAA0000);
  Surface gamen(4, 4, 0xFF00FF);
  gamen.SetPixel(0, 0, 0x445566);
  gamen.SetTransparent(true);
  r.pics.gamen = gamen;
  r.vs.pad_left_held = 1;
  r.vs.pad_y_left = 0;
  r.vs.pad_x = 50;
  r.Frame();
  EXPECT_EQ(r.view.Pixel(200, 150), kGreen);  // the point picture is under the screen
  EXPECT_EQ(r.view.Pixel(10, 10), 0x445566u);
  EXPECT_EQ(r.vs.speed_forward, 10);  // steering goes on underneath
  EXPECT_EQ(r.vs.local_z, 10);
}

}  // namespace
}  // namespace qm
