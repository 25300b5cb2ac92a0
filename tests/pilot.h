#pragma once

// A scripted pilot that flies a whole voyage as a player does. It acts only through what the
// voyage window offers a player: the steering pad, the contact button, clicks on the message box,
// the repair buttons, the energy converter, the booster and the answers to the questions. It
// learns where to go only from the NEXT POINT pages it reads; it looks at the ship's place and
// speeds as the instruments and the view show them.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cockpit/arrival.h"
#include "cockpit/story_lines.h"
#include "cockpit_rig.h"
#include "platform/edition.h"

namespace qm::testing {

// A sector as the pages write it: chart X, Y and Z.
struct ChartPlace {
  int x = 0;
  int y = 0;
  int z = 0;
  bool operator==(const ChartPlace&) const = default;
};

// The place a NEXT POINT page names ("NEXT POINT > x:X  y:Y  z:Z"); nothing for any other page,
// NEXT POINT 2 and EXTRA POINT included.
inline std::optional<ChartPlace> NextPointOnPage(const std::string& page) {
  static const std::string kMark = "NEXT POINT > ";
  const size_t at = page.find(kMark);
  if (at == std::string::npos) return std::nullopt;
  ChartPlace p;
  if (std::sscanf(page.c_str() + at + kMark.size(), "x:%d y:%d z:%d", &p.x, &p.y, &p.z) != 3)
    return std::nullopt;
  return p;
}

// What every arrival page begins with in the edition: the mark before the point's name.
inline std::string ArrivalMark() {
  const std::string& page = Tx("【%1】 \r%2");
  return page.substr(0, page.find("%1"));
}

// One arrival as the pilot saw it: the page with the point's name, and the ship afterwards.
struct ArrivalRecord {
  int frame = 0;
  std::string page;  // "【name】 " CR text, CP932
  ChartPlace place;
  int energy = 0;
  int resources = 0;
  int hull = 0;
};

class Pilot {
 public:
  // Frames a finished page stays on the screen before the pilot clicks it away.
  static constexpr int kReadingFrames = 5;
  // The left button lets go after this many frames held, well before the engine roll at 200.
  static constexpr int kLongestStroke = 150;
  // A sector's extent along each axis in position units.
  static constexpr int kSpan = 501;

  explicit Pilot(CockpitRig& rig) : rig_(rig) {
    rig_.fake.dialogs.while_open = [this] { Answer(); };
    // Point 0 stands before the ship at the start: it is the first place to make contact with.
    target_ = ChartPlace{-rig_.game.sector_x, rig_.game.sector_y, rig_.game.sector_z};
  }

  // Flies frame by frame until the message from Earth has been read to its end, the voyage is
  // lost, or `frame_limit` frames have run. True when the message was read.
  bool Fly(int frame_limit) {
    while (!earth_read_ && frames_ < frame_limit && rig_.game.voyage_over == 0) {
      Act();
      rig_.fake.clock.AdvanceMs(100);
      rig_.voyage.Timer1Timer();
      ++frames_;
      Watch();
      if (after_frame) after_frame();
    }
    return earth_read_;
  }

  // Called after every frame, for a test that looks at what the frame showed.
  std::function<void()> after_frame;

  int frames() const { return frames_; }
  int lowest_energy() const { return lowest_energy_; }
  int lowest_hull() const { return lowest_hull_; }
  // The frame in which the message from Earth opened.
  int earth_frame() const { return earth_frame_; }
  const std::vector<ArrivalRecord>& arrivals() const { return arrivals_; }
  const std::vector<std::string>& pages_read() const { return pages_read_; }
  const std::vector<int>& stages() const { return stages_; }
  const std::vector<std::string>& music() const { return music_; }
  int conversions() const { return conversions_; }
  int boosts() const { return boosts_; }
  const std::vector<int>& repairs() const { return repairs_; }
  // Troubles in the order they arose, and the impacts heard.
  const std::vector<int>& troubles() const { return troubles_; }
  int collisions() const { return collisions_; }
  // The highest frame count the ending roll reached.
  int longest_ending() const { return longest_ending_; }
  // The frame in which the ending roll began.
  int ending_frame() const { return ending_frame_; }
  std::optional<ChartPlace> target() const { return target_; }

 private:
  VoyageState& vs() { return rig_.vs; }
  GameState& game() { return rig_.game; }
  bool BoxShown() { return rig_.Visible("moji_box"); }
  bool LeftHeld() { return vs().pad_left_held == 1; }
  bool RightHeld() { return vs().pad_right_held == 1; }

  // What the player does between two frames: one thing at a time, like a hand on one mouse.
  void Act() {
    if (vs().logon_step < kLogonFrames) return;
    if (BoxShown()) {
      // The box lies over the pad and the buttons: let go of the pad and read.
      if (LeftHeld() || RightHeld()) rig_.voyage.contMouseUp();
      ReadBox();
      return;
    }
    if (vs().check_countdown > 0) return;
    if (Upkeep()) return;
    if (!target_) return;
    Steer();
  }

  void ReadBox() {
    const CockpitState& cs = rig_.cs();
    const std::string& page = cs.message_pages[static_cast<size_t>(cs.message_page)];
    const std::string caption = rig_.Caption("moji_l");
    if (caption != page) {
      reading_ = 0;
      // A long page still being typed is finished with one click; a short one is waited for,
      // since a click on it would turn it unread.
      if (page.size() > caption.size() + 4) rig_.cockpit.Shape1MouseDown();
      return;
    }
    if (++reading_ < kReadingFrames) return;
    reading_ = 0;
    Read(page);
    rig_.cockpit.Shape1MouseDown();
    if (!BoxShown() && awaiting_next_) {
      // The call at the target named no further point: the voyage has reached its end.
      awaiting_next_ = false;
      target_.reset();
    }
  }

  void Read(const std::string& page) {
    pages_read_.push_back(page);
    if (page.rfind(ArrivalMark(), 0) == 0) {
      ArrivalRecord a{frames_, page, Here(), game().energy, game().resources, game().hull};
      arrivals_.push_back(a);
      if (target_ && Here() == *target_) awaiting_next_ = true;
    }
    if (auto next = NextPointOnPage(page)) {
      target_ = next;
      awaiting_next_ = false;
    }
    if (page == EarthMessagePages().back()) earth_read_ = true;
  }

  ChartPlace Here() { return {-game().sector_x, game().sector_y, game().sector_z}; }

  // Repairs, energy and the booster, each a click on a panel button with the pad let go.
  // True when the pilot did something instead of steering.
  bool Upkeep() {
    const auto& t = game().trouble_level;
    const int r = game().resources;
    int button = 0;
    if (t[kMainSystemFault] >= 1 && r >= 5) {
      button = 7;
    } else if (t[kFire] >= 1 && r >= 2 * t[kFire]) {
      button = 5;
    } else if (t[kSystemDown] >= 1 && r >= 6 + 2) {
      button = 9;
    } else if (t[kSleeperInjury] >= 1 && r >= t[kSleeperInjury] + 2) {
      button = 2;
    } else if (t[kHullDamage] >= 1 && r >= t[kHullDamage] + 2) {
      button = 3;
    } else if (t[kStellarWindPollution] >= 1 && r >= t[kStellarWindPollution] + 2) {
      button = 4;
    }
    // Fuel-tank damage waits for the next repair dock, which mends it free.
    if (button != 0 && rig_.Visible(RepairButtonName(button))) {
      LetGo();
      rig_.cockpit.RepairMouseDown(button);
      repairs_.push_back(button - 1);
      return true;
    }
    if (game().energy < 60 && r >= 2) {
      LetGo();
      rig_.cockpit.Image4MouseDown();
      ++conversions_;
      return true;
    }
    // A full hold would waste the next supply: spend 2 t on speed instead.
    if (target_ && vs().booster_seconds < 1 && r >= 2 && r == game().resources_max &&
        game().energy >= 100 && SectorsToGo() >= 4) {
      LetGo();
      rig_.voyage.speed_lMouseDown();
      ++boosts_;
      return true;
    }
    return false;
  }

  // The questions: a survey only with a tonne to spare; the converter and the booster are asked
  // for only when wanted.
  void Answer() {
    const std::string& q = rig_.fake.dialogs.asked.back();
    bool yes = true;
    // The question is asked at the planet being examined.
    const int p = vs().current_point;
    if (p >= 0 && p < kChartPointCount) {
      const ChartPoint& planet = game().chart[static_cast<size_t>(p)];
      const int cost = Traits(planet.kind).survey_cost;
      if (cost > 0 && q == SurveyQuestion(planet, cost)) yes = game().resources >= cost + 1;
    }
    rig_.fake.dialogs.answers.push_back(yes);
  }

  void LetGo() {
    if (LeftHeld() || RightHeld()) rig_.voyage.contMouseUp();
  }

  int SectorsToGo() {
    return std::abs(-target_->x - game().sector_x) + std::abs(target_->y - game().sector_y) +
           std::abs(target_->z - game().sector_z);
  }

  // The speed to hold `error` units from the goal: half the gap per frame, the last two units at
  // once, never above the limit.
  static int WantedSpeed(int error, int limit) {
    const int v = std::abs(error) <= 2 ? error : error / 2;
    return std::clamp(v, -limit, limit);
  }
  // The push for one frame on an axis: what brings the speed to the wanted one, or a full push
  // while the goal is far (the limit then jitters the speed above itself).
  static int Push(int error, int speed, int limit) {
    if (error / 2 > limit + 9) return 9;
    if (error / 2 < -limit - 9) return -9;
    return std::clamp(WantedSpeed(error, limit) - speed, -9, 9);
  }

  int SideLimit() { return vs().booster_seconds >= 1 ? 40 : 20; }
  int ForwardLimit() { return vs().booster_seconds >= 1 ? 40 : 10; }

  // Left button: the pointer's x pushes the side speed, its y the forward speed, 1 per 5 pixels.
  void Left(int side_push, int forward_push) {
    const int x = 50 + 5 * side_push;
    const int y = 50 - 5 * forward_push;
    if (RightHeld()) rig_.voyage.contMouseUp();
    if (LeftHeld())
      rig_.voyage.contMouseMove(x, y);
    else
      rig_.voyage.contMouseDown(MouseButton::kLeft, x, y);
  }
  // Right button at the pad's middle column: the pointer's y pushes the vertical speed only.
  void Right(int up_push) {
    const int y = 50 - 5 * up_push;
    if (LeftHeld()) rig_.voyage.contMouseUp();
    if (RightHeld())
      rig_.voyage.contMouseMove(50, y);
    else
      rig_.voyage.contMouseDown(MouseButton::kRight, 50, y);
  }

  // Steering towards the target. Vertical first with the right button, then sideways and
  // forward with the left. A picture can only be hit at 190..250 ahead within 150 sideways and
  // 200 vertically, so the pilot moves sideways or vertically only with the ship less than 180
  // ahead, and flies forward or back 200 to the side of the target's column; the last move onto
  // the target's axis is made in its sector, short of the picture.
  void Steer() {
    const ChartPlace t = *target_;
    const int sx = -t.x;
    const int px = game().sector_x * kSpan + vs().local_x;
    const int py = game().sector_y * kSpan + vs().local_y;
    const int pz = game().sector_z * kSpan + vs().local_z;
    const int ey = t.y * kSpan - py;

    if (Here() == t && std::abs(vs().local_x) <= 30 && std::abs(vs().local_y) <= 60 &&
        vs().local_z >= 90 && vs().local_z <= 160 && vs().speed_side == 0 && vs().speed_up == 0 &&
        vs().speed_forward == 0 && vs().current_point != -1) {
      LetGo();
      rig_.cockpit.contact_b2MouseDown();
      return;
    }

    if (LeftHeld() && left_frames_ >= kLongestStroke) {
      rig_.voyage.contMouseUp();
      return;
    }

    const bool y_off = game().sector_y != t.y || std::abs(vs().local_y) > 60;
    if (climbing_ || y_off) {
      if (!climbing_) {
        // The left button's speeds come to rest before it lets go, or they would drift on.
        if (vs().speed_side != 0 || vs().speed_forward != 0) {
          Left(std::clamp(-vs().speed_side, -9, 9), std::clamp(-vs().speed_forward, -9, 9));
          return;
        }
        climbing_ = true;
      }
      if (std::abs(ey) <= 2 && vs().speed_up == 0) {
        climbing_ = false;
        LetGo();
        return;
      }
      Right(Push(ey, vs().speed_up, SideLimit()));
      return;
    }

    int x_goal = sx * kSpan;
    if (game().sector_z != t.z || vs().local_z >= 180) {
      int side = game().sector_x < sx ? -1 : 1;
      if (game().sector_x == sx) side = vs().local_x >= 0 ? 1 : -1;
      x_goal += 200 * side;
    }
    const int ex = x_goal - px;
    const int z_goal = std::abs(ex) > 30 ? game().sector_z * kSpan + std::min(vs().local_z, 150)
                                         : t.z * kSpan + 120;
    const int ez = z_goal - pz;
    Left(Push(ex, vs().speed_side, SideLimit()), Push(ez, vs().speed_forward, ForwardLimit()));
  }

  // After each frame: the figures, the story as it moves on, the music that started.
  void Watch() {
    left_frames_ = LeftHeld() ? left_frames_ + 1 : 0;
    lowest_energy_ = std::min(lowest_energy_, game().energy);
    lowest_hull_ = std::min(lowest_hull_, game().hull);
    if (stages_.empty() || stages_.back() != game().story_stage())
      stages_.push_back(game().story_stage());
    for (const std::string& call : rig_.fake.sound.calls) {
      if (call.rfind("music ", 0) == 0) music_.push_back(call.substr(6));
      if (call == "cue 2 bom.wav") ++collisions_;
    }
    rig_.fake.sound.calls.clear();
    for (int k = 0; k < kTroubleCount; ++k) {
      const bool now = game().trouble_level[static_cast<size_t>(k)] >= 1;
      if (now && !troubled_[static_cast<size_t>(k)]) troubles_.push_back(k);
      troubled_[static_cast<size_t>(k)] = now;
    }
    longest_ending_ = std::max(longest_ending_, rig_.cs().ending_tick);
    if (ending_frame_ < 0 && rig_.cs().ending_tick >= 1) ending_frame_ = frames_;
    if (earth_frame_ < 0 && rig_.cs().message_pages[0] == EarthMessagePages().front())
      earth_frame_ = frames_;
  }

  CockpitRig& rig_;
  std::optional<ChartPlace> target_;
  bool awaiting_next_ = false;
  bool climbing_ = false;
  bool earth_read_ = false;
  int frames_ = 0;
  int reading_ = 0;
  int left_frames_ = 0;
  int lowest_energy_ = 1 << 30;
  int lowest_hull_ = 1 << 30;
  int earth_frame_ = -1;
  int conversions_ = 0;
  int boosts_ = 0;
  int collisions_ = 0;
  int longest_ending_ = 0;
  int ending_frame_ = -1;
  std::array<bool, kTroubleCount> troubled_{};
  std::vector<int> troubles_;
  std::vector<int> repairs_;
  std::vector<ArrivalRecord> arrivals_;
  std::vector<std::string> pages_read_;
  std::vector<int> stages_;
  std::vector<std::string> music_;
};

}  // namespace qm::testing
