#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qm {

// Which name of the commander record a diary sentence carries, if any.
enum class DiaryName { kNone, kCommander, kShip };

// One sentence of the captain's diary, for a range of diary keys. The texts are the Japanese
// texts, UTF-8 as written: `sentence` marks the place of its name, if any, with %1 (the form an
// edition's catalogue translates), and a sentence with a name reads `before` + name + `after`.
struct DiaryEntry {
  std::int32_t first_key;
  std::int32_t last_key;
  const char* before;
  DiaryName name;
  const char* after;
  const char* sentence;
};

// The 50 entries in key order, covering the keys 0 to 230 without gaps.
std::span<const DiaryEntry> DiaryEntries();

// The diary key of a voyage: days, planets and bottles together. Wide enough that a hand-edited
// saved game cannot overflow it.
std::int64_t DiaryKey(std::int32_t voyage_days, std::int32_t planets_found,
                      std::int32_t bottles_found);

// The diary sentence for a key as CP932 in the edition's language, with the name put in; empty
// when no entry holds the key.
std::string DiarySentence(std::int64_t key, const std::string& commander_name,
                          const std::string& ship_name);

}  // namespace qm
