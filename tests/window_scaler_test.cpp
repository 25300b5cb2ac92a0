#include <gtest/gtest.h>

#include <QApplication>
#include <QGraphicsView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <vector>

#include "app/window_sizes.h"
#include "platform/surface.h"
#include "platform/widgets/scaled_view.h"
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

// --- Fit: any factor, with sharp pixels ---

// A window that is all picture. Red grows with the column, green with the row, and blue mixes
// both, so no two neighbours are alike and every shown pixel tells which window pixels it was
// made from: a colour exactly a window pixel's is that pixel unmixed. The steps are large enough
// that the least mix the reduction makes (an eighth) moves red and green.
int Red(int x) {
  return 10 + 8 * x;
}
int Green(int y) {
  return 10 + 12 * y;
}
int Blue(int x, int y) {
  return (37 * x + 91 * y) % 256;
}
QRgb MosaicColour(int x, int y) {
  return qRgb(Red(x), Green(y), Blue(x, y));
}

class Mosaic : public QWidget {
 public:
  Mosaic(int width, int height) : picture(width, height) {
    for (int x = 0; x < width; ++x)
      for (int y = 0; y < height; ++y)
        picture.SetPixel(x, y, MosaicColour(x, y) & 0xFFFFFF);
    pad = new SurfaceWidget(&picture, this);
    pad->setGeometry(0, 0, width, height);
    pad->on_press = [this](Qt::MouseButton, int x, int y) { pressed = {x, y}; };
    setFixedSize(width, height);
  }
  Surface picture;
  SurfaceWidget* pad;
  QPoint pressed{-1, -1};
};

// Lets the changes reach the screen: the comparison and the repaint are posted one after another.
void LetItShow() {
  for (int i = 0; i < 10; ++i)
    QCoreApplication::processEvents();
}

QImage ShownPicture(QWidget& w, const WindowScaler& scaler) {
  return w.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(scaler.ShownRect());
}

// Which shown columns (or rows) show each window column unmixed: runs[d] = {first, count}.
// Anything else must be one mixed column between two neighbours, its value strictly between
// theirs: no blur wider than a pixel and no column shown twice apart.
std::vector<std::pair<int, int>> Runs(int shown, int window, const std::function<int(int)>& value,
                                      const std::function<int(int)>& of) {
  std::vector<std::pair<int, int>> runs(static_cast<size_t>(window), {-1, 0});
  int d = -1;
  int mixed = 0;
  for (int i = 0; i < shown; ++i) {
    const int v = value(i);
    if (d + 1 < window && v == of(d + 1)) {
      runs[static_cast<size_t>(++d)] = {i, 1};
      mixed = 0;
    } else if (d >= 0 && v == of(d) && mixed == 0) {
      ++runs[static_cast<size_t>(d)].second;
    } else {
      ++mixed;
      EXPECT_TRUE(d >= 0 && d + 1 < window && of(d) < v && v < of(d + 1))
          << "shown " << i << " is " << v << " after window " << d;
      EXPECT_LE(mixed, 1) << "shown " << i;
    }
  }
  EXPECT_EQ(d, window - 1);
  int fewest = shown, most = 0;
  for (const auto& [first, count] : runs) {
    fewest = std::min(fewest, count);
    most = std::max(most, count);
  }
  EXPECT_GE(fewest, 1);
  EXPECT_LE(most - fewest, 1) << "uneven columns";
  return runs;
}

// Every window pixel shows as a block of one colour, exactly its own, as even as the factor
// allows, with at most one mixed pixel between neighbouring blocks.
void ExpectSharp(const QImage& shown, int width, int height) {
  for (int i = 0; i < shown.width(); ++i)
    for (int j = 1; j < shown.height(); ++j)
      ASSERT_EQ(qRed(shown.pixel(i, j)), qRed(shown.pixel(i, 0))) << i << "," << j;
  for (int j = 0; j < shown.height(); ++j)
    for (int i = 1; i < shown.width(); ++i)
      ASSERT_EQ(qGreen(shown.pixel(i, j)), qGreen(shown.pixel(0, j))) << i << "," << j;
  const auto columns = Runs(
      shown.width(), width, [&](int i) { return qRed(shown.pixel(i, 0)); }, Red);
  const auto rows = Runs(
      shown.height(), height, [&](int j) { return qGreen(shown.pixel(0, j)); }, Green);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      const auto [left, w] = columns[static_cast<size_t>(x)];
      const auto [top, h] = rows[static_cast<size_t>(y)];
      for (int i = left; i < left + w; ++i)
        for (int j = top; j < top + h; ++j)
          ASSERT_EQ(shown.pixel(i, j), MosaicColour(x, y))
              << x << "," << y << " at " << i << "," << j;
    }
}

TEST(WindowFit, ScreensShowTheWholeWindowAsLargeAsItFits) {
  struct Case {
    QSize screen;
    QRect fit;
    QRect whole;
  };
  // The voyage window, 400 x 428, on the screens players have.
  for (const Case& c : {Case{{1280, 800}, {266, 0, 748, 800}, {440, 186, 400, 428}},
                        Case{{1366, 768}, {324, 0, 718, 768}, {483, 170, 400, 428}},
                        Case{{1920, 1080}, {455, 0, 1009, 1080}, {560, 112, 800, 856}},
                        Case{{2560, 1440}, {607, 0, 1346, 1440}, {680, 78, 1200, 1284}}}) {
    const ShownPlace fit = ShownIn({400, 428}, c.screen, true);
    EXPECT_EQ(fit.rect, c.fit) << c.screen.width();
    EXPECT_DOUBLE_EQ(fit.factor, c.screen.height() / 428.0);
    const ShownPlace whole = ShownIn({400, 428}, c.screen, false);
    EXPECT_EQ(whole.rect, c.whole) << c.screen.width();
    EXPECT_EQ(whole.factor, c.whole.width() / 400);
  }
  // The title window is limited by the width instead; a window no screen holds stays at 1x.
  EXPECT_EQ(ShownIn({779, 302}, {1366, 768}, true).rect, QRect(0, 119, 1366, 530));
  EXPECT_EQ(ShownIn({400, 428}, {300, 300}, true).factor, 1);
}

TEST(WindowFit, FullScreenFitsByDefaultAndF10SwitchesToWholeFactors) {
  Mosaic w(30, 20);
  w.show();
  WindowScaler scaler(&w);
  int changes = 0;
  scaler.on_changed = [&] { ++changes; };
  QTest::keyClick(&w, Qt::Key_F11);
  const QSize screen = w.screen()->geometry().size();
  const double fit = std::min(screen.width() / 30.0, screen.height() / 20.0);
  ASSERT_NE(fit, std::floor(fit)) << "the test wants a screen the mosaic does not divide";
  EXPECT_TRUE(scaler.Fits());
  EXPECT_DOUBLE_EQ(scaler.ShownFactor(), fit);
  EXPECT_EQ(scaler.ShownRect(), ShownIn({30, 20}, screen, true).rect);
  // One side fills the screen.
  EXPECT_TRUE(scaler.ShownRect().width() == screen.width() ||
              scaler.ShownRect().height() == screen.height());

  QTest::keyClick(ViewOf(w), Qt::Key_F10);
  EXPECT_EQ(scaler.fit_choice(), FitChoice::kPixelPerfect);
  EXPECT_FALSE(scaler.Fits());
  EXPECT_EQ(scaler.ShownFactor(), std::floor(fit));
  EXPECT_EQ(scaler.ShownRect().size(), QSize(30, 20) * static_cast<int>(std::floor(fit)));
  QTest::keyClick(ViewOf(w), Qt::Key_F10);
  EXPECT_EQ(scaler.fit_choice(), FitChoice::kFit);
  EXPECT_DOUBLE_EQ(scaler.ShownFactor(), fit);
  // A held key switches once.
  QKeyEvent held(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(ViewOf(w), &held);
  EXPECT_EQ(scaler.fit_choice(), FitChoice::kFit);
  EXPECT_EQ(changes, 3);
}

TEST(WindowFit, CtrlPlusAndMinusStepByHalvesUnderFitAndByWholesPixelPerfect) {
  QWidget w;
  w.setFixedSize(100, 100);
  w.show();
  WindowScaler scaler(&w);
  const double most = scaler.MaxScale();
  ASSERT_GE(most, 3);
  // Until fit is chosen, a window steps as it always did.
  QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_EQ(scaler.scale(), 2);
  QTest::keyClick(ViewOf(w), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(scaler.scale(), 1);

  QTest::keyClick(&w, Qt::Key_F10);
  EXPECT_EQ(scaler.fit_choice(), FitChoice::kFit);
  // The largest half step the screen holds, the frame included.
  const QRect area = w.screen()->availableGeometry();
  const double room = std::min((area.width() - 6) / 100.0, (area.height() - 28) / 100.0);
  const double fit_most = scaler.MaxScale();
  EXPECT_EQ(fit_most, std::floor(room * 2) / 2);
  std::vector<double> steps;
  for (int i = 0; i < 40; ++i) {
    QTest::keyClick(&w, Qt::Key_Equal, Qt::ControlModifier);
    steps.push_back(scaler.scale());
    EXPECT_EQ(w.size(), QSize(100, 100) * scaler.scale());
    EXPECT_DOUBLE_EQ(scaler.ShownFactor(), scaler.scale());
  }
  EXPECT_EQ(steps[0], 1.5);
  EXPECT_EQ(steps[1], 2);
  EXPECT_EQ(steps[2], 2.5);
  EXPECT_EQ(steps.back(), fit_most);
  QTest::keyClick(ViewOf(w), Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_EQ(scaler.scale(), fit_most - 0.5);

  // Pixel-perfect keeps the window at a whole factor: a half step goes down to the whole below.
  scaler.SetScale(2.5);
  QTest::keyClick(ViewOf(w), Qt::Key_F10);
  EXPECT_EQ(scaler.fit_choice(), FitChoice::kPixelPerfect);
  EXPECT_EQ(scaler.scale(), 2);
  EXPECT_EQ(w.size(), QSize(200, 200));
  QTest::keyClick(ViewOf(w), Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(scaler.scale(), 3);
  scaler.SetScale(1000);
  EXPECT_EQ(scaler.scale(), std::floor(room));
}

TEST(WindowFit, AHalfFactorShowsEveryPixelSharpAndEven) {
  Mosaic w(30, 20);
  w.show();
  WindowScaler scaler(&w);
  scaler.SetFitChoice(FitChoice::kFit);
  scaler.SetScale(1.5);
  ASSERT_EQ(w.size(), QSize(45, 30));
  ASSERT_EQ(scaler.ShownRect(), QRect(0, 0, 45, 30));
  const QImage shown = ShownPicture(w, scaler);
  ExpectSharp(shown, 30, 20);
  // At one and a half every window pixel is one shown pixel, with a half-and-half mix between
  // every other pair: (0) mix (1) (2) mix (3) ...
  EXPECT_EQ(shown.pixel(0, 0), MosaicColour(0, 0));
  EXPECT_EQ(qRed(shown.pixel(1, 0)), (Red(0) + Red(1)) / 2);
  EXPECT_EQ(shown.pixel(2, 2), MosaicColour(1, 1));
  EXPECT_EQ(shown.pixel(3, 3), MosaicColour(2, 2));
}

TEST(WindowFit, FullScreenAtAnyFactorIsSharpAndEvenOnBlack) {
  Mosaic w(30, 20);
  w.show();
  WindowScaler scaler(&w);
  scaler.SetFullScreen(true);
  const QRect place = scaler.ShownRect();
  const QImage whole = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  ExpectSharp(whole.copy(place), 30, 20);
  for (int y = 0; y < whole.height(); ++y)
    for (int x = 0; x < whole.width(); ++x) {
      if (place.contains(x, y)) continue;
      ASSERT_EQ(whole.pixel(x, y), 0xFF000000u) << x << "," << y;
    }
}

TEST(WindowFit, TheMouseReachesTheWindowPixelAShownPixelShowsUnmixed) {
  Mosaic w(30, 20);
  w.show();
  WindowScaler scaler(&w);
  scaler.SetFullScreen(true);
  const QRect place = scaler.ShownRect();
  const QImage shown = ShownPicture(w, scaler);
  QWidget* viewport = ViewOf(w)->viewport();
  int clicked = 0;
  auto click = [&](int i, int j) {
    const QRgb c = shown.pixel(i, j);
    const int x = (qRed(c) - 10) / 8, y = (qGreen(c) - 10) / 12;
    if (x < 0 || x >= 30 || y < 0 || y >= 20 || c != MosaicColour(x, y)) return;  // mixed
    w.pressed = {-1, -1};
    QTest::mouseClick(viewport, Qt::LeftButton, {}, place.topLeft() + QPoint(i, j));
    ASSERT_EQ(w.pressed, QPoint(x, y)) << "shown " << i << "," << j;
    ++clicked;
  };
  for (int i = 0; i < place.width(); ++i)
    for (int j : {0, place.height() / 3, place.height() - 1})
      click(i, j);
  for (int j = 0; j < place.height(); ++j)
    for (int i : {0, place.width() / 2, place.width() - 1})
      click(i, j);
  EXPECT_GT(clicked, place.width() * 2);
}

TEST(WindowFit, AtAHalfFactorAClickReachesTheControlUnderIt) {
  Window w;
  w.show();
  WindowScaler scaler(&w);
  scaler.SetFitChoice(FitChoice::kFit);
  scaler.SetScale(1.5);
  ASSERT_EQ(w.size(), QSize(60, 45));
  const QImage shown = ShownPicture(w, scaler);
  QWidget* viewport = ViewOf(w)->viewport();
  // Along the pad's row 4 (window row 10) and a little beyond its edges.
  const int j = 15;
  int on_pad = 0;
  for (int i = 9; i < 45; ++i) {
    // Every third shown pixel mixes two window pixels: 0 (1) 2 | 3 (4) 5 | ...
    if (i % 3 == 1) continue;
    const QRgb c = shown.pixel(i, j);
    ASSERT_TRUE(c == 0xFF000000u || c == 0xFFFFFFFFu) << i;
    w.pressed = {-1, -1};
    w.released = {-1, -1};
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(i, j));
    // The window pixel whose block covers most of the shown one; the pad spans 8 to 27.
    const int x = (2 * i + 1) / 3;
    if (x >= 8 && x < 28) {
      EXPECT_EQ(w.pressed, QPoint(x - 8, 4)) << i;
      // The picture's own colour, so the pixel reached is the pixel shown.
      EXPECT_EQ(c, (x - 8 + 4) % 2 ? 0xFFFFFFFFu : 0xFF000000u) << i;
      ++on_pad;
    } else {
      EXPECT_EQ(w.pressed, QPoint(-1, -1)) << i;
      EXPECT_EQ(w.released.y(), 10) << i;
    }
  }
  EXPECT_GE(on_pad, 20);
}

TEST(WindowFit, OnlyWhatChangedIsDrawnAgainAndItShowsAsAFreshDrawingWould) {
  Mosaic w(30, 20);
  w.show();
  WindowScaler scaler(&w);
  scaler.SetFullScreen(true);
  QWidget* viewport = ViewOf(w)->viewport();
  QImage before = ShownPicture(w, scaler);
  LetItShow();

  struct Painted : QObject {
    QRegion region;
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) {
        region += static_cast<QPaintEvent*>(e)->region();
        ++paints;
      }
      return false;
    }
  } painted;
  viewport->installEventFilter(&painted);
  // An update that changes nothing shows nothing again.
  w.pad->update();
  LetItShow();
  EXPECT_EQ(painted.paints, 0);

  // One pixel changes: only the blocks of the window pixels next to it are painted (text drawn
  // larger may reach a pixel or two further than at the window's own size), not the picture.
  w.picture.SetPixel(12, 7, 0x0000FF);
  w.pad->update();
  LetItShow();
  viewport->removeEventFilter(&painted);
  ASSERT_GT(painted.paints, 0);
  const double f = scaler.ShownFactor();
  const QPoint origin = scaler.ShownRect().topLeft();
  const QRect near = QRectF(10 * f, 5 * f, 5 * f, 5 * f).toAlignedRect().translated(origin);
  const QRect painted_box = painted.region.boundingRect();
  EXPECT_TRUE(near.adjusted(-1, -1, 1, 1).contains(painted_box))
      << painted_box.x() << "," << painted_box.y() << " " << painted_box.width() << "x"
      << painted_box.height();
  EXPECT_LT(painted.region.boundingRect().width(), scaler.ShownRect().width() / 4);
  const QImage after = ShownPicture(w, scaler);
  const QPoint middle = QPointF(12.5 * f, 7.5 * f).toPoint();
  EXPECT_EQ(after.pixel(middle), 0xFF0000FFu);

  // A picture that tells its own changed pixels: only their blocks and the mixed pixels around
  // them are painted.
  w.picture.SetPixel(25, 15, 0x00FF00);
  painted.region = QRegion();
  viewport->installEventFilter(&painted);
  w.pad->Refresh();
  LetItShow();
  viewport->removeEventFilter(&painted);
  const QRect block = QRectF(25 * f, 15 * f, f, f).toAlignedRect().translated(origin);
  EXPECT_TRUE(block.adjusted(-1, -1, 1, 1).contains(painted.region.boundingRect()));
  EXPECT_FALSE(painted.region.isEmpty());
  const QImage refreshed = ShownPicture(w, scaler);
  EXPECT_EQ(refreshed.pixel(QPointF(25.5 * f, 15.5 * f).toPoint()), 0xFF00FF00u);

  // The same window drawn afresh shows exactly the same.
  Mosaic fresh(30, 20);
  fresh.picture.SetPixel(12, 7, 0x0000FF);
  fresh.picture.SetPixel(25, 15, 0x00FF00);
  fresh.show();
  WindowScaler fresh_scaler(&fresh);
  fresh_scaler.SetFullScreen(true);
  EXPECT_EQ(ShownPicture(fresh, fresh_scaler), refreshed);
  EXPECT_NE(before, after);
}

TEST(WindowFit, TextChangedOrAControlHiddenShowsAsAFreshDrawingWould) {
  // Text drawn larger is fitted to the finer pixels, so its edges need not lie where they lay at
  // the window's own size: a change found there must still be drawn wholly when enlarged.
  struct Case {
    const char* before;
    const char* after;
    int pixels;
    bool bold, italic;
  };
  // A label over a black plate; the change also hides the plate.
  auto make = [](QWidget& w, const Case& c, const char* text, bool plate) {
    w.setFixedSize(47, 23);
    w.setAutoFillBackground(true);
    QPalette grey = w.palette();
    grey.setColor(QPalette::Window, QColor(0x94, 0x94, 0x94));
    w.setPalette(grey);
    auto* box = new QWidget(&w);
    box->setGeometry(20, 12, 25, 9);
    box->setStyleSheet(QStringLiteral("background: black;"));
    box->setVisible(plate);
    auto* label = new QLabel(QString::fromUtf8(text), &w);
    label->setGeometry(3, 2, 41, 19);
    label->setStyleSheet(QStringLiteral("color: #00FFFF; background: transparent;"));
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(c.pixels);
    font.setBold(c.bold);
    font.setItalic(c.italic);
    label->setFont(font);
    return std::make_pair(label, box);
  };
  auto enlarge = [](WindowScaler& scaler, double scale) {
    scaler.SetFitChoice(FitChoice::kFit);
    // 0 is full screen, where the factor is whatever the screen gives.
    if (scale == 0) {
      scaler.SetFullScreen(true);
    } else {
      scaler.SetScale(scale);
    }
  };
  for (const Case& c : {Case{"12", "345", 11, true, false}, Case{"Ag", "gA", 15, false, true},
                        Case{"日本", "航海", 13, true, true}, Case{"|_|", "-.-", 9, false, false}})
    for (double scale : {1.5, 2.5, 3.5, 0.0}) {
      QWidget w;
      const auto [label, box] = make(w, c, c.before, true);
      w.show();
      WindowScaler scaler(&w);
      enlarge(scaler, scale);
      ShownPicture(w, scaler);
      LetItShow();
      label->setText(QString::fromUtf8(c.after));
      box->hide();
      LetItShow();
      const QImage changed = ShownPicture(w, scaler);

      QWidget fresh;
      make(fresh, c, c.after, false);
      fresh.show();
      WindowScaler fresh_scaler(&fresh);
      enlarge(fresh_scaler, scale);
      EXPECT_EQ(ShownPicture(fresh, fresh_scaler), changed)
          << c.before << " to " << c.after << " at " << scaler.ShownFactor();
    }
}

TEST(WindowFit, TextIsDrawnAtTheFinerResolutionNotAsEnlargedPixels) {
  QWidget w;
  w.setFixedSize(40, 20);
  w.setAutoFillBackground(true);
  QPalette pal = w.palette();
  pal.setColor(QPalette::Window, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::black);
  w.setPalette(pal);
  auto* label = new QLabel(QStringLiteral("Ag"), &w);
  label->setGeometry(0, 0, 40, 20);
  QFont font = label->font();
  font.setPixelSize(14);
  label->setFont(font);
  w.show();
  const QImage own = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
  WindowScaler scaler(&w);
  scaler.SetFitChoice(FitChoice::kFit);
  scaler.SetScale(1.5);
  const QImage shown = ShownPicture(w, scaler);
  // The window's own pixels, enlarged sharply to one and a half, are not what shows: the text
  // was drawn at twice the size and reduced, so it has finer steps than the window's pixels.
  QImage blocks = own.scaled(own.size() * 2);
  QImage enlarged(shown.size(), QImage::Format_RGB32);
  Reduce(blocks, MakeReductionAxis(40, 2, 60), MakeReductionAxis(20, 2, 30), enlarged.rect(),
         enlarged);
  EXPECT_NE(shown, enlarged);
  // At twice the size some 2 x 2 block of the text is not of one colour.
  scaler.SetScale(2);
  const QImage twice = ShownPicture(w, scaler);
  int finer = 0;
  for (int y = 0; y + 1 < twice.height(); y += 2)
    for (int x = 0; x + 1 < twice.width(); x += 2) {
      const QRgb c = twice.pixel(x, y);
      finer +=
          c != twice.pixel(x + 1, y) || c != twice.pixel(x, y + 1) || c != twice.pixel(x + 1, y + 1)
              ? 1
              : 0;
    }
  EXPECT_GT(finer, 5);
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

TEST(WindowSizes, TheFitChoiceAndAHalfStepAreKeptForTheNextStart) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("window.ini")).toStdString();
  {
    Window title, voyage;
    WindowSizes sizes(&title, &voyage, path);
    sizes.voyage().SetScale(1);
    QTest::keyClick(&voyage, Qt::Key_F10);
    QTest::keyClick(&voyage, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(sizes.voyage().scale(), 1.5);
  }
  {
    Window title, voyage;
    WindowSizes sizes(&title, &voyage, path);
    EXPECT_EQ(sizes.voyage().fit_choice(), FitChoice::kFit);
    EXPECT_EQ(sizes.voyage().scale(), 1.5);
    EXPECT_EQ(voyage.size(), QSize(60, 45));
    EXPECT_EQ(sizes.title().fit_choice(), FitChoice::kUnchosen);
    // In full screen, pixel-perfect.
    QTest::keyClick(ViewOf(voyage), Qt::Key_F11);
    QTest::keyClick(ViewOf(voyage), Qt::Key_F10);
  }
  Window title, voyage;
  WindowSizes sizes(&title, &voyage, path);
  EXPECT_TRUE(sizes.voyage().full_screen());
  EXPECT_EQ(sizes.voyage().fit_choice(), FitChoice::kPixelPerfect);
  EXPECT_EQ(sizes.voyage().ShownFactor(), std::floor(sizes.voyage().ShownFactor()));
  // Pixel-perfect keeps the window itself to a whole factor too.
  EXPECT_EQ(sizes.voyage().scale(), 1);
}

}  // namespace
}  // namespace qm
