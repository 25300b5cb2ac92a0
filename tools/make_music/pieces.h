#pragma once

// The game's three pieces of music.

#include "score.h"

namespace qm::music {

// General MIDI programs (numbered from 0, as the file stores them).
namespace gm {
inline constexpr int kPiano = 0;
inline constexpr int kCelesta = 8;
inline constexpr int kVibraphone = 11;
inline constexpr int kCello = 42;
inline constexpr int kContrabass = 43;
inline constexpr int kHarp = 46;
inline constexpr int kTimpani = 47;
inline constexpr int kStrings = 48;
inline constexpr int kSlowStrings = 49;
inline constexpr int kChoir = 52;
inline constexpr int kFrenchHorn = 60;
inline constexpr int kOboe = 68;
inline constexpr int kClarinet = 71;
inline constexpr int kFlute = 73;
inline constexpr int kWarmPad = 89;
inline constexpr int kHaloPad = 94;
}  // namespace gm

// Pan positions of the controller: centre 64.
inline constexpr int kLeft = 40;
inline constexpr int kCentre = 64;
inline constexpr int kRight = 88;

// title.mid: about a minute under the title, played once. D minor, wistful.
Score ComposeTitle();
// opening.mid: under the 100 s prologue roll. E minor, a story being told.
Score ComposeOpening();
// ending.mid: under the 200 s of the ending roll from its music point. A minor turning to
// D major: hope, and the way home.
Score ComposeEnding();

}  // namespace qm::music
