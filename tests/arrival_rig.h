#pragma once

// The cockpit on fakes with chart points placed for arrivals. Every chart point sits in the
// ship's sector (the chart's default place), so the voyage frame finds whichever one a test
// makes known.

#include <string>
#include <vector>

#include "cockpit/arrival.h"
#include "cockpit_rig.h"

namespace qm::testing {

constexpr char kBuoyText[] = "古い航路標識が瞬いている。";

struct ArrivalRig : CockpitRig {
  ArrivalRig() {
    game.point_state.fill(0);
    game.energy = 100;
    game.resources = 2;
    game.hull = 4;
  }
  ChartPoint& Point(int i, int kind, int state = 1) {
    ChartPoint& p = game.chart[static_cast<size_t>(i)];
    p.kind = kind;
    p.name = Sj("地点") + Dec(i);
    p.text = Sj(kBuoyText);
    game.point_state[static_cast<size_t>(i)] = state;
    return p;
  }
  bool Arrive(int i) { return cockpit.ArrivalExamination(i); }
  std::vector<std::string> Pages() {
    std::vector<std::string> pages;
    for (const auto& page : cs().message_pages)
      if (!page.empty()) pages.push_back(page);
    return pages;
  }
  // Closes the box so the next arrival starts from an empty queue.
  void ClearBox() {
    for (auto& page : cs().message_pages)
      page.clear();
    fake.controls.moved.clear();
  }
  bool BoxShown() { return fake.controls.moved.count("moji_box") == 1 && Visible("moji_box"); }
  std::string Page(int i) { return ArrivalPage(game.chart[static_cast<size_t>(i)]); }
};

using PageList = std::vector<std::string>;

}  // namespace qm::testing
