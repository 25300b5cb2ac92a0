#include "state/diary.h"

#include "platform/cp932.h"

namespace qm {

std::int64_t DiaryKey(std::int32_t voyage_days, std::int32_t planets_found,
                      std::int32_t bottles_found) {
  return std::int64_t{voyage_days} + planets_found + bottles_found;
}

std::string DiarySentence(std::int64_t key, const std::string& commander_name,
                          const std::string& ship_name) {
  for (const DiaryEntry& entry : DiaryEntries()) {
    if (key < entry.first_key || key > entry.last_key) continue;
    std::string sentence = Sj(entry.before);
    if (entry.name == DiaryName::kCommander) sentence += commander_name;
    if (entry.name == DiaryName::kShip) sentence += ship_name;
    sentence += Sj(entry.after);
    return sentence;
  }
  return {};
}

}  // namespace qm
