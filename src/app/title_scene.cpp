#include "app/title_scene.h"

#include "cockpit/instrument_texts.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/random.h"
#include "state/save_files.h"
#include "voyage/voyage.h"

namespace qm {
namespace {

// The animation steps about ten times a second, whatever the timer's own rate.
constexpr double kTitleStepDays = 1.0 / 864000.0;

}  // namespace

TitleScene::TitleScene(GameState& game, TitlePictures& pictures, Services& services,
                       TitleHost& host)
    : game_(game), pics_(pictures), services_(services), host_(host) {}

std::int32_t TitleScene::Roll(std::int32_t n) {
  return services_.random.Next(n);
}

void TitleScene::FormCreate() {
  host_.LoadStartWaves();
  services_.random.Randomize();
  // After an error box the window keeps its design size and stays silent.
  if (!LoadGame(game_, services_)) return;
  host_.SetOverallSize(kTitleWindowWidth, kTitleWindowHeight);
  services_.sound.PlayMusic("title.mid");
}

void TitleScene::FormDestroy() {
  host_.ReleaseStartWaves();
}

bool TitleScene::Timer1Timer() {
  if (!timer1_enabled_) return false;
  if (!services_.controls.IsVisible(kTitleWindow)) {
    // The title is left for good once the voyage window has taken over. Before the window is
    // first shown the timer only waits: an error box while the windows are being made (a damaged
    // save, a missing picture) runs its own event loop, and must not stop the animation for good.
    if (title_shown_) timer1_enabled_ = false;
    return false;
  }
  title_shown_ = true;
  const double now = services_.clock.Now();
  if (now < anim_.next_title_time) return false;
  anim_.next_title_time = now + kTitleStepDays;
  TitleStep();
  return true;
}

void TitleScene::TitleStep() {
  cg_.CopyRect(0, 0, kTitleWidth, 300 + Roll(3), pics_.title_cg, 0, 0, 200, 150);
  ++anim_.title_step;
  ApplyStepRow();
  DrawFigure();

  const int logo_left = 210 + Roll(10);
  const int logo_top = 280 + Roll(2);
  cg_.CopyRect(logo_left, logo_top, logo_left + 180, logo_top + 20, pics_.logo, 0, 0, 180, 20);

  // The lettering's source area is larger than its picture: the margin reads as black space.
  const int top = 14 - Roll(2);
  const int bottom = 34 + Roll(2);
  cg_.CopyRect(130, top, 310, bottom, pics_.title_a, 0, 0, 180, 20);
}

void TitleScene::ApplyStepRow() {
  const int s = anim_.title_step;
  std::int32_t& x = anim_.figure_x;
  std::int32_t& v = anim_.figure_speed;
  std::int32_t& f = anim_.figure_frame;
  // Flies in from the left and brakes (1..46), turns back and leaves (71..130), drifts in slowly
  // from x 30 (131..158), then sweeps in from the right edge and away (159..250).
  if (s == 1) {
    v = 32;
    x = -200;
    anim_.figure_y = 195;
    f = 1;
  } else if (s >= 2 && s <= 5) {  // NOLINT(bugprone-branch-clone): one branch per row of the table
    f = s % 4;
    x += v;
    v -= 1;
  } else if (s >= 6 && s <= 39) {
    x += v;
    v -= 1;
  } else if (s >= 41 && s <= 45) {
    static constexpr std::int32_t kFrames[] = {3, 1, 2, 0, 1};
    f = kFrames[s - 41];
    x += v;
    v -= 1;
  } else if (s == 46) {
    f = 0;
    x += v;
    v -= 12;
  } else if (s >= 71 && s <= 76) {
    static constexpr std::int32_t kFrames[] = {3, 1, 2, 0, 1, 2};
    f = kFrames[s - 71];
    x += v;
    v -= 1;
  } else if (s >= 77 && s <= 90) {
    f = 1;
    x += v;
    v -= 1;
  } else if (s >= 91 && s <= 130) {
    f = s % 4;
    x += v;
    v -= 1;
  } else if (s == 131) {
    f = s % 4;
    x = 30;
    v = 3;
  } else if (s >= 132 && s <= 150) {
    f = s % 4;
    x += v;
  } else if (s >= 151 && s <= 155) {
    f = s % 3;
    x += v;
  } else if (s >= 156 && s <= 158) {
    f = s == 157 ? 0 : 2;
    x += v;
  } else if (s == 159) {
    f = 0;
    x = 400;
    v = 40;
  } else if (s >= 170 && s <= 180) {
    f = s % 4;
    x -= v;
    v -= 1;
  } else if (s == 181) {
    f = 0;
    v = 1;
  } else if (s >= 190 && s <= 207) {
    f = Roll(2) * 2;
    x -= v;
    v -= 1;
  } else if (s >= 208 && s <= 250) {
    f = s % 4;
    x -= v;
    v += 1;
  } else if (s == kTitleCycle) {
    anim_.title_step = 0;
  }
}

void TitleScene::DrawFigure() {
  const int f = anim_.figure_frame;
  if (f < 1 || f > 3) return;
  // The figure shivers and breathes by a few pixels every step; each edge draws its own roll.
  const int left = anim_.figure_x - Roll(10);
  const int top = anim_.figure_y + Roll(5);
  const int right = anim_.figure_x + 199 + Roll(10);
  const int bottom = anim_.figure_y + 44 - Roll(5);
  cg_.CopyRect(left, top, right, bottom, pics_.alone[static_cast<size_t>(f - 1)], 0, 0, 199, 44);
}

void TitleScene::BitBtn2Click() {
  services_.sound.PlayClick();
  if (!services_.dialogs.Confirm(Tx("新しくゲームをはじめますか？（以前のデータは失われます）"))) {
    services_.sound.PlayClick();
    return;
  }
  services_.sound.PlayMusic("not");
  services_.sound.PlayClick();
  // The panel lies over both buttons from now on, so CONTINUE can no longer be pressed.
  services_.controls.Move("name_box", 8, 124);
  services_.controls.SetVisible("name_box", true);
}

void TitleScene::count_bClick() {
  services_.sound.PlayMusic("not");
  // The voyage resumes exactly as it was saved, whatever the file holds; the frames keep their
  // sums defined and the sector inside space.
  OpenVoyage();
}

void TitleScene::BitBtn3Click(const std::string& name_l, const std::string& name_l2) {
  if (name_l.empty()) {
    services_.sound.PlayClick();
    services_.dialogs.Inform(Tx("名前を入力してください"));
    return;
  }
  if (name_l2.empty()) {
    services_.sound.PlayClick();
    services_.dialogs.Inform(Tx("宇宙船の名前を入力してください"));
    return;
  }
  NewGame(game_);
  // As typed: blanks are a name too. The entries already hold at most eight bytes.
  game_.commander_name = FitName(name_l);
  game_.ship_name = FitName(name_l2);
  services_.controls.SetCaption(kVoyageWindow, VoyageWindowCaption(game_));
  services_.controls.SetVisible(kTitleWindow, false);
  host_.ShowVoyageWindow();
  services_.controls.SetVisible("name_box", false);
  StartLogon();
}

void TitleScene::OpenVoyage() {
  services_.controls.SetVisible(kTitleWindow, false);
  host_.ShowVoyageWindow();
  StartLogon();
}

void TitleScene::StartLogon() {
  // The title has handed over to the voyage window, so it was shown: its timer may stop.
  title_shown_ = true;
  if (voyage_ != nullptr) voyage_->logon_step = 0;
  services_.sound.PlayCue(kEventChannel, "log.wav");
}

}  // namespace qm
