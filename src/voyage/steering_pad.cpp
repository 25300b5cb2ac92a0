#include <algorithm>
#include <cstdlib>

#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/random.h"
#include "state/wrap32.h"
#include "voyage/voyage.h"

namespace qm {

void Voyage::contMouseDown(MouseButton button, int x, int y) {
  if (game_.voyage_over >= 1) return;
  services_.sound.PlayCue(Roll(2) == 0 ? kEventChannel : kSignalChannel, "e.wav");
  if (button == MouseButton::kLeft) {
    vs_.pad_left_held = 1;
    vs_.pad_x = 100 - x;
    vs_.pad_y_left = y;
  } else if (button == MouseButton::kRight) {
    vs_.pad_right_held = 1;
    vs_.pad_x = 100 - x;
    vs_.pad_y_right = y;
  }
}

void Voyage::contMouseMove(int x, int y) {
  if (game_.voyage_over >= 1) return;
  if (vs_.pad_left_held == 1) {
    vs_.pad_x = 100 - x;
    vs_.pad_y_left = y;
  } else if (vs_.pad_right_held == 1) {
    vs_.pad_x = 100 - x;
    vs_.pad_y_right = y;
  }
}

void Voyage::contMouseUp() {
  services_.sound.PlayCue(kShipChannel, "e2.wav");
  vs_.pad_left_held = 0;
  vs_.pad_right_held = 0;
}

void Voyage::speed_lMouseDown() {
  if (game_.resources < 2 || vs_.booster_seconds >= 1) return;
  services_.sound.PlayClick();
  const bool yes = services_.dialogs.Confirm(
      Tx("資源を 2t使って、エンジンブースターを15sec.起動できます。\r起動しますか？"));
  if (!yes) {
    services_.sound.PlayClick();
    return;
  }
  services_.sound.PlayCue(kEventChannel, "booster.wav");
  vs_.booster_seconds = 15;
  game_.resources = Sub32(game_.resources, 2);
}

void Voyage::DrawCockpitOverlay() {
  view_.StretchDraw(0, 0, kViewWidth, kViewHeight, pics_.gamen);
  pad_.Draw(0, 0, vs_.pad_left_held != 0 ? pics_.cont2 : pics_.cont);

  static constexpr Color kBlue[3] = {0x0080FF, 0x77BBFF, 0x00348A};
  static constexpr Color kPink[3] = {0xFF0080, 0xFF75BA, 0x97004B};
  const int phase = vs_.blink_counter % 3;

  int a = std::min(Roll(3) + std::abs(50 - vs_.pad_y_right) / 13, 20);
  if (a > 1 && vs_.pad_right_held == 0) a = 1;
  const int c = std::clamp(50 - vs_.speed_up, 0, 100);
  pad_.SetBrushColor(kBlue[phase]);
  pad_.SetPenColor(kBlue[phase]);
  pad_.Ellipse(50 - a, c - a, 50 + a, c + a);

  int b = std::min(Roll(3) + (std::abs(vs_.speed_side) + std::abs(vs_.speed_forward)) / 10, 20);
  if (b > 1 && vs_.pad_left_held == 0) b = 1;
  const int g = std::clamp(50 - vs_.speed_side, 0, 100);
  const int h = std::clamp(50 - vs_.speed_forward, 0, 100);
  pad_.SetBrushColor(kPink[phase]);
  pad_.SetPenColor(kPink[phase]);
  pad_.Ellipse(g - b, h - b, g + b, h + b);
}

}  // namespace qm
