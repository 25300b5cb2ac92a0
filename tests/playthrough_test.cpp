// The shipped chart flown from the first buoy to the message from Earth by a scripted pilot, on
// simulated time: proof that the voyage can be finished, and what it costs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "built_game.h"
#include "cockpit/arrival.h"
#include "cockpit/instrument_texts.h"
#include "cockpit/story.h"
#include "cockpit/story_lines.h"
#include "cockpit/story_texts.h"
#include "pilot.h"
#include "platform/edition.h"
#include "state/chart_file.h"
#include "state/voyage_log.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

constexpr std::uint32_t kSeed = 20250607;
// Far more than the route needs; a pilot that gets stuck ends the test instead of hanging it.
constexpr int kFrameLimit = 60000;

std::string Utf8(const std::string& cp932) {
  return Utf8FromCp932(cp932);
}

TEST(Playthrough, APilotFliesTheShippedChartToTheMessageFromEarth) {
  testing::CockpitRig rig;
  ReadChart((testing::BuiltGame() / "dat" / "map.dat").string(), rig.game);
  BuildGrid(rig.game);
  NewGame(rig.game);
  rig.game.commander_name = Sj("アキラ");
  rig.game.ship_name = Sj("ノア");
  // QM_PLAYTHROUGH_SEED flies another voyage on the same chart, for a designer weighing it.
  const char* seed = std::getenv("QM_PLAYTHROUGH_SEED");
  rig.fake.random.SetSeed(seed ? static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10))
                               : kSeed);
  // A new voyage opens with the ship computer's log-on and the message box put away.
  rig.vs.logon_step = 0;
  rig.fake.controls.SetVisible("moji_box", false);
  rig.voyage.InitStars();

  testing::Pilot pilot(rig);
  const bool finished = pilot.Fly(kFrameLimit);

  const double minutes = pilot.frames() / 600.0;
  std::cout << "playthrough: " << pilot.frames() << " frames (" << minutes << " min), "
            << pilot.arrivals().size() << " arrivals, lowest energy " << pilot.lowest_energy()
            << ", lowest hull " << pilot.lowest_hull() << ", conversions " << pilot.conversions()
            << ", boosts " << pilot.boosts() << ", repairs " << pilot.repairs().size()
            << ", impacts " << pilot.collisions() << ", troubles";
  for (int k : pilot.troubles())
    std::cout << " " << k;
  std::cout << "; Earth message at frame " << pilot.earth_frame() << "\n";
  for (const auto& a : pilot.arrivals()) {
    const std::string first_line = a.page.substr(0, a.page.find('\r'));
    std::cout << "  frame " << a.frame << "  " << Utf8(first_line) << " (" << a.place.x << ", "
              << a.place.y << ", " << a.place.z << ")  energy " << a.energy << "  resources "
              << a.resources << "  hull " << a.hull << "\n";
  }
  ::testing::Test::RecordProperty("frames", pilot.frames());
  ::testing::Test::RecordProperty("arrivals", static_cast<int>(pilot.arrivals().size()));
  ::testing::Test::RecordProperty("lowest_energy", pilot.lowest_energy());
  ::testing::Test::RecordProperty("lowest_hull", pilot.lowest_hull());

  ASSERT_TRUE(finished) << "stuck at frame " << pilot.frames() << " in sector ("
                        << -rig.game.sector_x << ", " << rig.game.sector_y << ", "
                        << rig.game.sector_z << ") local (" << rig.vs.local_x << ", "
                        << rig.vs.local_y << ", " << rig.vs.local_z << "), voyage over "
                        << rig.game.voyage_over;
  EXPECT_EQ(rig.game.voyage_over, 0);

  // The pilot went exactly where the pages sent it: the main trail, buoy after buoy, from point 0
  // to the ending point.
  std::vector<int> trail{0};
  while (trail.back() != kEndingPoint && trail.size() <= kChartPointCount)
    trail.push_back(rig.game.chart[static_cast<size_t>(trail.back())].next_point);
  ASSERT_EQ(pilot.arrivals().size(), trail.size());
  for (size_t i = 0; i < trail.size(); ++i) {
    const ChartPoint& p = rig.game.chart[static_cast<size_t>(trail[i])];
    EXPECT_EQ(pilot.arrivals()[i].page, ArrivalPage(p)) << "arrival " << i;
    EXPECT_EQ(pilot.arrivals()[i].place, (testing::ChartPlace{p.x, p.y, p.z})) << "arrival " << i;
    EXPECT_EQ(rig.game.point_state[static_cast<size_t>(trail[i])], 2) << "point " << trail[i];
  }
  EXPECT_EQ(rig.game.voyage_days, static_cast<int>(trail.size()));

  // The story in its order: the first clue read, the shockwave, its announcement read to the
  // end, the prologue roll over; then the ending roll with its music.
  EXPECT_EQ(pilot.stages(), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(pilot.music(), (std::vector<std::string>{"opening.mid", "ending.mid"}));
  const auto& read = pilot.pages_read();
  const auto shock = std::find(read.begin(), read.end(), ShockwavePages().front());
  ASSERT_GE(read.end() - shock, kShockwavePageCount) << "the shockwave was never announced";
  EXPECT_TRUE(std::equal(ShockwavePages().begin(), ShockwavePages().end(), shock));

  // The ending roll ran its whole length from the call at the ending point, and the message from
  // Earth followed it and was read to its last page.
  EXPECT_EQ(pilot.longest_ending(), kEndingEnd - 1);
  EXPECT_EQ(pilot.earth_frame() - pilot.ending_frame(), kEndingEnd - 2);
  ASSERT_GE(read.size(), static_cast<size_t>(kEarthMessagePageCount));
  EXPECT_TRUE(std::equal(EarthMessagePages().begin(), EarthMessagePages().end(),
                         read.end() - kEarthMessagePageCount));
}

class EnglishPlaythrough : public testing::TempGameFolder {
 protected:
  void SetUp() override {
    TempGameFolder::SetUp();
    ASSERT_TRUE(SetEdition("en"));
  }
  void TearDown() override {
    SetEdition(kJapanese);
    TempGameFolder::TearDown();
  }
};

// The English edition flown from the first buoy to the message from Earth and saved: nothing the
// game showed or wrote on the way (pages, questions, captions, instruments, rolls, the saved game
// and the voyage log) holds a byte outside ASCII, so no Japanese reaches its player.
TEST_F(EnglishPlaythrough, ShowsAndWritesNothingButEnglishToTheEnd) {
  testing::CockpitRig rig;
  ReadChart((testing::BuiltGame() / "dat" / "en" / "map.dat").string(), rig.game);
  BuildGrid(rig.game);
  NewGame(rig.game);
  rig.game.commander_name = "Akira";
  rig.game.ship_name = "Aoba";
  rig.fake.random.SetSeed(kSeed);
  rig.vs.logon_step = 0;
  rig.fake.controls.SetVisible("moji_box", false);
  rig.voyage.InitStars();

  std::set<std::string> shown;
  Random readout_random(1);
  testing::Pilot pilot(rig);
  pilot.after_frame = [&] {
    for (const auto& [control, caption] : rig.fake.controls.captions)
      shown.insert(caption);
    for (const std::string& line : SpeedReadoutLines(rig.vs))
      shown.insert(line);
    shown.insert(PositionReadoutText(rig.game, readout_random));
    shown.insert(BoosterText(rig.vs.booster_seconds));
    for (int k = 0; k < kTroubleCount; ++k)
      if (rig.game.trouble_level[static_cast<size_t>(k)] >= 1)
        shown.insert(TroubleLabel(k, rig.game.trouble_level[static_cast<size_t>(k)]));
  };
  ASSERT_TRUE(pilot.Fly(kFrameLimit)) << "stuck at frame " << pilot.frames();
  EXPECT_EQ(pilot.stages(), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(pilot.pages_read().back(), EarthMessagePages().back());
  EXPECT_NE(
      std::find(pilot.pages_read().begin(), pilot.pages_read().end(), ShockwavePages().back()),
      pilot.pages_read().end());

  // The voyage is saved at the save point at its end.
  rig.game.resources = std::max(rig.game.resources, 1);
  rig.cockpit.Image5MouseDown();
  ASSERT_TRUE(rig.fake.dialogs.errors.empty()) << rig.fake.dialogs.errors.front();
  auto read = [this](const std::string& relative) {
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  };
  const std::string log = read("voyage_log.txt");
  EXPECT_EQ(log.rfind(Tx("★『%1』号船長%2の航海日誌 ").substr(0, 6), 0), 0u) << log;
  EXPECT_EQ(log, VoyageLogText(rig.game));

  std::vector<std::string> written{log, read("dat/my.dat")};
  for (const auto& entry : std::filesystem::recursive_directory_iterator(Path("")))
    written.push_back(entry.path().filename().string());
  const auto& dialogs = rig.fake.dialogs;
  std::vector<std::vector<std::string>> all{
      pilot.pages_read(),
      dialogs.asked,
      dialogs.informed,
      written,
      std::vector<std::string>(shown.begin(), shown.end()),
      std::vector<std::string>(PrologueLines().begin(), PrologueLines().end())};
  const auto ending = EndingLines(rig.game.ship_name, rig.game.commander_name);
  all.emplace_back(ending.begin(), ending.end());
  size_t texts = 0;
  for (const auto& group : all) {
    for (const std::string& text : group) {
      ++texts;
      const bool ascii = std::all_of(text.begin(), text.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
      EXPECT_TRUE(ascii) << Utf8(text);
    }
  }
  EXPECT_GT(texts, 500u);
}

}  // namespace
}  // namespace qm
