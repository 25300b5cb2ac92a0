#include <algorithm>
#include <cstdlib>

#include "cockpit/cockpit.h"
#include "cockpit/instrument_texts.h"
#include "cockpit/story.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/random.h"
#include "state/wrap32.h"

namespace qm {
namespace {

constexpr Color kRed = 0xFF0000;
constexpr int kGaugeWidth = 130;
constexpr int kGaugeHeight = 8;

std::int32_t TotalSpeed(const VoyageState& vs) {
  return std::abs(vs.speed_side) + std::abs(vs.speed_up) + std::abs(vs.speed_forward);
}

}  // namespace

std::string RepairButtonName(int number) {
  return "tra_b" + std::to_string(number);
}

Cockpit::Cockpit(Voyage& voyage, VoyagePictures& pictures)
    : game_(voyage.game()),
      vs_(voyage.state()),
      view_(voyage.view()),
      services_(voyage.services()),
      panel_bitmap_(pictures.txt),
      trouble_bitmap_(pictures.trable),
      energy_gauge_(kGaugeWidth, kGaugeHeight, kGaugeBlue) {}

std::int32_t Cockpit::Roll(std::int32_t n) {
  return services_.random.Next(n);
}

void Cockpit::StartNoise() {
  vs_.noise_countdown = 10;
}

void Cockpit::SetVoyageOver() {
  game_.voyage_over = 1;
}

void Cockpit::DrawInstruments() {
  SpeedReadout();
  SpeedBars();
  PositionReadout();
  HullIndicator();
  BoosterLine();
  TroubleEffects();
  StoryScene story{game_, vs_, view_, panel_bitmap_, services_, *this};
  StoryStep(story);
  TroubleList();
  EnergyDrain();
  EmptyTank();
  Clamp(game_);
  services_.controls.SetCaption("speed_l", ResourcesCaption(game_));
  if (game_.hull <= 0) {
    game_.hull = 0;
    // The status line keeps what it said before the hull gave way.
    SetVoyageOver();
    return;
  }
  UpdateStatusLabels();
}

void Cockpit::PreparePanel(int points, bool bold, bool italic, Color text) {
  panel_bitmap_.SetFontSize(points);
  panel_bitmap_.SetFontStyle(bold, italic);
  panel_bitmap_.SetFontColor(text);
  panel_bitmap_.SetBrushColor(kWhite);
  panel_bitmap_.SetPenColor(kWhite);
  panel_bitmap_.FillRect(0, 0, 200, 100);
}

void Cockpit::SpeedReadout() {
  PreparePanel(8, false, false, kGreen);
  const auto lines = SpeedReadoutLines(vs_);
  for (int i = 0; i < 3; ++i)
    panel_bitmap_.TextOut(0, 10 * i, lines[static_cast<size_t>(i)]);
  if (vs_.blink_counter % 2 == 0) view_.Draw(37, 230, panel_bitmap_);
}

void Cockpit::SpeedBars() {
  const std::int32_t speeds[3] = {vs_.speed_side, vs_.speed_up, vs_.speed_forward};
  for (int i = 0; i < 3; ++i) {
    const int length = std::abs(speeds[i]);
    const Color c = length < 30 ? kGreen : kWhite;
    view_.SetBrushColor(c);
    view_.SetPenColor(c);
    const int top = 238 + 10 * i;
    view_.FillRect(40, top, 40 + length, top + 2);
  }
}

void Cockpit::PositionReadout() {
  PreparePanel(9, true, false, kGreen);
  panel_bitmap_.TextOut(0, 0, PositionReadoutText(game_, services_.random));
  if (vs_.blink_counter % 4 != 0) view_.Draw(113, 34, panel_bitmap_);
}

void Cockpit::HullIndicator() {
  PreparePanel(9, false, false, HullColor(game_.hull));
  panel_bitmap_.TextOut(0, 0, Tx("■■■"));
  if (vs_.blink_counter % 2 == 0) view_.Draw(325, 38, panel_bitmap_);
}

void Cockpit::BoosterLine() {
  if (vs_.booster_seconds < 1 || vs_.blink_counter % 5 == 0) return;
  view_.SetBrushClear(true);
  view_.SetFontSize(9);
  view_.SetFontStyle(false, true);
  view_.SetFontColor(kGreen);
  const std::string text = BoosterText(vs_.booster_seconds);
  view_.TextOut((kViewWidth - view_.TextWidth(text)) / 2, 250, text);
  view_.SetFontStyle(false, false);
  view_.SetBrushClear(false);
}

void Cockpit::TroubleList() {
  for (int k = 0; k < kTroubleCount; ++k) {
    const std::int32_t level = game_.trouble_level[static_cast<size_t>(k)];
    const std::string button = RepairButtonName(k + 1);
    if (level < 1) {
      services_.controls.SetVisible(button, false);
      continue;
    }
    // Each label starts from the clean plate, so no tail of a longer label shows below it.
    if (trouble_plate_.IsNull()) trouble_plate_ = trouble_bitmap_;
    trouble_bitmap_.CopyRect(0, 0, trouble_plate_.Width(), trouble_plate_.Height(), trouble_plate_,
                             0, 0, trouble_plate_.Width(), trouble_plate_.Height());
    trouble_bitmap_.SetFontSize(8);
    trouble_bitmap_.SetFontStyle(true, true);
    trouble_bitmap_.SetFontColor(kRed);
    trouble_bitmap_.SetBrushColor(kWindowGrey);
    trouble_bitmap_.SetPenColor(kWindowGrey);
    trouble_bitmap_.FillRect(5, 5, 134, 13);
    trouble_bitmap_.TextOut(6, 4, TroubleLabel(k, level));
    if (vs_.blink_counter % 2 == 0) view_.Draw(225, 54 + 20 * k, trouble_bitmap_);
    services_.controls.SetVisible(button, true);
  }
}

void Cockpit::EnergyDrain() {
  if (Roll(10) != 0) return;
  const std::int32_t s = TotalSpeed(vs_);
  const std::int32_t most = s / 20 + (s > 2 ? 1 : 0);
  game_.energy = Sub32(game_.energy, Roll(most + 1));
}

void Cockpit::EmptyTank() {
  if (game_.energy > 0) return;
  game_.energy = 0;
  // Flying on an empty tank wears the hull; drifting at a crawl does not.
  if (Roll(50) == 0 && TotalSpeed(vs_) >= 3) game_.hull = Sub32(game_.hull, 1);
  if (vs_.blink_counter % 2 != 0) return;
  PreparePanel(14, true, true, kRed);
  panel_bitmap_.TextOut(0, 0, "< ENERGY LESS >");
  view_.Draw(115, 142, panel_bitmap_);
}

void Cockpit::UpdateStatusLabels() {
  cs_.gauge_progress = game_.energy;
  cs_.gauge_max = game_.energy_max;
  PaintGauge();
  services_.controls.SetCaption("energy_l2", EnergyCaption(game_));
  services_.controls.SetCaption("vosk_l", StatusCaption(game_));
}

void Cockpit::PaintGauge() {
  energy_gauge_.SetBrushColor(kGaugeBlue);
  energy_gauge_.SetPenColor(kGaugeBlue);
  energy_gauge_.FillRect(0, 0, kGaugeWidth, kGaugeHeight);
  if (cs_.gauge_max <= 0 || cs_.gauge_progress <= 0) return;
  const long long filled = static_cast<long long>(kGaugeWidth) *
                           std::min(cs_.gauge_progress, cs_.gauge_max) / cs_.gauge_max;
  energy_gauge_.SetBrushColor(kAqua);
  energy_gauge_.SetPenColor(kAqua);
  energy_gauge_.FillRect(0, 0, static_cast<int>(filled), kGaugeHeight);
}

}  // namespace qm
