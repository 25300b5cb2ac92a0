#include "make_chart/chart_route.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <map>
#include <tuple>

#include "make_chart/chart_source.h"
#include "voyage/voyage_pictures.h"

namespace qm {
namespace {

constexpr double kSectorUnits = 501;
// Holding the pad at its edge, each speed jitters evenly between its limit and the limit + 9.
constexpr int kForwardLow = 10;
constexpr int kSideLow = 20;
constexpr double kForwardSpeed = kForwardLow + 4.5;
constexpr double kSideSpeed = kSideLow + 4.5;
// Lining up for contact: small pushes, forward only.
constexpr double kApproachDrain = 0.05;
// The converter's rate, and the energy below which a careful pilot uses it.
constexpr int kEnergyPerTonne = 20;
constexpr double kConvertBelow = 60;

// Expected energy drained in one frame at combined speed s: one frame in ten draws evenly from
// 0..(s div 20) + (1 if s > 2).
double DrainAt(int s) {
  const int top = s / 20 + (s > 2 ? 1 : 0);
  return top / 2.0 / 10.0;
}

// Expected drain over the jitter of the speeds held at their limits (0 for an axis at rest).
double CruiseDrain(bool forward, bool side) {
  double sum = 0;
  int n = 0;
  for (int f = 0; f < 10; ++f) {
    for (int x = 0; x < 10; ++x) {
      sum += DrainAt((forward ? kForwardLow + f : 0) + (side ? kSideLow + x : 0));
      ++n;
    }
  }
  return sum / n;
}

// Kinds not known from the start have only links to reveal them.
bool RevealedOnlyByLinks(int kind) {
  return !Traits(kind).known_from_start;
}

// The pilot's ship as the budget sees it.
struct Ship {
  GameState game;  // point states, capacities, and the chart to read
  double energy = 0;
  double hull = 0;
  double fuel_damage = 0;  // expected level of fuel-tank damage
  double fire = 0;         // expected level of fire
  int x = 0, y = 0, z = 0;
  bool finished = false;
  int surveys = 0;
};

class Flight {
 public:
  Flight(const GameState& g, const PilotStyle& style) : style_(style) {
    ship_.game = g;
    ship_.energy = g.energy;
    ship_.hull = g.hull;
    for (int i = 0; i < kChartPointCount; ++i) {
      const ChartPoint& p = g.chart[static_cast<size_t>(i)];
      sectors_[{p.x, p.y, p.z}] = i;
    }
    both_ = CruiseDrain(true, true);
    forward_ = CruiseDrain(true, false);
    side_ = CruiseDrain(false, true);
  }

  VoyageReport& report() { return report_; }
  Ship& ship() { return ship_; }

  // Flies to point t and arrives there; false once the voyage is over.
  bool Visit(int from, int t) {
    const ChartPoint& p = ship_.game.chart[static_cast<size_t>(t)];
    LegReport leg;
    leg.from = from;
    leg.to = t;
    leg.known = ship_.game.point_state[static_cast<size_t>(t)] >= 1;
    leg.hull_lowest = ship_.hull;
    double ux = ship_.x * kSectorUnits, uz = ship_.z * kSectorUnits, uy = ship_.y * kSectorUnits;
    const double tx = p.x * kSectorUnits, tz = p.z * kSectorUnits, ty = p.y * kSectorUnits;
    auto step = [](double& u, double target, double speed) {
      if (u < target) u = std::min(target, u + speed);
      if (u > target) u = std::max(target, u - speed);
    };
    const double slow = style_.wander;
    while ((ux != tx || uz != tz || uy != ty) && !Over()) {
      const bool mx = ux != tx, mz = uz != tz;
      double drain = forward_;
      if (mx || mz) {
        drain = mx && mz ? both_ : (mx ? side_ : forward_);
        step(ux, tx, kSideSpeed / slow);
        step(uz, tz, kForwardSpeed / slow);
      } else {
        drain = side_;  // climbing or diving: the right button, at the sideways limits
        step(uy, ty, kSideSpeed / slow);
      }
      const int sx = static_cast<int>(std::lround(ux / kSectorUnits));
      const int sy = static_cast<int>(std::lround(uy / kSectorUnits));
      const int sz = static_cast<int>(std::lround(uz / kSectorUnits));
      NoteObstacle(sx, sy, sz, from, t, leg);
      Frame(drain, sx, sz, leg);
    }
    for (int i = 0; i < style_.approach_frames && !Over(); ++i)
      Frame(kApproachDrain, p.x, p.z, leg);
    ship_.x = p.x;
    ship_.y = p.y;
    ship_.z = p.z;
    leg.energy_after = ship_.energy;
    if (ship_.energy < report_.lowest_energy || report_.lowest_energy_at < 0) {
      report_.lowest_energy = ship_.energy;
      report_.lowest_energy_at = t;
    }
    if (leg.ran_dry && report_.first_dry_at < 0) report_.first_dry_at = t;
    if (Over()) {
      report_.lost_at = t;
      report_.legs.push_back(leg);
      return false;
    }
    if (leg.known) Arrive(t);
    leg.resources_after = ship_.game.resources;
    report_.legs.push_back(leg);
    return true;
  }

  // After an arrival: the careful pilot mends and refuels with what the hold carries.
  void LookAfterShip() {
    if (!style_.careful) return;
    GameState& g = ship_.game;
    for (double* level : {&ship_.fuel_damage, &ship_.fire}) {
      const int cost = 2 * static_cast<int>(std::ceil(*level));
      if (*level >= 0.5 && g.resources >= cost) {
        g.resources -= cost;
        *level = 0;
      }
    }
    const int h = g.resources / 2;
    if (ship_.energy < kConvertBelow && h >= 1) {
      g.resources -= h;
      ship_.energy = std::min<double>(g.energy_max, ship_.energy + kEnergyPerTonne * h);
    }
  }

 private:
  bool Over() const { return ship_.hull <= 0; }

  // A straight flight through a known point's sector meets its collision box.
  void NoteObstacle(int x, int y, int z, int from, int to, LegReport& leg) {
    auto it = sectors_.find({x, y, z});
    if (it == sectors_.end() || it->second == from || it->second == to) return;
    const int i = it->second;
    if (ship_.game.point_state[static_cast<size_t>(i)] < 1 ||
        !Traits(ship_.game.chart[static_cast<size_t>(i)].kind).has_picture)
      return;
    if (std::find(leg.in_the_way.begin(), leg.in_the_way.end(), i) == leg.in_the_way.end())
      leg.in_the_way.push_back(i);
  }

  void Frame(double drain, int column_x, int column_z, LegReport& leg) {
    ++report_.frames;
    ++leg.frames;
    ship_.energy -= drain + ship_.fuel_damage / 80.0;
    switch (ship_.game.GridCell(column_x, column_z)) {
      case 5:
        ship_.fire = std::min(5.0, ship_.fire + 1.0 / 100);
        ++leg.zone_frames;
        break;
      case 6:
        ship_.fuel_damage = std::min(5.0, ship_.fuel_damage + 1.0 / 100);
        ++leg.zone_frames;
        break;
      case 13:
      case 14:
        ++leg.zone_frames;
        break;
      default:
        break;
    }
    // A fire hits the hull now and then; one hit in six costs a hull point.
    if (ship_.fire > 0) ship_.hull -= std::min(ship_.fire, 1.0) / (400 - 30 * ship_.fire) / 6;
    if (ship_.energy <= 0) {
      ship_.energy = 0;
      leg.ran_dry = true;
      ship_.hull -= 1.0 / 50;
    }
    leg.hull_lowest = std::min(leg.hull_lowest, ship_.hull);
    if (ship_.hull < report_.lowest_hull || report_.lowest_hull_at < 0) {
      report_.lowest_hull = ship_.hull;
      report_.lowest_hull_at = leg.to;
    }
  }

  void Survey(const ChartPoint& p, int t) {
    GameState& g = ship_.game;
    const int k = p.kind;
    const int cost = Traits(k).survey_cost;
    // The careful pilot keeps a tonne back; the careless one never stops at a planet.
    if (!style_.careful || g.resources < cost + 1) {
      g.point_state[static_cast<size_t>(t)] = 1;
      return;
    }
    g.resources -= cost;
    ++ship_.surveys;
    ++report_.surveys;
    if (p.yield == 0) g.resources += k - 13;
    if (p.yield == 2) ship_.energy += 8 * k - 140;
    if (p.yield == 5) ship_.energy += 20 * (k - 20) + 40;
  }

  void Arrive(int t) {
    GameState& g = ship_.game;
    const ChartPoint& p = g.chart[static_cast<size_t>(t)];
    const int k = p.kind;
    ++report_.arrivals;
    if (g.point_state[static_cast<size_t>(t)] == 1) {
      g.point_state[static_cast<size_t>(t)] = 2;
      if (t == kEndingPoint) ship_.finished = true;
      if (k == PointKind::kComet) g.energy_max += 10;
      if (k == PointKind::kWreck) g.hull_max += 1;
      if (k == PointKind::kResourceDepot) g.resources = g.resources_max;
      if (Traits(k).grows_hold) g.resources_max += 1;
      if (Traits(k).supplies) {
        ship_.energy += 2 * p.yield;
        g.resources += p.resource_gain;
      }
      if (Traits(k).survey_cost > 0) Survey(p, t);
    }
    if (k == PointKind::kEnergyStation) ship_.energy = g.energy_max;
    if (Traits(k).buoy_call) {
      ship_.hull = g.hull_max;
      ship_.fire = 0;
      if (Traits(k).dock) ship_.fuel_damage = 0;
      for (int link : {p.next_point, p.next_point_2, p.extra_point})
        if (link >= 0) g.point_state[static_cast<size_t>(link)] = 1;
    }
    g.resources = std::clamp(g.resources, 0, g.resources_max);
    ship_.energy = std::min<double>(ship_.energy, g.energy_max);
    ship_.hull = std::min<double>(ship_.hull, g.hull_max);
  }

  PilotStyle style_;
  Ship ship_;
  VoyageReport report_;
  double both_ = 0, forward_ = 0, side_ = 0;
  std::map<std::tuple<int, int, int>, int> sectors_;
};

// Whether the careful pilot turns aside to the point a buoy's second or extra link names.
bool WorthATrip(const Ship& ship, const ChartPoint& p) {
  switch (static_cast<PointKind>(p.kind)) {
    case PointKind::kEnergyStation:
      return ship.energy < 0.75 * ship.game.energy_max;
    case PointKind::kResourceDepot:
      return ship.game.resources < ship.game.resources_max - 2;
    case PointKind::kRepairDock:
    case PointKind::kComet:
    case PointKind::kWreck:
    case PointKind::kBottle:
    case PointKind::kSupplyPoint:
    case PointKind::kSpecialPlanet:
      return true;
    case PointKind::kSmallPlanet:
    case PointKind::kMediumPlanet:
    case PointKind::kLargePlanet:
      return ship.game.resources >= Traits(p.kind).survey_cost + 1;
    default:
      return false;
  }
}

}  // namespace

std::vector<Discovery> RevealOrder(const GameState& g) {
  std::vector<Discovery> order;
  std::vector<bool> known(kChartPointCount, false);
  for (int i = 0; i < kChartPointCount; ++i)
    known[static_cast<size_t>(i)] = g.point_state[static_cast<size_t>(i)] >= 1;
  std::deque<int> queue{0};
  std::vector<bool> called(kChartPointCount, false);
  while (!queue.empty()) {
    const int b = queue.front();
    queue.pop_front();
    if (called[static_cast<size_t>(b)]) continue;
    called[static_cast<size_t>(b)] = true;
    const ChartPoint& p = g.chart[static_cast<size_t>(b)];
    if (!Traits(p.kind).buoy_call) continue;
    const int links[] = {p.next_point, p.next_point_2, p.extra_point};
    for (int l = 0; l < 3; ++l) {
      const int t = links[l];
      if (t < 0 || t >= kChartPointCount) continue;
      if (!known[static_cast<size_t>(t)]) {
        known[static_cast<size_t>(t)] = true;
        order.push_back({t, b, l});
      }
      queue.push_back(t);
    }
  }
  return order;
}

std::vector<int> UnrevealablePoints(const GameState& g) {
  std::vector<bool> revealed(kChartPointCount, false);
  for (const Discovery& d : RevealOrder(g))
    revealed[static_cast<size_t>(d.point)] = true;
  std::vector<int> out;
  for (int i = 1; i < kChartPointCount; ++i) {
    if (RevealedOnlyByLinks(g.chart[static_cast<size_t>(i)].kind) &&
        g.point_state[static_cast<size_t>(i)] == 0 && !revealed[static_cast<size_t>(i)])
      out.push_back(i);
  }
  return out;
}

std::vector<int> MainTrail(const GameState& g) {
  std::vector<int> trail{0};
  std::vector<bool> seen(kChartPointCount, false);
  seen[0] = true;
  int at = 0;
  while (at != kEndingPoint && Traits(g.chart[static_cast<size_t>(at)].kind).buoy_call) {
    const int next = g.chart[static_cast<size_t>(at)].next_point;
    if (next < 0 || next >= kChartPointCount || seen[static_cast<size_t>(next)]) break;
    seen[static_cast<size_t>(next)] = true;
    trail.push_back(next);
    at = next;
  }
  return trail;
}

VoyageReport FlyVoyage(const GameState& g, const PilotStyle& style) {
  Flight flight(g, style);
  int at = 0;
  for (int t : MainTrail(g)) {
    if (!flight.Visit(at, t)) break;
    at = t;
    flight.LookAfterShip();
    if (!style.side_trips || t == kEndingPoint) continue;
    const ChartPoint& b = g.chart[static_cast<size_t>(t)];
    for (int side : {b.next_point_2, b.extra_point}) {
      // A second trail of buoys is for exploring; the budget keeps to the main one.
      if (side < 0 || !WorthATrip(flight.ship(), g.chart[static_cast<size_t>(side)])) continue;
      if (!flight.Visit(at, side)) break;
      at = side;
      flight.LookAfterShip();
    }
    if (flight.ship().hull <= 0) break;
  }
  VoyageReport report = flight.report();
  report.finished = flight.ship().finished && flight.ship().hull > 0;
  return report;
}

PilotStyle CarefulPilot() {
  return PilotStyle{true, true, 1.15, 60};
}

PilotStyle SteadyPilot() {
  return PilotStyle{true, false, 1.15, 60};
}

PilotStyle CarelessPilot() {
  return PilotStyle{false, false, 1.6, 120};
}

std::string RouteSummary(const GameState& g, bool legs) {
  char buf[512];
  std::string out;
  const std::vector<int> trail = MainTrail(g);
  std::snprintf(buf, sizeof buf, "main trail: %zu points, from point 0 to point %d%s\n",
                trail.size(), trail.back(),
                trail.back() == kEndingPoint ? " (the ending)" : " - THE ENDING IS NOT REACHED");
  out += buf;
  std::snprintf(buf, sizeof buf, "links reveal %zu points; %zu only-by-link points stay hidden\n",
                RevealOrder(g).size(), UnrevealablePoints(g).size());
  out += buf;
  if (legs) {
    out += "revealed in this order (point<buoy):";
    int n = 0;
    for (const Discovery& d : RevealOrder(g)) {
      std::snprintf(buf, sizeof buf, "%s %d<%d", n++ % 16 == 0 ? "\n " : "", d.point,
                    d.revealed_by);
      out += buf;
    }
    out += "\n";
  }
  const std::pair<const char*, PilotStyle> pilots[] = {
      {"careful", CarefulPilot()}, {"steady", SteadyPilot()}, {"careless", CarelessPilot()}};
  for (const auto& [label, style] : pilots) {
    const VoyageReport r = FlyVoyage(g, style);
    std::snprintf(buf, sizeof buf,
                  "%-8s pilot: %s; %d arrivals, %d surveys, %d frames (%.1f min at the pad); "
                  "lowest energy %.0f before point %d, lowest hull %.1f before point %d",
                  label, r.finished ? "reaches the ending" : "is lost", r.arrivals, r.surveys,
                  r.frames, r.frames / 600.0, r.lowest_energy, r.lowest_energy_at, r.lowest_hull,
                  r.lowest_hull_at);
    out += buf;
    if (r.first_dry_at >= 0) {
      std::snprintf(buf, sizeof buf, "; tank first empty before point %d", r.first_dry_at);
      out += buf;
    }
    if (r.lost_at >= 0) {
      std::snprintf(buf, sizeof buf, "; hull gone before point %d", r.lost_at);
      out += buf;
    }
    out += "\n";
    if (!legs || !style.side_trips) continue;
    for (const LegReport& leg : r.legs) {
      std::snprintf(buf, sizeof buf,
                    "  %3d -> %3d  %4d frames  energy %5.1f  resources %2d  hull %4.1f  "
                    "hazard frames %d%s%s\n",
                    leg.from, leg.to, leg.frames, leg.energy_after, leg.resources_after,
                    leg.hull_lowest, leg.zone_frames, leg.ran_dry ? "  EMPTY TANK" : "",
                    leg.known ? "" : "  TARGET NOT KNOWN YET");
      out += buf;
      for (int i : leg.in_the_way) {
        std::snprintf(buf, sizeof buf, "             in the way: point %d (kind %d)\n", i,
                      g.chart[static_cast<size_t>(i)].kind);
        out += buf;
      }
    }
  }
  return out;
}

}  // namespace qm
