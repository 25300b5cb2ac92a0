#pragma once

#include <cstdint>

namespace qm {

// The voyage keeps its amounts and counts in 32 bits, and a saved game edited by hand may bring
// any of them to the very limits. Sums past a limit wrap round, as 32-bit registers do, so such a
// voyage plays on with the same numbers every time instead of straying into undefined behaviour.
// The sums are done unsigned, where wrapping is defined; the result reads back as signed.
constexpr std::int32_t Add32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t Sub32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t Mul32(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
// -(-2147483648) is -2147483648 again.
constexpr std::int32_t Neg32(std::int32_t a) {
  return Sub32(0, a);
}

}  // namespace qm
