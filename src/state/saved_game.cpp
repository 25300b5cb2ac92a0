#include "state/saved_game.h"

#include "platform/cp932.h"
#include "state/text_reader.h"

namespace qm {
namespace {

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

}  // namespace

std::string SavedGameText(const GameState& state) {
  std::string file;
  VisitSavedRecord(
      state, [&](const std::string& text) { file += text + "\r\n"; },
      [&](const std::int32_t& number) { file += Dec(number) + "\r\n"; });
  file += Dec(SaveChecksum(state)) + "\r\n";
  return file;
}

void ParseSavedGame(std::string_view bytes, GameState& state) {
  TextReader reader(bytes);
  VisitSavedRecord(
      state, [&](std::string& text) { text = reader.ReadText(); },
      [&](std::int32_t& number) { number = reader.ReadNumber(); });
  state.save_checksum = reader.ReadNumber();
}

std::int32_t SaveChecksum(const GameState& s) {
  // Summed unsigned so the wrap past 2^31 is defined; the result reads back as the signed sum.
  std::uint32_t sum = 0;
  for (std::int32_t v : {s.voyage_days, s.sector_x, s.sector_z, s.energy, s.captain_level,
                         s.energy_max, s.resources, s.resources_max})
    sum += static_cast<std::uint32_t>(v);
  return static_cast<std::int32_t>(sum);
}

}  // namespace qm
