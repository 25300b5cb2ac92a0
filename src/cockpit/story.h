#pragma once

#include <functional>

#include "platform/services.h"
#include "platform/surface.h"
#include "state/game_state.h"
#include "voyage/voyage_state.h"

namespace qm {

class Cockpit;

// What the story draws on and speaks through during the instrument pass.
struct StoryScene {
  GameState& game;
  VoyageState& vs;
  Surface& view;
  // The instrument panel bitmap: the rolls write their line into it and stretch it over the view.
  Surface& panel_bitmap;
  Services& services;
  Cockpit& cockpit;
};

// Step 7 of the instrument pass: the shockwave trigger, then the prologue roll, then the ending
// roll, once per frame.
void StoryStep(StoryScene& scene);

// The shockwave strikes once the ship has idled long enough after reading the first clue.
void ShockwaveTrigger(StoryScene& scene);
void PrologueRoll(StoryScene& scene);
void EndingRoll(StoryScene& scene);

// The shockwave's flashes must reach the screen one by one inside a single frame. The window that
// shows the view installs a function that repaints it at once; without one the flashes are only
// drawn. The story holds each flash for 5 ms after presenting it.
void SetViewPresenter(std::function<void()> present);

// Frames of the two rolls, counted as `prologue_tick` and `ending_tick` count them.
constexpr int kPrologueEnd = 1001;
constexpr int kEndingMusicTick = 152;
constexpr int kEndingEnd = 2151;

}  // namespace qm
