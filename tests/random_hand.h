#pragma once

// A restless player's hand on the voyage window, for soak runs and fuzz targets: between frames it
// grabs, drags and lets go of the steering pad with any button, clicks the message box, the repair
// buttons, contact, the chart, the converter, the save point and the booster, and answers every
// question at random. It clicks only where the window lets a click through: while the message box
// lies over the panel, only the box and a held pad's release reach the game. While a question is
// open the voyage window's timer keeps running behind it, so a few frames run inside the question,
// and questions asked inside those frames nest, as they would in the window.

#include <array>
#include <cstdint>
#include <string>

#include "cockpit/cockpit.h"
#include "fakes.h"
#include "platform/random.h"

namespace qm::testing {

// What the window shows when it is made: the message box and the repair buttons hidden.
inline void ShowWindowAsMade(FakeControls& controls) {
  controls.SetVisible("moji_box", false);
  for (int n = 1; n <= kRepairButtons; ++n)
    controls.SetVisible(RepairButtonName(n), false);
}

class RandomHand {
 public:
  enum Action {
    kPadDown,
    kPadMove,
    kPadUp,
    kBoxClick,
    kRepair,
    kContact,
    kChart,
    kConverter,
    kSavePoint,
    kBooster,
    kActionCount
  };

  // Questions opened inside frames run inside questions nest at most this deep.
  static constexpr int kMaxNesting = 2;

  RandomHand(FakeServices& fake, Voyage& voyage, Cockpit& cockpit, std::uint32_t seed)
      : fake_(fake), voyage_(voyage), cockpit_(cockpit), hand_(seed) {
    fake_.dialogs.while_open = [this] { WhileOpen(); };
  }
  ~RandomHand() { fake_.dialogs.while_open = nullptr; }
  RandomHand(const RandomHand&) = delete;
  RandomHand& operator=(const RandomHand&) = delete;

  // One frame: maybe an action first, then the frame 100 ms after the last.
  void Step() {
    Act();
    Frame();
  }

  // How often each action was taken, frames run inside questions, and the deepest nesting.
  const std::array<int, kActionCount>& actions() const { return actions_; }
  int frames() const { return frames_; }
  int nested_frames() const { return nested_frames_; }
  int deepest() const { return deepest_; }

 private:
  bool BoxShown() const { return fake_.controls.IsVisible("moji_box"); }
  bool PadHeld() const {
    return voyage_.state().pad_left_held != 0 || voyage_.state().pad_right_held != 0;
  }

  void Frame() {
    fake_.clock.AdvanceMs(100);
    voyage_.Timer1Timer();
    ++frames_;
  }

  void Act() {
    const int roll = hand_.Next(100);
    if (BoxShown()) {
      // The box covers the panel; a pad grabbed before it opened still gets its release.
      if (roll < 25) Do(kBoxClick);
      if (roll >= 95 && PadHeld()) Do(kPadUp);
      return;
    }
    if (roll < 10) {
      Do(PadHeld() ? kPadMove : kPadDown);
    } else if (roll < 20) {
      if (PadHeld()) Do(kPadMove);
    } else if (roll < 25) {
      Do(kPadUp);
    } else if (roll < 28) {
      Do(kBoxClick);  // the status line's frame takes the same click
    } else if (roll < 33) {
      Do(kRepair);
    } else if (roll < 36) {
      Do(kContact);
    } else if (roll < 37) {
      Do(kChart);
    } else if (roll < 38) {
      Do(kConverter);
    } else if (roll == 38) {
      Do(kSavePoint);
    } else if (roll == 39) {
      Do(kBooster);
    }
    // Otherwise the hand rests: whatever it holds stays held.
  }

  // Any point of the pad; once grabbed, a drag may leave it on any side.
  int OnPad() { return hand_.Next(100); }
  int Dragged() { return hand_.Next(220) - 60; }

  void Do(Action action) {
    ++actions_[action];
    switch (action) {
      case kPadDown: {
        static constexpr MouseButton kButtons[] = {MouseButton::kLeft, MouseButton::kLeft,
                                                   MouseButton::kRight, MouseButton::kMiddle};
        voyage_.contMouseDown(kButtons[hand_.Next(4)], OnPad(), OnPad());
        break;
      }
      case kPadMove:
        voyage_.contMouseMove(Dragged(), Dragged());
        break;
      case kPadUp:
        voyage_.contMouseUp();
        break;
      case kBoxClick:
        cockpit_.Shape1MouseDown();
        break;
      case kRepair: {
        const int n = 1 + hand_.Next(kRepairButtons);
        if (fake_.controls.IsVisible(RepairButtonName(n))) {
          cockpit_.RepairMouseDown(n);
        } else {
          --actions_[action];
        }
        break;
      }
      case kContact:
        cockpit_.contact_b2MouseDown();
        break;
      case kChart:
        cockpit_.u_map_b2MouseDown();
        break;
      case kConverter:
        cockpit_.Image4MouseDown();
        break;
      case kSavePoint:
        cockpit_.Image5MouseDown();
        break;
      case kBooster:
        voyage_.speed_lMouseDown();
        break;
      case kActionCount:
        break;
    }
  }

  // A question or a notice is open: the timer runs on behind it, then the player answers.
  void WhileOpen() {
    if (depth_ < kMaxNesting) {
      ++depth_;
      deepest_ = depth_ > deepest_ ? depth_ : deepest_;
      for (int n = hand_.Next(4); n > 0; --n) {
        Frame();
        ++nested_frames_;
      }
      --depth_;
    }
    fake_.dialogs.default_answer = hand_.Next(2) == 0;
  }

  FakeServices& fake_;
  Voyage& voyage_;
  Cockpit& cockpit_;
  Random hand_;
  std::array<int, kActionCount> actions_{};
  int frames_ = 0;
  int nested_frames_ = 0;
  int depth_ = 0;
  int deepest_ = 0;
};

}  // namespace qm::testing
