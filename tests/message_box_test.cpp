#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <set>

#include "cockpit/story_texts.h"
#include "cockpit/text_label.h"
#include "cockpit_rig.h"
#include "platform/gcc12_false_warnings.h"

namespace qm {
namespace {

using testing::CockpitRig;

// The box as a new window leaves it: closed, the counter resting at 2.
struct BoxRig : CockpitRig {
  BoxRig() { cockpit.TypewriterStep(); }
  std::string Shown() { return Caption("moji_l"); }
  // Types frames until the page on display is whole.
  void Finish() {
    for (int i = 0; i < 200; ++i)
      cockpit.TypewriterStep();
  }
};

TEST(MessageQueue, PagesFillTheLowestFreeSlotAndShowingMovesTheBoxIntoPlace) {
  BoxRig rig;
  EXPECT_EQ(rig.cs().typewriter_pos, 2);
  rig.cockpit.AddMessage("AA");
  rig.cockpit.AddMessage("BB");
  EXPECT_EQ(rig.cs().message_pages[0], "AA");
  EXPECT_EQ(rig.cs().message_pages[1], "BB");
  EXPECT_FALSE(rig.fake.controls.moved.count("moji_box"));
  rig.cockpit.ShowMessageBox();
  EXPECT_EQ(rig.fake.controls.moved["moji_box"], std::make_pair(4, 304));
  EXPECT_TRUE(rig.Visible("moji_box"));
}

TEST(MessageQueue, TheFiftyFirstPageOverwritesSlotZero) {
  BoxRig rig;
  QM_GCC12_FALSE_WARNINGS_BEGIN
  for (int i = 0; i <= 50; ++i)
    rig.cockpit.AddMessage("P" + std::to_string(i));
  QM_GCC12_FALSE_WARNINGS_END
  EXPECT_EQ(rig.cs().message_pages[0], "P50");
  EXPECT_EQ(rig.cs().message_pages[1], "P1");
  EXPECT_EQ(rig.cs().message_pages[49], "P49");
}

TEST(Typewriter, TwoBytesAFrameWithABeepFromTheSecondFrameOfAPage) {
  BoxRig rig;
  rig.cockpit.AddMessage("ABCDEFGH");
  rig.cockpit.AddMessage("12345678");
  rig.cockpit.ShowMessageBox();
  // The first page of an opening starts one step ahead, and already beeps.
  rig.cockpit.TypewriterStep();
  EXPECT_EQ(rig.Shown(), "ABCD");
  EXPECT_EQ(rig.Sounds("cue 3 pi.wav"), 1);
  rig.Finish();
  EXPECT_EQ(rig.Shown(), "ABCDEFGH");
  rig.cockpit.Shape1MouseDown();

  rig.fake.sound.calls.clear();
  std::vector<std::string> shown;
  std::vector<int> beeps;
  for (int frame = 0; frame < 6; ++frame) {
    rig.cockpit.TypewriterStep();
    shown.push_back(rig.Shown());
    beeps.push_back(rig.Sounds("cue 3 pi.wav"));
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{"12", "1234", "123456", "12345678", "12345678", "12345678"}));
  EXPECT_EQ(beeps, (std::vector<int>{0, 1, 2, 3, 3, 3}));
  EXPECT_EQ(rig.cs().typewriter_pos, 8 / 2 + 2);
}

TEST(Typewriter, AnOddPageEndsWithItsLastByteShown) {
  BoxRig rig;
  rig.cockpit.AddMessage("X");
  rig.cockpit.AddMessage("ABCDE");
  rig.cockpit.ShowMessageBox();
  rig.Finish();
  rig.cockpit.Shape1MouseDown();
  rig.fake.sound.calls.clear();
  std::vector<std::string> shown;
  std::vector<int> positions;
  for (int frame = 0; frame < 4; ++frame) {
    rig.cockpit.TypewriterStep();
    shown.push_back(rig.Shown());
    positions.push_back(rig.cs().typewriter_pos);
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"AB", "ABCD", "ABCDE", "ABCDE"}));
  // The counter covers n + 1 bytes before it rests at (n div 2) + 2.
  EXPECT_EQ(positions, (std::vector<int>{2, 3, 4, 4}));
  EXPECT_EQ(rig.Sounds("cue 3 pi.wav"), 1);
}

// GCC 12 reports its false overlap where the test's strings are torn down, at the closing brace.
QM_GCC12_FALSE_WARNINGS_BEGIN
TEST(Typewriter, AStepEndingInsideADoubleByteCharacterShowsOnlyWholeCharacters) {
  BoxRig rig;
  rig.cockpit.AddMessage("-");
  rig.cockpit.AddMessage("A" + Sj("あい") + "B" + Sj("う"));
  rig.cockpit.ShowMessageBox();
  rig.Finish();
  rig.cockpit.Shape1MouseDown();
  std::vector<std::string> shown;
  for (int frame = 0; frame < 4; ++frame) {
    rig.cockpit.TypewriterStep();
    shown.push_back(rig.Shown());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"A", "A" + Sj("あ"), "A" + Sj("あい") + "B",
                                             "A" + Sj("あい") + "B" + Sj("う")}));
}
QM_GCC12_FALSE_WARNINGS_END

TEST(Click, DuringTheRevealCompletesThePageWithoutTurningIt) {
  BoxRig rig;
  const std::string first = Sj("ﾏｰﾒｲﾀﾞ「報告します。長い報告です。」");
  rig.cockpit.AddMessage(first);
  rig.cockpit.AddMessage(Sj("二ページ目"));
  rig.cockpit.ShowMessageBox();
  rig.cockpit.TypewriterStep();
  rig.cockpit.Shape1MouseDown();
  EXPECT_EQ(rig.Sounds("click"), 1);
  EXPECT_EQ(rig.cs().message_page, 0);
  rig.cockpit.TypewriterStep();
  EXPECT_EQ(rig.Shown(), first);

  rig.cockpit.Shape1MouseDown();
  EXPECT_EQ(rig.Sounds("click"), 2);
  EXPECT_EQ(rig.cs().message_page, 1);
  EXPECT_EQ(rig.cs().typewriter_pos, 1);
  EXPECT_TRUE(rig.Visible("moji_box"));
}

TEST(Click, TwentyOnePagesShowExactlyTwentyAndTheBoxClosesEmpty) {
  BoxRig rig;
  for (int i = 0; i < 21; ++i)
    rig.cockpit.AddMessage("page" + std::to_string(100 + i));
  rig.cockpit.ShowMessageBox();
  rig.vs.chart_open = 1;
  std::set<std::string> seen;
  int clicks = 0;
  while (rig.Visible("moji_box") && clicks < 50) {
    rig.Finish();
    seen.insert(rig.Shown());
    rig.cockpit.Shape1MouseDown();
    ++clicks;
  }
  EXPECT_EQ(clicks, 20);
  EXPECT_EQ(seen.size(), 20u);
  EXPECT_FALSE(seen.count("page120"));
  EXPECT_FALSE(rig.Visible("moji_box"));
  EXPECT_EQ(rig.Shown(), "");
  EXPECT_EQ(rig.cs().message_page, 0);
  EXPECT_EQ(rig.vs.chart_open, 0);
  for (const std::string& slot : rig.cs().message_pages)
    EXPECT_TRUE(slot.empty());
}

TEST(Click, OnTheStatusLineWhileTheBoxIsClosedOnlyClicksAndClosesTheChart) {
  BoxRig rig;
  rig.vs.chart_open = 1;
  rig.game.story_stage() = 2;
  rig.cockpit.Shape1MouseDown();
  EXPECT_EQ(rig.fake.sound.calls, std::vector<std::string>{"click"});
  EXPECT_EQ(rig.vs.chart_open, 0);
  EXPECT_FALSE(rig.Visible("moji_box"));
  EXPECT_EQ(rig.game.story_stage(), 2);
  rig.cockpit.TypewriterStep();
  EXPECT_EQ(rig.cs().typewriter_pos, 2);
}

// The clue of the second buoy, written out as a buoy shows it.
struct ClueRig : BoxRig {
  ClueRig() {
    ChartPoint& next = game.chart[5];
    next.x = -12;
    next.y = 3;
    next.z = 7;
    game.chart[0].next_point = 5;
    game.buoy_absence = 77;
  }
  // "x:-12  y:3  z:7" has an odd length and so carries one space.
  const std::string clue =
      Sj("※他のブイの場所が記されています。\r\r\rNEXT POINT > x:-12  y:3  z:7 ");
  void Dismiss(const std::string& page) {
    cockpit.AddMessage(page);
    cockpit.ShowMessageBox();
    Finish();
    cockpit.Shape1MouseDown();
  }
};

TEST(StoryHooks, TheFirstClueMovesTheStoryOnOnlyInStageZero) {
  ClueRig rig;
  ASSERT_EQ(BuoyCluePage(rig.game.chart[5]), rig.clue);
  rig.Dismiss(rig.clue + "x");
  EXPECT_EQ(rig.game.story_stage(), 0);
  rig.Dismiss(rig.clue);
  EXPECT_EQ(rig.game.story_stage(), 1);
  EXPECT_EQ(rig.game.buoy_absence, 0);

  ClueRig later;
  later.game.story_stage() = 2;
  later.Dismiss(later.clue);
  EXPECT_EQ(later.game.story_stage(), 2);
  EXPECT_EQ(later.game.buoy_absence, 77);
}

TEST(StoryHooks, TheFirstClueNeverFiresWithoutANextPoint) {
  for (int next : {-1, 400, 12345}) {
    ClueRig rig;
    rig.game.chart[0].next_point = next;
    rig.Dismiss(rig.clue);
    EXPECT_EQ(rig.game.story_stage(), 0) << next;
  }
}

TEST(StoryHooks, OnlyTheSeventhShockwaveLineStartsThePrologueAndOnlyInStageTwo) {
  for (int stage : {1, 2, 3}) {
    BoxRig rig;
    rig.game.story_stage() = stage;
    for (const std::string& page : ShockwavePages())
      rig.cockpit.AddMessage(page);
    rig.cockpit.ShowMessageBox();
    for (int page = 0; page < kShockwavePageCount; ++page) {
      rig.Finish();
      EXPECT_EQ(rig.game.story_stage(), stage) << page;
      EXPECT_EQ(rig.cs().prologue_tick, 0);
      rig.cockpit.Shape1MouseDown();
    }
    EXPECT_FALSE(rig.Visible("moji_box"));
    if (stage == 2) {
      EXPECT_EQ(rig.game.story_stage(), 3);
      EXPECT_EQ(rig.cs().prologue_tick, 1);
      EXPECT_EQ(rig.Sounds("music opening.mid"), 1);
    } else {
      EXPECT_EQ(rig.game.story_stage(), stage);
      EXPECT_EQ(rig.cs().prologue_tick, 0);
      EXPECT_EQ(rig.Sounds("music opening.mid"), 0);
    }
  }
  EXPECT_EQ(ShockwavePages()[0], Sj("ﾏｰﾒｲﾀﾞ「EMERGENCY !!」"));
  EXPECT_EQ(ShockwavePages()[1], Sj("ﾏｰﾒｲﾀﾞ「・・・衝撃波です。」"));
}

TEST(MessageLines, BreakAtCarriageReturnsAndKeepHalfWidthKatakanaWhole) {
  QFont font(QStringLiteral("IPAPMincho"));
  font.setPixelSize(15);
  font.setBold(true);
  const QFontMetrics metrics(font);
  const QString text = QString::fromStdString(
      "ﾏｰﾒｲﾀﾞ「長期間ブイに寄港していないため、船内に未知の病原菌が入りこんでいます。近隣のブイ"
      "へ大至急寄港して下さい」\r\r要資源： 6ｔ");
  const QStringList lines = LayoutLines(text, metrics, 377);
  ASSERT_GE(lines.size(), 5);
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("ﾏｰﾒｲﾀﾞ「")));
  EXPECT_EQ(lines.join(QString()).remove(QLatin1Char(' ')),
            QString(text).remove(QLatin1Char('\r')).remove(QLatin1Char(' ')));
  for (const QString& line : lines) {
    EXPECT_LE(metrics.horizontalAdvance(line), 377) << line.toStdString();
    EXPECT_FALSE(line.startsWith(QStringLiteral("、")) || line.startsWith(QStringLiteral("。")) ||
                 line.startsWith(QStringLiteral("」")))
        << line.toStdString();
  }
  EXPECT_EQ(lines[lines.size() - 2], QString());
  EXPECT_EQ(lines.back(), QStringLiteral("要資源： 6ｔ"));

  // A katakana name wider than the room left on a line moves down whole.
  const QString narrow = QStringLiteral("あいうえお ﾏｰﾒｲﾀﾞﾏｰﾒｲﾀﾞ");
  const int room = metrics.horizontalAdvance(QStringLiteral("あいうえお ﾏｰﾒ"));
  const QStringList wrapped = LayoutLines(narrow, metrics, room);
  EXPECT_EQ(wrapped, (QStringList{QStringLiteral("あいうえお"), QStringLiteral("ﾏｰﾒｲﾀﾞﾏｰﾒｲﾀﾞ")}))
      << wrapped.join('|').toStdString();
}

}  // namespace
}  // namespace qm
