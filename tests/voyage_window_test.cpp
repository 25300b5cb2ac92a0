#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cockpit/voyage_window.h"
#include "fakes.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/widgets/qt_dialogs.h"
#include "state/atomic_file.h"
#include "state/save_files.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

using testing::FakeServices;

// Every picture the window loads when it is made.
std::vector<std::string> VoyagePictureNames() {
  std::vector<std::string> names = {"black", "gamen", "txt", "cont", "cont2", "trable", "syowaku"};
  for (int k : {1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19, 20, 21, 22})
    names.push_back("bui" + std::to_string(k));
  for (int k = 0; k <= 6; ++k)
    names.push_back("noize" + std::to_string(k));
  return names;
}

// A game folder with small pictures in cg/, and the voyage window on fakes over real widgets.
class VoyageWindow : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    std::filesystem::create_directory(Path("cg"));
    for (const std::string& name : VoyagePictureNames()) {
      QImage picture(8, 6, QImage::Format_RGB32);
      picture.fill(QColor(0x40, 0x80, 0xC0));
      ASSERT_TRUE(picture.save(QString::fromStdString(Path("cg/" + name + ".bmp")), "BMP"));
    }
    game.ship_name = Sj("ノア");
    game.commander_name = Sj("アキラ");
  }
  void TearDown() override {
    window.reset();
    TempGameFolder::TearDown();
  }
  TForm2& Make() {
    window = std::make_unique<TForm2>(game, services, controls);
    window->SetCloseTitleWindow([this] { ++closed; });
    return *window;
  }
  QWidget* Find(const char* name) { return controls.Find(name); }
  void Press(const char* name) {
    QWidget* w = Find(name);
    ASSERT_NE(w, nullptr) << name;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
  }
  std::string Error(const std::string& picture) {
    return Sj("ﾌｧｲﾙ ") + Path("cg/" + picture) + Sj(" は開けません.");
  }

  FakeServices fake;
  QtControls controls;
  Services services{fake.clock, fake.random, fake.dialogs, fake.sound, controls};
  GameState game;
  std::unique_ptr<TForm2> window;
  int closed = 0;
};

TEST_F(VoyageWindow, EveryComponentStandsAtItsPlace) {
  Make().FormCreate();
  struct Place {
    const char* name;
    int left, top, width, height;
  };
  for (const Place& p : {Place{"cg", 0, 0, 400, 300}, Place{"Image2", 4, 304, 140, 30},
                         Place{"Image6", 3, 335, 144, 92}, Place{"tra_b1", 4, 336, 70, 18},
                         Place{"tra_b10", 76, 408, 70, 18}, Place{"cont", 148, 304, 100, 100},
                         Place{"contact_b2", 252, 304, 93, 36},
                         Place{"contact_b", 428, 312, 93, 36}, Place{"Image5", 347, 304, 50, 34},
                         Place{"u_map_b2", 304, 340, 93, 36}, Place{"u_map_b", 524, 312, 93, 36},
                         Place{"Image4", 252, 342, 50, 34}, Place{"Image3", 252, 378, 145, 25}}) {
    QWidget* w = Find(p.name);
    ASSERT_NE(w, nullptr) << p.name;
    EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
  }
  EXPECT_EQ(Find("speed_l")->pos(), QPoint(260, 386));
  EXPECT_EQ(Find("energy_l")->pos(), QPoint(9, 310));
  EXPECT_EQ(Find("energy_l2")->pos(), QPoint(15, 322));
  EXPECT_EQ(Find("Shape2")->pos(), QPoint(148, 405));
  EXPECT_EQ(Find("vosk_l")->pos(), QPoint(149, 406));
  EXPECT_EQ(window->size(), QSize(400, 428));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("ノア号・船長アキラ"));
  for (const char* name : {"Button1", "Button2", "Button3", "Button4", "x_v", "y_v", "z_v"}) {
    QWidget* w = Find(name);
    ASSERT_NE(w, nullptr) << name;
    EXPECT_TRUE(w->isHidden()) << name;
    EXPECT_FALSE(w->isEnabled()) << name;
    EXPECT_GE(w->y(), 430) << name;
  }
  EXPECT_TRUE(Find("contact_b")->isHidden());
  EXPECT_TRUE(fake.dialogs.errors.empty());
}

TEST_F(VoyageWindow, TheFirstMissingPictureIsNamedAndTheWindowIsStillMadeWhole) {
  std::filesystem::remove(Path("cg/gamen.bmp"));
  std::filesystem::remove(Path("cg/noize3.bmp"));
  TForm2& w = Make();
  w.FormCreate();
  EXPECT_EQ(fake.dialogs.errors, (std::vector<std::string>{Error("gamen.bmp")}));
  const VoyagePictures& p = w.pictures();
  EXPECT_TRUE(p.gamen.IsNull());
  EXPECT_TRUE(p.noize[kNoiseInterference].IsNull());
  // The pictures after the missing ones are there.
  EXPECT_FALSE(p.txt.IsNull());
  EXPECT_FALSE(p.noize[kNoiseInterference2].IsNull());
  EXPECT_FALSE(p.bui[22].IsNull());
  EXPECT_FALSE(p.syowaku.IsNull());
  // Typewriter started and stars placed.
  EXPECT_EQ(w.cockpit().state().typewriter_pos, 1);
  int placed = 0;
  for (const Star& s : w.state().stars)
    placed += s.drawn == 1 && s.radius >= 1 ? 1 : 0;
  EXPECT_EQ(placed, kStarCount);
  // And the voyage flies on without them: the frame that wants the missing noise draws nothing.
  w.state().logon_step = kLogonFrames;
  w.state().check_countdown = 5;
  for (int i = 0; i < 3; ++i)
    w.voyage().RunFrame();
  EXPECT_EQ(w.state().check_countdown, 2);
}

TEST_F(VoyageWindow, WithoutTheWholePictureFolderOneBoxNamesTheFirstPicture) {
  std::filesystem::remove_all(Path("cg"));
  Make().FormCreate();
  EXPECT_EQ(fake.dialogs.errors, std::vector<std::string>{Error("black.bmp")});
  EXPECT_EQ(window->cockpit().state().typewriter_pos, 1);
  window->voyage().RunFrame();
}

TEST_F(VoyageWindow, ThePanelButtonsReachTheirHandlers) {
  TForm2& w = Make();
  w.FormCreate();
  w.show();
  game.resources = 7;
  w.state().current_point = -1;

  Press("contact_b2");
  EXPECT_EQ(w.state().contact_blink, 10);
  EXPECT_EQ(w.state().noise_countdown, 10);
  EXPECT_EQ(Find("contact_b")->pos(), QPoint(252, 304));

  Press("u_map_b2");
  EXPECT_EQ(w.state().chart_open, 1);
  EXPECT_EQ(Find("u_map_b")->pos(), QPoint(304, 340));
  EXPECT_TRUE(Find("moji_box")->isVisible());
  EXPECT_EQ(Find("moji_box")->pos(), QPoint(4, 304));
  // The box lies over the panel buttons.
  Press("Shape1");
  EXPECT_EQ(w.state().chart_open, 0);
  EXPECT_FALSE(Find("moji_box")->isVisible());

  fake.dialogs.default_answer = false;
  Press("Image4");
  Press("Image5");
  Press("Image3");
  ASSERT_EQ(fake.dialogs.asked.size(), 3u);
  EXPECT_EQ(fake.dialogs.asked[0].substr(0, 6), Sj("資源 3"));
  EXPECT_EQ(fake.dialogs.asked[1].substr(0, 8), Sj("ここまで"));
  EXPECT_EQ(fake.dialogs.asked[2].substr(0, 6), Sj("資源を"));
  EXPECT_EQ(game.resources, 7);
}

TEST_F(VoyageWindow, TheFramesBlinkThePressedPictureOverTheButton) {
  TForm2& w = Make();
  w.FormCreate();
  w.show();
  w.state().logon_step = kLogonFrames;
  Press("contact_b2");
  fake.clock.AdvanceMs(100);
  w.voyage().Timer1Timer();
  EXPECT_TRUE(Find("contact_b")->isVisible());
  fake.clock.AdvanceMs(100);
  w.voyage().Timer1Timer();
  EXPECT_FALSE(Find("contact_b")->isVisible());
}

TEST_F(VoyageWindow, ClosingAsksOnceAndNoEndsWithoutSaving) {
  TForm2& w = Make();
  w.FormCreate();
  w.show();
  fake.dialogs.default_answer = false;
  // The window manager asks again while the question is open.
  fake.dialogs.while_open = [&] { w.close(); };
  w.close();
  EXPECT_EQ(fake.dialogs.asked.size(), 1u);
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("dat/my.dat")));
  EXPECT_FALSE(w.isVisible());
}

TEST_F(VoyageWindow, ClosingWithYesSaves) {
  TForm2& w = Make();
  w.FormCreate();
  w.show();
  w.close();
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(std::filesystem::exists(Path("dat/my.dat")));
}

TEST_F(VoyageWindow, ASaveThatCannotBeWrittenOnClosingKeepsTheWindowOpen) {
  TForm2& w = Make();
  w.FormCreate();
  w.show();
  // A folder where the new record is written first: the save fails.
  std::filesystem::create_directory(TemporaryPathFor(SavedGamePath()));
  fake.dialogs.answers = {true, false};
  w.close();
  EXPECT_EQ(fake.dialogs.errors.size(), 1u);
  EXPECT_EQ(closed, 0);
  EXPECT_TRUE(w.isVisible());
  // Closed again, the question comes again, and No ends without saving.
  w.close();
  EXPECT_EQ(fake.dialogs.asked.size(), 2u);
  EXPECT_EQ(closed, 1);
  EXPECT_FALSE(std::filesystem::exists(Path("dat/my.dat")));
}

// Real clicks on the shown window, routed by Qt to whatever control lies under the pointer: only
// the pad, the view and the bare window take the release (the "e2.wav" click, steering ended).
TEST_F(VoyageWindow, OnlyThePadTheViewAndTheBareWindowTakeAButtonRelease) {
  TForm2& w = Make();
  w.FormCreate();
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  // Through the window system's door, so Qt itself finds the control under the pointer.
  QWindow* door = w.windowHandle();
  ASSERT_NE(door, nullptr);
  w.state().logon_step = kLogonFrames;
  auto releases = [&] {
    int n = 0;
    for (const std::string& c : fake.sound.calls)
      n += c == "cue 2 e2.wav" ? 1 : 0;
    return n;
  };
  struct Place {
    const char* what;
    QPoint at;
    bool takes_release;
  };
  const Place places[] = {
      {"pad", {198, 354}, true},
      {"view", {200, 150}, true},
      {"bare window left of the panel", {1, 320}, true},
      {"status line", {250, 415}, false},
      {"contact button", {298, 322}, false},
      {"energy gauge", {50, 313}, false},
      {"gauge plate", {100, 328}, false},
      {"repair plate", {60, 420}, false},
      {"booster plate", {320, 392}, false},
      {"chart button", {350, 358}, false},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.what);
    w.state().pad_left_held = 1;
    w.state().pad_right_held = 1;
    const int before = releases();
    QTest::mouseClick(door, Qt::LeftButton, Qt::NoModifier, p.at);
    EXPECT_EQ(releases() - before, p.takes_release ? 1 : 0);
    EXPECT_EQ(w.state().pad_left_held, p.takes_release ? 0 : 1);
    EXPECT_EQ(w.state().pad_right_held, p.takes_release ? 0 : 1);
  }
  // The chart button opened the box over the panel, with nothing to list: a click closes it.
  ASSERT_TRUE(Find("moji_box")->isVisible());
  QTest::mouseClick(door, Qt::LeftButton, Qt::NoModifier, QPoint(200, 380));
  EXPECT_FALSE(Find("moji_box")->isVisible());
  // A page still being typed: a click on the box shows it whole, nothing more.
  w.cockpit().AddMessage(std::string(40, 'A'));
  w.cockpit().ShowMessageBox();
  ASSERT_TRUE(Find("moji_box")->isVisible());
  w.state().pad_left_held = 1;
  const int before = releases();
  QTest::mouseClick(door, Qt::LeftButton, Qt::NoModifier, QPoint(200, 380));
  EXPECT_EQ(releases(), before);
  EXPECT_EQ(w.state().pad_left_held, 1);
  // A hold that began on the pad ends wherever the button comes up, the box included.
  Find("moji_box")->hide();
  QTest::mousePress(door, Qt::LeftButton, Qt::NoModifier, QPoint(198, 354));
  Find("moji_box")->show();
  QTest::mouseRelease(door, Qt::LeftButton, Qt::NoModifier, QPoint(200, 380));
  EXPECT_EQ(releases(), before + 1);
  EXPECT_EQ(w.state().pad_left_held, 0);
}

// The real window on the real event loop: a real clock and real modal boxes. The survey question
// is opened by a frame, from the window's own timer; while it stands open the frames must go on
// (the view, the readouts, the typewriter), and the contact must not be examined a second time.
TEST_F(VoyageWindow, FramesKeepRunningWhileAQuestionAskedByAFrameIsOpen) {
  SteadyClock clock;
  QtDialogs dialogs;
  Services real{clock, fake.random, dialogs, fake.sound, controls};
  window = std::make_unique<TForm2>(game, real, controls);
  window->SetCloseTitleWindow([this] { ++closed; });
  TForm2& w = *window;
  w.FormCreate();
  // An Earth-type planet in the ship's sector, known but never visited.
  ChartPoint& planet = game.chart[5];
  planet.x = -game.sector_x;
  planet.y = game.sector_y;
  planet.z = game.sector_z;
  planet.kind = 20;
  game.point_state[5] = 1;
  game.resources = 10;
  w.StartVoyage();
  w.state().check_countdown = 2;  // the next frame examines

  int boxes_seen = 0;
  int counter_at_open = -1;
  int frames_while_open = -1;
  int logon_at_open = -1;
  int logon_while_open = -1;
  QMessageBox* seen = nullptr;
  QElapsedTimer open_for;
  QEventLoop loop;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (frames_while_open >= 0) loop.quit();
      return;
    }
    if (box != seen) {
      seen = box;
      ++boxes_seen;
      counter_at_open = w.state().blink_counter;
      logon_at_open = w.state().logon_step;
      open_for.start();
      return;
    }
    if (open_for.elapsed() < 800 || frames_while_open >= 0) return;
    frames_while_open = (w.state().blink_counter - counter_at_open + 1000) % 1000;
    logon_while_open = w.state().logon_step - logon_at_open;
    for (QAbstractButton* b : box->buttons())
      if (b->text() == QStringLiteral("いいえ(&N)")) b->click();
  });
  watcher.start(20);
  QTimer::singleShot(6000, &loop, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(0);
    loop.quit();
  });
  loop.exec();
  watcher.stop();

  ASSERT_EQ(boxes_seen, 1) << "the survey question was asked once";
  // 800 ms at ten frames a second; a loaded machine may lose a few, a stopped timer loses all.
  EXPECT_GE(frames_while_open, 4);
  EXPECT_EQ(logon_while_open, frames_while_open);  // whole frames, up to the last step
  EXPECT_EQ(w.state().check_countdown, 0);
  // Declined: the planet waits for the next contact.
  EXPECT_EQ(game.point_state[5], 1);
  EXPECT_EQ(game.voyage_days, 0);
}

// The window's own controls, but the resources readout, set once in every frame, takes 120 ms to
// set: a frame as slow as a loaded machine makes it.
class SlowFrameControls final : public Controls {
 public:
  explicit SlowFrameControls(QtControls& real) : real_(real) {}
  void SetVisible(std::string_view name, bool visible) override { real_.SetVisible(name, visible); }
  bool IsVisible(std::string_view name) const override { return real_.IsVisible(name); }
  void Move(std::string_view name, int left, int top) override { real_.Move(name, left, top); }
  void SetCaption(std::string_view name, const std::string& cp932) override {
    if (name == "speed_l") std::this_thread::sleep_for(std::chrono::milliseconds(120));
    real_.SetCaption(name, cp932);
  }
  void SetEnabled(std::string_view name, bool enabled) override { real_.SetEnabled(name, enabled); }

 private:
  QtControls& real_;
};

// A frame that overruns its 100 ms is followed at once by the next, on the window's own timer
// and a real clock: frames of 120 ms make 20 in 2.4 s. Waiting a further 100 ms after each late
// frame made 11.
TEST_F(VoyageWindow, AFrameThatRunsLateIsFollowedAtOnceByTheNext) {
  SteadyClock clock;
  SlowFrameControls slow(controls);
  Services real{clock, fake.random, fake.dialogs, fake.sound, slow};
  window = std::make_unique<TForm2>(game, real, controls);
  TForm2& w = *window;
  w.FormCreate();
  w.StartVoyage();
  w.state().logon_step = kLogonFrames;  // the instruments, and so the slow readout, every frame
  QEventLoop loop;
  QTimer::singleShot(300, &loop, &QEventLoop::quit);
  loop.exec();
  const int first = w.state().blink_counter;
  QTimer::singleShot(2400, &loop, &QEventLoop::quit);
  loop.exec();
  const int frames = (w.state().blink_counter - first + 1000) % 1000;
  // 16 leaves a loaded machine 30 ms more on each frame.
  EXPECT_GE(frames, 16);
}

}  // namespace
}  // namespace qm
