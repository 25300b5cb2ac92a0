// A game killed while it saves: a child process saves two different voyages by turns, as fast as
// it can, and is killed with SIGKILL at a random moment, again and again. After every kill
// dat/my.dat and the voyage log are each one of the two whole files, never a mix or a stub, and
// the next save goes through whatever the killed one left behind.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>
#include <thread>

#include "fakes.h"
#include "platform/cp932.h"
#include "state/atomic_file.h"
#include "state/save_files.h"
#include "state/voyage_log.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

using Clock = std::chrono::steady_clock;

// Two voyages whose files differ in every line and in length.
GameState Voyage(bool long_one) {
  GameState s;
  s.commander_name = long_one ? Sj("星野ﾘｮｳ") : Sj("ﾐﾅ");
  s.ship_name = long_one ? Sj("銀河丸") : Sj("ｿﾗ");
  s.captain_level = long_one ? 7 : 1;
  s.voyage_days = long_one ? 1234 : 3;
  for (std::size_t i = 0; i < kChartPointCount; ++i)
    s.point_state[i] = long_one ? -2147483647 : 1;
  s.energy = s.energy_max = long_one ? 990 : 200;
  return s;
}

class SaveKill : public testing::TempGameFolder {
 protected:
  // Saves in the parent, for the bytes a whole save leaves.
  void SaveHere(const GameState& s, std::string& saved, std::string& log) {
    testing::FakeServices fake;
    ASSERT_TRUE(SaveGame(s, fake.services));
    saved = ReadBytes(SavedGamePath());
    log = ReadBytes(VoyageLogPath());
  }
};

[[noreturn]] void SaveForever(const GameState& a, const GameState& b) {
  for (bool turn = false;; turn = !turn) {
    testing::FakeServices fake;
    SaveGame(turn ? b : a, fake.services);
  }
}

TEST_F(SaveKill, AKilledSaveLeavesTheOldFileOrTheNewOneWhole) {
  const GameState a = Voyage(false);
  const GameState b = Voyage(true);
  std::string saved_a, saved_b, log_a, log_b;
  SaveHere(b, saved_b, log_b);
  SaveHere(a, saved_a, log_a);
  ASSERT_NE(saved_a.size(), saved_b.size());

  // How long one save takes here, so the kills fall across several saves of the child.
  std::string ignored_saved, ignored_log;
  const auto start = Clock::now();
  for (int i = 0; i < 10; ++i)
    SaveHere(i % 2 ? a : b, ignored_saved, ignored_log);
  const auto one_save =
      std::chrono::duration_cast<std::chrono::microseconds>((Clock::now() - start) / 10).count();
  SaveHere(a, saved_a, log_a);
  std::mt19937 rng(20240607);
  std::uniform_int_distribution<long> delay(0, 4 * std::max<long>(one_save, 50));

  int mid_save = 0, seen_a = 0, seen_b = 0, kills = 0;
  // Go on until the kills have caught the child inside a save often enough to mean something.
  while (kills < 1000 && (mid_save < 30 || seen_a == 0 || seen_b == 0)) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(a, b);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(rng)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    ++kills;

    const std::string saved = ReadBytes(SavedGamePath());
    ASSERT_TRUE(saved == saved_a || saved == saved_b)
        << "after kill " << kills << " dat/my.dat holds " << saved.size()
        << " bytes, neither voyage whole";
    const std::string log = ReadBytes(VoyageLogPath());
    ASSERT_TRUE(log == log_a || log == log_b)
        << "after kill " << kills << " the voyage log holds " << log.size() << " bytes";
    seen_a += saved == saved_a ? 1 : 0;
    seen_b += saved == saved_b ? 1 : 0;
    // A temporary file left behind means the kill came in the middle of a save.
    if (std::filesystem::exists(TemporaryPathFor(SavedGamePath())) ||
        std::filesystem::exists(TemporaryPathFor(VoyageLogPath())))
      ++mid_save;
  }
  std::cout << kills << " kills, " << mid_save << " inside a save; " << seen_a << " left voyage a, "
            << seen_b << " voyage b (one save takes " << one_save << " us)\n";
  EXPECT_GE(mid_save, 30);

  // Whatever the last kill left, the next save goes through and leaves nothing behind, and the
  // voyage loads back with CONTINUE open.
  testing::FakeServices fake;
  EXPECT_TRUE(SaveGame(b, fake.services));
  EXPECT_EQ(ReadBytes(SavedGamePath()), saved_b);
  EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(SavedGamePath())));
  EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(VoyageLogPath())));
  WriteBytes(Path("dat/map.dat"), "");
  GameState loaded;
  testing::FakeServices reload;
  EXPECT_TRUE(LoadGame(loaded, reload.services));
  EXPECT_TRUE(reload.controls.IsEnabled("count_b"));
  EXPECT_EQ(loaded.commander_name, b.commander_name);
  EXPECT_EQ(loaded.point_state, b.point_state);
}

}  // namespace
}  // namespace qm
