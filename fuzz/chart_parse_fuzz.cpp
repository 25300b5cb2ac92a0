// Any bytes as the chart's text, parsed in memory: every link lands inside the chart, no text
// holds more bytes than the input or a line end, and a chart read whole is written and parsed
// back to the same chart. The deep target (chart_fuzz) loads and flies; this one searches the
// format itself.

#include <array>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "state/chart_file.h"
#include "state/file_error.h"

using qm::fuzz::Check;

namespace {

using Chart = std::array<qm::ChartPoint, qm::kChartPointCount>;

void CheckChart(const Chart& chart, std::size_t size) {
  std::size_t text_bytes = 0;
  for (const qm::ChartPoint& p : chart) {
    for (std::int32_t link : {p.next_point, p.next_point_2, p.extra_point})
      Check(link >= -1 && link < qm::kChartPointCount, "link outside the chart");
    for (const std::string* text : {&p.name, &p.text})
      Check(text->find_first_of("\r\n") == std::string::npos, "a line end inside a text");
    text_bytes += p.name.size() + p.text.size();
  }
  Check(text_bytes <= size, "texts longer than the file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Kept from input to input: a parse sets every field of every point, and the allocator is most
  // of a run's time otherwise.
  static auto* chart = new Chart();
  static auto* again = new Chart();
  // Points after a failure keep what they held, so each input starts from empty points.
  chart->fill(qm::ChartPoint{});
  bool whole = true;
  try {
    qm::ParseChart(std::string_view(reinterpret_cast<const char*>(data), size), *chart);
  } catch (const qm::FileFailure& failure) {
    Check(failure.code() == qm::kNotANumber, "a parse fails only on a non-number");
    whole = false;
  }
  CheckChart(*chart, size);
  if (!whole) return 0;

  const std::string written = qm::ChartFileBytes(*chart);
  try {
    qm::ParseChart(written, *again);
  } catch (const qm::FileFailure&) {
    Check(false, "a written chart does not parse");
  }
  Check(*again == *chart, "the chart read back differs");
  return 0;
}
