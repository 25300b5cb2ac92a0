#pragma once

// The few building blocks every sound of the game is made from: enveloped sine and FM partials,
// filtered noise, a small room, and the finishing touches (edge fades, level) that keep a sound
// from clicking or clipping whatever it is made of.

#include <cstdint>
#include <vector>

namespace qm::sounds {

// Samples in -1..1; a mono sound leaves `right` empty.
struct Sound {
  int rate = 11025;
  std::vector<float> left;
  std::vector<float> right;

  bool Stereo() const { return !right.empty(); }
  double Seconds() const { return static_cast<double>(left.size()) / rate; }
};

Sound Silence(int rate, double seconds, bool stereo = false);

// Reproducible noise: the same seed gives the same sound on every machine and compiler.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1) {}
  float Next();  // uniform in -1..1
 private:
  std::uint32_t state_;
};

// A second-order filter whose cutoff may move from sample to sample.
class Biquad {
 public:
  enum class Kind { kLowPass, kHighPass, kBandPass };
  Biquad(Kind kind, int rate) : kind_(kind), rate_(rate) {}
  void Tune(double hz, double q);
  float Process(float x);

 private:
  Kind kind_;
  int rate_;
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// A sine (or FM) voice. The envelope rises over `attack` as a smooth S-curve, then falls
// exponentially with time constant `decay`; the last 5 ms of `length` always fade to zero.
struct Partial {
  double start = 0;
  double length = 0.1;
  double freq = 440;
  double end_freq = 0;  // when > 0 the pitch glides exponentially to it over `glide`
  double glide = 0.05;
  double amp = 0.5;
  double attack = 0.003;
  double decay = 0.05;
  double fm_ratio = 0;  // modulator frequency as a multiple of the carrier; 0 = plain sine
  double fm_index = 0;  // modulation depth at the envelope's peak; it falls with the envelope
  double pan = 0;       // -1 left .. 1 right, stereo sounds only
};
void Add(Sound& sound, const Partial& p);

// A burst of filtered noise shaped like a Partial; the cutoff moves exponentially from `hz` to
// `end_hz` over the burst.
struct NoiseBurst {
  double start = 0;
  double length = 0.1;
  double amp = 0.5;
  double attack = 0.002;
  double decay = 0.05;
  Biquad::Kind filter = Biquad::Kind::kLowPass;
  double hz = 2000;
  double end_hz = 0;  // 0 = fixed cutoff
  double q = 0.707;
  std::uint32_t seed = 1;
  double pan = 0;
};
void Add(Sound& sound, const NoiseBurst& n);

// A small Schroeder room mixed in at `wet`; the sound grows by `tail` seconds for it to ring out.
void AddRoom(Sound& sound, double wet, double size, double tail);

// Soft saturation for weight without hard clipping.
void Saturate(Sound& sound, double drive);

// The last steps of every sound: DC removed, cosine fades at both ends, content above `top_hz`
// (if > 0) filtered away, and the peak set to `peak_dbfs`.
void Finish(Sound& sound, double peak_dbfs, double fade_in, double fade_out, double top_hz = 0);

}  // namespace qm::sounds
