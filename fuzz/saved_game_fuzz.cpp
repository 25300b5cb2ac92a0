// Any bytes as dat/my.dat beside a sound (if short) chart: the game starts on it without crashing,
// keeps each name exactly as its line holds it, and a saved game that read without an error box
// writes back and reads again to the very same record. When CONTINUE stays open (a check value of
// 0 lets any values through), CONTINUE resumes the voyage on whatever was loaded, unchanged, and a
// random hand flies a few frames, as a player would; the sums it makes wrap instead of running
// over (the sanitizer build of the target stops on any overflow).

#include <cstdint>
#include <memory>

#include "fuzz_game.h"
#include "saved_record_check.h"
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
    qm::fuzz::CheckSameRecord(rig->game, *reloaded);
    qm::SaveGame(*reloaded, again.services);
    Check(ReadAll(MyDat()) == written, "second save differs");
  }

  if (may_continue) {
    // CONTINUE, as the title window does it: the record as loaded.
    qm::fuzz::Fly(*rig, qm::fuzz::Hash(data, size), 16);
  }
  return 0;
}
