#include "cockpit/story.h"

#include <chrono>
#include <thread>

#include "cockpit/cockpit.h"
#include "cockpit/story_lines.h"
#include "cockpit/story_texts.h"

namespace qm {
namespace {

constexpr Color kRed = 0xFF0000;
// The rolls' letters are white on this grey, which the stretched bitmap leaves out.
constexpr Color kRollGrey = 0x808080;
constexpr int kFlashes = 6;
constexpr int kRollLines = 100;

std::function<void()>& ViewPresenter() {
  static std::function<void()> present;
  return present;
}

// Fills the whole view with one colour and holds it on the screen for a moment.
void Flash(StoryScene& s, Color c) {
  s.view.SetBrushColor(c);
  s.view.SetPenColor(c);
  s.view.FillRect(0, 0, kViewWidth, kViewHeight);
  if (ViewPresenter()) ViewPresenter()();
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void PrepareRollBitmap(Surface& panel) {
  panel.SetFontSize(10);
  panel.SetFontStyle(true, false);
  panel.SetFontColor(kWhite);
  panel.SetBrushColor(kRollGrey);
  panel.SetPenColor(kRollGrey);
  panel.FillRect(0, 0, 200, 100);
}

// Writes one line into the panel bitmap and stretches it over the view; grey stays see-through.
void RollLine(StoryScene& s, const std::string& line, int left, int top, int right, int bottom) {
  s.panel_bitmap.TextOut(0, 0, line);
  s.view.StretchDraw(left, top, right, bottom, s.panel_bitmap);
}

}  // namespace

void SetViewPresenter(std::function<void()> present) {
  ViewPresenter() = std::move(present);
}

void StoryStep(StoryScene& scene) {
  ShockwaveTrigger(scene);
  PrologueRoll(scene);
  EndingRoll(scene);
}

void ShockwaveTrigger(StoryScene& s) {
  if (s.game.buoy_absence <= 100 || s.game.story_stage() != 1 || s.game.point_state[0] != 2) {
    return;
  }
  s.game.story_stage() = 2;
  s.vs.speed_forward = 0;
  s.vs.speed_up = 0;
  // The blast leaves the ship drifting sideways.
  s.vs.speed_side = 1;

  for (int i = 0; i < kFlashes; ++i) {
    Flash(s, kRed);
    Flash(s, kBlack);
  }
  s.cockpit.StartNoise();
  s.vs.pad_left_held = 0;

  // Whatever the player was reading is swept away unread. The reveal counter is left alone, so
  // after a long page the first announcement shows whole at once.
  CockpitState& cs = s.cockpit.state();
  for (std::string& page : cs.message_pages)
    page.clear();
  s.services.sound.PlayCue(kEventChannel, "baku.wav");
  cs.message_page = 0;
  s.services.controls.SetVisible("moji_box", false);
  s.services.controls.SetCaption("moji_l", "");

  s.services.sound.PlayCue(kSignalChannel, "error.wav");
  for (const std::string& page : ShockwavePages())
    s.cockpit.AddMessage(page);
  s.cockpit.ShowMessageBox();
}

void PrologueRoll(StoryScene& s) {
  CockpitState& cs = s.cockpit.state();
  if (cs.prologue_tick < 1 || s.game.story_stage() != 3) return;
  ++cs.prologue_tick;
  if (cs.prologue_tick >= kPrologueEnd) {
    cs.prologue_tick = 0;
    s.game.story_stage() = 4;
    return;
  }
  PrepareRollBitmap(s.panel_bitmap);
  // Line 1 starts at tick 2, every later line n at 100(n-1)+1; the letters rise and grow.
  const int t = cs.prologue_tick;
  const int line = t <= kRollLines ? 0 : (t - 1) / kRollLines;
  const int first = line == 0 ? 2 : kRollLines * line + 1;
  const int k = t - first;
  RollLine(s, PrologueLines()[static_cast<size_t>(line)], 40, 190 - 2 * k, 240, 190 + k);
  s.panel_bitmap.SetFontStyle(false, false);
}

void EndingRoll(StoryScene& s) {
  CockpitState& cs = s.cockpit.state();
  if (cs.ending_tick < 1) return;
  ++cs.ending_tick;
  const int t = cs.ending_tick;
  if (t >= kEndingEnd) {
    cs.ending_tick = 0;
    for (const std::string& page : EarthMessagePages())
      s.cockpit.AddMessage(page);
    s.cockpit.ShowMessageBox();
    return;
  }
  PrepareRollBitmap(s.panel_bitmap);
  if (t == kEndingMusicTick) {
    s.services.sound.PlayMusic("ending.mid");
  } else if (t > kEndingMusicTick) {
    // Line 1 runs 153..250 with k = 1 on its first frame, lines 2..11 run 100n+51 .. 100n+150,
    // and the dedication keeps opening from 1251 until the roll ends.
    int line = 0;
    int k = t - kEndingMusicTick;
    if (t >= 1251) {
      line = kEndingLineCount - 1;
      k = t - 1251;
    } else if (t >= 251) {
      const int n = (t - 51) / kRollLines;
      line = n - 1;
      k = t - (kRollLines * n + 51);
    }
    const auto lines = EndingLines(s.game.ship_name, s.game.commander_name);
    RollLine(s, lines[static_cast<size_t>(line)], 40, 100 - k, 240, 100 + k);
  }
  s.panel_bitmap.SetFontStyle(false, false);
}

}  // namespace qm
