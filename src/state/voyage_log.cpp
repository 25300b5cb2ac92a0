#include "state/voyage_log.h"

#include "platform/cp932.h"
#include "platform/game_folder.h"
#include "platform/services.h"
#include "state/atomic_file.h"
#include "state/captain_rank.h"
#include "state/diary.h"
#include "state/file_error.h"

namespace qm {
namespace {

void AddLine(std::string& page, const std::string& line) {
  page += line;
  page += "\r\n";
}

}  // namespace

std::string VoyageLogPath() {
  return PlayerPath("\\航海日誌.txt");
}

std::string VoyageLogText(const GameState& s) {
  std::string page;
  AddLine(page, Sj("★『") + s.ship_name + Sj("』号船長") + s.commander_name + Sj("の航海日誌 "));
  AddLine(page, Sj("航海日数：") + Dec(s.voyage_days) + Sj("日目"));
  const std::string sentence = DiarySentence(
      DiaryKey(s.voyage_days, s.planets_found, s.bottles_found), s.commander_name, s.ship_name);
  if (!sentence.empty()) AddLine(page, Sj("「") + sentence + Sj("」"));
  AddLine(page, Sj("宇宙船長LV：") + RankTitle(s.captain_level));
  if (s.planets_found >= 1) AddLine(page, Sj("発見した惑星：") + Dec(s.planets_found) + Sj("個"));
  if (s.bottles_found >= 1) {
    AddLine(page, Sj("発見したボトル：") + Dec(s.bottles_found) + Sj("個"));
  }
  return page;
}

bool WriteVoyageLog(const GameState& state, Dialogs& dialogs) {
  try {
    MakeFoldersFor(VoyageLogPath());
    WriteFileAtomically(VoyageLogPath(), VoyageLogText(state));
  } catch (const FileFailure& failure) {
    dialogs.Error(FileErrorText(failure.code()));
    return false;
  }
  return true;
}

}  // namespace qm
