#include "state/save_files.h"

#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/game_folder.h"
#include "platform/services.h"
#include "state/atomic_file.h"
#include "state/chart_file.h"
#include "state/file_error.h"
#include "state/saved_game.h"
#include "state/text_reader.h"
#include "state/voyage_log.h"

namespace qm {
namespace {

constexpr std::size_t kMaxNameBytes = 8;

// Reads the whole file first, so that the format is parsed from bytes alone.
void ReadSavedGame(const std::string& path, GameState& state) {
  ParseSavedGame(ReadTextFile(path), state);
}

}  // namespace

std::string SavedGamePath() {
  return PlayerPath("\\dat\\my.dat");
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
  services.dialogs.Inform(Tx("セーブ完了！"));
  services.sound.PlayClick();
  return WriteVoyageLog(state, services.dialogs);
}

}  // namespace qm
