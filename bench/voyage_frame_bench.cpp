// One whole voyage frame at its heaviest: full forward speed through 501 stars, a point picture
// in view, the chart overlay open and the cockpit overlay on top. The frame budget is 100 ms.
#include <benchmark/benchmark.h>

#include "platform/clock.h"
#include "platform/random.h"
#include "platform/services.h"
#include "state/game_state.h"
#include "voyage/voyage.h"

namespace qm {
namespace {

class NullDialogs final : public Dialogs {
 public:
  bool Confirm(const std::string&) override { return false; }
  void Inform(const std::string&) override {}
  void Error(const std::string&) override {}
};

class AllVisible final : public Controls {
 public:
  void SetVisible(std::string_view, bool) override {}
  bool IsVisible(std::string_view) const override { return true; }
  void Move(std::string_view, int, int) override {}
  void SetCaption(std::string_view, const std::string&) override {}
  void SetEnabled(std::string_view, bool) override {}
};

Surface Picture(int w, int h, Color fill, bool transparent) {
  Surface s(w, h, fill);
  s.SetPixel(0, h - 1, 0xFF00FF);
  s.SetTransparent(transparent);
  return s;
}

void BM_VoyageFrame(benchmark::State& bench) {
  ManualClock clock;
  Random random(2024);
  NullDialogs dialogs;
  SilentSound sound;
  AllVisible controls;
  Services services{clock, random, dialogs, sound, controls};
  NoVoyageHooks hooks;

  static GameState game;
  NewGame(game);
  // A buoy straight ahead in the ship's own sector, and a visited point for every chart dot.
  game.chart[0].kind = 1;
  game.chart[0].size = 40;
  for (int i = 1; i < kChartPointCount; ++i) {
    game.chart[i].kind = 1 + i % 22;
    game.chart[i].x = i % 61 - 30;
    game.chart[i].z = i / 7 % 61 - 30;
    game.chart[i].y = 5;
    game.point_state[i] = 2;
  }
  BuildGrid(game);

  VoyageState vs;
  VoyagePictures pics;
  pics.gamen = Picture(400, 300, 0xFF00FF, true);
  pics.cont = Picture(100, 100, 0x203040, false);
  pics.cont2 = Picture(100, 100, 0x304050, false);
  for (auto& b : pics.bui)
    b = Picture(64, 64, 0x80C0FF, true);
  for (auto& n : pics.noize)
    n = Picture(100, 75, 0xC0C0C0, true);
  Surface view(400, 300);
  Surface pad(100, 100);
  Voyage voyage(game, vs, pics, view, pad, services, hooks);
  voyage.InitStars();
  vs.logon_step = kLogonFrames;
  vs.chart_open = 1;
  vs.local_z = -120;
  vs.pad_left_held = 1;
  vs.pad_x = 50;
  vs.pad_y_left = 0;

  for (auto _ : bench) {
    // Keep the point in view: the ship would otherwise leave its sector within a few frames.
    vs.local_x = vs.local_y = 0;
    if (vs.local_z > 100) vs.local_z = -120;
    game.sector_x = game.sector_y = game.sector_z = 0;
    voyage.RunFrame();
    benchmark::DoNotOptimize(view.Pixel(200, 150));
  }
  bench.counters["speed_forward"] = vs.speed_forward;
}
BENCHMARK(BM_VoyageFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace
}  // namespace qm

int main(int argc, char** argv) {
  // Text drawing needs a GUI application; the frame itself draws text only in the log-on screen.
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
}
