// The voices of the ship: chimes and tones of the computer, and the noises of the hull. Several
// are stored at 22050 or 44100 Hz in 16 bits; the game brings them down to its 8-bit 11025 Hz
// stream when it loads them, so they are kept below 5 kHz before they are written.

#include <array>
#include <cmath>

#include "sounds.h"

namespace qm::sounds {
namespace {

constexpr double kTop = 4800;  // what the game's rate can carry, with room for its averaging

// A struck bell of the ship's computer: FM with an inharmonic ratio rings like metal.
Partial Bell(double start, double freq, double amp, double decay, double pan = 0) {
  return Partial{.start = start,
                 .length = decay * 5,
                 .freq = freq,
                 .amp = amp,
                 .attack = 0.002,
                 .decay = decay,
                 .fm_ratio = 1.4,
                 .fm_index = 1.8,
                 .pan = pan};
}

// A soft sustained tone under the bells: slow attack, slow fall.
Partial Pad(double start, double length, double freq, double amp, double pan = 0) {
  return Partial{.start = start,
                 .length = length,
                 .freq = freq,
                 .amp = amp,
                 .attack = length * 0.3,
                 .decay = length * 0.2,
                 .pan = pan};
}

}  // namespace

Sound MakeWindowChime(int rate) {
  // The voyage window opens: a rising G major arpeggio over a warm swell, left to right.
  Sound s = Silence(rate, 1.6, true);
  constexpr std::array<double, 4> kNotes = {392.0, 587.3, 784.0, 987.8};
  for (std::size_t i = 0; i < kNotes.size(); ++i) {
    const double pan = -0.6 + 0.4 * static_cast<double>(i);
    Add(s, Bell(0.10 * static_cast<double>(i), kNotes[i], 0.30, 0.30, pan));
  }
  for (double f : {196.0, 293.7, 392.0, 493.9})
    Add(s, Pad(0.0, 1.6, f, 0.10, f < 300 ? -0.3 : 0.3));
  AddRoom(s, 0.25, 0.6, 0.6);
  Finish(s, -6, 0.003, 0.25, kTop);
  return s;
}

Sound MakeLogOn() {
  // The computer reads the ID and password: a quick chatter of tones from a pentatonic set, then
  // a rising two-note "accepted".
  Sound s = Silence(11025, 1.0);
  constexpr std::array<double, 5> kScale = {1046.5, 1174.7, 1318.5, 1568.0, 1760.0};
  Noise pick(31);
  for (int i = 0; i < 10; ++i) {
    const double u = (pick.Next() + 1) / 2;
    const std::size_t note = static_cast<std::size_t>(u * 4.999);
    Add(s, Partial{.start = 0.055 * i,
                   .length = 0.04,
                   .freq = kScale[note],
                   .amp = 0.35,
                   .attack = 0.002,
                   .decay = 0.015});
  }
  Add(s, Partial{.start = 0.62, .length = 0.12, .freq = 880, .amp = 0.5, .decay = 0.06});
  Add(s, Partial{.start = 0.74, .length = 0.26, .freq = 1318.5, .amp = 0.5, .decay = 0.09});
  Finish(s, -7, 0.002, 0.02);
  return s;
}

Sound MakeContactCheck(int rate) {
  // The contact button finds a chart point: a bright sonar "pi-ping" with a short echo.
  Sound s = Silence(rate, 0.5);
  Add(s, Partial{.length = 0.3,
                 .freq = 1318.5,
                 .amp = 0.45,
                 .attack = 0.002,
                 .decay = 0.07,
                 .fm_ratio = 1.0,
                 .fm_index = 1.2});
  Add(s, Partial{.start = 0.11,
                 .length = 0.39,
                 .freq = 1760,
                 .amp = 0.5,
                 .attack = 0.002,
                 .decay = 0.1,
                 .fm_ratio = 1.0,
                 .fm_index = 1.2});
  AddRoom(s, 0.2, 0.4, 0.15);
  Finish(s, -6, 0.002, 0.08, kTop);
  return s;
}

Sound MakeArrival(int rate) {
  // Arrival at a chart point: a C major arpeggio of bells climbing across the stereo field, with
  // the chord held softly underneath.
  Sound s = Silence(rate, 1.5, true);
  constexpr std::array<double, 4> kNotes = {523.3, 659.3, 784.0, 1046.5};
  for (std::size_t i = 0; i < kNotes.size(); ++i) {
    const double pan = -0.5 + static_cast<double>(i) / 3;
    Add(s, Bell(0.08 * static_cast<double>(i), kNotes[i], 0.3, 0.28, pan));
  }
  for (double f : {261.6, 329.6, 392.0})
    Add(s, Pad(0.05, 1.3, f, 0.09));
  AddRoom(s, 0.22, 0.5, 0.4);
  Finish(s, -6, 0.002, 0.2, kTop);
  return s;
}

Sound MakeChart() {
  // The chart opens: the display sweeps up and settles with two bright dots of light.
  Sound s = Silence(11025, 0.45);
  Add(s, Partial{.length = 0.14,
                 .freq = 400,
                 .end_freq = 1600,
                 .glide = 0.12,
                 .amp = 0.4,
                 .attack = 0.01,
                 .decay = 0.2});
  Add(s, Partial{.start = 0.14, .length = 0.12, .freq = 1568, .amp = 0.45, .decay = 0.04});
  Add(s, Partial{.start = 0.22, .length = 0.23, .freq = 2093, .amp = 0.45, .decay = 0.06});
  Finish(s, -7, 0.002, 0.03);
  return s;
}

Sound MakeCollision(int rate) {
  // The ship runs into something: a low thump of the hull, the crunch of the impact, and the
  // hull plates ringing on for a moment.
  Sound s = Silence(rate, 1.0);
  Add(s, Partial{.length = 0.8,
                 .freq = 95,
                 .end_freq = 45,
                 .glide = 0.3,
                 .amp = 0.9,
                 .attack = 0.003,
                 .decay = 0.22});
  Add(s, NoiseBurst{.length = 0.5,
                    .amp = 0.9,
                    .attack = 0.001,
                    .decay = 0.09,
                    .hz = 3000,
                    .end_hz = 300,
                    .seed = 7});
  constexpr std::array<double, 4> kPlates = {347, 563, 912, 1480};
  for (double f : kPlates)
    Add(s, Partial{.start = 0.005, .length = 0.99, .freq = f, .amp = 0.07, .decay = 0.25});
  Saturate(s, 1.8);
  Finish(s, -6, 0.002, 0.15, kTop);
  return s;
}

Sound MakeBooster(int rate) {
  // The booster lights: a soft ignition, then a roar that opens up and rises while the engine
  // spools, fading as the ship leaps away.
  Sound s = Silence(rate, 2.3);
  Add(s, NoiseBurst{.length = 0.06,
                    .amp = 0.5,
                    .attack = 0.001,
                    .decay = 0.015,
                    .filter = Biquad::Kind::kBandPass,
                    .hz = 1200,
                    .q = 1.5,
                    .seed = 3});
  Add(s, NoiseBurst{.start = 0.03,
                    .length = 2.27,
                    .amp = 0.9,
                    .attack = 0.35,
                    .decay = 1.4,
                    .hz = 300,
                    .end_hz = 2600,
                    .q = 1.1,
                    .seed = 11});
  Add(s,
      Partial{.start = 0.03, .length = 2.27, .freq = 55, .amp = 0.35, .attack = 0.2, .decay = 1.2});
  Add(s, Partial{
             .start = 0.03, .length = 2.27, .freq = 82.4, .amp = 0.2, .attack = 0.3, .decay = 1.0});
  Add(s, Partial{.start = 0.1,
                 .length = 2.2,
                 .freq = 200,
                 .end_freq = 620,
                 .glide = 1.6,
                 .amp = 0.08,
                 .attack = 0.5,
                 .decay = 1.0});
  Finish(s, -6, 0.003, 0.7, kTop);
  return s;
}

Sound MakeExplosion(int rate) {
  // The shockwave strikes: a crack, a body of noise that darkens as it dies, a deep rumble under
  // it, and debris crackling in the first second.
  Sound s = Silence(rate, 3.2);
  Add(s, NoiseBurst{.length = 0.04,
                    .amp = 0.6,
                    .attack = 0.001,
                    .decay = 0.012,
                    .filter = Biquad::Kind::kHighPass,
                    .hz = 900,
                    .seed = 101});
  Add(s, NoiseBurst{.length = 3.2,
                    .amp = 1.0,
                    .attack = 0.006,
                    .decay = 0.7,
                    .hz = 4000,
                    .end_hz = 120,
                    .seed = 202});
  Add(s, NoiseBurst{.length = 3.2,
                    .amp = 2.2,
                    .attack = 0.03,
                    .decay = 1.1,
                    .hz = 110,
                    .q = 0.9,
                    .seed = 303});
  Add(s, Partial{.length = 1.2,
                 .freq = 62,
                 .end_freq = 30,
                 .glide = 0.6,
                 .amp = 0.7,
                 .attack = 0.004,
                 .decay = 0.35});
  Noise when(404);
  for (int i = 0; i < 28; ++i) {
    // Debris thins out: the gaps grow as the blast passes.
    const double t = 0.05 + 1.3 * std::pow((when.Next() + 1) / 2, 1.8);
    Add(s, NoiseBurst{.start = t,
                      .length = 0.03,
                      .amp = 0.35 * std::exp(-t),
                      .attack = 0.0008,
                      .decay = 0.006,
                      .filter = Biquad::Kind::kBandPass,
                      .hz = 900 + 2500 * (when.Next() + 1) / 2,
                      .q = 2,
                      .seed = static_cast<std::uint32_t>(500 + i)});
  }
  Saturate(s, 1.5);
  Finish(s, -6, 0.002, 0.6, kTop);
  return s;
}

Sound MakeAlarm() {
  // Emergency: a two-tone klaxon, high and low four times over, reedy with odd harmonics that
  // fall away fast enough not to shriek at the top of the game's rate.
  Sound s = Silence(11025, 2.1);
  for (int i = 0; i < 8; ++i) {
    const double f = i % 2 == 0 ? 960 : 720;
    for (int h = 1; h <= 5; h += 2) {
      Add(s, Partial{.start = 0.25 * i,
                     .length = 0.25,
                     .freq = f * h,
                     .amp = 0.45 / std::pow(h, 1.5),
                     .attack = 0.006,
                     .decay = 1.5});
    }
  }
  Finish(s, -6, 0.003, 0.06);
  return s;
}

std::vector<SoundFile> AllSoundFiles() {
  const WaveFormat game{1, 11025, 8};
  std::vector<SoundFile> files;
  for (int i = 0; i < kClickCount; ++i)
    files.push_back({std::to_string(i), game, [i] { return MakeClick(i); }});
  files.push_back({"pi", game, MakeTypewriterBeep});
  files.push_back({"e", game, MakePadPress});
  files.push_back({"e2", game, MakePadRelease});
  files.push_back({"log", {2, 44100, 16}, [] { return MakeWindowChime(44100); }});
  files.push_back({"logon", game, MakeLogOn});
  files.push_back({"check", {1, 22050, 16}, [] { return MakeContactCheck(22050); }});
  files.push_back({"on", {2, 22050, 16}, [] { return MakeArrival(22050); }});
  files.push_back({"map", game, MakeChart});
  files.push_back({"bom", {1, 44100, 16}, [] { return MakeCollision(44100); }});
  files.push_back({"booster", {1, 22050, 16}, [] { return MakeBooster(22050); }});
  files.push_back({"baku", {1, 44100, 16}, [] { return MakeExplosion(44100); }});
  files.push_back({"error", game, MakeAlarm});
  return files;
}

}  // namespace qm::sounds
