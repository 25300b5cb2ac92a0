// One hour of game time on the manual clock, played by a restless random hand on the shipped
// chart: the voyage window's frames, the pad, every panel button, the message box and random
// answers to every question, over many runs of the program, each starting from the title window
// with NEW GAME or CONTINUE on the saves the runs before it made. Nothing may crash, no file may
// fail, nothing may grow without bound, and the process's memory stays flat.
#include <gtest/gtest.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "built_game.h"
#include "cockpit/cockpit.h"
#include "platform/cp932.h"
#include "platform/game_folder.h"
#include "random_hand.h"
#include "state/save_files.h"
#include "voyage/voyage_pictures.h"

#if defined(__SANITIZE_ADDRESS__)
#define QM_SOAK_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QM_SOAK_UNDER_ASAN 1
#endif
#endif

namespace qm {
namespace {

using testing::RandomHand;

// An hour at 100 ms a frame, frames run inside questions included.
constexpr int kHourOfFrames = 36000;
constexpr std::uint32_t kSeed = 20250613;
// Frames between two placings of the ship before a chart point.
constexpr int kPlaceEvery = 300;

long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes handed out by malloc, from its arenas and in blocks of their own (the pictures).
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// One run of the program from the title window to the closing of the voyage window.
struct ProgramRun {
  explicit ProgramRun(std::uint32_t seed) {
    fake.random.SetSeed(seed);
    EXPECT_TRUE(LoadVoyagePictures(pics).empty());
  }

  testing::FakeServices fake;
  std::unique_ptr<GameState> game = std::make_unique<GameState>();
  VoyageState vs;
  VoyagePictures pics;
  Surface view{kViewWidth, kViewHeight};
  Surface pad{100, 100};
  Voyage voyage{*game, vs, pics, view, pad, fake.services, cockpit};
  Cockpit cockpit{voyage, pics};
};

// What the soak saw, for the report and the checks.
struct SoakFigures {
  int runs = 0;
  int continued = 0;
  int new_games = 0;
  int voyages_lost = 0;
  int saves = 0;
  int arrivals = 0;
  int frames = 0;
  int nested_frames = 0;
  int deepest = 0;
  std::array<int, RandomHand::kActionCount> actions{};
};

class Soak : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-soak-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    std::filesystem::create_directory(folder_ / "dat");
    std::filesystem::copy_file(testing::BuiltGame() / "dat" / "map.dat",
                               folder_ / "dat" / "map.dat");
    std::filesystem::create_directory_symlink(testing::BuiltGame() / "cg", folder_ / "cg");
    // Portable, so the saves stay in the folder.
    std::ofstream(folder_ / std::string(kPortableMarker)).put('\n');
    SetGameFolderForTesting(folder_.string());
  }
  void TearDown() override {
    SetGameFolderForTesting("");
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  // Plays one run of the program for up to `budget` frames; returns the frames it took.
  int PlayOneRun(Random& chooser, int budget, SoakFigures& figures) {
    ProgramRun run(static_cast<std::uint32_t>(chooser.Next(1 << 30)));
    LoadGame(*run.game, run.fake.services);
    EXPECT_TRUE(run.fake.dialogs.errors.empty());
    // The title window: CONTINUE when it is open and the player wants it, else NEW GAME.
    if (run.fake.controls.IsEnabled("count_b") && chooser.Next(2) == 0) {
      ++figures.continued;
    } else {
      static const char* const kNames[] = {"アキラ", "ﾉｱ", "星野ﾘｮｳ", "ABCDEFGHIJ", "銀河丸号です"};
      NewGame(*run.game);
      run.game->commander_name = FitName(Sj(kNames[chooser.Next(5)]));
      run.game->ship_name = FitName(Sj(kNames[chooser.Next(5)]));
      ++figures.new_games;
    }
    ++figures.runs;
    // The voyage window as made and shown: pictures in, stars placed, the log-on screen first.
    testing::ShowWindowAsMade(run.fake.controls);
    run.cockpit.state().typewriter_pos = 1;
    run.voyage.InitStars();
    run.vs.logon_step = 0;

    int frames = 0;
    int frames_lost = 0;
    int steps = 0;
    {
      RandomHand hand(run.fake, run.voyage, run.cockpit,
                      static_cast<std::uint32_t>(chooser.Next(1 << 30)));
      while (frames < budget && frames_lost < 300) {
        // A random hand seldom finds a chart point by itself. Now and then the ship is put just
        // before one, as the developers' hidden test control does, so contact clicks arrive.
        if (++steps % kPlaceEvery == 0 && !run.fake.controls.IsVisible("moji_box"))
          PlaceBeforeAPoint(run, chooser);
        hand.Step();
        frames = hand.frames();
        if (run.game->voyage_over >= 1) ++frames_lost;
        CheckBounded(run);
      }
      if (frames_lost > 0) ++figures.voyages_lost;
      // The player closes the voyage window and answers the question about saving at random.
      bool closed = false;
      run.cockpit.FormClose([&closed] { closed = true; });
      EXPECT_TRUE(closed);
      frames = hand.frames();
      figures.nested_frames += hand.nested_frames();
      figures.deepest = std::max(figures.deepest, hand.deepest());
      for (int a = 0; a < RandomHand::kActionCount; ++a)
        figures.actions[static_cast<size_t>(a)] += hand.actions()[static_cast<size_t>(a)];
    }
    EXPECT_TRUE(run.fake.dialogs.errors.empty()) << Utf8FromCp932(run.fake.dialogs.errors.front());
    figures.frames += frames;
    return frames;
  }

  static void PlaceBeforeAPoint(ProgramRun& run, Random& chooser) {
    const int i = chooser.Next(kChartPointCount);
    const ChartPoint& p = run.game->chart[static_cast<size_t>(i)];
    run.cockpit.Button1Click(p.x, p.y, p.z);
    run.vs.local_x = 0;
    run.vs.local_y = 0;
    run.vs.local_z = 120;
  }

  // What a run keeps between frames stays within fixed bounds.
  void CheckBounded(ProgramRun& run) {
    const CockpitState& cs = run.cockpit.state();
    ASSERT_GE(cs.message_page, 0);
    ASSERT_LT(cs.message_page, kMessageSlots);
    std::size_t page_bytes = 0;
    for (const std::string& page : cs.message_pages)
      page_bytes += page.size();
    ASSERT_LE(page_bytes, std::size_t{kMessageSlots} * 4096);
    for (std::int32_t v : {run.game->sector_x, run.game->sector_y, run.game->sector_z}) {
      ASSERT_GE(v, kSectorMin);
      ASSERT_LE(v, kSectorMax);
    }
    // The fakes record every call; what the window would have shown and played is long gone.
    auto& fake = run.fake;
    arrivals_ += static_cast<int>(
        std::count(fake.sound.calls.begin(), fake.sound.calls.end(), "cue 0 on.wav"));
    saves_ += static_cast<int>(
        std::count(fake.dialogs.informed.begin(), fake.dialogs.informed.end(), Sj("セーブ完了！")));
    fake.dialogs.informed.clear();
    fake.dialogs.asked.clear();
    fake.sound.calls.clear();
    ASSERT_LE(fake.controls.captions.size() + fake.controls.moved.size(), 64u);
  }

  std::filesystem::path folder_;
  int saves_ = 0;
  int arrivals_ = 0;
};

TEST_F(Soak, AnHourOfRandomPlayLeavesNothingBrokenAndMemoryFlat) {
#ifdef QM_SOAK_UNDER_ASAN
  // The sanitizers slow every frame about fivefold; a third of the hour still crosses many runs.
  const int total = kHourOfFrames / 3;
#else
  const int total = kHourOfFrames;
#endif
  Random chooser(kSeed);
  SoakFigures figures;
  long warm_rss = 0;
  std::size_t warm_heap = 0;
  int played = 0;
  while (played < total) {
    const int budget = std::min(total - played, 2000 + chooser.Next(6000));
    played += PlayOneRun(chooser, budget, figures);
    // Between runs nothing of a run is left: the heap must come back to where it was. Memory is
    // first measured once a tenth of the play has warmed the caches up.
    if (warm_rss == 0 && played >= total / 10) {
      warm_rss = ResidentKb();
      warm_heap = HeapInUse();
    }
  }
  figures.saves = saves_;
  figures.arrivals = arrivals_;
  const long end_rss = ResidentKb();
  const std::size_t end_heap = HeapInUse();

  std::cout << "soak: " << figures.frames << " frames (" << figures.frames / 600 << " min), "
            << figures.nested_frames << " inside questions (nested " << figures.deepest
            << " deep), " << figures.runs << " runs (" << figures.continued << " continued, "
            << figures.new_games << " new), " << figures.voyages_lost << " voyages lost, "
            << figures.arrivals << " arrivals, " << figures.saves << " saves; actions";
  for (int a : figures.actions)
    std::cout << " " << a;
  std::cout << "\nsoak: resident " << warm_rss << " kB after warm-up, " << end_rss
            << " kB at the end; heap in use " << warm_heap / 1024 << " kB, then " << end_heap / 1024
            << " kB\n";

  EXPECT_GE(figures.frames, total);
  EXPECT_GT(figures.runs, 2);
  EXPECT_GT(figures.continued, 0);
  EXPECT_GT(figures.saves, 0);
  EXPECT_GT(figures.arrivals, 0);
  EXPECT_GT(figures.nested_frames, 0);
  for (int a = 0; a < RandomHand::kActionCount; ++a)
    EXPECT_GT(figures.actions[static_cast<size_t>(a)], 0) << "action " << a << " never taken";
#ifndef QM_SOAK_UNDER_ASAN
  // ASan keeps freed memory in quarantine and has its own heap; LeakSanitizer guards that build.
  EXPECT_LE(end_rss, warm_rss + 4096) << "resident memory grew";
  EXPECT_LE(end_heap, warm_heap + 256 * std::size_t{1024}) << "the heap grew between runs";
#endif
}

}  // namespace
}  // namespace qm
