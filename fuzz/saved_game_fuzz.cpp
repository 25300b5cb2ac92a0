// Any bytes as dat/my.dat beside a sound (if short) chart: the game starts on it without crashing,
// keeps each name exactly as its line holds it, and a saved game that read without an error box
// writes back and reads again to the very same record. When CONTINUE stays open (a check value of
// 0 lets any values through), CONTINUE resumes the voyage on whatever was loaded, unchanged, and a
// random hand flies a few frames, as a player would; the sums it makes wrap instead of running
// over (the sanitizer build of the target stops on any overflow).

#include <cstdint>
#include <memory>

#include "fuzz_game.h"
#include "state/chart_file.h"
#include "state/save_files.h"

namespace {

using qm::fuzz::Check;

std::string MyDat() {
  return qm::SavedGamePath();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CheckSameRecord(const qm::GameState& a, const qm::GameState& b) {
  Check(a.commander_name == b.commander_name && a.ship_name == b.ship_name, "names round trip");
  Check(a.distance_total == b.distance_total && a.voyage_days == b.voyage_days &&
            a.planets_found == b.planets_found && a.bottles_found == b.bottles_found,
        "counts round trip");
  Check(a.sector_x == b.sector_x && a.sector_y == b.sector_y && a.sector_z == b.sector_z,
        "sector round trip");
  Check(a.energy == b.energy && a.hull == b.hull && a.captain_level == b.captain_level &&
            a.energy_max == b.energy_max && a.resources == b.resources &&
            a.resources_max == b.resources_max && a.buoy_absence == b.buoy_absence &&
            a.hull_max == b.hull_max,
        "ship round trip");
  for (int i = 0; i < qm::kChartPointCount; ++i)
    Check(a.point_state[static_cast<size_t>(i)] == b.point_state[static_cast<size_t>(i)],
          "point states round trip");
  Check(a.story_stage() == b.story_stage(), "story stage round trip");
  Check(a.trouble_level == b.trouble_level, "troubles round trip");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qm::fuzz::SetUp("saved-game-fuzz");
  const std::string chart = qm::fuzz::SyntheticChartBytes(60);
  qm::fuzz::WriteFile(qm::ChartPath(), reinterpret_cast<const std::uint8_t*>(chart.data()),
                      chart.size());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qm::fuzz::WriteFile(MyDat(), data, size);
  auto rig = std::make_unique<qm::testing::CockpitRig>();
  auto& fake = rig->fake;
  qm::LoadGame(rig->game, fake.services);
  // The first line, up to its end, is the commander's name, byte for byte.
  std::size_t first_line = 0;
  while (first_line < size && data[first_line] != '\r' && data[first_line] != '\n')
    ++first_line;
  Check(rig->game.commander_name == std::string(reinterpret_cast<const char*>(data), first_line),
        "commander's name not as written");
  const bool read_whole = fake.dialogs.errors.empty();
  const bool may_continue = fake.controls.IsEnabled("count_b");
  Check(read_whole || !may_continue, "CONTINUE open after an error box");

  if (read_whole) {
    Check(qm::SaveGame(rig->game, fake.services), "save failed");
    const std::string written = ReadAll(MyDat());
    qm::testing::FakeServices again;
    auto reloaded = std::make_unique<qm::GameState>();
    Check(qm::LoadGame(*reloaded, again.services), "saved game does not read back");
    Check(again.controls.IsEnabled("count_b"), "saved game fails its own check");
    Check(reloaded->save_checksum == qm::SaveChecksum(rig->game), "check value");
    CheckSameRecord(rig->game, *reloaded);
    qm::SaveGame(*reloaded, again.services);
    Check(ReadAll(MyDat()) == written, "second save differs");
  }

  if (may_continue) {
    // CONTINUE, as the title window does it: the record as loaded.
    qm::fuzz::Fly(*rig, qm::fuzz::Hash(data, size), 16);
  }
  return 0;
}
