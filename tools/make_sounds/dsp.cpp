#include "dsp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qm::sounds {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kEdgeFade = 0.005;

double Envelope(double t, double attack, double decay) {
  if (t < 0) return 0;
  if (t < attack) {
    const double s = std::sin(std::numbers::pi / 2 * t / attack);
    return s * s;
  }
  return std::exp(-(t - attack) / decay);
}

// Fades the last 5 ms of a voice so that cutting it off never clicks.
double EdgeFade(double t, double length) {
  const double left = length - t;
  if (left <= 0) return 0;
  if (left >= kEdgeFade) return 1;
  return 0.5 - 0.5 * std::cos(std::numbers::pi * left / kEdgeFade);
}

void Place(Sound& sound, std::size_t i, float v, double pan) {
  if (!sound.Stereo()) {
    sound.left[i] += v;
    return;
  }
  // Constant-power pan, so a voice keeps its loudness wherever it stands; the sum of both sides
  // never cancels, which matters because the game folds stereo to mono.
  const double angle = (pan + 1) * std::numbers::pi / 4;
  sound.left[i] += static_cast<float>(v * std::cos(angle) * std::numbers::sqrt2);
  sound.right[i] += static_cast<float>(v * std::sin(angle) * std::numbers::sqrt2);
}

std::size_t Samples(const Sound& sound, double seconds) {
  return static_cast<std::size_t>(std::max(0.0, std::round(seconds * sound.rate)));
}

void Grow(Sound& sound, std::size_t size) {
  if (sound.left.size() >= size) return;
  sound.left.resize(size, 0.0f);
  if (sound.Stereo()) sound.right.resize(size, 0.0f);
}

}  // namespace

Sound Silence(int rate, double seconds, bool stereo) {
  Sound s;
  s.rate = rate;
  s.left.assign(static_cast<std::size_t>(std::round(seconds * rate)), 0.0f);
  if (stereo) s.right = s.left;
  return s;
}

float Noise::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<float>(state_ / 2147483647.5 - 1.0);
}

void Biquad::Tune(double hz, double q) {
  const double w = kTwoPi * std::clamp(hz, 10.0, rate_ * 0.45) / rate_;
  const double alpha = std::sin(w) / (2 * q);
  const double c = std::cos(w);
  const double a0 = 1 + alpha;
  switch (kind_) {
    case Kind::kLowPass:
      b0_ = (1 - c) / 2;
      b1_ = 1 - c;
      b2_ = (1 - c) / 2;
      break;
    case Kind::kHighPass:
      b0_ = (1 + c) / 2;
      b1_ = -(1 + c);
      b2_ = (1 + c) / 2;
      break;
    case Kind::kBandPass:  // peak gain 1 at the centre
      b0_ = alpha;
      b1_ = 0;
      b2_ = -alpha;
      break;
  }
  b0_ /= a0;
  b1_ /= a0;
  b2_ /= a0;
  a1_ = -2 * c / a0;
  a2_ = (1 - alpha) / a0;
}

float Biquad::Process(float x) {
  const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return static_cast<float>(y);
}

void Add(Sound& sound, const Partial& p) {
  const std::size_t first = Samples(sound, p.start);
  const std::size_t count = Samples(sound, p.length);
  Grow(sound, first + count);
  double phase = 0;
  double mod_phase = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / sound.rate;
    double f = p.freq;
    if (p.end_freq > 0) f *= std::pow(p.end_freq / p.freq, std::min(1.0, t / p.glide));
    const double env = Envelope(t, p.attack, p.decay) * EdgeFade(t, p.length);
    double v = std::sin(phase);
    if (p.fm_ratio > 0) {
      v = std::sin(phase + p.fm_index * env * std::sin(mod_phase));
      mod_phase += kTwoPi * f * p.fm_ratio / sound.rate;
    }
    phase += kTwoPi * f / sound.rate;
    Place(sound, first + i, static_cast<float>(p.amp * env * v), p.pan);
  }
}

void Add(Sound& sound, const NoiseBurst& n) {
  const std::size_t first = Samples(sound, n.start);
  const std::size_t count = Samples(sound, n.length);
  Grow(sound, first + count);
  Noise noise(n.seed);
  Biquad filter(n.filter, sound.rate);
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / sound.rate;
    if (i % 16 == 0) {
      const double hz = n.end_hz > 0 ? n.hz * std::pow(n.end_hz / n.hz, t / n.length) : n.hz;
      filter.Tune(hz, n.q);
    }
    const double env = Envelope(t, n.attack, n.decay) * EdgeFade(t, n.length);
    Place(sound, first + i, static_cast<float>(n.amp * env * filter.Process(noise.Next())), n.pan);
  }
}

namespace {

// Four parallel feedback combs and two allpasses, tuned per side so that stereo sounds open up.
std::vector<float> Room(const std::vector<float>& in, int rate, double size, int side) {
  static constexpr double kCombs[4] = {0.0297, 0.0371, 0.0411, 0.0437};
  static constexpr double kAllpasses[2] = {0.0050, 0.0017};
  std::vector<float> out(in.size(), 0.0f);
  for (double seconds : kCombs) {
    const std::size_t len = static_cast<std::size_t>((seconds + side * 0.0011) * rate);
    std::vector<float> line(len, 0.0f);
    const float feedback = static_cast<float>(0.70 + 0.25 * size);
    float damp = 0;
    for (std::size_t i = 0, k = 0; i < in.size(); ++i, k = (k + 1) % len) {
      const float delayed = line[k];
      damp = 0.6f * delayed + 0.4f * damp;  // the walls soak up the highs
      line[k] = in[i] + feedback * damp;
      out[i] += delayed * 0.25f;
    }
  }
  for (double seconds : kAllpasses) {
    const std::size_t len = std::max<std::size_t>(1, static_cast<std::size_t>(seconds * rate));
    std::vector<float> line(len, 0.0f);
    for (std::size_t i = 0, k = 0; i < out.size(); ++i, k = (k + 1) % len) {
      const float delayed = line[k];
      const float x = out[i];
      line[k] = x + 0.5f * delayed;
      out[i] = delayed - 0.5f * x;
    }
  }
  return out;
}

}  // namespace

void AddRoom(Sound& sound, double wet, double size, double tail) {
  Grow(sound, sound.left.size() + Samples(sound, tail));
  const std::vector<float> l = Room(sound.left, sound.rate, size, 0);
  for (std::size_t i = 0; i < l.size(); ++i)
    sound.left[i] += static_cast<float>(wet * l[i]);
  if (!sound.Stereo()) return;
  const std::vector<float> r = Room(sound.right, sound.rate, size, 1);
  for (std::size_t i = 0; i < r.size(); ++i)
    sound.right[i] += static_cast<float>(wet * r[i]);
}

void Saturate(Sound& sound, double drive) {
  auto shape = [drive](std::vector<float>& x) {
    for (float& v : x)
      v = static_cast<float>(std::tanh(drive * v) / std::tanh(drive));
  };
  shape(sound.left);
  shape(sound.right);
}

void Finish(Sound& sound, double peak_dbfs, double fade_in, double fade_out, double top_hz) {
  auto treat = [&](std::vector<float>& x) {
    // A gentle high-pass takes away DC and sub-sonic drift, which would only eat headroom.
    Biquad dc(Biquad::Kind::kHighPass, sound.rate);
    dc.Tune(25, 0.707);
    for (float& v : x)
      v = dc.Process(v);
    if (top_hz > 0) {
      // Two passes: the game halves or quarters the rate by plain averaging, which lets anything
      // above its 5.5 kHz fold back as grit unless it is gone before.
      for (int pass = 0; pass < 2; ++pass) {
        Biquad top(Biquad::Kind::kLowPass, sound.rate);
        top.Tune(top_hz, 0.707);
        for (float& v : x)
          v = top.Process(v);
      }
    }
    const std::size_t in = Samples(sound, fade_in);
    const std::size_t out = Samples(sound, fade_out);
    const std::size_t n = x.size();
    for (std::size_t i = 0; i < std::min(in, n); ++i)
      x[i] *= static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) /
                                                      static_cast<double>(in)));
    for (std::size_t i = 0; i < std::min(out, n); ++i)
      x[n - 1 - i] *=
          static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(i) /
                                                  static_cast<double>(out)));
  };
  treat(sound.left);
  treat(sound.right);
  float peak = 0;
  for (float v : sound.left)
    peak = std::max(peak, std::abs(v));
  for (float v : sound.right)
    peak = std::max(peak, std::abs(v));
  if (peak <= 0) return;
  const float gain = static_cast<float>(std::pow(10.0, peak_dbfs / 20) / peak);
  for (float& v : sound.left)
    v *= gain;
  for (float& v : sound.right)
    v *= gain;
}

}  // namespace qm::sounds
