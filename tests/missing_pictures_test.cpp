// A damaged installation without its pictures still plays: the title animates and the voyage
// window runs every effect that would draw a picture (point pictures, noise, the asteroid view,
// the cockpit frame, the instrument and trouble bitmaps, the rolls, the chart) for long stretches
// without them. Under the sanitizer build this is where a draw from an empty picture would show.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "cockpit/voyage_window.h"
#include "fakes.h"
#include "platform/cp932.h"
#include "temp_game_folder.h"
#include "title_rig.h"

namespace qm {
namespace {

using testing::FakeServices;

TEST(MissingPictures, TheTitleAnimatesAWholeCycleWithoutAnyPicture) {
  testing::TitleRig rig;
  rig.pics = TitlePictures{};
  int drawn = 0;
  for (int i = 0; i < 2 * kTitleCycle; ++i)
    drawn += rig.Step() ? 1 : 0;
  EXPECT_EQ(drawn, 2 * kTitleCycle);
  EXPECT_EQ(rig.anim().title_step, 2 * kTitleCycle % kTitleCycle);
}

class MissingVoyagePictures : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    // No cg/ at all. The start sector holds one point of every kind that has a picture, all known.
    int i = 0;
    for (int kind : {1, 2, 3, 4, 7, 8, 9, 10, 11, 12, 15, 16, 17, 18, 19, 20, 21, 22}) {
      ChartPoint& p = game.chart[static_cast<size_t>(i)];
      p.name = Sj("テスト") + std::to_string(kind);
      p.text = Sj("説明");
      p.kind = kind;
      p.size = 1 + i % 9;
      p.yield = 2;
      game.point_state[static_cast<size_t>(i)] = 1;
      ++i;
    }
    game.commander_name = Sj("ミナ");
    game.ship_name = Sj("ソラ");
    game.energy_max = game.energy = 200;
    game.hull_max = game.hull = 9999;
    game.resources_max = game.resources = 50;
    window = std::make_unique<TForm2>(game, services, controls);
    window->FormCreate();
  }
  void TearDown() override {
    window.reset();
    TempGameFolder::TearDown();
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      VoyageState& vs = window->state();
      vs.blink_counter = (vs.blink_counter + 1) % 1000;
      window->voyage().RunFrame();
    }
  }
  // The grid cell under the ship, for the zone effects.
  void Zone(int kind) {
    game.sector_grid[kGridSize / 2][kGridSize / 2] = static_cast<uint8_t>(kind);
  }

  FakeServices fake;
  QtControls controls;
  Services services{fake.clock, fake.random, fake.dialogs, fake.sound, controls};
  GameState game;
  std::unique_ptr<TForm2> window;
};

TEST_F(MissingVoyagePictures, EveryEffectRunsOnWithoutItsPicture) {
  // Not one of the voyage window's own pictures was there: one box named the first, and the
  // window was made whole anyway.
  EXPECT_EQ(fake.dialogs.errors.size(), 1u);
  VoyageState& vs = window->state();
  CockpitState& cs = window->cockpit().state();

  Frames(kLogonFrames + 2);
  ASSERT_GE(vs.logon_step, kLogonFrames);

  // In front of the points, every trouble on board, the booster running, the tank empty and the
  // chart open; the view shaking, the contact flash and the arrival banner over and over.
  for (int k = 0; k < kTroubleCount; ++k)
    game.trouble_level[static_cast<size_t>(k)] = 1;
  game.trouble_level[kRadarFault] = 0;
  for (int zone : {0, 5, 6, 13, 14}) {
    Zone(zone);
    for (int round = 0; round < 6; ++round) {
      vs.local_x = 0;
      vs.local_y = 0;
      vs.local_z = 60 + 30 * round;
      vs.booster_seconds = 3;
      vs.chart_open = 1;
      vs.noise_countdown = 10;
      vs.check_countdown = 10;
      vs.arrival_banner = 10;
      game.energy = 0;
      Frames(12);
    }
  }
  EXPECT_GE(game.voyage_days, 1);  // the arrivals ran amid it all

  // The rolls write into the instrument bitmap that is missing too.
  Zone(0);
  cs.message_pages = {};
  cs.message_page = 0;
  game.story_stage() = 3;
  cs.prologue_tick = 1;
  cs.ending_tick = 2100;
  Frames(120);
  EXPECT_EQ(cs.ending_tick, 0);
  EXPECT_EQ(cs.message_pages[0], Sj("ﾏｰﾒｲﾀﾞ「報告します」"));  // Earth speaks after the roll

  // And the end of the voyage flickers its noise pictures that are not there.
  game.hull = 0;
  Frames(20);
  EXPECT_EQ(game.voyage_over, 1);
}

}  // namespace
}  // namespace qm
