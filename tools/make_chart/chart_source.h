#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "cockpit/cockpit_state.h"
#include "state/game_state.h"

namespace qm {

// The chart is written by hand in UTF-8 files under assets/chart/ and compiled into dat/map.dat
// when the game is built. A record looks like
//
//   [point 12]
//   name = 第三標識ブイ
//   text = 先行船団が残した…
//   x = 4
//   next_point = 13   # a note after a number is allowed
//   ...
//
// Lines starting with # are comments. A designer's mistake must stop the build with a message
// that names the file, the line, the point and the field, never ship a chart the game chokes on.

// One source file, read whole.
struct ChartSourceFile {
  std::string name;
  std::string text;  // UTF-8
};

// One thing wrong with the chart, and where it is.
struct ChartProblem {
  std::string file;
  int line = 0;       // 0 when the problem belongs to no line (a point missing altogether)
  int point = -1;     // -1 when it belongs to no record
  std::string field;  // empty when it belongs to the whole record
  std::string message;

  std::string ToString() const;
};

struct ChartField {
  std::string value;  // UTF-8, trimmed
  int line = 0;
};

struct ChartRecord {
  int index = -1;
  std::string file;
  int line = 0;
  std::map<std::string, ChartField> fields;
};

// How the message box the arrival page is shown in lays out a text: a 377 x 113 label. The
// build measures with the real face (tools/make_chart); the checker only asks.
class PageMeasure {
 public:
  static constexpr int kWidth = kMessageTextWidth;
  static constexpr int kHeight = kMessageTextHeight;

  virtual ~PageMeasure() = default;
  // False when the machine lacks the face; measuring with a stand-in would prove nothing.
  virtual bool FaceFound() const = 0;
  virtual QString FaceName() const = 0;
  // The lines the label shows: CR (or LF) breaks a line, and a line longer than the box wraps.
  virtual QStringList Lines(const QString& text) const = 0;
  virtual int LineHeight() const = 0;
  virtual int Width(const QString& text) const = 0;
  // The arrival page of a point and its line on the chart listing, as the box shows them in the
  // measured edition (UTF-8 in, Unicode out); the Japanese edition's forms unless told otherwise.
  virtual QString ArrivalPage(const std::string& name_utf8, const std::string& text_utf8) const;
  virtual QString ListingLine(const std::string& name_utf8, int x, int y, int z) const;
};

// Reads the records of all files; syntax problems are collected, not thrown.
std::vector<ChartRecord> ParseChartSource(const std::vector<ChartSourceFile>& files,
                                          std::vector<ChartProblem>& problems);

// The chart of another edition: the records with the names and texts of `translation` (records
// of the same form holding only those two fields) in place of their own. Every point must be
// translated, name and text, in plain ASCII; the coordinates, kinds and links stay the chart's
// own, so the editions cannot drift apart. Problems are collected, as by the parser.
std::vector<ChartRecord> TranslateChartRecords(const std::vector<ChartRecord>& records,
                                               const std::vector<ChartRecord>& translation,
                                               std::vector<ChartProblem>& problems);

// Checks the records and fills `chart` (CP932 texts) from them. Returns every problem found; the
// chart is fit to ship only when none is returned.
std::vector<ChartProblem> CompileChart(const std::vector<ChartRecord>& records,
                                       const PageMeasure& box,
                                       std::array<ChartPoint, kChartPointCount>& chart);

// The arrival page of a point as the box shows it, in UTF-8: "【name】 " CR text.
std::string ArrivalPageUtf8(const std::string& name_utf8, const std::string& text_utf8);

}  // namespace qm
