#include <cstdlib>

#include "platform/clock.h"
#include "platform/random.h"
#include "state/wrap32.h"
#include "voyage/voyage.h"

namespace qm {

std::int32_t Voyage::Roll(std::int32_t n) const {
  return services_.random.Next(n);
}

bool Voyage::InZone(PointKind kind) const {
  if (vs_.current_point != -1 && game_.chart[static_cast<size_t>(vs_.current_point)].kind == kind) {
    return true;
  }
  return game_.GridCell(Neg32(game_.sector_x), game_.sector_z) == kind;
}

void Voyage::StretchNoise(NoisePicture k, int left, int top, int right, int bottom) {
  view_.StretchDraw(left, top, right, bottom, pics_.noize[static_cast<size_t>(k)]);
}

void Voyage::Timer1Timer() {
  if (!services_.controls.IsVisible(kVoyageWindow) || vs_.paused) return;
  const double now = services_.clock.Now();
  if (now < vs_.next_frame_time) return;
  // Measured from now, so a late frame never makes the next one come early.
  vs_.next_frame_time = now + kFrameDays;
  if (now > vs_.next_second_time) {
    vs_.next_second_time = now + kSecondDays;
    if (vs_.booster_seconds >= 1) --vs_.booster_seconds;
  }
  if (++vs_.blink_counter > 999) vs_.blink_counter = 0;
  RunFrame();
}

void Voyage::Pause() {
  if (vs_.paused) return;
  vs_.paused = true;
  vs_.paused_at = services_.clock.Now();
}

void Voyage::Resume() {
  if (!vs_.paused) return;
  vs_.paused = false;
  // A second half gone when the pause began is still half gone after it, so a booster bought
  // just before pausing keeps every second it was paid for.
  const double held = services_.clock.Now() - vs_.paused_at;
  if (held <= 0) return;
  vs_.next_frame_time += held;
  vs_.next_second_time += held;
}

void Voyage::RunFrame() {
  ClearView();
  AsteroidView();
  StarStep();
  ChartPointScan();

  if (vs_.check_countdown >= 1) {
    --vs_.check_countdown;
    if (vs_.blink_counter % 2 == 0) StretchNoise(kNoiseContactFlash, 0, 0, kViewWidth, kViewHeight);
    // A frame nested inside the survey question counts 1 down to 0 and so never examines twice.
    if (vs_.check_countdown == 1 && vs_.current_point != -1) {
      if (hooks_.ArrivalExamination(vs_.current_point)) return;
    }
  }

  if (vs_.noise_countdown >= 1) {
    const int n = vs_.noise_countdown;
    const int a = Roll(n);
    const int b = Roll(n);
    --vs_.noise_countdown;
    view_.CopyRect(-a, -b, kViewWidth - a, kViewHeight - b, view_, 0, 0, kViewWidth, kViewHeight);
  }

  Zone13Effect();
  Zone14Effect();

  hooks_.TypewriterStep();

  if (vs_.arrival_banner >= 1) {
    --vs_.arrival_banner;
    if (vs_.blink_counter % 2 == 0) StretchNoise(kNoiseArrivalBanner, 110, 120, 290, 180);
  }

  if (vs_.contact_blink >= 1) {
    --vs_.contact_blink;
    services_.controls.SetVisible("contact_b", vs_.contact_blink % 2 == 1);
  }
  if (vs_.chart_blink >= 1) {
    --vs_.chart_blink;
    services_.controls.SetVisible("u_map_b", vs_.chart_blink % 2 == 1);
  }

  if (game_.voyage_over >= 1) {
    StretchNoise(vs_.blink_counter % 2 == 0 ? kNoiseSignalLost : kNoiseSignalLost2, 0, 0,
                 kViewWidth, kViewHeight);
  }

  Steering();
  Damping();
  SpeedLimits();
  EngineTrouble();
  Move();

  if (vs_.chart_open >= 1) ChartOverlay();

  if (vs_.logon_step >= kLogonFrames) {
    hooks_.DrawInstruments();
  } else {
    LogonStep();
  }
  DrawCockpitOverlay();
}

void Voyage::Steering() {
  if (vs_.pad_left_held == 1) {
    if (vs_.pad_y_left < 50) vs_.speed_forward += (50 - vs_.pad_y_left) / 5;
    if (vs_.pad_y_left > 50) vs_.speed_forward -= (vs_.pad_y_left - 50) / 5;
    if (vs_.pad_x < 50) vs_.speed_side += (50 - vs_.pad_x) / 5;
    if (vs_.pad_x > 50) vs_.speed_side -= (vs_.pad_x - 50) / 5;
  }
  if (vs_.pad_right_held == 1) {
    if (vs_.pad_y_right < 50) vs_.speed_up += (50 - vs_.pad_y_right) / 5;
    if (vs_.pad_y_right > 50) vs_.speed_up -= (vs_.pad_y_right - 50) / 5;
    if (vs_.pad_x < 50) vs_.speed_side += (50 - vs_.pad_x) / 5;
    if (vs_.pad_x > 50) vs_.speed_side -= (vs_.pad_x - 50) / 5;
  }
}

namespace {
// Halves a speed towards zero; a speed of 1 either way survives, so the ship keeps drifting.
void Damp(std::int32_t& v) {
  if (v > 0) {
    v -= v / 2;
    if (v < 0) v = 0;
  }
  if (v < 0) {
    v += (-v) / 2;
    if (v > 0) v = 0;
  }
}

// Wraps a local coordinate into the neighbouring sector, dropping the overshoot.
void Wrap(std::int32_t& local, std::int32_t speed, std::int32_t& sector) {
  local += speed;
  if (local > 250) {
    local = -250;
    sector = Add32(sector, 1);
  }
  if (local < -250) {
    local = 250;
    sector = Sub32(sector, 1);
  }
}

std::int32_t ClampSector(std::int32_t s) {
  return s < kSectorMin ? kSectorMin : (s > kSectorMax ? kSectorMax : s);
}
}  // namespace

void Voyage::Damping() {
  if (vs_.pad_left_held == 0) {
    Damp(vs_.speed_forward);
    Damp(vs_.speed_side);
  }
  if (vs_.pad_right_held == 0) Damp(vs_.speed_up);
}

void Voyage::SpeedLimits() {
  const int limit = vs_.booster_seconds >= 1 ? 40 : 20;
  if (vs_.speed_side > limit) vs_.speed_side = limit + Roll(10);
  if (vs_.speed_up > limit) vs_.speed_up = limit + Roll(10);
  if (vs_.speed_side < -limit) vs_.speed_side = -limit - Roll(10);
  if (vs_.speed_up < -limit) vs_.speed_up = -limit - Roll(10);
  const int forward = vs_.booster_seconds > 0 ? limit : limit / 2;
  if (vs_.speed_forward > forward) vs_.speed_forward = forward + Roll(10);
  if (vs_.speed_forward < -forward) vs_.speed_forward = -forward - Roll(10);
}

void Voyage::EngineTrouble() {
  if (game_.trouble_level[kEngineTrouble] < 1) return;
  vs_.speed_forward /= 2;
  if (std::abs(vs_.speed_side) != 1) vs_.speed_side /= 2;
  if (std::abs(vs_.speed_up) != 1) vs_.speed_up /= 2;
}

void Voyage::Move() {
  Wrap(vs_.local_x, vs_.speed_side, game_.sector_x);
  Wrap(vs_.local_y, vs_.speed_up, game_.sector_y);
  Wrap(vs_.local_z, vs_.speed_forward, game_.sector_z);
  game_.sector_x = ClampSector(game_.sector_x);
  game_.sector_y = ClampSector(game_.sector_y);
  game_.sector_z = ClampSector(game_.sector_z);
}

void Voyage::ChartPointScan() {
  vs_.current_point = -1;
  for (int i = 0; i < kChartPointCount; ++i) {
    const ChartPoint& p = game_.chart[static_cast<size_t>(i)];
    if (p.x != Neg32(game_.sector_x) || p.y != game_.sector_y || p.z != game_.sector_z ||
        game_.point_state[static_cast<size_t>(i)] < 1) {
      continue;
    }
    const int px = vs_.local_x;
    const int py = vs_.local_y;
    const int depth_step = std::abs(vs_.local_z) / 10;
    if (p.kind == PointKind::kComet) {
      vs_.local_x += 2;
      vs_.local_y += Roll(3) - 1;
    } else if (p.kind == PointKind::kGravityBody) {
      // A gravity body pulls the ship towards its collision box.
      vs_.local_x += vs_.local_x > 0 ? -2 : 2;
      vs_.local_y += vs_.local_y > 0 ? -2 : 2;
      vs_.local_z += vs_.local_z > 250 ? -2 : 2;
    }
    vs_.current_point = i;
    if (!Traits(p.kind).has_picture) continue;
    PointPicture(px, py, depth_step, p.size, p.kind);
    if (vs_.local_x >= -150 && vs_.local_x <= 150 && vs_.local_y >= -200 && vs_.local_y <= 200 &&
        vs_.local_z >= 190 && vs_.local_z <= 250) {
      vs_.local_z -= 20;
      hooks_.HullHit();
      services_.sound.PlayCue(kShipChannel, "bom.wav");
    }
  }
}

}  // namespace qm
