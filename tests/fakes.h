#pragma once

// Stand-ins for the platform services: scripted answers, recorded sounds and controls, a manual
// clock and a seeded generator, so the game logic runs deterministically without windows.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/gamepad.h"
#include "platform/random.h"
#include "platform/services.h"

namespace qm::testing {

// Answers questions from a script; with the script empty it answers `default_answer`. A test can
// run code while a question is "open" (as a nested event loop would) through `while_open`.
class ScriptedDialogs : public Dialogs {
 public:
  bool Confirm(const std::string& text) override {
    asked.push_back(text);
    if (while_open) while_open();
    if (answers.empty()) return default_answer;
    const bool a = answers.front();
    answers.pop_front();
    return a;
  }
  void Inform(const std::string& text) override {
    informed.push_back(text);
    if (while_open) while_open();
  }
  void Error(const std::string& text) override { errors.push_back(text); }

  std::deque<bool> answers;
  bool default_answer = true;
  std::function<void()> while_open;
  std::vector<std::string> asked;
  std::vector<std::string> informed;
  std::vector<std::string> errors;
};

// Records every sound request in order: "cue <channel> <name>", "click", "music <name>".
class RecordingSound : public Sound {
 public:
  void PlayCue(int channel, std::string_view name) override {
    calls.push_back("cue " + std::to_string(channel) + " " + std::string(name));
  }
  void PlayClick() override { calls.push_back("click"); }
  void PlayMusic(std::string_view name) override { calls.push_back("music " + std::string(name)); }

  std::vector<std::string> calls;
};

// Remembers what the logic did to each control; unknown controls start visible.
class FakeControls : public Controls {
 public:
  void SetVisible(std::string_view name, bool visible) override {
    visible_[std::string(name)] = visible;
  }
  bool IsVisible(std::string_view name) const override {
    auto it = visible_.find(std::string(name));
    return it == visible_.end() ? true : it->second;
  }
  void Move(std::string_view name, int left, int top) override {
    moved[std::string(name)] = {left, top};
  }
  void SetCaption(std::string_view name, const std::string& cp932) override {
    captions[std::string(name)] = cp932;
  }
  void SetEnabled(std::string_view name, bool enabled) override {
    enabled_[std::string(name)] = enabled;
  }
  // Unknown controls start enabled, as in the window designer.
  bool IsEnabled(std::string_view name) const {
    auto it = enabled_.find(std::string(name));
    return it == enabled_.end() ? true : it->second;
  }

  std::map<std::string, std::pair<int, int>> moved;
  std::map<std::string, std::string> captions;

 private:
  std::map<std::string, bool> visible_;
  std::map<std::string, bool> enabled_;
};

// A controller whose sticks and buttons the test sets.
class FakeGamepad : public Gamepad {
 public:
  GamepadState Poll() override { return state; }
  GamepadState state{.connected = true};
};

// All fakes together, wired into a Services bundle.
struct FakeServices {
  ManualClock clock;
  Random random{12345};
  ScriptedDialogs dialogs;
  RecordingSound sound;
  FakeControls controls;
  Services services{clock, random, dialogs, sound, controls};
};

}  // namespace qm::testing
