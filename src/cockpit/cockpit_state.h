#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qm {

constexpr int kMessageSlots = 50;
// Pages shown per opening of the box; slots beyond are dropped unread when it closes.
constexpr int kMessagePagesShown = 20;
constexpr int kRepairButtons = 10;
// The message box's text label (moji_l): its place in the box and its size. The chart's checker
// measures every arrival page against this size.
constexpr int kMessageTextLeft = 8;
constexpr int kMessageTextTop = 8;
constexpr int kMessageTextWidth = 377;
constexpr int kMessageTextHeight = 113;

// The cockpit's working variables in the voyage window: nothing here is saved with the game.
struct CockpitState {
  // Message box. An empty page marks a free slot.
  std::array<std::string, kMessageSlots> message_pages{};
  std::int32_t message_page = 0;
  // Reveal counter in steps of two CP932 bytes; the window sets it to 1 when it is made.
  std::int32_t typewriter_pos = 0;

  // Story rolls drawn over the view; 0 while no roll runs.
  std::int32_t prologue_tick = 0;
  std::int32_t ending_tick = 0;

  // Frames the left button has been held on the pad since the last engine roll.
  std::int32_t engine_trouble_timer = 0;

  // The energy gauge as last set by the instrument pass.
  std::int32_t gauge_progress = 0;
  std::int32_t gauge_max = 0;
};

}  // namespace qm
