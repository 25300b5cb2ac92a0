#include "state/chart_file.h"

#include "platform/game_folder.h"
#include "state/text_reader.h"

namespace qm {
namespace {

std::int32_t CheckedLink(std::int32_t link) {
  return link >= -1 && link < kChartPointCount ? link : -1;
}

}  // namespace

std::string ChartPath() {
  return GamePath("\\dat\\map.dat");
}

void ReadChart(const std::string& path, GameState& state) {
  TextReader reader(path);
  // The file keeps the fields in its own order: kind before size, the resource gain last.
  for (ChartPoint& point : state.chart) {
    point.name = reader.ReadText();
    point.text = reader.ReadText();
    point.x = reader.ReadNumber();
    point.y = reader.ReadNumber();
    point.z = reader.ReadNumber();
    point.kind = reader.ReadNumber();
    point.size = reader.ReadNumber();
    point.yield = reader.ReadNumber();
    point.next_point = CheckedLink(reader.ReadNumber());
    point.next_point_2 = CheckedLink(reader.ReadNumber());
    point.extra_point = CheckedLink(reader.ReadNumber());
    point.resource_gain = reader.ReadNumber();
  }
  reader.Close();
}

}  // namespace qm
