// Any bytes as dat/map.dat, on a first start: loading never crashes and leaves a chart that
// cannot index outside itself, with a grid that holds only what the chart put there. Then a new
// voyage runs on it: the chart listing, contact and arrival at one of its points (the hidden test
// control puts the ship before it), and a few frames of a random hand.

#include <unistd.h>

#include <cstdint>
#include <memory>

#include "fuzz_game.h"
#include "state/chart_file.h"
#include "state/save_files.h"

namespace {

using qm::fuzz::Check;

void CheckChart(const qm::GameState& game, std::size_t file_size) {
  std::size_t text_bytes = 0;
  for (const qm::ChartPoint& p : game.chart) {
    for (std::int32_t link : {p.next_point, p.next_point_2, p.extra_point})
      Check(link >= -1 && link < qm::kChartPointCount, "link outside the chart");
    text_bytes += p.name.size() + p.text.size();
  }
  // Every byte of a name or a text came from the file, each at most once.
  Check(text_bytes <= file_size, "texts longer than the file");
}

void CheckGrid(const qm::GameState& game) {
  for (int x = qm::kSectorMin; x <= qm::kSectorMax; ++x) {
    for (int z = qm::kSectorMin; z <= qm::kSectorMax; ++z) {
      const int cell = game.GridCell(x, z);
      if (cell == qm::PointKind::kNone) continue;
      bool placed = false;
      for (const qm::ChartPoint& p : game.chart)
        placed = placed || (p.x == x && p.z == z && p.kind == cell);
      Check(placed, "grid cell without a point");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qm::fuzz::SetUp("chart-fuzz");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A first start: no saved voyage, only the chart under test.
  ::unlink(qm::SavedGamePath().c_str());
  qm::fuzz::WriteFile(qm::ChartPath(), data, size);
  auto rig = std::make_unique<qm::testing::CockpitRig>();
  qm::GameState& game = rig->game;
  game = qm::GameState{};
  const bool read = qm::LoadGame(game, rig->fake.services);
  CheckChart(game, size);
  if (read) CheckGrid(game);

  // NEW GAME on whatever chart there is.
  qm::NewGame(game);
  game.commander_name = qm::Sj("アキラ");
  game.ship_name = qm::Sj("ノア");
  const std::uint32_t seed = qm::fuzz::Hash(data, size);
  qm::Random pick(seed);
  for (int i = 0; i < qm::kChartPointCount; ++i) {
    auto& state = game.point_state[static_cast<size_t>(i)];
    if (pick.Next(3) == 0) state = 1 + pick.Next(2);
  }
  rig->cockpit.u_map_b2MouseDown();
  for (int n = 0; n < qm::kMessagePagesShown && rig->fake.controls.IsVisible("moji_box"); ++n)
    rig->cockpit.Shape1MouseDown();

  // The first point of the chart that lies in space, ship stopped just before it.
  for (int i = 0; i < qm::kChartPointCount; ++i) {
    const qm::ChartPoint& p = game.chart[static_cast<size_t>(i)];
    const auto in_space = [](int v) { return v >= qm::kSectorMin && v <= qm::kSectorMax; };
    if (!in_space(p.x) || !in_space(p.y) || !in_space(p.z)) continue;
    rig->cockpit.Button1Click(p.x, p.y, p.z);
    if (game.point_state[static_cast<size_t>(i)] == 0) game.point_state[static_cast<size_t>(i)] = 1;
    rig->vs.local_z = 120;
    break;
  }
  qm::testing::ShowWindowAsMade(rig->fake.controls);
  rig->vs.logon_step = qm::kLogonFrames;
  rig->fake.clock.AdvanceMs(100);
  rig->voyage.Timer1Timer();
  rig->cockpit.contact_b2MouseDown();
  qm::fuzz::Fly(*rig, seed, 12);
  return 0;
}
