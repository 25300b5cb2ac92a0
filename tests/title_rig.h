#pragma once

// The title scene on fakes: one-colour pictures so every part of the title picture can be told
// apart, a recording window around it, and the voyage window's working variables.

#include <string>
#include <vector>

#include "app/title_scene.h"
#include "fakes.h"
#include "voyage/voyage.h"

namespace qm::testing {

inline constexpr Color kSky = 0x102040;
inline constexpr Color kFigure1 = 0xFF0000;
inline constexpr Color kFigure2 = 0x00FF00;
inline constexpr Color kFigure3 = 0xFFFF00;
inline constexpr Color kLogo = 0xFF00FF;
inline constexpr Color kLettering = 0x00FFFF;

// Records what the scene asks of its window: "load waves", "release waves", "size W H",
// "voyage". Showing the voyage window makes it visible to the controls.
class RecordingTitleHost : public TitleHost {
 public:
  explicit RecordingTitleHost(FakeControls& controls) : controls_(controls) {}
  void LoadStartWaves() override {
    calls.push_back("load waves");
    if (on_load_waves) on_load_waves();
  }
  void ReleaseStartWaves() override { calls.push_back("release waves"); }
  void SetOverallSize(int width, int height) override {
    calls.push_back("size " + std::to_string(width) + " " + std::to_string(height));
  }
  void ShowVoyageWindow() override {
    calls.push_back("voyage");
    controls_.SetVisible(kVoyageWindow, true);
  }

  std::vector<std::string> calls;
  std::function<void()> on_load_waves;

 private:
  FakeControls& controls_;
};

struct TitleRig {
  TitleRig() {
    pics.title_cg = Surface(201, 151, kSky);
    pics.alone = {Surface(199, 44, kFigure1), Surface(199, 44, kFigure2),
                  Surface(199, 44, kFigure3)};
    pics.logo = Surface(180, 20, kLogo);
    pics.title_a = Surface(143, 18, kLettering);
    scene.SetVoyageState(&vs);
    vs.logon_step = kLogonFrames;
    fake.controls.SetVisible(kVoyageWindow, false);
  }

  TitleAnimation& anim() { return scene.animation(); }
  // One timer call 100 ms after the last; true when it drew a step.
  bool Step() {
    fake.clock.AdvanceMs(100);
    return scene.Timer1Timer();
  }
  // Steps until the animation has just applied `step` (1..251; 251 leaves the counter at 0).
  void StepTo(int step) {
    const int want = step == kTitleCycle ? 0 : step;
    do {
      Step();
    } while (anim().title_step != want);
  }
  bool Shows(int left, int top, int right, int bottom, Color c) const {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (scene.cg().Pixel(x, y) == c) return true;
    return false;
  }
  bool AllOf(int left, int top, int right, int bottom, Color c) const {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (scene.cg().Pixel(x, y) != c) return false;
    return true;
  }

  FakeServices fake;
  GameState game;
  VoyageState vs;
  TitlePictures pics;
  RecordingTitleHost host{fake.controls};
  TitleScene scene{game, pics, fake.services, host};
};

}  // namespace qm::testing
