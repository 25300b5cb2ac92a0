#pragma once

// Game logic on fakes, the windows on real widgets: the services a window test hands to the
// real title and voyage windows.

#include "fakes.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/services.h"
#include "platform/widgets/qt_controls.h"

namespace qm::testing {

struct WidgetServices {
  ManualClock clock;
  Random random{7};
  ScriptedDialogs dialogs;
  RecordingSound sound;
  QtControls controls;
  Services services{clock, random, dialogs, sound, controls};
};

}  // namespace qm::testing
