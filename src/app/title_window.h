#pragma once

#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/title_pictures.h"
#include "app/title_scene.h"
#include "platform/services.h"
#include "platform/widgets/qt_controls.h"
#include "platform/widgets/surface_widget.h"

class QLineEdit;

namespace qm {

class SoundCues;
class TForm2;

// The title window, the program's main window: the animated title picture, CONTINUE and NEW GAME,
// and the panel where the player names captain and ship. Closing it ends the program.
class TForm1 : public QWidget, private TitleHost {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TForm1)
 public:
  TForm1(GameState& game, Services& services, QtControls& controls, QWidget* parent = nullptr);
  ~TForm1() override;

  // Start-up: loads the saved voyage and the chart, sizes the window and starts the music and the
  // animation. The voyage window is handed over afterwards, once it exists.
  void FormCreate();
  void SetVoyageWindow(TForm2* voyage_window);
  // The sounds keep their waves from this window's creation to its destruction; before FormCreate.
  void SetSoundCues(SoundCues* cues) { cues_ = cues; }
  // Dialogs follow the window in front, so each box opens over the window the player looks at.
  std::function<void(QWidget*)> on_front_window;

  TitleScene& scene() { return scene_; }
  QLineEdit* name_l() const { return name_l_; }
  QLineEdit* name_l2() const { return name_l2_; }
  QPushButton* count_b() const { return count_b_; }
  QPushButton* BitBtn2() const { return bit_btn2_; }
  QPushButton* BitBtn3() const { return bit_btn3_; }
  QWidget* name_box() const { return name_box_; }
  bool Timer1Active() const { return timer1_.isActive(); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // TitleHost.
  void LoadStartWaves() override;
  void ReleaseStartWaves() override;
  void SetOverallSize(int width, int height) override;
  void ShowVoyageWindow() override;

  void BuildLayout();
  void BuildNamePanel();
  void BuildPictureSources();
  void Timer1Tick();
  void NewGameClicked();
  void FormClose();
  void FormDestroy();

  QtControls& controls_;
  const Clock& clock_;
  TForm2* voyage_window_ = nullptr;
  SoundCues* cues_ = nullptr;
  TitlePictures pics_;
  TitleScene scene_;
  QTimer timer1_;
  bool centred_ = false;
  bool destroyed_ = false;
  SurfaceWidget* cg_ = nullptr;
  QPushButton* count_b_ = nullptr;
  QPushButton* bit_btn2_ = nullptr;
  QPushButton* bit_btn3_ = nullptr;
  QWidget* name_box_ = nullptr;
  QLineEdit* name_l_ = nullptr;
  QLineEdit* name_l2_ = nullptr;
};

}  // namespace qm
