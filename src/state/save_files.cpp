#include "state/save_files.h"

#include "platform/cp932.h"
#include "platform/game_folder.h"
#include "platform/services.h"
#include "state/atomic_file.h"
#include "state/chart_file.h"
#include "state/file_error.h"
#include "state/text_reader.h"
#include "state/voyage_log.h"

namespace qm {
namespace {

constexpr std::size_t kMaxNameBytes = 8;

// Lines 1 to 428 of dat/my.dat, in file order; the check value follows them. The reader and the
// writer both walk this one list, so the two can never disagree about the layout.
template <typename State, typename OnText, typename OnNumber>
void VisitSavedRecord(State& s, OnText&& text, OnNumber&& number) {
  text(s.commander_name);
  number(s.distance_total);
  number(s.voyage_days);
  number(s.planets_found);
  number(s.bottles_found);
  number(s.sector_x);
  number(s.sector_y);
  number(s.sector_z);
  number(s.energy);
  number(s.hull);
  number(s.captain_level);
  for (int i = 0; i < kChartPointCount; ++i)
    number(s.point_state[static_cast<std::size_t>(i)]);
  number(s.energy_max);
  number(s.resources);
  number(s.resources_max);
  for (auto& level : s.trouble_level)
    number(level);
  number(s.buoy_absence);
  number(s.hull_max);
  number(s.point_state[401]);  // the story stage
  text(s.ship_name);
}

void ReadSavedGame(const std::string& path, GameState& state) {
  TextReader reader(path);
  VisitSavedRecord(
      state, [&](std::string& text) { text = reader.ReadText(); },
      [&](std::int32_t& number) { number = reader.ReadNumber(); });
  state.save_checksum = reader.ReadNumber();
  reader.Close();
}

std::string SavedGameText(const GameState& state) {
  std::string file;
  VisitSavedRecord(
      state, [&](const std::string& text) { file += text + "\r\n"; },
      [&](const std::int32_t& number) { file += Dec(number) + "\r\n"; });
  file += Dec(SaveChecksum(state)) + "\r\n";
  return file;
}

}  // namespace

std::string SavedGamePath() {
  return PlayerPath("\\dat\\my.dat");
}

std::int32_t SaveChecksum(const GameState& s) {
  // Summed unsigned so the wrap past 2^31 is defined; the result reads back as the signed sum.
  std::uint32_t sum = 0;
  for (std::int32_t v : {s.voyage_days, s.sector_x, s.sector_z, s.energy, s.captain_level,
                         s.energy_max, s.resources, s.resources_max})
    sum += static_cast<std::uint32_t>(v);
  return static_cast<std::int32_t>(sum);
}

std::string FitName(const std::string& name) {
  if (name.size() <= kMaxNameBytes) return name;
  std::size_t kept = 0;
  while (kept < name.size()) {
    const std::size_t width = IsCp932LeadByte(static_cast<unsigned char>(name[kept])) ? 2 : 1;
    if (kept + width > kMaxNameBytes) break;
    kept += width;
  }
  return name.substr(0, kept);
}

bool LoadGame(GameState& state, Services& services) {
  bool quiet = true;
  bool saved_voyage = false;
  try {
    ReadSavedGame(SavedGamePath(), state);
    saved_voyage = true;
  } catch (const FileFailure& failure) {
    // No saved game at all is simply a first start; anything else the player should hear about.
    if (failure.code() != kFileNotFound) {
      services.dialogs.Error(FileErrorText(failure.code()));
      quiet = false;
    }
    services.controls.SetEnabled("count_b", false);
  }
  try {
    ReadChart(ChartPath(), state);
  } catch (const FileFailure& failure) {
    services.dialogs.Error(FileErrorText(failure.code()));
    return false;
  }
  if (saved_voyage && state.save_checksum != 0 && SaveChecksum(state) != state.save_checksum)
    services.controls.SetEnabled("count_b", false);
  BuildGrid(state);
  return quiet;
}

bool SaveGame(const GameState& state, Services& services, bool* record_written) {
  if (record_written != nullptr) *record_written = false;
  try {
    // An installed game's first save makes the player's folder.
    MakeFoldersFor(SavedGamePath());
    WriteFileAtomically(SavedGamePath(), SavedGameText(state));
  } catch (const FileFailure& failure) {
    services.dialogs.Error(FileErrorText(failure.code()));
    return false;
  }
  if (record_written != nullptr) *record_written = true;
  // Saving happens only from the voyage window, while the title window is hidden.
  services.dialogs.Inform(Sj("セーブ完了！"));
  services.sound.PlayClick();
  return WriteVoyageLog(state, services.dialogs);
}

}  // namespace qm
