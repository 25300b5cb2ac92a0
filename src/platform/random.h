#pragma once

#include <cstdint>

namespace qm {

// The game's 32-bit linear congruential generator. Every roll in the game goes through one
// instance, so a fixed seed replays a whole voyage.
class Random {
 public:
  explicit Random(std::uint32_t seed = 0) : seed_(seed) {}

  // Uniform integer 0..n-1; 0 when n is not positive.
  std::int32_t Next(std::int32_t n);
  std::int32_t operator()(std::int32_t n) { return Next(n); }

  // Seeds from the UTC time of day in milliseconds.
  void Randomize();

  std::uint32_t Seed() const { return seed_; }
  void SetSeed(std::uint32_t seed) { seed_ = seed; }

 private:
  std::uint32_t seed_;
};

// Seed value for a UTC time of day.
std::uint32_t SeedFromTimeOfDay(int hour, int minute, int second, int millisecond);

}  // namespace qm
