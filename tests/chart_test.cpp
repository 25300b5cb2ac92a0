// The chart: the checker that guards the chart source, the bytes of dat/map.dat, and the shipped
// chart itself (a voyage that can be finished).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "built_game.h"
#include "make_chart/chart_route.h"
#include "make_chart/chart_source.h"
#include "make_chart/message_box_metrics.h"
#include "platform/cp932.h"
#include "state/chart_file.h"

namespace qm {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A chart source that passes every check: 400 buoys in a row of distinct sectors.
std::vector<std::string> ValidRecords() {
  std::vector<std::string> records;
  for (int i = 0; i < kChartPointCount; ++i) {
    std::ostringstream r;
    r << "[point " << i << "]\n"
      << "name = 標識" << i << "\n"
      << "text = 試験の記録。\n"
      << "x = " << (i % 61) - 30 << "\ny = 0\nz = " << (i / 61) - 30 << "\n"
      << "kind = 1\nsize = 6\nyield = 3\n";
    records.push_back(r.str());
  }
  return records;
}

// Replaces (or, with an empty value, removes) one field line of one record.
void SetField(std::vector<std::string>& records, int point, const std::string& field,
              const std::string& value) {
  std::string& r = records[static_cast<size_t>(point)];
  const std::string key = "\n" + field + " = ";
  size_t at = r.find(key);
  if (at == std::string::npos) {
    r += field + " = " + value + "\n";
    return;
  }
  size_t end = r.find('\n', at + 1);
  if (value.empty())
    r.erase(at + 1, end - at);
  else
    r.replace(at + 1, end - at - 1, field + " = " + value);
}

std::vector<ChartProblem> Compile(const std::vector<std::string>& records,
                                  std::array<ChartPoint, kChartPointCount>* out = nullptr) {
  std::string text = "# a test chart\n";
  for (const std::string& r : records)
    text += r + "\n";
  std::vector<ChartProblem> problems;
  auto parsed = ParseChartSource({{"test.txt", text}}, problems);
  std::array<ChartPoint, kChartPointCount> chart;
  for (auto& p : CompileChart(parsed, MessageBoxMetrics(), chart))
    problems.push_back(p);
  if (out != nullptr) *out = chart;
  return problems;
}

// The one problem a broken chart must give; anything else means the check is too loose or too
// eager.
ChartProblem OnlyProblem(const std::vector<std::string>& records) {
  auto problems = Compile(records);
  EXPECT_EQ(problems.size(), 1u);
  if (problems.size() != 1u) {
    for (const auto& p : problems)
      ADD_FAILURE() << p.ToString();
  }
  return problems.empty() ? ChartProblem{} : problems.front();
}

TEST(ChartChecker, AcceptsAWellFormedChart) {
  ASSERT_TRUE(MessageBoxMetrics().FaceFound());
  std::array<ChartPoint, kChartPointCount> chart;
  auto records = ValidRecords();
  SetField(records, 7, "next_point", "8   # a note after a number");
  EXPECT_TRUE(Compile(records, &chart).empty());
  EXPECT_EQ(chart[7].next_point, 8);
  EXPECT_EQ(chart[7].name, Sj("標識7"));
  EXPECT_EQ(chart[0].x, -30);
  EXPECT_EQ(chart[399].next_point_2, -1);
}

TEST(ChartChecker, RefusesAMissingOrRepeatedIndex) {
  auto records = ValidRecords();
  records.erase(records.begin() + 5);
  EXPECT_NE(OnlyProblem(records).message.find("missing: 5"), std::string::npos);

  records = ValidRecords();
  records[6] = records[5];
  SetField(records, 6, "x", "30");
  SetField(records, 6, "y", "9");
  auto problems = Compile(records);
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_EQ(problems[0].point, 5);
  EXPECT_EQ(problems[0].line, 62);
  EXPECT_NE(problems[0].message.find("given twice (first at test.txt:52)"), std::string::npos);
  EXPECT_NE(problems[1].message.find("missing: 6"), std::string::npos);

  records = ValidRecords();
  records[399].replace(0, 11, "[point 400]");
  EXPECT_EQ(Compile(records).size(), 2u);  // out of range, and 399 missing
}

TEST(ChartChecker, RefusesCoordinatesOutsideSpace) {
  for (const char* field : {"x", "y", "z"}) {
    for (const char* value : {"31", "-31"}) {
      auto records = ValidRecords();
      SetField(records, 12, field, value);
      ChartProblem p = OnlyProblem(records);
      EXPECT_EQ(p.point, 12);
      EXPECT_EQ(p.field, field);
      EXPECT_NE(p.message.find("outside -30..30"), std::string::npos);
    }
  }
}

TEST(ChartChecker, RefusesKindsOutsideTheArrivalTable) {
  for (const char* value : {"0", "23", "buoy", "1.5"}) {
    auto records = ValidRecords();
    SetField(records, 3, "kind", value);
    ChartProblem p = OnlyProblem(records);
    EXPECT_EQ(p.field, "kind") << value;
  }
}

TEST(ChartChecker, RefusesLinksToNowhereAndLinksThatAreNeverShown) {
  for (const char* field : {"next_point", "next_point_2", "extra_point"}) {
    for (const char* value : {"400", "-2"}) {
      auto records = ValidRecords();
      SetField(records, 9, field, value);
      ChartProblem p = OnlyProblem(records);
      EXPECT_EQ(p.field, field);
      EXPECT_EQ(p.point, 9);
    }
  }
  auto records = ValidRecords();
  SetField(records, 9, "kind", "17");
  SetField(records, 9, "next_point", "10");
  EXPECT_NE(OnlyProblem(records).message.find("only a buoy"), std::string::npos);
}

TEST(ChartChecker, RefusesTextsTheGameCannotHoldOrShow) {
  auto records = ValidRecords();
  SetField(records, 4, "name", "ロケット🚀");
  ChartProblem p = OnlyProblem(records);
  EXPECT_EQ(p.field, "name");
  EXPECT_NE(p.message.find("CP932"), std::string::npos);

  records = ValidRecords();
  SetField(records, 4, "text", "一行目\t二行目");
  EXPECT_NE(OnlyProblem(records).message.find("single line"), std::string::npos);

  records = ValidRecords();
  SetField(records, 4, "text", "");
  EXPECT_EQ(OnlyProblem(records).message, "is missing");

  // The field is there, with nothing after its "=".
  records = ValidRecords();
  SetField(records, 4, "text", " ");
  EXPECT_EQ(OnlyProblem(records).message, "is empty");
}

TEST(ChartChecker, MeasuresTheArrivalPageWithTheBoxFont) {
  const MessageBoxMetrics box;
  ASSERT_EQ(box.LineHeight(), 16);  // seven lines fill the 113 px box
  std::string fits;
  while (box.Lines(QString::fromStdString(ArrivalPageUtf8("標識", fits + "星"))).size() <= 7)
    fits += "星";
  auto records = ValidRecords();
  SetField(records, 20, "name", "標識");
  SetField(records, 20, "text", fits);
  EXPECT_TRUE(Compile(records).empty());
  SetField(records, 20, "text", fits + "星");
  ChartProblem p = OnlyProblem(records);
  EXPECT_EQ(p.field, "text");
  EXPECT_NE(p.message.find("does not fit the message box: 8 lines, 128 px"), std::string::npos);

  // A carriage return starts a line; a closing mark never does, it takes a character along.
  EXPECT_EQ(box.Lines(QStringLiteral("あ\rい")).size(), 2);
  QString line;
  while (box.Lines(line + QStringLiteral("星")).size() == 1)
    line += QStringLiteral("星");
  const QStringList wrapped = box.Lines(line + QStringLiteral("、"));
  ASSERT_EQ(wrapped.size(), 2);
  EXPECT_EQ(wrapped[1], QStringLiteral("星、"));

  // The chart listing gives each point one line of the box.
  std::string long_name;
  for (int i = 0; i < 30; ++i)
    long_name += "長";
  records = ValidRecords();
  SetField(records, 21, "name", long_name);
  p = OnlyProblem(records);
  EXPECT_EQ(p.field, "name");
  EXPECT_NE(p.message.find("chart listing"), std::string::npos);
}

TEST(ChartChecker, RefusesBrokenSyntaxWithTheLineNamed) {
  auto records = ValidRecords();
  records[2] += "colour = red\n";
  ChartProblem p = OnlyProblem(records);
  EXPECT_EQ(p.field, "colour");
  EXPECT_EQ(p.ToString(), "test.txt:" + std::to_string(p.line) +
                              ": point 2, colour: " + "is not a field of a point");
  // Line 1 is the comment, then 9 lines per record and a blank line after each.
  EXPECT_EQ(p.line, 1 + 2 * 10 + 10);

  records = ValidRecords();
  records[2] += "size = 9\n";
  EXPECT_NE(OnlyProblem(records).message.find("given twice"), std::string::npos);

  records = ValidRecords();
  records[2] += "just some words\n";
  EXPECT_NE(OnlyProblem(records).message.find("neither a comment"), std::string::npos);

  records = ValidRecords();
  records[2].replace(0, 9, "[pont 2]");
  EXPECT_FALSE(Compile(records).empty());
}

TEST(ChartChecker, RefusesPointsThatHideEachOther) {
  auto records = ValidRecords();
  SetField(records, 30, "x", "-30");  // point 0's sector
  ChartProblem p = OnlyProblem(records);
  EXPECT_EQ(p.point, 0);
  EXPECT_NE(p.message.find("shares its sector with point 30"), std::string::npos);

  // A belt cell that a later point in its column would take out of the grid.
  records = ValidRecords();
  SetField(records, 1, "kind", "6");
  SetField(records, 1, "size", "0");
  SetField(records, 1, "yield", "");
  SetField(records, 50, "x", "-29");
  SetField(records, 50, "z", "-30");
  SetField(records, 50, "y", "5");
  EXPECT_NE(OnlyProblem(records).message.find("give the zone the higher index"), std::string::npos);
  // The same cell with the higher index is fine.
  SetField(records, 50, "kind", "6");
  SetField(records, 50, "size", "0");
  SetField(records, 50, "yield", "");
  SetField(records, 1, "kind", "1");
  SetField(records, 1, "size", "6");
  EXPECT_TRUE(Compile(records).empty());
}

TEST(ChartChecker, RefusesValuesThatMakeNoSense) {
  auto records = ValidRecords();
  SetField(records, 40, "size", "0");
  EXPECT_NE(OnlyProblem(records).message.find("never be seen"), std::string::npos);

  records = ValidRecords();
  SetField(records, 40, "kind", "21");
  SetField(records, 40, "yield", "6");
  EXPECT_EQ(OnlyProblem(records).field, "yield");
}

TEST(ChartFile, IsTwelveCrLfLinesAPointInTheGamesFieldOrder) {
  std::array<ChartPoint, kChartPointCount> chart;
  chart[0] = {Sj("始点"), Sj("記録。"), -3, 4, -5, 7, 2, 6, 8, 9, 10, 11};
  const std::string bytes = ChartFileBytes(chart);
  const std::string first = Sj("始点") + "\r\n" + Sj("記録。") +
                            "\r\n-3\r\n4\r\n-5\r\n2\r\n7\r\n6\r\n9\r\n10\r\n11\r\n8\r\n";
  EXPECT_EQ(bytes.substr(0, first.size()), first);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 4800);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 4800);
  // A point left empty is written as an empty name and text and zeros, links -1.
  EXPECT_NE(bytes.find("\r\n\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-1\r\n-1\r\n-1\r\n0\r\n"),
            std::string::npos);
}

// ---- The shipped chart ------------------------------------------------------------------------

std::filesystem::path ChartSourceDir() {
  return QM_CHART_SOURCE_DIR;
}

// The chart as the game reads it at start-up, then a new game on it.
GameState ShippedNewGame() {
  GameState g;
  ReadChart((testing::BuiltGame() / "dat" / "map.dat").string(), g);
  BuildGrid(g);
  NewGame(g);
  return g;
}

TEST(ShippedChart, IsTheChartSourceCompiled) {
  std::vector<ChartSourceFile> files;
  std::set<std::filesystem::path> paths;
  for (const auto& e : std::filesystem::directory_iterator(ChartSourceDir()))
    if (e.path().extension() == ".txt") paths.insert(e.path());
  for (const auto& path : paths)
    files.push_back({path.filename().string(), ReadAll(path)});
  std::vector<ChartProblem> problems;
  auto records = ParseChartSource(files, problems);
  std::array<ChartPoint, kChartPointCount> chart;
  for (auto& p : CompileChart(records, MessageBoxMetrics(), chart))
    problems.push_back(p);
  for (const auto& p : problems)
    ADD_FAILURE() << p.ToString();
  EXPECT_EQ(ChartFileBytes(chart), ReadAll(testing::BuiltGame() / "dat" / "map.dat"))
      << "dat/map.dat is older than the chart source";
}

TEST(ShippedChart, NewGameKnowsPointZeroAndTheKindsThatNeedNoBuoy) {
  const GameState g = ShippedNewGame();
  const std::set<int> known_kinds = {3, 4, 5, 6, 7, 11, 12, 13, 14, 15, 16, 17, 18, 20, 21, 22};
  for (int i = 0; i < kChartPointCount; ++i) {
    const bool known = i == 0 || known_kinds.count(g.chart[static_cast<size_t>(i)].kind) > 0;
    EXPECT_EQ(g.point_state[static_cast<size_t>(i)], known ? 1 : 0) << "point " << i;
  }
}

TEST(ShippedChart, StartsBesideTheShipAndLeadsToTheEnding) {
  const GameState g = ShippedNewGame();
  const ChartPoint& start = g.chart[0];
  EXPECT_EQ(start.x, 0);
  EXPECT_EQ(start.y, 0);
  EXPECT_EQ(start.z, 0);
  EXPECT_TRUE(Traits(start.kind).buoy_call);
  // The clue that starts the story is a point the ship does not know yet.
  ASSERT_GE(start.next_point, 1);
  EXPECT_EQ(g.point_state[static_cast<size_t>(start.next_point)], 0);
  const auto order = RevealOrder(g);
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.front().point, start.next_point);
  EXPECT_EQ(order.front().revealed_by, 0);

  const auto trail = MainTrail(g);
  EXPECT_EQ(trail.back(), kEndingPoint);
  EXPECT_GE(trail.size(), 25u) << "a voyage, not a hop";
  EXPECT_TRUE(UnrevealablePoints(g).empty()) << "every buoy and special planet can be found";
  // Zones may stand beside the trail, but a trail buoy is never itself inside one.
  for (int t : trail) {
    const ChartPoint& p = g.chart[static_cast<size_t>(t)];
    EXPECT_FALSE(Traits(g.GridCell(p.x, p.z)).zone) << "point " << t;
  }
}

TEST(ShippedChart, HoldsEveryKindAndEverySurveyOutcome) {
  const GameState g = ShippedNewGame();
  std::map<int, int> kinds;
  std::set<std::pair<int, int>> outcomes;
  for (const ChartPoint& p : g.chart) {
    ++kinds[p.kind];
    if (Traits(p.kind).survey_cost > 0) outcomes.insert({p.kind, p.yield});
  }
  for (int k = kFirstPointKind; k <= kLastPointKind; ++k)
    EXPECT_GE(kinds[k], k == PointKind::kWarp ? 2 : 4) << "kind " << k;
  std::set<int> outcome_seen;
  for (auto [kind, outcome] : outcomes)
    outcome_seen.insert(outcome);
  EXPECT_EQ(outcome_seen, (std::set<int>{0, 1, 2, 3, 4, 5}));
}

TEST(ShippedChart, CarefulPilotsFinishAndCarelessOnesRunDry) {
  const GameState g = ShippedNewGame();
  const VoyageReport careful = FlyVoyage(g, CarefulPilot());
  EXPECT_TRUE(careful.finished);
  EXPECT_GE(careful.lowest_energy, 20);
  EXPECT_LT(careful.first_dry_at, 0);
  for (const LegReport& leg : careful.legs)
    EXPECT_TRUE(leg.known) << "the route flies to point " << leg.to << " before it is known";
  // Satisfying but not endless: half an hour to an hour at the pad, reading not counted.
  EXPECT_GT(careful.frames, 20 * 600);
  EXPECT_LT(careful.frames, 60 * 600);

  const VoyageReport steady = FlyVoyage(g, SteadyPilot());
  EXPECT_TRUE(steady.finished) << "the main trail alone carries a pilot who uses the converter";
  // Straight flights along the trail meet nothing but the gravity wells the beacons warn of.
  int wells = 0;
  for (const LegReport& leg : steady.legs) {
    for (int i : leg.in_the_way) {
      EXPECT_EQ(g.chart[static_cast<size_t>(i)].kind, 12) << leg.from << " -> " << leg.to;
      ++wells;
    }
  }
  EXPECT_GE(wells, 2);

  const VoyageReport careless = FlyVoyage(g, CarelessPilot());
  EXPECT_GE(careless.first_dry_at, 0);
  EXPECT_FALSE(careless.finished);
}

// ---- The route checker on charts of its own ---------------------------------------------------

GameState TinyChart() {
  GameState g;
  for (int i = 0; i < kChartPointCount; ++i) {
    ChartPoint& p = g.chart[static_cast<size_t>(i)];
    p.kind = 16;  // bottles everywhere: known, no links
    p.x = (i % 61) - 30;
    p.y = 30;
    p.z = (i / 61) - 30;
  }
  auto buoy = [&g](int i, int x, int z, int next) {
    ChartPoint& p = g.chart[static_cast<size_t>(i)];
    p = ChartPoint{};
    p.kind = 1;
    p.x = x;
    p.z = z;
    p.yield = 5;
    p.next_point = next;
  };
  buoy(0, 0, 0, 1);
  buoy(1, 0, 4, 2);
  buoy(2, 0, 8, kEndingPoint);
  buoy(kEndingPoint, 0, 12, -1);
  BuildGrid(g);
  NewGame(g);
  return g;
}

TEST(RouteChecker, FollowsTheLinksBreadthFirst) {
  GameState g = TinyChart();
  g.chart[1].next_point_2 = 5;  // a bottle: known already, so not a discovery
  g.chart[1].extra_point = 6;
  g.chart[6].kind = 19;
  g.point_state[6] = 0;
  const auto order = RevealOrder(g);
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(order[0].point, 1);
  EXPECT_EQ(order[1].point, 2);
  EXPECT_EQ(order[2].point, 6);
  EXPECT_EQ(order[2].link, 2);
  EXPECT_EQ(order[3].point, kEndingPoint);
  EXPECT_EQ(MainTrail(g), (std::vector<int>{0, 1, 2, kEndingPoint}));

  // A trail that turns back on itself ends where it repeats, and the ending is then unreachable.
  g.chart[2].next_point = 1;
  EXPECT_EQ(MainTrail(g), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(UnrevealablePoints(g), (std::vector<int>{kEndingPoint}));
}

TEST(RouteChecker, EmptyTankCostsHullUntilABuoyMendsIt) {
  GameState g = TinyChart();
  EXPECT_TRUE(FlyVoyage(g, CarelessPilot()).finished);
  // The last buoy moved to the far corner: a long flight on a small tank.
  g.energy = 60;
  g.chart[kEndingPoint].x = 30;
  g.chart[kEndingPoint].z = 30;
  const VoyageReport r = FlyVoyage(g, CarelessPilot());
  EXPECT_EQ(r.first_dry_at, kEndingPoint);
  EXPECT_FALSE(r.finished);
  EXPECT_EQ(r.lost_at, kEndingPoint);
  // Nearer, the hull suffers but holds, and the last buoy's call would mend it.
  g.chart[kEndingPoint].x = 10;
  g.chart[kEndingPoint].z = 20;
  const VoyageReport near = FlyVoyage(g, CarelessPilot());
  EXPECT_EQ(near.first_dry_at, kEndingPoint);
  EXPECT_TRUE(near.finished);
  EXPECT_LT(near.lowest_hull, 10);
  EXPECT_GT(near.lowest_hull, 0);
}

}  // namespace
}  // namespace qm
