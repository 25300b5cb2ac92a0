#include "state/voyage_log.h"

#include "platform/cp932.h"
#include "platform/edition.h"
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
  // The file's name is a text of the edition too: a player of the English edition finds an
  // English log under an English name.
  return PlayerPath(Utf8FromCp932(Tx("\\航海日誌.txt")));
}

std::string VoyageLogText(const GameState& s) {
  std::string page;
  AddLine(page, Fill(Tx("★『%1』号船長%2の航海日誌 "), {s.ship_name, s.commander_name}));
  AddLine(page, Fill(Tx("航海日数：%1日目"), {Dec(s.voyage_days)}));
  const std::string sentence = DiarySentence(
      DiaryKey(s.voyage_days, s.planets_found, s.bottles_found), s.commander_name, s.ship_name);
  if (!sentence.empty()) AddLine(page, Fill(Tx("「%1」"), {sentence}));
  AddLine(page, Fill(Tx("宇宙船長LV：%1"), {RankTitle(s.captain_level)}));
  if (s.planets_found >= 1) AddLine(page, Fill(Tx("発見した惑星：%1個"), {Dec(s.planets_found)}));
  if (s.bottles_found >= 1) AddLine(page, Fill(Tx("発見したボトル：%1個"), {Dec(s.bottles_found)}));
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
