// The small sounds under the player's fingers: nineteen clicks, the typewriter beep and the two
// sounds of the steering pad. They are stored as the game plays them, 8-bit mono at 11025 Hz, so
// everything stays below 4 kHz where that rate still draws a clean tone.

#include <array>
#include <cmath>

#include "sounds.h"

namespace qm::sounds {
namespace {

constexpr int kRate = 11025;

enum class Kind {
  kWood,   // a marimba-like knock: a fundamental and its bar overtone, with a touch of noise
  kPop,    // a bubble: the pitch falls into place
  kGlass,  // a tiny FM bell
  kTick,   // a band of noise: the crispest, shortest kind
  kPair,   // two blips, rising or falling
  kBuzz,   // a low reedy "no"
};

struct ClickRecipe {
  Kind kind;
  double freq;
  double seconds;
  double second_freq = 0;  // the other blip of a pair, or the FM ratio of a glass click
  double level = -7;       // dBFS; the crisp ones sit a little lower
};

// Varied in kind, pitch and length, so that a run of clicks never sounds like one sample.
constexpr std::array<ClickRecipe, kClickCount> kClicks = {{
    {Kind::kWood, 1200, 0.045},
    {Kind::kPop, 900, 0.045},
    {Kind::kPair, 880, 0.120, 587},  // after the save point's refusal: falling, "no more"
    {Kind::kTick, 2500, 0.025, 0, -9},
    {Kind::kGlass, 1046, 0.060, 1.41},
    {Kind::kWood, 800, 0.060},
    {Kind::kBuzz, 196, 0.110},  // before the save point's refusal
    {Kind::kPop, 1400, 0.035},
    {Kind::kGlass, 784, 0.070, 2.0},
    {Kind::kTick, 1800, 0.030, 0, -9},
    {Kind::kWood, 1600, 0.035},
    {Kind::kPair, 660, 0.080, 990},
    {Kind::kPop, 600, 0.055},
    {Kind::kGlass, 1318, 0.045, 1.5},
    {Kind::kTick, 3200, 0.022, 0, -10},
    {Kind::kWood, 1000, 0.050},
    {Kind::kPop, 2000, 0.030},
    {Kind::kGlass, 587, 0.080, 3.0},
    {Kind::kPair, 1175, 0.060, 1568},
}};

void AddWood(Sound& s, const ClickRecipe& r) {
  Add(s, Partial{.length = r.seconds,
                 .freq = r.freq * 1.04,
                 .end_freq = r.freq,
                 .glide = 0.006,
                 .amp = 0.6,
                 .attack = 0.0015,
                 .decay = r.seconds / 4});
  Add(s, Partial{.length = r.seconds * 0.6,
                 .freq = std::min(r.freq * 2.76, 4200.0),
                 .amp = 0.22,
                 .attack = 0.001,
                 .decay = r.seconds / 10});
  Add(s, NoiseBurst{.length = 0.006,
                    .amp = 0.25,
                    .attack = 0.0008,
                    .decay = 0.0015,
                    .filter = Biquad::Kind::kBandPass,
                    .hz = std::min(r.freq * 2, 4000.0),
                    .q = 2,
                    .seed = static_cast<std::uint32_t>(r.freq)});
}

void AddPop(Sound& s, const ClickRecipe& r) {
  Add(s, Partial{.length = r.seconds,
                 .freq = r.freq * 1.8,
                 .end_freq = r.freq,
                 .glide = r.seconds / 3,
                 .amp = 0.7,
                 .attack = 0.002,
                 .decay = r.seconds / 3});
}

void AddGlass(Sound& s, const ClickRecipe& r) {
  Add(s, Partial{.length = r.seconds,
                 .freq = r.freq,
                 .amp = 0.6,
                 .attack = 0.0015,
                 .decay = r.seconds / 3.5,
                 .fm_ratio = r.second_freq,
                 .fm_index = 1.6});
}

void AddTick(Sound& s, const ClickRecipe& r) {
  Add(s, NoiseBurst{.length = r.seconds,
                    .amp = 1.0,
                    .attack = 0.0012,
                    .decay = r.seconds / 5,
                    .filter = Biquad::Kind::kBandPass,
                    .hz = r.freq,
                    .q = 3.5,
                    .seed = static_cast<std::uint32_t>(r.freq * 7)});
  Add(s, Partial{.length = r.seconds,
                 .freq = r.freq / 2,
                 .amp = 0.25,
                 .attack = 0.0015,
                 .decay = r.seconds / 4});
}

void AddPair(Sound& s, const ClickRecipe& r) {
  const double half = r.seconds / 2;
  for (int k = 0; k < 2; ++k) {
    Add(s, Partial{.start = k * half,
                   .length = half,
                   .freq = k == 0 ? r.freq : r.second_freq,
                   .amp = 0.55,
                   .attack = 0.002,
                   .decay = half / 3,
                   .fm_ratio = 2,
                   .fm_index = 0.5});
  }
}

void AddBuzz(Sound& s, const ClickRecipe& r) {
  // Odd harmonics make it reedy; the whole stack sags a little in pitch, like a shrug.
  for (int h = 1; h <= 9; h += 2) {
    Add(s, Partial{.length = r.seconds,
                   .freq = r.freq * h,
                   .end_freq = r.freq * h * 0.92,
                   .glide = r.seconds,
                   .amp = 0.5 / h,
                   .attack = 0.004,
                   .decay = r.seconds / 2});
  }
}

}  // namespace

Sound MakeClick(int index) {
  const ClickRecipe& r = kClicks.at(static_cast<std::size_t>(index));
  Sound s = Silence(kRate, r.seconds);
  switch (r.kind) {
    case Kind::kWood:
      AddWood(s, r);
      break;
    case Kind::kPop:
      AddPop(s, r);
      break;
    case Kind::kGlass:
      AddGlass(s, r);
      break;
    case Kind::kTick:
      AddTick(s, r);
      break;
    case Kind::kPair:
      AddPair(s, r);
      break;
    case Kind::kBuzz:
      AddBuzz(s, r);
      break;
  }
  Finish(s, r.level, 0.001, 0.004);
  return s;
}

Sound MakeTypewriterBeep() {
  // Played at every typed step, ten times a second, queued behind the previous one: it has to be
  // over well within 100 ms, and soft enough to bear for a whole page.
  Sound s = Silence(kRate, 0.028);
  Add(s, Partial{.length = 0.028, .freq = 2093, .amp = 0.6, .attack = 0.0015, .decay = 0.008});
  Add(s, Partial{.length = 0.015, .freq = 4186, .amp = 0.12, .attack = 0.001, .decay = 0.004});
  Finish(s, -10, 0.001, 0.003);
  return s;
}

Sound MakePadPress() {
  // A soft press of a rubber key: a low thump with a rising blip on top.
  Sound s = Silence(kRate, 0.09);
  Add(s, Partial{.length = 0.09,
                 .freq = 240,
                 .end_freq = 150,
                 .glide = 0.04,
                 .amp = 0.7,
                 .attack = 0.002,
                 .decay = 0.025});
  Add(s, Partial{.start = 0.004,
                 .length = 0.06,
                 .freq = 880,
                 .end_freq = 1175,
                 .glide = 0.03,
                 .amp = 0.3,
                 .attack = 0.003,
                 .decay = 0.018});
  Finish(s, -7, 0.001, 0.006);
  return s;
}

Sound MakePadRelease() {
  // The key lets go: the blip falls back, lighter than the press.
  Sound s = Silence(kRate, 0.07);
  Add(s, Partial{.length = 0.07,
                 .freq = 1175,
                 .end_freq = 700,
                 .glide = 0.04,
                 .amp = 0.4,
                 .attack = 0.002,
                 .decay = 0.02});
  Add(s, Partial{.length = 0.05,
                 .freq = 200,
                 .end_freq = 140,
                 .glide = 0.03,
                 .amp = 0.35,
                 .attack = 0.002,
                 .decay = 0.015});
  Finish(s, -9, 0.001, 0.005);
  return s;
}

}  // namespace qm::sounds
