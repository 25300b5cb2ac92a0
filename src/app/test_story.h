#pragma once

#include "cockpit/cockpit_state.h"
#include "state/game_state.h"

namespace qm {

// QM_TEST_STORY sets a story roll going at a chosen frame, so a tester can look at a roll and at
// the message from Earth without flying the whole voyage: "prologue:N" puts the story in stage 3
// with the prologue at frame N, "ending:N" the ending roll at frame N. Anything else is ignored.
void ApplyTestStory(const char* setting, GameState& game, CockpitState& cockpit);

}  // namespace qm
