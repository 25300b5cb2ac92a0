#pragma once

// A voyage core on fakes: its own game state, working variables, pictures, view and pad, and a
// cockpit stand-in that records each step the frame hands over.

#include <functional>
#include <string>
#include <vector>

#include "fakes.h"
#include "voyage/voyage.h"

namespace qm::testing {

// Records the cockpit steps in call order: "exam <point>", "type", "trouble <k>", "hit",
// "instruments". A test can act inside a step through the callbacks.
class RecordingHooks : public VoyageHooks {
 public:
  bool ArrivalExamination(int point) override {
    calls.push_back("exam " + std::to_string(point));
    return on_exam ? on_exam(point) : false;
  }
  void TypewriterStep() override {
    calls.push_back("type");
    if (on_type) on_type();
  }
  void RaiseTrouble(int trouble) override { calls.push_back("trouble " + std::to_string(trouble)); }
  void HullHit() override {
    calls.push_back("hit");
    if (on_hit) on_hit();
  }
  void DrawInstruments() override {
    calls.push_back("instruments");
    if (on_instruments) on_instruments();
  }

  int Count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls)
      n += c == call ? 1 : 0;
    return n;
  }

  std::vector<std::string> calls;
  std::function<bool(int)> on_exam;
  std::function<void()> on_type;
  std::function<void()> on_hit;
  std::function<void()> on_instruments;
};

// A picture of one colour; its bottom-left pixel is the `key` colour when `transparent`, so the
// rest of it is drawn and that one pixel is not.
inline Surface SolidPicture(int w, int h, Color c, bool transparent = false, Color key = 0xFF00FF) {
  Surface s(w, h, c);
  if (transparent) {
    s.SetPixel(0, h - 1, key);
    s.SetTransparent(true);
  }
  return s;
}

struct VoyageRig {
  // Stars stay parked at the origin with radius 0 and not drawn, so they neither roll nor paint
  // until a test places them; the log-on screen is over; no chart point is near the ship.
  VoyageRig() {
    vs.logon_step = kLogonFrames;
    ClearChart();
  }

  // Runs one gated frame 100 ms after the last.
  void Frame() {
    fake.clock.AdvanceMs(100);
    voyage.Timer1Timer();
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i)
      Frame();
  }

  // Puts chart point i, of the kind and state given, in the ship's current sector.
  ChartPoint& PointHere(int i, int kind, int state = 1) {
    ChartPoint& p = game.chart[static_cast<size_t>(i)];
    p.x = -game.sector_x;
    p.y = game.sector_y;
    p.z = game.sector_z;
    p.kind = kind;
    game.point_state[static_cast<size_t>(i)] = state;
    return p;
  }

  // Moves every chart point far from the ship's sector, so only the ones a test places count.
  void ClearChart() {
    for (auto& p : game.chart) {
      p.x = 29;
      p.y = 29;
      p.z = 29;
      p.kind = 0;
    }
    game.point_state.fill(0);
    BuildGrid(game);
  }

  GameState game;
  VoyageState vs;
  VoyagePictures pics;
  Surface view{kViewWidth, kViewHeight};
  Surface pad{100, 100};
  FakeServices fake;
  RecordingHooks hooks;
  Voyage voyage{game, vs, pics, view, pad, fake.services, hooks};
};

}  // namespace qm::testing
