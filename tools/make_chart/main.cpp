// Compiles the chart source (assets/chart/*.txt, UTF-8) into the game's dat/map.dat (CP932,
// CR LF, 12 lines per point). A chart with any problem is refused with every problem listed, and
// nothing is written, so a broken chart fails the build instead of the voyage.
//
//   make_chart [--route | --legs] [--language CODE] OUTPUT SOURCE... [--translation FILE...]
//
// --route also prints the route budget (the main trail and how three pilots fare on it); --legs
// adds every leg of the careful pilot. --language compiles another edition's chart
// (dat/<CODE>/map.dat): the points of the sources with the names and texts of the translation
// files (assets/chart/<CODE>/*.txt), measured in that edition's face and pages.

#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "make_chart/chart_route.h"
#include "make_chart/chart_source.h"
#include "make_chart/message_box_metrics.h"
#include "platform/edition.h"
#include "state/atomic_file.h"
#include "state/chart_file.h"
#include "whole_file.h"

namespace {

bool ReadFiles(const std::vector<std::string>& paths, std::vector<qm::ChartSourceFile>& out) {
  for (const std::string& path : paths) {
    qm::ChartSourceFile f{path, {}};
    if (!qm::tools::ReadWholeFile(path, f.text)) {
      std::fprintf(stderr, "make_chart: cannot read %s\n", path.c_str());
      return false;
    }
    out.push_back(std::move(f));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  bool route = false;
  bool legs = false;
  std::string language(qm::kJapanese);
  while (!args.empty() && (args.front() == "--route" || args.front() == "--legs" ||
                           (args.front() == "--language" && args.size() >= 2))) {
    if (args.front() == "--language") {
      language = args[1];
      args.erase(args.begin());
    } else {
      route = true;
      legs = legs || args.front() == "--legs";
    }
    args.erase(args.begin());
  }
  std::vector<std::string> translations;
  if (const auto t = std::find(args.begin(), args.end(), "--translation"); t != args.end()) {
    translations.assign(t + 1, args.end());
    args.erase(t, args.end());
  }
  if (args.size() < 2 || !qm::SetEdition(language) ||
      translations.empty() != (language == qm::kJapanese)) {
    std::fprintf(stderr,
                 "usage: make_chart [--route|--legs] [--language CODE] OUTPUT SOURCE... "
                 "[--translation FILE...]\n(CODE is an edition the game has; a translation is "
                 "given with it and only with it)\n");
    return 2;
  }
  std::vector<qm::ChartProblem> problems;
  std::vector<qm::ChartSourceFile> files;
  std::vector<qm::ChartSourceFile> translation_files;
  if (!ReadFiles({args.begin() + 1, args.end()}, files) ||
      !ReadFiles(translations, translation_files))
    return 1;
  auto records = qm::ParseChartSource(files, problems);
  if (!translation_files.empty()) {
    const auto words = qm::ParseChartSource(translation_files, problems);
    records = qm::TranslateChartRecords(records, words, problems);
  }
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
  if (!qm::TryWriteFileAtomically(args[0], qm::ChartFileBytes(game.chart))) {
    std::fprintf(stderr, "make_chart: cannot write %s\n", args[0].c_str());
    return 1;
  }
  if (route) std::printf("%s", qm::RouteSummary(game, legs).c_str());
  return 0;
}
