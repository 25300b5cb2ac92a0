#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsView>
#include <QImage>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "app/window_sizes.h"
#include "platform/surface.h"
#include "platform/widgets/sharp_reduction.h"
#include "platform/widgets/surface_widget.h"
#include "platform/widgets/window_scaler.h"
#include "platform/window_settings.h"

namespace qm {
namespace {

// A small game window: a 20 x 10 picture of one-pixel stripes at (8, 6) that reports presses,
// a hidden control, and a window that takes what falls on its bare background.
class Window : public QWidget {
 public:
  Window() {
    for (int x = 0; x < 20; ++x)
      for (int y = 0; y < 10; ++y)
        picture.SetPixel(x, y, (x + y) % 2 ? kWhite : kBlack);
    pad = new SurfaceWidget(&picture, this);
    pad->setGeometry(8, 6, 20, 10);
    pad->on_press = [this](Qt::MouseButton, int x, int y) { pressed = {x, y}; };
    hidden = new QWidget(this);
    hidden->setGeometry(0, 0, 5, 5);
    hidden->hide();
    setFixedSize(40, 30);
  }
  void mouseReleaseEvent(QMouseEvent* e) override { released = e->position().toPoint(); }

  Surface picture{20, 10};
  SurfaceWidget* pad;
  QWidget* hidden;
  QPoint pressed{-1, -1};
  QPoint released{-1, -1};
};

QGraphicsView* ViewOf(QWidget& w) {
  return w.findChild<QGraphicsView*>();
}

TEST(WindowScaler, AWholeFactorEnlargesPixelForPixelAndMapsTheMouseBack) {
  Window w;
  w.show();
  WindowScaler scaler(&w);
  scaler.SetScale(3);
  EXPECT_EQ(w.size(), QSize(120, 90));
  EXPECT_EQ(scaler.ShownFactor(), 3);
  QGraphicsView* view = ViewOf(w);
  ASSERT_NE(view, nullptr);

  // Pixel (5, 2) of the picture covers window pixels 3 * (13, 8) and the two after each.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(3 * 13 + 2, 3 * 8));
  EXPECT_EQ(w.pressed, QPoint(5, 2));
  // The bare window still takes its own releases, in its own pixels.
  QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(3 * 2 + 1, 3 * 25 + 1));
  EXPECT_EQ(w.released, QPoint(2, 25));

  const QImage shot = w.grab().toImage();
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const QRgb want = (x + y) % 2 ? 0xFFFFFFFF : 0xFF000000;
      for (int d = 0; d < 9; ++d)
        ASSERT_EQ(shot.pixel(3 * (8 + x) + d % 3, 3 * (6 + y) + d / 3), want) << x << "," << y;
    }
}

TEST(WindowScaler, BackAtOneTheWindowIsAsItWasBuilt) {
  Window w;
  w.show();
  WindowScaler scaler(&w);
  scaler.SetScale(2);
  ASSERT_NE(w.pad->parentWidget(), &w);
  scaler.SetScale(1);
  EXPECT_EQ(w.pad->parentWidget(), &w);
  EXPECT_EQ(w.pad->geometry(), QRect(8, 6, 20, 10));
  EXPECT_TRUE(w.pad->isVisible());
  EXPECT_TRUE(w.hidden->isHidden());
  EXPECT_EQ(w.size(), QSize(40, 30));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(ViewOf(w), nullptr);
  QTest::mouseClick(w.pad, Qt::LeftButton, {}, QPoint(4, 3));
  EXPECT_EQ(w.pressed, QPoint(4, 3));
}

TEST(WindowScaler, TheKeysToggleFullScreenAndStepTheFactor) {
  Window w;
  w.show();
  WindowScaler scaler(&w);
  int changes = 0;
  scaler.on_changed = [&] { ++changes; };
  QTest::keyClick(w.pad, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(scaler.scale(), 2);
  EXPECT_EQ(w.size(), QSize(80, 60));
  QTest::keyClick(&w, Qt::Key_F11);
  EXPECT_TRUE(scaler.full_screen());
  const QSize screen = w.screen()->geometry().size();
  EXPECT_EQ(w.size(), screen);
  // The largest whole factor the screen holds, however the window was sized before.
  EXPECT_EQ(scaler.ShownFactor(), std::min(screen.width() / 40, screen.height() / 30));
  QTest::keyClick(ViewOf(w), Qt::Key_Return, Qt::AltModifier);
  EXPECT_FALSE(scaler.full_screen());
  EXPECT_EQ(w.size(), QSize(80, 60));
  QTest::keyClick(ViewOf(w), Qt::Key_Minus, Qt::ControlModifier);
  QTest::keyClick(&w, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(scaler.scale(), 1);
  EXPECT_EQ(w.size(), QSize(40, 30));
  EXPECT_EQ(changes, 5);
  // No factor beyond the screen.
  scaler.SetScale(1000);
  EXPECT_EQ(scaler.scale(), scaler.MaxScale());
  EXPECT_LE(w.height(), screen.height());
}

TEST(WindowScaler, LeavingFullScreenFromAKeyOnTheViewKeepsTheViewUntilTheKeyIsDelivered) {
  Window w;
  w.show();
  WindowScaler scaler(&w);
  for (int round = 0; round < 3; ++round) {
    QTest::keyClick(&w, Qt::Key_F11);
    ASSERT_NE(ViewOf(w), nullptr);
    // The view that takes this key is the one it takes away.
    QTest::keyClick(ViewOf(w), Qt::Key_F11);
    EXPECT_EQ(w.pad->parentWidget(), &w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ViewOf(w), nullptr);
    EXPECT_EQ(w.size(), QSize(40, 30));
  }
}

TEST(WindowSettings, TheChoiceIsRememberedAndADamagedFileGivesTheDefaults) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("quelmarin/window.ini")).toStdString();
  EXPECT_FALSE(ReadWindowChoice(path, "voyage").stored);
  WriteWindowChoice(path, "voyage", {3, true, true});
  const WindowChoice back = ReadWindowChoice(path, "voyage");
  EXPECT_TRUE(back.stored);
  EXPECT_EQ(back.scale, 3);
  EXPECT_TRUE(back.full_screen);
  EXPECT_FALSE(ReadWindowChoice(path, "title").stored);

  for (const char* bytes :
       {"[voyage]\nscale=0\nfull_screen=false\n", "[voyage]\nscale=2x\nfull_screen=false\n",
        "[voyage]\nscale=2\nfull_screen=maybe\n", "\xff\xfe\x00[[[=\n\x01"}) {
    std::ofstream(path, std::ios::binary) << bytes;
    const WindowChoice c = ReadWindowChoice(path, "voyage");
    EXPECT_FALSE(c.stored) << bytes;
    EXPECT_EQ(c.scale, 1);
    EXPECT_FALSE(c.full_screen);
  }
}

TEST(WindowSettings, TheFileLivesInThePlayersConfigurationFolder) {
  qputenv("XDG_CONFIG_HOME", "/somewhere/config");
  EXPECT_EQ(WindowSettingsPath(), "/somewhere/config/quelmarin/window.ini");
  qputenv("XDG_CONFIG_HOME", "relative");
  qputenv("HOME", "/home/player");
  EXPECT_EQ(WindowSettingsPath(), "/home/player/.config/quelmarin/window.ini");
  qunsetenv("XDG_CONFIG_HOME");
}

TEST(WindowSizes, TheNextStartUsesTheSizeThePlayerLeft) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("window.ini")).toStdString();
  {
    Window title, voyage;
    WindowSizes sizes(&title, &voyage, path);
    EXPECT_EQ(voyage.size(), QSize(40, 30) * ReadableScale(&voyage));
    QTest::keyClick(&voyage, Qt::Key_Equal, Qt::ControlModifier);
  }
  Window title, voyage;
  WindowSizes sizes(&title, &voyage, path);
  EXPECT_EQ(sizes.voyage().scale(), ReadableScale(&voyage) + 1);
  EXPECT_EQ(voyage.size(), QSize(40, 30) * (ReadableScale(&voyage) + 1));
}

TEST(WindowSettings, HalfStepsAndTheFitChoiceAreRememberedBesideOlderFiles) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("window.ini")).toStdString();
  WriteWindowChoice(path, "voyage", {2.5, false, true, FitChoice::kFit});
  WriteWindowChoice(path, "title", {2, true, true, FitChoice::kPixelPerfect});
  WindowChoice voyage = ReadWindowChoice(path, "voyage");
  EXPECT_TRUE(voyage.stored);
  EXPECT_EQ(voyage.scale, 2.5);
  EXPECT_EQ(voyage.fit, FitChoice::kFit);
  const WindowChoice title = ReadWindowChoice(path, "title");
  EXPECT_EQ(title.scale, 2);
  EXPECT_EQ(title.fit, FitChoice::kPixelPerfect);
  // A whole factor is still written as the earlier game wrote it.
  EXPECT_EQ(QSettings(QString::fromStdString(path), QSettings::IniFormat)
                .value(QStringLiteral("title/scale"))
                .toString(),
            QStringLiteral("2"));
  // Without a choice the key goes.
  WriteWindowChoice(path, "voyage", {1.5, false, true, FitChoice::kUnchosen});
  EXPECT_FALSE(QSettings(QString::fromStdString(path), QSettings::IniFormat)
                   .contains(QStringLiteral("voyage/fit")));

  // A file the earlier game wrote.
  std::ofstream(path, std::ios::binary) << "[voyage]\nscale=2\nfull_screen=true\n";
  voyage = ReadWindowChoice(path, "voyage");
  EXPECT_TRUE(voyage.stored);
  EXPECT_EQ(voyage.scale, 2);
  EXPECT_TRUE(voyage.full_screen);
  EXPECT_EQ(voyage.fit, FitChoice::kUnchosen);
  for (const char* bytes :
       {"[voyage]\nscale=1.25\nfull_screen=false\n", "[voyage]\nscale=16.5\nfull_screen=false\n",
        "[voyage]\nscale=2\nfull_screen=false\nfit=maybe\n"}) {
    std::ofstream(path, std::ios::binary) << bytes;
    EXPECT_FALSE(ReadWindowChoice(path, "voyage").stored) << bytes;
  }
}

TEST(SharpReduction, AWholeFactorReadsEveryPixelOnceAndAHalfMixesEvenly) {
  const ReductionAxis same = MakeReductionAxis(10, 3, 30);
  for (int j = 0; j < 30; ++j) {
    EXPECT_EQ(same.first[static_cast<size_t>(j)], j);
    EXPECT_EQ(same.weight[static_cast<size_t>(j)], 0);
  }
  const ReductionAxis half = MakeReductionAxis(10, 2, 15);
  // Shown 1 lies half on window pixel 0 and half on 1.
  EXPECT_EQ(half.WindowFirst(1), 0);
  EXPECT_EQ(half.WindowLast(1), 1);
  EXPECT_EQ(half.weight[1], 128);
  EXPECT_EQ(half.ShownOf(1, 2), std::make_pair(1, 3));
  EXPECT_EQ(half.WindowOf(1, 3), std::make_pair(0, 2));
  // No mix so faint it would only tint a pixel, at any factor between the whole ones.
  for (int shown = 11; shown < 40; ++shown) {
    const ReductionAxis axis = MakeReductionAxis(10, (shown + 9) / 10, shown);
    for (std::uint16_t w : axis.weight)
      EXPECT_TRUE(w == 0 || (w >= 32 && w <= 224)) << shown << ": " << w;
  }
  // Black and white halves reduced: every pixel black, white or the one grey between.
  QImage halves(20, 4, QImage::Format_RGB32);
  halves.fill(Qt::black);
  for (int y = 0; y < 4; ++y)
    for (int x = 10; x < 20; ++x)
      halves.setPixel(x, y, 0xFFFFFFFF);
  QImage reduced(15, 3, QImage::Format_RGB32);
  Reduce(halves, MakeReductionAxis(10, 2, 15), MakeReductionAxis(2, 2, 3), reduced.rect(), reduced);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 15; ++x) {
      const QRgb want = x < 7 ? 0xFF000000u : x == 7 ? 0xFF7F7F7Fu : 0xFFFFFFFFu;
      EXPECT_EQ(reduced.pixel(x, y), want) << x << "," << y;
    }
}

}  // namespace
}  // namespace qm
