#pragma once

#include <cstdint>

namespace qm {

// 24-bit colour as 0xRRGGBB, the way every colour in the game is written (#RRGGBB).
using Color = std::uint32_t;

constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kAqua = 0x00FFFF;
constexpr Color kWindowGrey = 0x949494;
constexpr Color kGaugeBlue = 0x004080;

}  // namespace qm
