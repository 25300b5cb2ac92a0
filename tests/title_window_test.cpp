// The title window as the player meets it: its layout, the name entries under typing and the
// input method, the buttons, and the timer going quiet once the window is hidden.

#include "app/title_window.h"
#include "built_game.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <filesystem>

#include "app/name_entry.h"
#include "fakes.h"
#include "platform/cp932.h"
#include "temp_game_folder.h"
#include "widget_services.h"

namespace qm {
namespace {

using testing::WidgetServices;

class TitleWindow : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    std::filesystem::copy(testing::BuiltGame() / "cg", Path("cg"));
  }
  void ShipChart() {
    std::filesystem::copy_file(testing::BuiltGame() / "dat" / "map.dat", Path("dat/map.dat"));
  }

  WidgetServices fake;
  GameState game;
};

void Wait(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms)
    QApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST_F(TitleWindow, IsLaidOutAsDesignedAndShrinksToTheTitleOnceLoaded) {
  ShipChart();
  TForm1 w(game, fake.services, fake.controls);
  EXPECT_EQ(w.size(), QSize(779, 302));
  w.FormCreate();
  // 409 x 329 overall: the title picture and nothing beside it.
  EXPECT_EQ(w.size(), QSize(403, 301));
  EXPECT_EQ(w.minimumSize(), w.maximumSize());
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
  const QString caption = w.windowTitle();
  EXPECT_TRUE(caption.contains(QStringLiteral("QUELMARIN")));
  EXPECT_TRUE(caption.contains(QStringLiteral("Tellivar")));
  EXPECT_TRUE(caption.contains(QStringLiteral("ver")));

  EXPECT_EQ(w.count_b()->text(), QStringLiteral("COUNTINUE"));
  EXPECT_EQ(w.count_b()->geometry(), QRect(264, 130, 129, 21));
  EXPECT_EQ(w.BitBtn2()->text(), QStringLiteral("NEW GAME"));
  EXPECT_EQ(w.BitBtn2()->geometry(), QRect(264, 164, 129, 21));
  EXPECT_EQ(w.BitBtn3()->text(), QStringLiteral("宇宙へ"));
  EXPECT_EQ(w.name_box()->geometry(), QRect(408, 4, 385, 97));
  EXPECT_EQ(w.name_l()->geometry(), QRect(44, 32, 125, 24));
  EXPECT_EQ(w.name_l2()->geometry(), QRect(228, 32, 125, 24));
  // Out of sight beside the title, the panel takes no keyboard focus.
  EXPECT_EQ(w.name_l()->focusPolicy(), Qt::ClickFocus);
  EXPECT_EQ(fake.sound.calls, std::vector<std::string>{"music title.mid"});
}

TEST_F(TitleWindow, AFailedLoadKeepsTheDesignSize) {
  TForm1 w(game, fake.services, fake.controls);
  WriteBytes(Path("dat/my.dat"), "x\r\n");
  w.FormCreate();
  EXPECT_EQ(fake.dialogs.errors.size(), 1u);
  EXPECT_EQ(w.size(), QSize(779, 302));
}

TEST_F(TitleWindow, WithoutASavedVoyageContinueIsDisabledAndNewGameLeadsOn) {
  ShipChart();
  TForm1 w(game, fake.services, fake.controls);
  w.FormCreate();
  w.show();
  EXPECT_FALSE(w.count_b()->isEnabled());
  w.count_b()->click();
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(fake.sound.calls.size() == 1u);

  fake.dialogs.answers = {true};
  w.BitBtn2()->click();
  EXPECT_EQ(w.name_box()->pos(), QPoint(8, 124));
  EXPECT_TRUE(w.name_box()->isVisible());
  // The panel now lies over both buttons.
  EXPECT_TRUE(w.name_box()->geometry().contains(w.count_b()->geometry()));
  EXPECT_TRUE(w.name_box()->geometry().contains(w.BitBtn2()->geometry()));
  EXPECT_EQ(w.name_l()->focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(w.count_b()->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(w.BitBtn2()->focusPolicy(), Qt::NoFocus);
}

TEST_F(TitleWindow, TheTimerStopsOnceTheWindowIsHidden) {
  ShipChart();
  TForm1 w(game, fake.services, fake.controls);
  w.FormCreate();
  w.show();
  Wait(40);
  EXPECT_TRUE(w.Timer1Active());
  EXPECT_GE(w.scene().animation().title_step, 1);
  w.hide();
  Wait(40);
  EXPECT_FALSE(w.Timer1Active());
}

// The text an entry holds, in CP932.
std::string Held(const QLineEdit& e) {
  return NameEntryText(e.text()).value_or("<not CP932>");
}

TEST(NameEntries, HoldEightBytesOfHalfOrFullWidthText) {
  struct Case {
    const char* typed;
    const char* held;
  };
  const Case cases[] = {{"ABCDEFGHIJ", "ABCDEFGH"},
                        {"あいうえお", "あいうえ"},
                        {"aあいうえ", "aあいう"},
                        {"ｱｷﾗ･ｸｴﾙﾏﾘﾝ", "ｱｷﾗ･ｸｴﾙﾏ"},
                        {"ABCDEFGあ", "ABCDEFG"},
                        {"～―『』", "～―『』"},
                        {"  ", "  "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    QLineEdit e;
    e.setValidator(new NameValidator(&e));
    e.insert(QString::fromUtf8(c.typed));
    EXPECT_EQ(Held(e), Sj(c.held));
  }
}

TEST(NameEntries, RefuseWhatCp932CannotHold) {
  QLineEdit e;
  e.setValidator(new NameValidator(&e));
  e.insert(QStringLiteral("ノア"));
  e.insert(QStringLiteral("한"));
  e.insert(QString::fromUtf8("\xF0\x9F\x9A\x80"));  // a rocket
  e.insert(QStringLiteral("号X"));                  // with the character 号 CP932 has
  EXPECT_EQ(Held(e), Sj("ノア号X"));
  e.clear();
  e.insert(QStringLiteral("é"));
  EXPECT_EQ(e.text(), QString());
}

TEST(NameEntries, KeepTheOldTextWhenNewTextOverflowsInTheMiddle) {
  QLineEdit e;
  e.setValidator(new NameValidator(&e));
  e.insert(QStringLiteral("ABCDEF"));
  e.setCursorPosition(2);
  e.insert(QStringLiteral("XYZ"));
  EXPECT_EQ(e.text(), QStringLiteral("ABXYCDEF"));
  EXPECT_EQ(e.cursorPosition(), 4);
  e.insert(QStringLiteral("Q"));
  EXPECT_EQ(e.text(), QStringLiteral("ABXYCDEF"));
}

TEST(NameEntries, TakeKeysAndTheInputMethodsCommitsWithinTheLimit) {
  QLineEdit e;
  e.setValidator(new NameValidator(&e));
  for (const char* key : {"t", "a", "r", "o"}) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromLatin1(key));
    QApplication::sendEvent(&e, &press);
  }
  EXPECT_EQ(e.text(), QStringLiteral("taro"));
  // A word the input method commits whole: only what still fits comes in.
  QInputMethodEvent compose(QStringLiteral("やまだ"), {});
  QApplication::sendEvent(&e, &compose);
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("山田太郎"));
  QApplication::sendEvent(&e, &commit);
  EXPECT_EQ(Held(e), Sj("taro山田"));
  QKeyEvent more(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(&e, &more);
  EXPECT_EQ(Held(e), Sj("taro山田"));
}

}  // namespace
}  // namespace qm
