#pragma once

#include <QTimer>
#include <QWidget>
#include <memory>

#include "cockpit/cockpit.h"
#include "cockpit/cockpit_pictures.h"
#include "platform/qt_controls.h"
#include "platform/services.h"
#include "platform/surface.h"
#include "platform/surface_widget.h"
#include "voyage/voyage.h"

namespace qm {

// The voyage window: the 400 x 300 view, the steering pad, the instrument panel with its repair
// buttons and the message box, driven by a 5 ms timer that runs the voyage frame.
class TForm2 : public QWidget {
  Q_OBJECT
 public:
  TForm2(GameState& game, Services& services, QtControls& controls, QWidget* parent = nullptr);
  ~TForm2() override;

  // Window creation: caption, pictures, typewriter, stars.
  void FormCreate();
  // Shows the window and starts the ship computer's log-on screen.
  void StartVoyage();

  Voyage& voyage() { return voyage_; }
  Cockpit& cockpit() { return cockpit_; }
  VoyageState& state() { return vs_; }
  const Surface& view() const { return view_; }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Tick();
  void BuildLayout();
  void BuildPanel();
  void BuildMessageBox();
  // Troubles named in QM_TEST_TROUBLES ("0,2,4") are raised as the voyage starts, so the trouble
  // list and the repairs can be tried without flying into danger.
  void RaiseTestTroubles();

  GameState& game_;
  Services& services_;
  QtControls& controls_;
  VoyageState vs_;
  VoyagePictures pics_;
  CockpitPictures layout_pics_;
  Surface view_{kViewWidth, kViewHeight};
  Surface pad_{100, 100};
  Surface booster_plate_{145, 25};
  Voyage voyage_;
  Cockpit cockpit_;
  QTimer timer1_;
  SurfaceWidget* cg_ = nullptr;
  SurfaceWidget* cont_ = nullptr;
  SurfaceWidget* energy_l_ = nullptr;
};

}  // namespace qm
