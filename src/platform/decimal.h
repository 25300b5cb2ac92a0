#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qm {

// A decimal integer at the start of a text: an optional sign (+ or -), then the digits as far as
// they go. Where the number starts (after which blanks) and what may follow it are each reader's
// own rule; this is the one place that turns the digits into a number.
struct DecimalPrefix {
  std::int32_t value = 0;  // clamped to the 32-bit range when the digits say more
  std::size_t length = 0;  // bytes of the sign and the digits; 0 when no digit follows the sign
  bool in_range = true;    // false when the digits say more than 32 bits hold
};
DecimalPrefix ReadDecimalPrefix(std::string_view text);

// The whole text is one decimal integer that fits 32 bits, or nothing.
std::optional<std::int32_t> ParseWholeDecimal(std::string_view text);

}  // namespace qm
