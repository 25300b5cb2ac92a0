// The scripted story: the shockwave, the prologue roll, the ending roll and the message from
// Earth, from the first clue to the last page.

#include "cockpit/story.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "cockpit/story_lines.h"
#include "cockpit/story_texts.h"
#include "cockpit_rig.h"
#include "surface_checks.h"

namespace qm {
namespace {

using testing::CockpitRig;

constexpr Color kGrey = 0x808080;

// The cockpit with the story's scene over it; the view starts black, the box closed.
struct StoryRig : CockpitRig {
  StoryRig() {
    cockpit.TypewriterStep();
    BlackView();
  }
  void BlackView() {
    view.SetBrushColor(kBlack);
    view.SetPenColor(kBlack);
    view.FillRect(0, 0, kViewWidth, kViewHeight);
  }
  // Ready for the shockwave: the clue read, the start visited, the ship idle long enough.
  void Primed() {
    game.story_stage() = 1;
    game.point_state[0] = 2;
    game.buoy_absence = 101;
  }
  void Reveal() {
    for (int i = 0; i < 100; ++i)
      cockpit.TypewriterStep();
  }
  // Reveals and dismisses the page on display.
  void ReadPage() {
    Reveal();
    cockpit.Shape1MouseDown();
  }
  StoryScene scene{game, vs, view, pics.txt, fake.services, cockpit};
};

// What the roll should show on a black view: `line` written white at size 10 bold on the
// see-through grey of a 200 x 100 bitmap, stretched into the rectangle.
Surface RollPicture(const std::string& line, int left, int top, int right, int bottom) {
  Surface panel(200, 100, kGrey);
  panel.SetTransparent(true);
  panel.SetFontSize(10);
  panel.SetFontStyle(true, false);
  panel.SetFontColor(kWhite);
  panel.SetBrushColor(kGrey);
  panel.TextOut(0, 0, line);
  Surface view(kViewWidth, kViewHeight, kBlack);
  view.StretchDraw(left, top, right, bottom, panel);
  return view;
}

void ExpectView(const StoryRig& r, const Surface& want) {
  ASSERT_EQ(testing::Pixels(r.view), testing::Pixels(want));
}

TEST(ShockwaveTrigger, NeedsStageOneTheStartVisitedAndMoreThanAHundredIdleFrames) {
  struct Case {
    int stage, start_state, absence;
    bool fires;
  };
  const Case cases[] = {{1, 2, 101, true},  {1, 2, 100, false}, {1, 2, 5000, true},
                        {1, 1, 101, false}, {1, 0, 500, false}, {0, 2, 101, false},
                        {2, 2, 101, false}, {3, 2, 101, false}, {4, 2, 101, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.stage << " " << c.start_state << " " << c.absence);
    StoryRig r;
    r.game.story_stage() = c.stage;
    r.game.point_state[0] = c.start_state;
    r.game.buoy_absence = c.absence;
    ShockwaveTrigger(r.scene);
    EXPECT_EQ(r.game.story_stage(), c.fires ? 2 : c.stage);
    EXPECT_EQ(r.fake.sound.calls.empty(), !c.fires);
    EXPECT_EQ(r.cs().message_pages[0].empty(), !c.fires);
  }
}

TEST(ShockwaveTrigger, FlashesRedAndBlackSixTimesOnTheScreen) {
  StoryRig r;
  r.Primed();
  std::vector<Color> shown;
  SetViewPresenter([&] {
    shown.push_back(r.view.Pixel(0, 0));
    // The whole view, outline included, is one colour at every flash.
    EXPECT_EQ(testing::Painted(r.view, r.view.Pixel(0, 0)).r, -1);
  });
  ShockwaveTrigger(r.scene);
  SetViewPresenter(nullptr);
  std::vector<Color> want;
  for (int i = 0; i < 6; ++i) {
    want.push_back(0xFF0000);
    want.push_back(kBlack);
  }
  EXPECT_EQ(shown, want);
}

TEST(ShockwaveTrigger, StopsTheShipShakesTheViewAndReplacesTheMessagesWithTheAnnouncement) {
  StoryRig r;
  r.Primed();
  r.vs.speed_forward = 17;
  r.vs.speed_up = -4;
  r.vs.speed_side = 9;
  r.vs.pad_left_held = 1;
  r.vs.pad_right_held = 1;
  r.vs.chart_open = 1;
  for (int i = 0; i < 5; ++i)
    r.cockpit.AddMessage("OLD" + std::to_string(i));
  r.cockpit.ShowMessageBox();
  r.cs().message_page = 3;
  r.cs().typewriter_pos = 7;
  r.fake.controls.captions["moji_l"] = "OLD3";

  ShockwaveTrigger(r.scene);

  EXPECT_EQ(r.game.story_stage(), 2);
  EXPECT_EQ(r.vs.speed_forward, 0);
  EXPECT_EQ(r.vs.speed_up, 0);
  EXPECT_EQ(r.vs.speed_side, 1);
  EXPECT_EQ(r.vs.noise_countdown, 10);
  EXPECT_EQ(r.vs.pad_left_held, 0);
  EXPECT_EQ(r.vs.pad_right_held, 1);
  EXPECT_EQ(r.vs.chart_open, 1);
  EXPECT_EQ(r.fake.sound.calls, (std::vector<std::string>{"cue 0 baku.wav", "cue 3 error.wav"}));
  EXPECT_EQ(r.cs().message_page, 0);
  EXPECT_EQ(r.cs().typewriter_pos, 7);
  EXPECT_EQ(r.Caption("moji_l"), "");
  for (int i = 0; i < kShockwavePageCount; ++i)
    EXPECT_EQ(r.cs().message_pages[static_cast<size_t>(i)],
              ShockwavePages()[static_cast<size_t>(i)]);
  EXPECT_TRUE(r.cs().message_pages[kShockwavePageCount].empty());
  EXPECT_TRUE(r.Visible("moji_box"));
  EXPECT_EQ(r.fake.controls.moved["moji_box"], std::make_pair(4, 304));
  // It happens once: the story has left stage 1.
  ShockwaveTrigger(r.scene);
  EXPECT_EQ(r.fake.sound.calls.size(), 2u);
}

TEST(ShockwaveTrigger, AfterALongPageTheFirstAnnouncementShowsWholeAtOnce) {
  StoryRig r;
  r.Primed();
  r.cockpit.AddMessage(std::string(60, 'A'));
  r.cockpit.ShowMessageBox();
  r.Reveal();
  ShockwaveTrigger(r.scene);
  r.cockpit.TypewriterStep();
  EXPECT_EQ(r.Caption("moji_l"), ShockwavePages()[0]);
}

TEST(ShockwavePages, SpeakAsTheShipComputerAndOpenWithTheQuotedLines) {
  EXPECT_EQ(ShockwavePages()[0], Sj("ﾏｰﾒｲﾀﾞ「EMERGENCY !!」"));
  EXPECT_EQ(ShockwavePages()[1], Sj("ﾏｰﾒｲﾀﾞ「・・・衝撃波です。」"));
  for (const std::string& page : ShockwavePages())
    EXPECT_EQ(page.rfind(Sj("ﾏｰﾒｲﾀﾞ「"), 0), 0u) << Utf8FromCp932(page);
  EXPECT_NE(Utf8FromCp932(ShockwavePages()[6]).find("980"), std::string::npos);
}

TEST(PrologueRoll, RunsOnlyInStageThreeWithATickAndEndsAt1001) {
  for (int stage : {2, 4}) {
    StoryRig r;
    r.game.story_stage() = stage;
    r.cs().prologue_tick = 5;
    PrologueRoll(r.scene);
    EXPECT_EQ(r.cs().prologue_tick, 5);
  }
  // A game saved during the roll loads in stage 3 with no roll, and stays there.
  StoryRig loaded;
  loaded.game.story_stage() = 3;
  PrologueRoll(loaded.scene);
  EXPECT_EQ(loaded.cs().prologue_tick, 0);
  EXPECT_EQ(loaded.game.story_stage(), 3);

  StoryRig r;
  r.game.story_stage() = 3;
  r.cs().prologue_tick = 1;
  for (int i = 0; i < 999; ++i)
    PrologueRoll(r.scene);
  EXPECT_EQ(r.cs().prologue_tick, 1000);
  EXPECT_EQ(r.game.story_stage(), 3);
  r.BlackView();
  PrologueRoll(r.scene);
  EXPECT_EQ(r.cs().prologue_tick, 0);
  EXPECT_EQ(r.game.story_stage(), 4);
  EXPECT_EQ(testing::Painted(r.view, kBlack).r, -1);  // nothing drawn as it ends
}

TEST(PrologueRoll, EachLineRisesAndGrowsFromRow190) {
  struct Case {
    int tick;  // after the frame
    int line;
    int left, top, right, bottom;
  };
  const Case cases[] = {
      {3, 0, 40, 188, 240, 191},   {100, 0, 40, -6, 240, 288},  {101, 1, 40, 190, 240, 190},
      {102, 1, 40, 188, 240, 191}, {150, 1, 40, 92, 240, 239},  {201, 2, 40, 190, 240, 190},
      {260, 2, 40, 72, 240, 249},  {930, 9, 40, 132, 240, 219}, {1000, 9, 40, -8, 240, 289},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tick);
    StoryRig r;
    r.game.story_stage() = 3;
    r.cs().prologue_tick = c.tick - 1;
    PrologueRoll(r.scene);
    ASSERT_EQ(r.cs().prologue_tick, c.tick);
    const std::string& line = PrologueLines()[static_cast<size_t>(c.line)];
    ExpectView(r, RollPicture(line, c.left, c.top, c.right, c.bottom));
    if (c.bottom > c.top + 30) {
      EXPECT_TRUE(r.Shows(c.left, std::max(c.top, 0), c.right, std::min(c.bottom, 300), kWhite));
    }
    EXPECT_FALSE(r.Shows(0, 0, kViewWidth, kViewHeight, kGrey));
  }
  // The first frame of the roll has k = 0: a rectangle of no height shows nothing.
  StoryRig first;
  first.game.story_stage() = 3;
  first.cs().prologue_tick = 1;
  PrologueRoll(first.scene);
  EXPECT_EQ(first.cs().prologue_tick, 2);
  EXPECT_EQ(testing::Painted(first.view, kBlack).r, -1);
}

TEST(EndingRoll, PausesThenStartsTheMusicAt152AndTheFirstLineTheFrameAfter) {
  StoryRig r;
  r.cs().ending_tick = 1;
  for (int i = 0; i < 150; ++i)
    EndingRoll(r.scene);
  EXPECT_EQ(r.cs().ending_tick, 151);
  EXPECT_TRUE(r.fake.sound.calls.empty());
  EXPECT_EQ(testing::Painted(r.view, kBlack).r, -1);

  EndingRoll(r.scene);
  EXPECT_EQ(r.cs().ending_tick, 152);
  EXPECT_EQ(r.fake.sound.calls, std::vector<std::string>{"music ending.mid"});
  EXPECT_EQ(testing::Painted(r.view, kBlack).r, -1);

  EndingRoll(r.scene);
  ExpectView(r, RollPicture(EndingLines("", "")[0], 40, 99, 240, 101));
  EXPECT_EQ(r.fake.sound.calls.size(), 1u);
}

TEST(EndingRoll, EachLineOpensFromABandAroundRow100) {
  struct Case {
    int tick, line, k;
  };
  const Case cases[] = {{200, 0, 48},   {250, 0, 98},  {251, 1, 0},   {300, 1, 49},
                        {350, 1, 99},   {351, 2, 0},   {1150, 9, 99}, {1151, 10, 0},
                        {1230, 10, 79}, {1251, 11, 0}, {1300, 11, 49}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tick);
    StoryRig r;
    r.game.ship_name = Sj("ノア");
    r.game.commander_name = Sj("アキラ");
    r.cs().ending_tick = c.tick - 1;
    EndingRoll(r.scene);
    ASSERT_EQ(r.cs().ending_tick, c.tick);
    const auto lines = EndingLines(Sj("ノア"), Sj("アキラ"));
    ExpectView(r, RollPicture(lines[static_cast<size_t>(c.line)], 40, 100 - c.k, 240, 100 + c.k));
  }
}

TEST(EndingRoll, TheDedicationNamesTheCurrentShipAndCaptain) {
  const auto lines = EndingLines(Sj("ノア"), Sj("アキラ"));
  EXPECT_EQ(lines[0], Sj("―――太陽系からの衝撃波は"));
  EXPECT_EQ(lines[11], Sj("～『ノア』船長アキラ"));

  StoryRig r;
  r.cs().ending_tick = 1400;
  r.game.ship_name = Sj("ｴﾙ");
  r.game.commander_name = Sj("ミオ");
  EndingRoll(r.scene);
  ExpectView(r, RollPicture(Sj("～『ｴﾙ』船長ミオ"), 40, -50, 240, 250));
}

TEST(EndingRoll, EndsAt2151WithTheMessageFromEarthAndRunsAgainWhenRestarted) {
  StoryRig r;
  r.cs().ending_tick = 2149;
  EndingRoll(r.scene);
  EXPECT_EQ(r.cs().ending_tick, 2150);
  EXPECT_TRUE(r.cs().message_pages[0].empty());
  EXPECT_FALSE(r.fake.controls.moved.count("moji_box"));

  r.BlackView();
  EndingRoll(r.scene);
  EXPECT_EQ(r.cs().ending_tick, 0);
  EXPECT_EQ(testing::Painted(r.view, kBlack).r, -1);
  for (int i = 0; i < kEarthMessagePageCount; ++i)
    EXPECT_EQ(r.cs().message_pages[static_cast<size_t>(i)],
              EarthMessagePages()[static_cast<size_t>(i)]);
  EXPECT_TRUE(r.cs().message_pages[kEarthMessagePageCount].empty());
  EXPECT_TRUE(r.Visible("moji_box"));
  EXPECT_EQ(r.fake.controls.moved["moji_box"], std::make_pair(4, 304));

  // Nothing more happens until the roll is set going again.
  EndingRoll(r.scene);
  EXPECT_EQ(r.cs().ending_tick, 0);
  r.cs().ending_tick = 1;
  EndingRoll(r.scene);
  EXPECT_EQ(r.cs().ending_tick, 2);
}

TEST(EarthMessage, IsSpokenByTheShipComputerAndQuotesTheOtherCaptain) {
  const auto& pages = EarthMessagePages();
  EXPECT_EQ(pages.front(), Sj("ﾏｰﾒｲﾀﾞ「報告します」"));
  EXPECT_EQ(pages.back(), Sj("ﾏｰﾒｲﾀﾞ「―――以上です。」"));
  for (size_t i = 0; i < pages.size(); ++i) {
    EXPECT_EQ(pages[i].rfind(Sj("ﾏｰﾒｲﾀﾞ「"), 0), 0u) << i;
    const bool quoted = pages[i].find(Sj("『")) != std::string::npos;
    EXPECT_EQ(quoted, i >= 2 && i <= 5) << i;
  }
}

// Width of a roll line as the roll bitmap writes it.
int RollWidth(const std::string& line) {
  Surface panel(200, 100);
  panel.SetFontSize(10);
  panel.SetFontStyle(true, false);
  return panel.TextWidth(line);
}

TEST(RollLines, EveryLineFitsTheRollBitmap) {
  for (const std::string& line : PrologueLines())
    EXPECT_LE(RollWidth(line), 200) << Utf8FromCp932(line);
  EXPECT_EQ(PrologueLines()[0], Sj("―――３０年前"));
  bool figure = false;
  for (const std::string& line : PrologueLines())
    figure |= Utf8FromCp932(line).find("78.7") != std::string::npos;
  EXPECT_TRUE(figure);
  // The dedication with the widest names the entries allow: four full-width letters each.
  const std::string wide = Sj("ＷＷＷＷ");
  for (const std::string& line : EndingLines(wide, wide))
    EXPECT_LE(RollWidth(line), 200) << Utf8FromCp932(line);
}

TEST(StoryFlow, FromTheFirstClueToTheEndOfThePrologueThroughTheInstrumentPass) {
  StoryRig r;
  r.game.chart[0].next_point = 7;
  r.game.chart[7].x = 3;
  r.game.chart[7].y = -2;
  r.game.chart[7].z = 12;
  r.game.point_state[0] = 2;
  r.game.buoy_absence = 900;
  r.cockpit.AddMessage(BuoyCluePage(r.game.chart[7]));
  r.cockpit.ShowMessageBox();
  r.ReadPage();
  ASSERT_EQ(r.game.story_stage(), 1);
  EXPECT_EQ(r.game.buoy_absence, 0);

  // The idle count grows by 0 or 1 a frame; the shockwave waits for it to pass 100.
  int frames = 0;
  while (r.game.story_stage() == 1 && frames < 2000) {
    const int before = r.game.buoy_absence;
    r.Pass(frames++);
    if (r.game.story_stage() == 1) {
      EXPECT_LE(r.game.buoy_absence, 100);
    } else {
      EXPECT_EQ(before, 100);
    }
  }
  ASSERT_EQ(r.game.story_stage(), 2);
  EXPECT_GE(frames, 101);

  // Only the seventh page starts the prologue and its music.
  for (int page = 1; page <= 6; ++page) {
    r.ReadPage();
    EXPECT_EQ(r.game.story_stage(), 2) << page;
  }
  EXPECT_EQ(r.Sounds("music opening.mid"), 0);
  r.ReadPage();
  EXPECT_EQ(r.game.story_stage(), 3);
  EXPECT_EQ(r.cs().prologue_tick, 1);
  EXPECT_EQ(r.Sounds("music opening.mid"), 1);
  EXPECT_FALSE(r.Visible("moji_box"));

  for (int i = 0; i < 999; ++i)
    r.Pass(i);
  EXPECT_EQ(r.game.story_stage(), 3);
  r.Pass(1);
  EXPECT_EQ(r.game.story_stage(), 4);
  EXPECT_EQ(r.cs().prologue_tick, 0);
}

}  // namespace
}  // namespace qm
