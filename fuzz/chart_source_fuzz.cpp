// Any bytes as the chart's source files (a 0xFF byte starts the next file): the checker names
// problems instead of crashing, every problem it names points into the files it was given, and
// whatever chart it compiles, fit to ship or not, is written as map.dat and read back by the game
// unchanged: the checker must never let a text through that the game's reader would cut.

#include <cstdint>
#include <memory>
#include <vector>

#include "fuzz_game.h"
#include "make_chart/chart_source.h"
#include "make_chart/message_box_metrics.h"
#include "state/chart_file.h"

namespace {

using qm::fuzz::Check;

std::vector<qm::ChartSourceFile> Files(const std::uint8_t* data, std::size_t size) {
  std::vector<qm::ChartSourceFile> files(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF) {
      files.push_back({});
      continue;
    }
    files.back().text.push_back(static_cast<char>(data[i]));
  }
  for (std::size_t i = 0; i < files.size(); ++i)
    files[i].name = "points" + std::to_string(i) + ".txt";
  return files;
}

int Lines(const std::string& text) {
  int n = 1;
  for (char c : text)
    n += c == '\n' ? 1 : 0;
  return n;
}

void CheckWhere(const std::vector<qm::ChartProblem>& problems,
                const std::vector<qm::ChartSourceFile>& files) {
  for (const qm::ChartProblem& p : problems) {
    Check(!p.message.empty(), "problem without a message");
    p.ToString();
    for (const qm::ChartSourceFile& f : files) {
      if (f.name == p.file) Check(p.line >= 0 && p.line <= Lines(f.text), "line outside file");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qm::fuzz::SetUp("chart-source-fuzz");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const qm::MessageBoxMetrics box;
  Check(box.FaceFound(), "the message box face is not installed");
  const std::vector<qm::ChartSourceFile> files = Files(data, size);
  std::vector<qm::ChartProblem> problems;
  const std::vector<qm::ChartRecord> records = qm::ParseChartSource(files, problems);
  CheckWhere(problems, files);
  auto chart = std::make_unique<std::array<qm::ChartPoint, qm::kChartPointCount>>();
  const std::vector<qm::ChartProblem> found = qm::CompileChart(records, box, *chart);
  CheckWhere(found, files);

  const std::string bytes = qm::ChartFileBytes(*chart);
  qm::fuzz::WriteFile(qm::ChartPath(), reinterpret_cast<const std::uint8_t*>(bytes.data()),
                      bytes.size());
  auto game = std::make_unique<qm::GameState>();
  qm::ReadChart(qm::ChartPath(), *game);
  for (int i = 0; i < qm::kChartPointCount; ++i) {
    const qm::ChartPoint& a = (*chart)[static_cast<size_t>(i)];
    const qm::ChartPoint& b = game->chart[static_cast<size_t>(i)];
    Check(a.name == b.name && a.text == b.text, "texts round trip");
    Check(a.x == b.x && a.y == b.y && a.z == b.z && a.kind == b.kind && a.size == b.size &&
              a.yield == b.yield && a.resource_gain == b.resource_gain &&
              a.next_point == b.next_point && a.next_point_2 == b.next_point_2 &&
              a.extra_point == b.extra_point,
          "numbers round trip");
  }
  return 0;
}
