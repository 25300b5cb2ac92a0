#pragma once

// The cockpit on fakes: a new game with named captain and ship, the voyage core it hangs from,
// blank instrument bitmaps, and helpers that steer the game's generator to a chosen roll.

#include <cstdint>
#include <functional>
#include <string>

#include "cockpit/cockpit.h"
#include "fakes.h"
#include "platform/cp932.h"
#include "platform/random.h"

namespace qm::testing {

// The inverse of the generator's multiplier modulo 2^32, so a test can step it backwards.
constexpr std::uint32_t InverseMultiplier() {
  constexpr std::uint32_t a = 134775813u;
  std::uint32_t x = a;
  for (int i = 0; i < 5; ++i)
    x *= 2u - a * x;
  return x;
}
static_assert(134775813u * InverseMultiplier() == 1u);

// Seeds the generator so that the raw value it draws after `skip` other draws is `raw`; that
// draw then rolls raw * n >> 32 for any n.
inline void SetRawAfter(Random& random, int skip, std::uint32_t raw) {
  std::uint32_t seed = raw;
  for (int i = 0; i <= skip; ++i)
    seed = (seed - 1u) * InverseMultiplier();
  random.SetSeed(seed);
}
inline void SetNextRaw(Random& random, std::uint32_t raw) {
  SetRawAfter(random, 0, raw);
}

// The largest raw value for which a 1-in-n roll succeeds; one more and it fails.
constexpr std::uint32_t LastSuccess(std::uint32_t n) {
  return 0xFFFFFFFFu / n;
}

// The first seed from `from` for which `wanted` holds on a fresh generator with that seed.
inline std::uint32_t FindSeed(const std::function<bool(Random&)>& wanted, std::uint32_t from = 1) {
  for (std::uint32_t seed = from;; ++seed) {
    Random r(seed);
    if (wanted(r)) return seed;
  }
}

struct CockpitRig {
  CockpitRig() {
    NewGame(game);
    game.commander_name = Sj("アキラ");
    game.ship_name = Sj("ノア");
    // A 200 x 100 panel bitmap keyed on its white, and a trouble plate keyed on magenta.
    pics.txt = Surface(200, 100, kWhite);
    pics.txt.SetTransparent(true);
    pics.trable = Surface(140, 20, 0xFF00FF);
    pics.trable.SetTransparent(true);
    vs.logon_step = kLogonFrames;
    cockpit.state().typewriter_pos = 1;
  }

  CockpitState& cs() { return cockpit.state(); }
  std::string Caption(const std::string& name) { return fake.controls.captions[name]; }
  bool Visible(const std::string& name) { return fake.controls.IsVisible(name); }
  int Sounds(const std::string& call) const {
    int n = 0;
    for (const auto& c : fake.sound.calls)
      n += c == call ? 1 : 0;
    return n;
  }
  // One instrument pass on a black view, at the given blink counter.
  void Pass(int blink) {
    vs.blink_counter = blink;
    view.SetBrushColor(kBlack);
    view.SetPenColor(kBlack);
    view.FillRect(0, 0, kViewWidth, kViewHeight);
    cockpit.DrawInstruments();
  }
  // True when some pixel of the rectangle has the colour.
  bool Shows(int left, int top, int right, int bottom, Color c) const {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (view.Pixel(x, y) == c) return true;
    return false;
  }

  FakeServices fake;
  GameState game;
  VoyageState vs;
  VoyagePictures pics;
  Surface view{kViewWidth, kViewHeight};
  Surface pad{100, 100};
  Voyage voyage{game, vs, pics, view, pad, fake.services, cockpit};
  Cockpit cockpit{voyage, pics};
};

}  // namespace qm::testing
