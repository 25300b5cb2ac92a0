#include "state/chart_file.h"

#include <algorithm>
#include <charconv>

#include "platform/edition.h"
#include "platform/game_folder.h"
#include "state/text_reader.h"

namespace qm {
namespace {

std::int32_t CheckedLink(std::int32_t link) {
  return link >= -1 && link < kChartPointCount ? link : -1;
}

}  // namespace

std::string ChartPath() {
  // Each edition has its own chart: the same points with their names and texts in its language.
  return GamePath(EditionPath("\\dat\\map.dat"));
}

void ReadChart(const std::string& path, GameState& state) {
  ParseChart(ReadTextFile(path), state.chart);
}

void ParseChart(std::string_view bytes, std::array<ChartPoint, kChartPointCount>& chart) {
  TextReader reader(bytes);
  // The file keeps the fields in its own order: kind before size, the resource gain last.
  for (ChartPoint& point : chart) {
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
}

std::string ChartFileBytes(const std::array<ChartPoint, kChartPointCount>& chart) {
  // Written through a cursor into room measured beforehand: the writer runs for every input of
  // the parser's fuzzer, where a capacity check per append is most of the cost.
  constexpr std::size_t kNumberRoom = 11 + 2;  // "-2147483648" CR LF
  std::size_t room = 0;
  for (const ChartPoint& p : chart)
    room += p.name.size() + p.text.size() + 4 + 10 * kNumberRoom;
  std::string out(room, '\0');
  char* cursor = out.data();
  auto line_end = [&cursor] {
    *cursor++ = '\r';
    *cursor++ = '\n';
  };
  for (const ChartPoint& p : chart) {
    for (const std::string* text : {&p.name, &p.text}) {
      cursor = std::copy(text->begin(), text->end(), cursor);
      line_end();
    }
    for (std::int32_t v : {p.x, p.y, p.z, p.kind, p.size, p.yield, p.next_point, p.next_point_2,
                           p.extra_point, p.resource_gain}) {
      cursor = std::to_chars(cursor, cursor + kNumberRoom, v).ptr;
      line_end();
    }
  }
  out.resize(static_cast<std::size_t>(cursor - out.data()));
  return out;
}

}  // namespace qm
