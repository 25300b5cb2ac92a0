#include "state/diary.h"

#include "platform/edition.h"

namespace qm {

std::int64_t DiaryKey(std::int32_t voyage_days, std::int32_t planets_found,
                      std::int32_t bottles_found) {
  return std::int64_t{voyage_days} + planets_found + bottles_found;
}

std::string DiarySentence(std::int64_t key, const std::string& commander_name,
                          const std::string& ship_name) {
  for (const DiaryEntry& entry : DiaryEntries()) {
    if (key < entry.first_key || key > entry.last_key) continue;
    if (entry.name == DiaryName::kNone) return Tx(entry.sentence);
    return Fill(Tx(entry.sentence),
                {entry.name == DiaryName::kCommander ? commander_name : ship_name});
  }
  return {};
}

}  // namespace qm
