#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "platform/cp932.h"
#include "platform/game_folder.h"
#include "platform/surface.h"
#include "platform/widgets/qt_controls.h"
#include "platform/widgets/qt_dialogs.h"
#include "platform/widgets/surface_widget.h"

namespace qm {
namespace {

QMessageBox* OpenBox() {
  if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) return box;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) return box;
  return nullptr;
}

// Runs `act` on the box once its event loop is running. A watchdog closes any box left open,
// so a failing test fails instead of hanging.
class WhileOpen {
 public:
  explicit WhileOpen(std::function<void(QMessageBox*)> act, int delay_ms = 0) {
    QTimer::singleShot(delay_ms, [act = std::move(act)] {
      QMessageBox* box = OpenBox();
      ASSERT_NE(box, nullptr) << "no message box open";
      act(box);
    });
    watchdog_.setSingleShot(true);
    QObject::connect(&watchdog_, &QTimer::timeout, [] {
      if (QMessageBox* box = OpenBox()) {
        ADD_FAILURE() << "message box left open";
        box->done(0);
      }
    });
    watchdog_.start(5000);
  }

 private:
  QTimer watchdog_;
};

QStringList ButtonTexts(const QMessageBox* box) {
  QStringList texts;
  for (QAbstractButton* b : box->buttons())
    texts << b->text();
  texts.sort();
  return texts;
}

QAbstractButton* ButtonNamed(const QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons())
    if (b->text() == text) return b;
  return nullptr;
}

TEST(QtDialogs, ConfirmationAsksWithYesAndNo) {
  for (const bool press_yes : {true, false}) {
    QtDialogs dialogs;
    QString title, text;
    QStringList buttons;
    WhileOpen open([&](QMessageBox* box) {
      title = box->windowTitle();
      text = box->text();
      buttons = ButtonTexts(box);
      QAbstractButton* b =
          ButtonNamed(box, press_yes ? QStringLiteral("はい(&Y)") : QStringLiteral("いいえ(&N)"));
      ASSERT_NE(b, nullptr);
      b->click();
    });
    const bool answer = dialogs.Confirm(Sj("セーブしますか？\r今日はここまで"));
    EXPECT_EQ(answer, press_yes);
    EXPECT_EQ(title, QStringLiteral("確認"));
    EXPECT_EQ(text, QStringLiteral("セーブしますか？\n今日はここまで"));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("いいえ(&N)"), QStringLiteral("はい(&Y)")}));
  }
}

TEST(QtDialogs, ClosingTheConfirmationIsNo) {
  QtDialogs dialogs;
  WhileOpen open([](QMessageBox* box) { box->close(); });
  EXPECT_FALSE(dialogs.Confirm(Sj("終了しますか？")));
}

TEST(QtDialogs, InformationAndErrorBoxesHaveOneOkButton) {
  QtDialogs dialogs;
  for (const bool error : {false, true}) {
    QString title, text;
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhileOpen open([&](QMessageBox* box) {
      title = box->windowTitle();
      text = box->text();
      buttons = ButtonTexts(box);
      icon = box->icon();
      box->buttons().front()->click();
    });
    const std::string message = Sj("ファイルがありません\r\ndat\\my.dat");
    if (error) {
      dialogs.Error(message);
    } else {
      dialogs.Inform(message);
    }
    EXPECT_EQ(title, QStringLiteral("QUELMARIN"));
    EXPECT_EQ(text, QStringLiteral("ファイルがありません\ndat\\my.dat"));
    EXPECT_EQ(buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(icon, error ? QMessageBox::Critical : QMessageBox::Information);
  }
}

TEST(QtDialogs, GameTextIsNeverTakenForMarkup) {
  QtDialogs dialogs;
  Qt::TextFormat format = Qt::AutoText;
  QString text;
  WhileOpen open([&](QMessageBox* box) {
    format = box->textFormat();
    text = box->text();
    box->buttons().front()->click();
  });
  dialogs.Inform(Sj("船長 <b>ミナ</b> &amp;"));
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(text, QStringLiteral("船長 <b>ミナ</b> &amp;"));
}

TEST(QtDialogs, TimersKeepRunningWhileABoxIsOpen) {
  QtDialogs dialogs;
  int ticks = 0;
  int ticks_while_open = -1;
  QTimer frame;
  QObject::connect(&frame, &QTimer::timeout, [&] { ++ticks; });
  frame.start(5);
  WhileOpen open(
      [&](QMessageBox* box) {
        ticks_while_open = ticks;
        ButtonNamed(box, QStringLiteral("はい(&Y)"))->click();
      },
      300);
  EXPECT_TRUE(dialogs.Confirm(Sj("続けますか？")));
  EXPECT_GE(ticks_while_open, 10);
}

TEST(QtControls, ShowHideMoveAndCaptionByName) {
  QWidget window;
  window.resize(200, 100);
  auto* label = new QLabel(&window);
  auto* button = new QPushButton(&window);
  auto* edit = new QLineEdit(&window);
  QtControls controls;
  controls.Register("Form2", &window);
  controls.Register("speed_l", label);
  controls.Register("count_b", button);
  controls.Register("name_l", edit);
  window.show();

  controls.SetVisible("speed_l", false);
  EXPECT_FALSE(label->isVisible());
  EXPECT_FALSE(controls.IsVisible("speed_l"));
  controls.SetVisible("speed_l", true);
  EXPECT_TRUE(controls.IsVisible("speed_l"));
  controls.Move("count_b", 17, 42);
  EXPECT_EQ(button->pos(), QPoint(17, 42));
  controls.SetEnabled("count_b", false);
  EXPECT_FALSE(button->isEnabled());

  controls.SetCaption("speed_l", Sj("速度\r120 Km/h"));
  EXPECT_EQ(label->text(), QStringLiteral("速度\n120 Km/h"));
  controls.SetCaption("speed_l", Sj("<i>ﾏｰﾒｲﾀﾞ</i>"));
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_EQ(label->text(), QStringLiteral("<i>ﾏｰﾒｲﾀﾞ</i>"));
  controls.SetCaption("count_b", Sj("接触"));
  EXPECT_EQ(button->text(), QStringLiteral("接触"));
  controls.SetCaption("name_l", Sj("ミナ"));
  EXPECT_EQ(edit->text(), QStringLiteral("ミナ"));
  controls.SetCaption("Form2", Sj("ノア号・船長ミナ"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("ノア号・船長ミナ"));
}

TEST(QtControls, UnknownAndDestroyedControlsAreIgnored) {
  QtControls controls;
  controls.SetVisible("nothing", true);
  controls.Move("nothing", 1, 2);
  controls.SetCaption("nothing", "x");
  controls.SetEnabled("nothing", false);
  EXPECT_FALSE(controls.IsVisible("nothing"));
  EXPECT_EQ(controls.Find("nothing"), nullptr);

  auto label = std::make_unique<QLabel>();
  controls.Register("moji_l", label.get());
  label->show();
  EXPECT_TRUE(controls.IsVisible("moji_l"));
  label.reset();
  EXPECT_EQ(controls.Find("moji_l"), nullptr);
  EXPECT_FALSE(controls.IsVisible("moji_l"));
  controls.SetCaption("moji_l", Sj("消えた"));
  controls.SetVisible("moji_l", true);
  controls.Move("moji_l", 3, 4);
}

Surface Checkerboard(int w, int h) {
  Surface s(w, h, kBlack);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((x + y) % 2 == 0) s.SetPixel(x, y, kWhite);
  return s;
}

QImage RenderAt(QWidget& widget, double ratio) {
  const QSize physical(static_cast<int>(widget.width() * ratio),
                       static_cast<int>(widget.height() * ratio));
  QImage image(physical, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::red);
  widget.render(&image);
  return image;
}

TEST(SurfaceWidget, PixelsStayHardEdgedWhenScaled) {
  const Surface board = Checkerboard(8, 6);
  SurfaceWidget widget(&board, nullptr);
  widget.resize(8, 6);

  const QImage twice = RenderAt(widget, 2.0);
  ASSERT_EQ(twice.width(), 16);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(twice.pixel(x, y) & 0xFFFFFFu, board.Pixel(x / 2, y / 2)) << x << "," << y;

  // At a fractional scale every screen pixel is still one surface pixel, never a grey blend.
  const QImage odd = RenderAt(widget, 1.5);
  for (int y = 0; y < odd.height(); ++y)
    for (int x = 0; x < odd.width(); ++x) {
      const QRgb c = odd.pixel(x, y) & 0xFFFFFFu;
      ASSERT_TRUE(c == 0 || c == 0xFFFFFFu) << x << "," << y << " " << c;
    }

  const QImage plain = RenderAt(widget, 1.0);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(plain.pixel(x, y) & 0xFFFFFFu, board.Pixel(x, y));
}

// The regions a widget was asked to paint.
class PaintRecorder : public QObject {
 public:
  std::vector<QRegion> regions;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      regions.push_back(static_cast<QPaintEvent*>(event)->region());
    return false;
  }
};

void LetPaintsHappen() {
  for (int i = 0; i < 5; ++i)
    QCoreApplication::processEvents();
}

TEST(SurfaceWidget, RefreshRepaintsOnlyWhatDiffersFromWhatItPainted) {
  Surface board = Checkerboard(40, 30);
  SurfaceWidget widget(&board, nullptr);
  widget.resize(40, 30);
  widget.show();
  LetPaintsHappen();
  PaintRecorder paints;
  widget.installEventFilter(&paints);

  // The picture drawn again as it was: nothing to paint.
  widget.Refresh();
  LetPaintsHappen();
  EXPECT_TRUE(paints.regions.empty());

  // Two pixels change: one rectangle around them is painted, and then nothing more.
  board.SetPixel(3, 4, 0xFF0000);
  board.SetPixel(9, 6, 0x00FF00);
  widget.Refresh();
  LetPaintsHappen();
  ASSERT_EQ(paints.regions.size(), 1u);
  EXPECT_EQ(paints.regions[0], QRegion(3, 4, 7, 3));
  widget.Refresh();
  LetPaintsHappen();
  EXPECT_EQ(paints.regions.size(), 1u);

  // Painted meanwhile in another colour (a flash), the picture as it was is painted back.
  const Color was = board.Pixel(20, 20);
  board.SetPixel(20, 20, 0x0000FF);
  widget.repaint();
  board.SetPixel(20, 20, was);
  widget.Refresh();
  LetPaintsHappen();
  ASSERT_EQ(paints.regions.size(), 3u);
  EXPECT_EQ(paints.regions[2], QRegion(20, 20, 1, 1));
  EXPECT_EQ(widget.grab().toImage().pixel(20, 20) & 0xFFFFFFu, was);
}

// A parent that records the presses that reach it.
class PressRecorder : public QWidget {
 public:
  std::vector<QPoint> presses;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    presses.push_back(event->position().toPoint());
  }
};

void Press(QWidget* target, QPointF at) {
  QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

TEST(SurfaceWidget, MouseGoesToTheHandlerOrElseToTheParent) {
  const Surface board = Checkerboard(400, 300);
  PressRecorder parent;
  parent.resize(500, 400);
  auto* widget = new SurfaceWidget(&board, &parent);
  widget->setGeometry(10, 20, 400, 300);
  parent.show();

  Press(widget, QPointF(5, 6));
  ASSERT_EQ(parent.presses.size(), 1u);
  EXPECT_EQ(parent.presses[0], QPoint(15, 26));

  std::vector<QPoint> handled;
  widget->on_press = [&](Qt::MouseButton b, int x, int y) {
    EXPECT_EQ(b, Qt::LeftButton);
    handled.emplace_back(x, y);
  };
  Press(widget, QPointF(5, 6));
  // Under a fractional scale a press on the last pixel is still on the surface.
  Press(widget, QPointF(399.6, 299.5));
  EXPECT_EQ(parent.presses.size(), 1u);
  ASSERT_EQ(handled.size(), 2u);
  EXPECT_EQ(handled[0], QPoint(5, 6));
  EXPECT_EQ(handled[1], QPoint(399, 299));
}

TEST(GameFolder, IsFoundFromTheRunningProgram) {
  const std::string folder = GameFolder();
  // The test programs' folder is no portable game folder, so it reads as an installed game's.
  EXPECT_EQ(folder, GameFolderFor(QCoreApplication::applicationDirPath().toStdString()));
  EXPECT_NE(folder.back(), '/');
  EXPECT_EQ(GamePath("\\cg\\x.bmp"), folder + "/cg/x.bmp");
  EXPECT_EQ(GamePath("dat\\my.dat"), folder + "/dat/my.dat");

  SetGameFolderForTesting("/tmp/somewhere");
  EXPECT_EQ(GamePath("\\dat\\map.dat"), "/tmp/somewhere/dat/map.dat");
  SetGameFolderForTesting("");
  EXPECT_EQ(GameFolder(), folder);
}

}  // namespace
}  // namespace qm
