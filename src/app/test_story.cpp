#include "app/test_story.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace qm {

void ApplyTestStory(const char* setting, GameState& game, CockpitState& cockpit) {
  if (setting == nullptr) return;
  const std::string_view text(setting);
  const auto colon = text.find(':');
  if (colon == std::string_view::npos) return;
  const std::string_view roll = text.substr(0, colon);
  const std::string_view number = text.substr(colon + 1);
  std::int32_t tick = 0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), tick);
  if (error != std::errc() || end != number.data() + number.size() || tick < 1) return;
  if (roll == "prologue") {
    game.story_stage() = 3;
    cockpit.prologue_tick = tick;
  } else if (roll == "ending") {
    cockpit.ending_tick = tick;
  }
}

}  // namespace qm
