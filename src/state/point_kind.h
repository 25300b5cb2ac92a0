#pragma once

#include <array>
#include <cstdint>

namespace qm {

// What a chart point is: the number in its `kind` field. The chart file stores the number, so
// the values are fixed; the buoy variants differ only in their picture and their place on the
// trail.
enum class PointKind : std::int32_t {
  kNone = 0,  // an empty sector grid cell; no chart point of the shipped chart
  kAltairBuoy = 1,
  kVegaBuoy = 2,
  kRepairDock = 3,  // a buoy that also mends the hull and the fuel tank
  kEnergyStation = 4,
  kHotZone = 5,
  kAsteroidBelt = 6,
  kResourceDepot = 7,
  kSurveyBuoy = 8,
  kDistressBuoy = 9,
  kRelayBuoy = 10,
  kComet = 11,
  kGravityBody = 12,  // pulls the ship towards itself
  kNoiseZone = 13,    // static over the view, main-system faults
  kFlashZone = 14,    // zooms and white flashes, radar faults
  kWreck = 15,
  kBottle = 16,
  kSupplyPoint = 17,
  kWarp = 18,
  kSpecialPlanet = 19,
  kSmallPlanet = 20,  // Earth-type planets; a survey costs 3, 4 and 5 t
  kMediumPlanet = 21,
  kLargePlanet = 22,
};

constexpr int kFirstPointKind = 1;
constexpr int kLastPointKind = 22;

// The chart keeps kinds as plain numbers, so a point's kind is compared with a name directly.
constexpr bool operator==(std::int32_t number, PointKind kind) {
  return number == static_cast<std::int32_t>(kind);
}

// How a point of the kind is shown on the chart overlay once visited.
enum class ChartDot : std::uint8_t { kHidden, kAquaRing, kGreenRing, kRedRing };

// Everything the game does differently by kind, one row per kind.
struct PointKindTraits {
  bool has_picture;       // drawn as cg\bui<kind>.bmp, and the ship can run into it
  bool known_from_start;  // known on a new game, without a buoy revealing it
  bool zone;              // acts on the whole X-Z column through the sector grid
  bool buoy_call;         // every visit is a buoy call: links shown, ship serviced
  bool dock;              // the buoy call also mends the hull wall and the fuel tank
  bool records_position;  // the first arrival says the position is recorded
  bool grows_hold;        // the first arrival adds a tonne of hold
  bool supplies;          // the first arrival gives energy and resources by the point's figures
  bool listed_known;      // in the chart listing while known
  bool listed_visited;    // in the chart listing (with a star) once visited
  bool named_unvisited;   // an arrival shows its name and text before it is visited
  ChartDot chart_dot;
  std::int32_t survey_cost;  // resources a survey takes; 0 for a kind that is no planet to survey
};

namespace point_kind_detail {

constexpr bool kY = true;
constexpr bool kN = false;
constexpr ChartDot kNo = ChartDot::kHidden;
constexpr ChartDot kAq = ChartDot::kAquaRing;
constexpr ChartDot kGr = ChartDot::kGreenRing;
constexpr ChartDot kRd = ChartDot::kRedRing;
// A number that names no kind (a hand-edited chart) acts as the arrival code's "none of the
// others" makes it: a buoy without a picture, listed and shown, known from no start. Numbers
// from the planets' up are not named before their visit, as the planets are not.
// clang-format off
constexpr PointKindTraits kOtherLow =  {kN, kN, kN, kY, kN, kN, kY, kN, kY, kY, kY, kAq, 0};
constexpr PointKindTraits kOtherHigh = {kN, kN, kN, kY, kN, kN, kY, kN, kY, kY, kN, kAq, 0};
constexpr std::array<PointKindTraits, kLastPointKind + 1> kRows = {{
    // has_picture, known_from_start, zone, buoy_call, dock, records_position, grows_hold,
    // supplies, listed_known, listed_visited, named_unvisited, chart_dot, survey_cost
    kOtherLow,  // 0
    {kY, kN, kN, kY, kN, kY, kY, kY, kY, kY, kY, kAq, 0}, // 1
    {kY, kN, kN, kY, kN, kY, kY, kY, kY, kY, kY, kAq, 0}, // 2
    {kY, kY, kN, kY, kY, kY, kY, kY, kN, kY, kY, kAq, 0}, // 3
    {kY, kY, kN, kN, kN, kY, kN, kN, kN, kY, kY, kAq, 0}, // 4
    {kN, kY, kY, kN, kN, kN, kN, kN, kN, kN, kY, kNo, 0}, // 5
    {kN, kY, kY, kN, kN, kN, kN, kN, kN, kN, kY, kGr, 0}, // 6
    {kY, kY, kN, kN, kN, kN, kN, kN, kN, kN, kY, kNo, 0}, // 7
    {kY, kN, kN, kY, kN, kY, kY, kY, kY, kY, kY, kAq, 0}, // 8
    {kY, kN, kN, kY, kN, kY, kY, kY, kY, kY, kY, kAq, 0}, // 9
    {kY, kN, kN, kY, kN, kY, kY, kY, kY, kY, kY, kAq, 0}, // 10
    {kY, kY, kN, kN, kN, kN, kN, kN, kN, kN, kY, kNo, 0}, // 11
    {kY, kY, kN, kN, kN, kN, kN, kN, kN, kN, kY, kNo, 0}, // 12
    {kN, kY, kY, kN, kN, kN, kN, kN, kN, kN, kY, kNo, 0}, // 13
    {kN, kY, kY, kN, kN, kN, kN, kN, kN, kN, kY, kNo, 0}, // 14
    {kY, kY, kN, kN, kN, kN, kN, kN, kN, kN, kY, kNo, 0}, // 15
    {kY, kY, kN, kN, kN, kN, kN, kN, kN, kN, kY, kNo, 0}, // 16
    {kY, kY, kN, kN, kN, kN, kN, kY, kN, kN, kY, kGr, 0}, // 17
    {kY, kY, kN, kN, kN, kY, kN, kN, kN, kY, kY, kAq, 0}, // 18
    {kY, kN, kN, kN, kN, kY, kY, kN, kY, kY, kY, kRd, 0}, // 19
    {kY, kY, kN, kN, kN, kN, kN, kN, kN, kN, kN, kGr, 3},  // 20
    {kY, kY, kN, kN, kN, kN, kN, kN, kN, kN, kN, kGr, 4},  // 21
    {kY, kY, kN, kN, kN, kN, kN, kN, kN, kN, kN, kGr, 5},  // 22
}};
// clang-format on

}  // namespace point_kind_detail

constexpr const PointKindTraits& Traits(std::int32_t kind) {
  if (kind < 0) return point_kind_detail::kOtherLow;
  if (kind > kLastPointKind) return point_kind_detail::kOtherHigh;
  return point_kind_detail::kRows[static_cast<std::size_t>(kind)];
}

}  // namespace qm
