#pragma once

#include <cstdint>
#include <string>

#include "app/title_pictures.h"
#include "platform/services.h"
#include "platform/surface.h"
#include "state/game_state.h"
#include "voyage/voyage_state.h"

namespace qm {

// Component names of the title window.
inline constexpr char kTitleWindow[] = "TForm1";

// The visible title picture `cg`.
constexpr int kTitleWidth = 401;
constexpr int kTitleHeight = 301;
// The window's overall size once the saved voyage and the chart are in.
constexpr int kTitleWindowWidth = 409;
constexpr int kTitleWindowHeight = 329;
// Steps of one cycle of the title animation.
constexpr int kTitleCycle = 251;

// What the title scene needs of the windows around it.
class TitleHost {
 public:
  virtual ~TitleHost() = default;
  // The four wave slots of the sound cues get their first wave at start-up and give back the
  // last ones when the window goes.
  virtual void LoadStartWaves() = 0;
  virtual void ReleaseStartWaves() = 0;
  // The window's overall size, frame included.
  virtual void SetOverallSize(int width, int height) = 0;
  // Shows the voyage window and lets its frames run.
  virtual void ShowVoyageWindow() = 0;
};

// The title animation's working variables; all zero when the program starts.
struct TitleAnimation {
  std::int32_t title_step = 0;
  // The time, in days, at or after which the next step runs.
  double next_title_time = 0;
  std::int32_t figure_x = 0;
  std::int32_t figure_y = 0;
  std::int32_t figure_speed = 0;
  // 0: no figure; 1..3: which of the three figure pictures.
  std::int32_t figure_frame = 0;
};

// The title window's logic: start-up, the animation on `cg`, NEW GAME with the naming of captain
// and ship, and CONTINUE. It reaches its controls by name, so it runs the same under tests.
class TitleScene {
 public:
  TitleScene(GameState& game, TitlePictures& pictures, Services& services, TitleHost& host);
  // The voyage window comes into being after the title window; its log-on is started from here.
  void SetVoyageState(VoyageState* voyage) { voyage_ = voyage; }

  // Window creation: start-up waves, the generator, the saved voyage and the chart, the window's
  // size and the title music.
  void FormCreate();
  // The 10 ms timer. Returns true when a step was drawn.
  bool Timer1Timer();
  bool timer1_enabled() const { return timer1_enabled_; }

  // NEW GAME: asks, then opens the name panel.
  void BitBtn2Click();
  // CONTINUE: resumes the loaded voyage.
  void count_bClick();
  // "宇宙へ" with the texts of `name_l` and `name_l2` (CP932).
  void BitBtn3Click(const std::string& name_l, const std::string& name_l2);
  void FormDestroy();

  const Surface& cg() const { return cg_; }
  TitleAnimation& animation() { return anim_; }

 private:
  void TitleStep();
  void ApplyStepRow();
  void DrawFigure();
  void OpenVoyage();
  // The ship computer logs the captain on as the voyage window opens.
  void StartLogon();
  std::int32_t Roll(std::int32_t n);

  GameState& game_;
  VoyageState* voyage_ = nullptr;
  TitlePictures& pics_;
  Services& services_;
  TitleHost& host_;
  Surface cg_{kTitleWidth, kTitleHeight};
  TitleAnimation anim_;
  bool timer1_enabled_ = true;
  bool title_shown_ = false;
};

}  // namespace qm
