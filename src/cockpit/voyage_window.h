#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "cockpit/cockpit.h"
#include "cockpit/cockpit_pictures.h"
#include "cockpit/panels.h"
#include "platform/services.h"
#include "platform/surface.h"
#include "platform/widgets/qt_controls.h"
#include "platform/widgets/surface_widget.h"
#include "voyage/voyage.h"

namespace qm {

// The voyage window: the 400 x 300 view, the steering pad, the instrument panel with its repair
// buttons and the message box, driven by a 5 ms timer that runs the voyage frame.
//
// The timer's slot never runs the frame itself: Qt does not fire a timer again while that
// timer's own slot is still running, so a question opened inside the frame (the planet survey)
// would stop the voyage until it is answered. The slot only posts the frame to the event queue;
// the frame then runs from the queue, outside the slot, and while a box it opened is up, the
// box's nested loop keeps taking the timer's later posts and runs ordinary frames beneath it.
// The frame's own countdown keeps such nested frames from examining the point again.
class TForm2 : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TForm2)
 public:
  TForm2(GameState& game, Services& services, QtControls& controls, QWidget* parent = nullptr);
  ~TForm2() override;

  // Window creation: caption, size, pictures, typewriter, stars. The first picture that cannot
  // be read is reported; every one that cannot is left out, and the window is still made whole.
  void FormCreate();
  // Shows the window and starts the ship computer's log-on screen.
  void StartVoyage();
  // The close box: the quit question, then the title window is closed, which ends the program.
  // Returns false when the voyage goes on (a save that could not be written); closing again asks
  // again.
  bool FormClose();
  // What closing the title window means; until the title window exists, quitting the program.
  void SetCloseTitleWindow(std::function<void()> close) { close_title_window_ = std::move(close); }

  // The player's pause (P, Pause, the controller's Start): no frame runs, the sounds and the
  // music hold where they are, the view says so and nothing beneath takes a click; the same
  // again goes on from that moment. A minimised window pauses by itself as well, and the voyage
  // goes on once it is shown and the player's own pause, if any, is let go.
  void TogglePause();
  bool Paused() const { return pause_causes_ != 0; }
  // One step of the player's loudness of the effects or of the music, noted over the view for a
  // moment.
  void StepVolume(SoundPart part, int step);

  Voyage& voyage() { return voyage_; }
  Cockpit& cockpit() { return cockpit_; }
  VoyageState& state() { return vs_; }
  const Surface& view() const { return view_; }
  const VoyagePictures& pictures() const { return pics_; }

 signals:
  // The voyage has paused or goes on again.
  void PauseChanged(bool paused);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Timer1's slot: posts one frame poll unless one is already waiting in the queue.
  void Tick();
  // The posted poll: `Timer1Timer` (which paces itself to one frame per 100 ms), then repaints.
  void PostedFrame();
  void BuildLayout();
  void BuildPanel();
  void BuildMessageBox();
  void BuildPanelButtons();
  void BuildTestControls();
  void BuildPauseCover();
  // Why the voyage stands still; it goes on when no cause is left.
  enum PauseCause : unsigned { kPlayerPause = 1, kMinimisedPause = 2 };
  void SetPause(PauseCause cause, bool on);
  // A button let go over the pad, the view or the window. One let go while paused is the hand
  // leaving the pad; the ship learns of it when the voyage goes on.
  void PadReleased();
  // A press on a control, taken only while the voyage runs.
  std::function<void()> WhileRunning(std::function<void()> press);
  // In a test build (QM_TEST_HOOKS), troubles named in QM_TEST_TROUBLES ("0,2,4") are raised as
  // the voyage starts, so the trouble list and the repairs can be tried without flying into
  // danger. The game a player builds has no such hook.
  void RaiseTestTroubles();

  GameState& game_;
  Services& services_;
  QtControls& controls_;
  VoyageState vs_;
  VoyagePictures pics_;
  CockpitPictures layout_pics_;
  PanelPictures panel_pics_;
  Surface view_{kViewWidth, kViewHeight};
  Surface pad_{100, 100};
  Voyage voyage_;
  Cockpit cockpit_;
  QTimer timer1_;
  std::function<void()> close_title_window_;
  bool closing_ = false;
  // A poll is waiting in the event queue; cleared as it starts, so frames nested in it can post.
  bool frame_posted_ = false;
  SurfaceWidget* cg_ = nullptr;
  SurfaceWidget* cont_ = nullptr;
  SurfaceWidget* energy_l_ = nullptr;
  unsigned pause_causes_ = 0;
  bool released_while_paused_ = false;
  QWidget* pause_cover_ = nullptr;
  QLabel* volume_l_ = nullptr;
  QTimer volume_note_;
};

}  // namespace qm
