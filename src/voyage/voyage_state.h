#pragma once

#include <array>
#include <cstdint>

namespace qm {

constexpr int kStarCount = 501;
constexpr int kViewWidth = 400;
constexpr int kViewHeight = 300;
constexpr int kLogonFrames = 45;

// 100 ms and 1 s in days, the pacing of the voyage frame and of the booster.
constexpr double kFrameDays = 1.0 / 864000.0;
constexpr double kSecondDays = 1.0 / 86400.0;

struct Star {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t radius = 0;
  std::int32_t drawn = 0;
  std::int32_t vx = 0;
  std::int32_t vy = 0;
  std::int32_t vz = 0;
  std::int32_t motion = 0;
};

// The voyage window's working variables: everything the frame keeps between frames that is not
// saved with the game.
struct VoyageState {
  double next_frame_time = 0;
  double next_second_time = 0;
  // Paused by the player or by a minimised window: no frame runs, and the time since
  // `paused_at` is left out of the pacing when the voyage goes on.
  bool paused = false;
  double paused_at = 0;
  std::int32_t blink_counter = 0;
  std::int32_t booster_seconds = 0;

  std::int32_t speed_side = 0;
  std::int32_t speed_up = 0;
  std::int32_t speed_forward = 0;
  std::int32_t local_x = 0;
  std::int32_t local_y = 0;
  std::int32_t local_z = 0;
  std::int32_t current_point = -1;
  std::int32_t logon_step = 0;

  // Countdowns that handlers start at 10 and the frame runs down.
  std::int32_t check_countdown = 0;
  std::int32_t noise_countdown = 0;
  std::int32_t arrival_banner = 0;
  std::int32_t contact_blink = 0;
  std::int32_t chart_blink = 0;

  std::int32_t chart_open = 0;

  // Steering pad.
  std::int32_t pad_left_held = 0;
  std::int32_t pad_right_held = 0;
  std::int32_t pad_x = 0;
  std::int32_t pad_y_left = 0;
  std::int32_t pad_y_right = 0;

  std::array<Star, kStarCount> stars{};
};

}  // namespace qm
