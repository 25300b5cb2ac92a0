// Compiles the chart source (assets/chart/*.txt, UTF-8) into the game's dat/map.dat (CP932,
// CR LF, 12 lines per point). A chart with any problem is refused with every problem listed, and
// nothing is written, so a broken chart fails the build instead of the voyage.
//
//   make_chart [--route | --legs] OUTPUT SOURCE...
//
// --route also prints the route budget (the main trail and how three pilots fare on it); --legs
// adds every leg of the careful pilot.

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "make_chart/chart_route.h"
#include "make_chart/message_box_metrics.h"
#include "state/chart_file.h"
#include "state/chart_source.h"

namespace {

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  out = s.str();
  return !in.bad();
}

// Written beside the target and renamed over it, so an interrupted build never leaves half a
// chart for the game to read.
bool WriteFile(const std::string& path, const std::string& bytes) {
  const std::string temp = path + ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return false;
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  bool route = false;
  bool legs = false;
  while (!args.empty() && (args.front() == "--route" || args.front() == "--legs")) {
    route = true;
    legs = legs || args.front() == "--legs";
    args.erase(args.begin());
  }
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: make_chart [--route|--legs] OUTPUT SOURCE...\n");
    return 2;
  }
  std::vector<qm::ChartSourceFile> files;
  for (size_t i = 1; i < args.size(); ++i) {
    qm::ChartSourceFile f{args[i], {}};
    if (!ReadFile(args[i], f.text)) {
      std::fprintf(stderr, "make_chart: cannot read %s\n", args[i].c_str());
      return 1;
    }
    files.push_back(std::move(f));
  }
  std::vector<qm::ChartProblem> problems;
  const auto records = qm::ParseChartSource(files, problems);
  qm::GameState game;
  const qm::MessageBoxMetrics box;
  for (auto& p : qm::CompileChart(records, box, game.chart))
    problems.push_back(std::move(p));
  if (problems.empty()) {
    qm::BuildGrid(game);
    qm::NewGame(game);
    bool ending_revealed = game.point_state[qm::kEndingPoint] >= 1;
    for (const qm::Discovery& d : qm::RevealOrder(game))
      ending_revealed = ending_revealed || d.point == qm::kEndingPoint;
    if (!ending_revealed)
      problems.push_back({"chart", 0, qm::kEndingPoint, "",
                          "no chain of buoy links from point 0 reveals it, so the voyage has no "
                          "ending"});
  }
  if (!problems.empty()) {
    for (const auto& p : problems)
      std::fprintf(stderr, "make_chart: %s\n", p.ToString().c_str());
    std::fprintf(stderr, "make_chart: the chart has %zu problem(s); %s was not written\n",
                 problems.size(), args[0].c_str());
    return 1;
  }
  if (!WriteFile(args[0], qm::ChartFileBytes(game.chart))) {
    std::fprintf(stderr, "make_chart: cannot write %s\n", args[0].c_str());
    return 1;
  }
  if (route) std::printf("%s", qm::RouteSummary(game, legs).c_str());
  return 0;
}
