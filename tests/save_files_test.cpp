#include "state/save_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "fakes.h"
#include "game_files.h"
#include "platform/cp932.h"
#include "state/atomic_file.h"
#include "state/game_state.h"
#include "state/voyage_log.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

using testing::FakeServices;

using testing::ChartFile;
using testing::Join;
using testing::Split;

// A record with a different value in every saved field, negatives and double-byte names included.
GameState Voyager() {
  GameState s;
  s.commander_name = Sj("星野ﾘｮｳ");
  s.ship_name = Sj("銀河丸");
  s.distance_total = -123456;
  s.voyage_days = 17;
  s.planets_found = 3;
  s.bottles_found = 2;
  s.sector_x = -30;
  s.sector_y = 7;
  s.sector_z = 30;
  s.energy = -15;
  s.hull = 9;
  s.captain_level = 4;
  for (int i = 0; i < 400; ++i)
    s.point_state[static_cast<std::size_t>(i)] = i % 3;
  s.point_state[5] = -2;
  s.energy_max = 250;
  s.resources = 0;
  s.resources_max = 9;
  for (int k = 0; k < kTroubleCount; ++k)
    s.trouble_level[static_cast<std::size_t>(k)] = k - 3;
  s.buoy_absence = 1199;
  s.hull_max = 12;
  s.story_stage() = 5;
  return s;
}

// Every value of the commander record that a save keeps.
auto SavedRecord(const GameState& s) {
  return std::tuple(s.commander_name, s.ship_name, s.distance_total, s.voyage_days, s.planets_found,
                    s.bottles_found, s.sector_x, s.sector_y, s.sector_z, s.energy, s.hull,
                    s.captain_level, s.point_state, s.energy_max, s.resources, s.resources_max,
                    s.trouble_level, s.buoy_absence, s.hull_max);
}

class SaveFiles : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    WriteChart(ChartFile());
  }
  void WriteChart(const ChartFile& chart) { WriteBytes(Path("dat/map.dat"), Join(chart.lines)); }
  void WriteSaved(const std::vector<std::string>& lines) {
    WriteBytes(Path("dat/my.dat"), Join(lines));
  }
  std::string Saved() const { return ReadBytes(Path("dat/my.dat")); }

  // Loads into a fresh state with fresh services; the services stay for the checks.
  GameState Load(bool expect_quiet = true) {
    GameState state;
    EXPECT_EQ(LoadGame(state, f->services), expect_quiet);
    return state;
  }
  bool ContinueEnabled() const { return f->controls.IsEnabled("count_b"); }

  // Services as a run starts with them: nothing asked, told or played yet, every control enabled.
  void Fresh() { f = std::make_unique<FakeServices>(); }
  std::unique_ptr<FakeServices> f = std::make_unique<FakeServices>();
};

TEST_F(SaveFiles, SavesEveryValueLineByLineAndReadsItBack) {
  const GameState voyager = Voyager();
  ASSERT_TRUE(SaveGame(voyager, f->services));

  std::vector<std::string> expected = {Sj("星野ﾘｮｳ"), "-123456", "17",  "3", "2", "-30",
                                       "7",           "30",      "-15", "9", "4"};
  for (int i = 0; i < 400; ++i)
    expected.push_back(i == 5 ? "-2" : std::to_string(i % 3));
  for (const char* v :
       {"250", "0", "9", "-3", "-2", "-1", "0", "1", "2", "3", "4", "5", "6", "1199", "12", "5"})
    expected.push_back(v);
  expected.push_back(Sj("銀河丸"));
  expected.push_back("265");  // 17 - 30 + 30 - 15 + 4 + 250 + 0 + 9
  EXPECT_EQ(Saved(), Join(expected));
  EXPECT_EQ(f->dialogs.informed, std::vector<std::string>{Sj("セーブ完了！")});
  EXPECT_EQ(f->sound.calls, std::vector<std::string>{"click"});
  EXPECT_TRUE(f->dialogs.errors.empty());
  EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(SavedGamePath())));

  FakeServices later;
  GameState loaded;
  EXPECT_TRUE(LoadGame(loaded, later.services));
  EXPECT_EQ(SavedRecord(loaded), SavedRecord(voyager));
  EXPECT_EQ(loaded.save_checksum, 265);
  EXPECT_TRUE(later.controls.IsEnabled("count_b"));
  EXPECT_TRUE(later.dialogs.errors.empty());
}

TEST_F(SaveFiles, DistanceTotalIsCarriedThroughSavesAndNewGames) {
  GameState state = Voyager();
  state.distance_total = 2147483647;
  for (int round = 0; round < 3; ++round) {
    ASSERT_TRUE(SaveGame(state, f->services));
    state = Load();
    NewGame(state);
  }
  EXPECT_EQ(state.distance_total, 2147483647);
}

TEST_F(SaveFiles, CheckValueWrapsPastTheTopOfThirtyTwoBits) {
  GameState state = Voyager();
  state.energy = 2000000000;
  state.energy_max = 2000000000;
  // 17 - 30 + 30 + 4 + 0 + 9 + 2 * 2000000000 = 4000000030, which wraps to 4000000030 - 2^32.
  EXPECT_EQ(SaveChecksum(state), -294967266);
  ASSERT_TRUE(SaveGame(state, f->services));
  EXPECT_EQ(Split(Saved()).at(428), "-294967266");
  Load();
  EXPECT_TRUE(ContinueEnabled());
}

TEST_F(SaveFiles, OnlyAChangedSummedValueFailsTheCheck) {
  ASSERT_TRUE(SaveGame(Voyager(), f->services));
  const std::vector<std::string> saved = Split(Saved());
  // Lines of the eight summed values, then lines outside the sum.
  for (int line : {3, 6, 8, 9, 11, 412, 413, 414}) {
    SCOPED_TRACE(line);
    std::vector<std::string> edited = saved;
    edited[static_cast<std::size_t>(line - 1)] += "1";
    WriteSaved(edited);
    Fresh();
    Load();
    EXPECT_FALSE(ContinueEnabled());
  }
  for (int line : {1, 2, 4, 5, 7, 10, 12, 411, 415, 425, 426, 427, 428}) {
    SCOPED_TRACE(line);
    std::vector<std::string> edited = saved;
    edited[static_cast<std::size_t>(line - 1)] += "1";
    WriteSaved(edited);
    Fresh();
    Load();
    EXPECT_TRUE(ContinueEnabled());
  }
}

TEST_F(SaveFiles, ACheckValueOfZeroAcceptsAnyValues) {
  std::vector<std::string> lines(429, "77");
  lines[0] = "A";
  lines[427] = "B";
  lines[428] = "0";
  WriteSaved(lines);
  const GameState state = Load();
  EXPECT_EQ(state.energy, 77);
  EXPECT_TRUE(ContinueEnabled());
}

TEST_F(SaveFiles, ANonNumberStopsTheSavedGameButNotTheChart) {
  std::vector<std::string> lines(429, "4");
  lines[10] = "12a";  // captain_level
  WriteSaved(lines);
  ChartFile chart;
  chart.Set(399, 6, "9");
  WriteChart(chart);
  const GameState state = Load(false);
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("入力値が数値ではありません.")});
  EXPECT_FALSE(ContinueEnabled());
  EXPECT_EQ(state.hull, 4);             // read before the failure
  EXPECT_EQ(state.chart[399].kind, 9);  // the chart is read all the same
  EXPECT_EQ(state.GridCell(0, 0), 9);
}

TEST_F(SaveFiles, NoSavedGameIsAFirstStart) {
  ChartFile chart;
  chart.Set(7, 3, "-5");
  chart.Set(7, 5, "20");
  chart.Set(7, 6, "12");
  WriteChart(chart);
  const GameState state = Load();
  EXPECT_TRUE(f->dialogs.errors.empty());
  EXPECT_FALSE(ContinueEnabled());
  EXPECT_EQ(state.chart[7].name, "P7");
  EXPECT_EQ(state.GridCell(-5, 20), 12);
}

TEST_F(SaveFiles, EnteredNamesKeepAtMostEightBytesAndWholeCharacters) {
  EXPECT_EQ(FitName(Sj("ＡＢＣＤ")), Sj("ＡＢＣＤ"));
  EXPECT_EQ(FitName("ABCDEFGHIJ"), "ABCDEFGH");
  EXPECT_EQ(FitName("ABCDEFG" + Sj("星")), "ABCDEFG");
  EXPECT_EQ(FitName(Sj("ｱ星野銀河")), Sj("ｱ星野銀"));
}

// --- Errors -------------------------------------------------------------------------------------

// Lowers a resource limit for the scope of one operation.
class ScopedLimit {
 public:
  ScopedLimit(int resource, rlim_t soft) : resource_(resource) {
    getrlimit(resource_, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = soft;
    EXPECT_EQ(setrlimit(resource_, &lowered), 0);
  }
  ScopedLimit(const ScopedLimit&) = delete;
  ScopedLimit& operator=(const ScopedLimit&) = delete;
  ~ScopedLimit() { setrlimit(resource_, &saved_); }

 private:
  int resource_;
  rlimit saved_{};
};

// Every file opened from here on would need a descriptor above the limit.
rlim_t LowestFreeDescriptor() {
  const int fd = dup(0);
  close(fd);
  return static_cast<rlim_t>(fd);
}

TEST_F(SaveFiles, EachCauseOfAFailedLoadHasItsText) {
  std::filesystem::remove(Path("dat/map.dat"));
  Load(false);
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("ﾌｧｲﾙが見つかりません.")});

  Fresh();
  std::filesystem::create_directory(Path("dat/my.dat"));
  WriteChart(ChartFile());
  const GameState state = Load(false);
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("ﾌｧｲﾙへのｱｸｾｽが拒否されました.")});
  EXPECT_FALSE(ContinueEnabled());
  EXPECT_EQ(state.chart[399].name, "P399");

  // A pipe is refused the same way, and at once: no writer ever comes to end it.
  Fresh();
  std::filesystem::remove(Path("dat/my.dat"));
  ASSERT_EQ(mkfifo(Path("dat/my.dat").c_str(), 0600), 0);
  Load(false);
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("ﾌｧｲﾙへのｱｸｾｽが拒否されました.")});
  std::filesystem::remove(Path("dat/my.dat"));

  Fresh();
  {
    ScopedLimit no_more_files(RLIMIT_NOFILE, LowestFreeDescriptor());
    GameState s;
    EXPECT_FALSE(LoadGame(s, f->services));
  }
  EXPECT_EQ(f->dialogs.errors.at(0), Sj("ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます."));

  // A socket where the chart should be cannot be opened at all: a cause without its own text.
  Fresh();
  std::filesystem::remove(Path("dat/map.dat"));
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, Path("dat/map.dat").c_str(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  Load(false);
  close(sock);
  EXPECT_EQ(f->dialogs.errors.back(), Sj("I/O ｴﾗｰ (6)"));

  Fresh();
  std::filesystem::remove_all(Path("dat"));
  WriteBytes(Path("dat"), "not a folder");
  Load(false);
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>(2, Sj("不正なﾌｧｲﾙ名です.")));
}

TEST_F(SaveFiles, AReadOnlyFolderRefusesTheSave) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  std::filesystem::permissions(
      Path("dat"), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_FALSE(SaveGame(Voyager(), f->services));
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("ﾌｧｲﾙへのｱｸｾｽが拒否されました.")});
}

class FailedSave : public SaveFiles {
 protected:
  void SetUp() override {
    SaveFiles::SetUp();
    signal(SIGXFSZ, SIG_IGN);  // a write past the size limit fails instead of ending the run
    GameState first = Voyager();
    first.ship_name = Sj("旧船");
    ASSERT_TRUE(SaveGame(first, f->services));
    old_saved_ = Saved();
    old_log_ = ReadBytes(VoyageLogPath());
    Fresh();
  }
  void ExpectOldFilesWhole() {
    EXPECT_EQ(Saved(), old_saved_);
    EXPECT_EQ(ReadBytes(VoyageLogPath()), old_log_);
    EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(SavedGamePath())));
    EXPECT_TRUE(f->dialogs.informed.empty());
    EXPECT_TRUE(f->sound.calls.empty());
  }
  std::string old_saved_;
  std::string old_log_;
};

TEST_F(FailedSave, AFullDiskAtAnyByteLeavesTheOldSaveWhole) {
  GameState second = Voyager();
  second.commander_name = Sj("新しい名");
  second.energy = 123456789;
  // The disk fills up after `room` bytes; every line, and every byte within it, gets its turn.
  std::size_t room = 0;
  for (;; ++room) {
    SCOPED_TRACE(room);
    ASSERT_LT(room, 5000u);
    Fresh();
    bool saved;
    {
      ScopedLimit file_size(RLIMIT_FSIZE, room);
      saved = SaveGame(second, f->services);
    }
    if (saved) break;
    EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("ﾃﾞｨｽｸがいっぱいです.")});
    ExpectOldFilesWhole();
  }
  EXPECT_EQ(Saved().size(), room);
  EXPECT_EQ(Split(Saved()).at(0), Sj("新しい名"));
  EXPECT_EQ(Split(Saved()).at(8), "123456789");
}

TEST_F(FailedSave, NoFreeDescriptorOrAFolderInTheWayKeepsTheOldSave) {
  // The sanitizers' runtime opens a pipe of its own to look at memory while the failure is
  // caught; with every descriptor taken it reports a fault that is not there. That half of the
  // test runs in the plain build.
#if !defined(__SANITIZE_ADDRESS__)
  {
    ScopedLimit no_more_files(RLIMIT_NOFILE, LowestFreeDescriptor());
    EXPECT_FALSE(SaveGame(Voyager(), f->services));
  }
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます.")});
  ExpectOldFilesWhole();
#endif

  // The new file is written whole but cannot take the old one's place.
  Fresh();
  std::filesystem::remove(Path("dat/my.dat"));
  std::filesystem::create_directory(Path("dat/my.dat"));
  EXPECT_FALSE(SaveGame(Voyager(), f->services));
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("ﾌｧｲﾙへのｱｸｾｽが拒否されました.")});
  EXPECT_TRUE(std::filesystem::is_directory(Path("dat/my.dat")));
  EXPECT_FALSE(std::filesystem::exists(TemporaryPathFor(SavedGamePath())));
}

TEST_F(FailedSave, ALogThatCannotBeWrittenComesAfterTheSaveAndItsReport) {
  std::filesystem::remove(VoyageLogPath());
  std::filesystem::create_directory(VoyageLogPath());
  GameState second = Voyager();
  second.hull = 1;
  EXPECT_FALSE(SaveGame(second, f->services));
  EXPECT_EQ(Split(Saved()).at(9), "1");
  EXPECT_EQ(f->dialogs.informed, std::vector<std::string>{Sj("セーブ完了！")});
  EXPECT_EQ(f->sound.calls, std::vector<std::string>{"click"});
  EXPECT_EQ(f->dialogs.errors, std::vector<std::string>{Sj("ﾌｧｲﾙへのｱｸｾｽが拒否されました.")});
}

}  // namespace
}  // namespace qm
