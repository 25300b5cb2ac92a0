#pragma once

#include <string>
#include <vector>

#include "state/game_state.h"

namespace qm {

// A designer's flight over the chart: which points a voyage can come to know, and whether the
// energy, resources and hull along the intended route carry a pilot to the ending. The flight is
// modelled from the real rules with expected values (cruising speeds, drain per frame, zone
// trouble rates), not flown frame by frame with a random generator: it is a budget, not a replay.

constexpr int kEndingPoint = 73;

// How a point first became known.
struct Discovery {
  int point = -1;
  int revealed_by = -1;  // -1: known from the start of a voyage
  int link = 0;          // 0 NEXT POINT, 1 NEXT POINT 2, 2 EXTRA POINT
};

// Every point a voyage can come to know by following buoy links from point 0, in the order a
// pilot who reads every link meets them (breadth first). Points known from the start are not
// listed.
std::vector<Discovery> RevealOrder(const GameState& new_game);

// Points of kinds that only a link can reveal, which no chain of links from point 0 reaches.
std::vector<int> UnrevealablePoints(const GameState& new_game);

// The main trail: point 0 and the NEXT POINT of each buoy in turn, up to the ending point, a
// point that is no buoy, or a point met before.
std::vector<int> MainTrail(const GameState& new_game);

struct PilotStyle {
  // A careful pilot also takes the stations, depots, docks, supplies and planets a buoy points
  // to with its second and extra links, repairs at once, and converts resources when low.
  bool careful = true;
  // Whether the pilot turns aside at all; a careful pilot who keeps to the main trail still
  // repairs and converts.
  bool side_trips = true;
  // Frames flown per frame of a straight flight: overshooting, searching, backing up.
  double wander = 1.0;
  // Frames spent at each point lining the ship up for contact.
  int approach_frames = 60;
};

struct LegReport {
  int from = -1;
  int to = -1;
  int frames = 0;
  double energy_after = 0;
  int resources_after = 0;
  double hull_lowest = 0;       // lowest hull during the leg
  int zone_frames = 0;          // frames spent in hazard columns
  bool ran_dry = false;         // the tank was empty during the leg
  bool known = true;            // the target was known when the leg began
  std::vector<int> in_the_way;  // known points with a picture whose sector the flight crosses
};

struct VoyageReport {
  bool finished = false;  // arrived at the ending point with hull left
  int frames = 0;         // flying and lining up, at 10 frames a second
  int arrivals = 0;
  int surveys = 0;
  double lowest_energy = 0;
  int lowest_energy_at = -1;
  double lowest_hull = 0;
  int lowest_hull_at = -1;
  int first_dry_at = -1;  // the target of the first leg on which the tank ran dry
  int lost_at = -1;       // the target of the leg on which the hull gave out
  std::vector<LegReport> legs;
};

VoyageReport FlyVoyage(const GameState& new_game, const PilotStyle& style);

// The pilots the summary flies: careful (side trips, repairs, converter), steady (the same on the
// main trail alone) and careless (the main trail, loose flying, no converter, no repairs).
PilotStyle CarefulPilot();
PilotStyle SteadyPilot();
PilotStyle CarelessPilot();

// A few lines for the designer: the trail, the budget of the three pilots, the time it takes;
// with `legs`, every leg of the careful pilot as well.
std::string RouteSummary(const GameState& new_game, bool legs = false);

}  // namespace qm
