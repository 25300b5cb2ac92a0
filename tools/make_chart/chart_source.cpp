#include "make_chart/chart_source.h"

#include <QStringList>
#include <algorithm>
#include <optional>
#include <set>

#include "platform/cp932.h"
#include "platform/decimal.h"
#include "platform/gcc12_false_warnings.h"

namespace qm {
namespace {

constexpr const char* kRequiredFields[] = {"name", "text", "x", "y", "z", "kind", "size"};
constexpr const char* kOptionalFields[] = {"yield", "resource_gain", "next_point", "next_point_2",
                                           "extra_point"};

bool IsKnownField(const std::string& key) {
  for (const char* f : kRequiredFields)
    if (key == f) return true;
  for (const char* f : kOptionalFields)
    if (key == f) return true;
  return false;
}

std::string Trim(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t'))
    ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
    --e;
  return s.substr(b, e - b);
}

std::optional<int> ParseInt(const std::string& s) {
  return ParseWholeDecimal(s);
}

// "[point 12]" gives 12; anything else in brackets is a bad header.
std::optional<int> ParseHeader(const std::string& line) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
  std::string inner = Trim(line.substr(1, line.size() - 2));
  if (inner.rfind("point", 0) != 0) return std::nullopt;
  std::string number = Trim(inner.substr(5));
  if (number.empty() || number == inner.substr(5)) return std::nullopt;  // needs the blank
  return ParseInt(number);
}

std::string RangesText(const std::vector<int>& v) {
  std::string out;
  for (size_t i = 0; i < v.size();) {
    size_t j = i;
    while (j + 1 < v.size() && v[j + 1] == v[j] + 1)
      ++j;
    if (!out.empty()) out += ", ";
    out += std::to_string(v[i]);
    if (j > i) out += ".." + std::to_string(v[j]);
    i = j + 1;
  }
  return out;
}

// Collects the problems of one record while it is compiled.
class RecordChecker {
 public:
  RecordChecker(const ChartRecord& r, std::vector<ChartProblem>& problems)
      : r_(r), problems_(problems) {}

  void Problem(const std::string& field, const std::string& message) {
    faulty_.insert(field);
    auto it = r_.fields.find(field);
    int line = it == r_.fields.end() ? r_.line : it->second.line;
    problems_.push_back({r_.file, line, r_.index, field, message});
  }

  bool Faulty(const std::string& field) const { return faulty_.count(field) > 0; }

  const std::string* Value(const std::string& field) {
    auto it = r_.fields.find(field);
    return it == r_.fields.end() ? nullptr : &it->second.value;
  }

  // A number field; `fallback` when an optional field is left out.
  int Number(const std::string& field, int lo, int hi, int fallback) {
    const std::string* v = Value(field);
    if (v == nullptr) return fallback;
    auto n = ParseInt(*v);
    if (!n) {
      Problem(field, "\"" + *v + "\" is not a whole number");
      return fallback;
    }
    if (*n < lo || *n > hi) {
      Problem(field,
              std::to_string(*n) + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
      return fallback;
    }
    return *n;
  }

  // A text field as CP932 bytes; empty on any problem.
  std::string Text(const std::string& field) {
    const std::string* v = Value(field);
    if (v == nullptr) return {};
    if (v->empty()) {
      Problem(field, "is empty");
      return {};
    }
    for (unsigned char c : *v) {
      if (c < 0x20 || c == 0x7F) {
        Problem(field, "holds a control character; texts are single lines");
        return {};
      }
    }
    auto sj = Cp932FromUtf8(*v);
    if (!sj) {
      Problem(field, "holds a character that has no Shift-JIS (CP932) form");
      return {};
    }
    return *sj;
  }

 private:
  const ChartRecord& r_;
  std::vector<ChartProblem>& problems_;
  std::set<std::string> faulty_;
};

void CheckFits(RecordChecker& rc, const ChartPoint& p, const PageMeasure& box) {
  const std::string* name = rc.Value("name");
  const std::string* text = rc.Value("text");
  if (p.name.empty() || p.text.empty() || name == nullptr || text == nullptr) return;
  const QStringList lines = box.Lines(box.ArrivalPage(*name, *text));
  const int height = static_cast<int>(lines.size()) * box.LineHeight();
  if (height > PageMeasure::kHeight) {
    rc.Problem("text",
               "the arrival page does not fit the message box: " + std::to_string(lines.size()) +
                   " lines, " + std::to_string(height) + " px of " +
                   std::to_string(PageMeasure::kHeight) + "; the last line shown would be \"" +
                   lines[PageMeasure::kHeight / box.LineHeight() - 1].toStdString() + "\"");
  }
  // Listed points show one line per point on the chart page, six to a page.
  if (Traits(p.kind).listed_visited) {
    const int width = box.Width(box.ListingLine(*name, p.x, p.y, p.z));
    if (width > PageMeasure::kWidth)
      rc.Problem("name", "is too long for one line of the chart listing (" + std::to_string(width) +
                             " px of " + std::to_string(PageMeasure::kWidth) + ")");
  }
}

// Returns whether the point has a place (coordinates and kind) that the later checks can use.
bool CompileRecord(const ChartRecord& r, const PageMeasure& box, ChartPoint& p,
                   std::vector<ChartProblem>& problems) {
  RecordChecker rc(r, problems);
  for (const char* f : kRequiredFields)
    if (rc.Value(f) == nullptr) rc.Problem(f, "is missing");
  p.name = rc.Text("name");
  p.text = rc.Text("text");
  p.x = rc.Number("x", kSectorMin, kSectorMax, 0);
  p.y = rc.Number("y", kSectorMin, kSectorMax, 0);
  p.z = rc.Number("z", kSectorMin, kSectorMax, 0);
  p.kind = rc.Number("kind", kFirstPointKind, kLastPointKind, 0);
  p.size = rc.Number("size", 0, 100, 0);
  p.yield = rc.Number("yield", 0, 999, 0);
  p.resource_gain = rc.Number("resource_gain", 0, 99, 0);
  p.next_point = rc.Number("next_point", -1, kChartPointCount - 1, -1);
  p.next_point_2 = rc.Number("next_point_2", -1, kChartPointCount - 1, -1);
  p.extra_point = rc.Number("extra_point", -1, kChartPointCount - 1, -1);
  if (p.kind == PointKind::kNone) return false;
  if (Traits(p.kind).has_picture && p.size == 0 && rc.Value("size") != nullptr &&
      !rc.Faulty("size"))
    rc.Problem("size", "is 0, so the point would never be seen");
  if (Traits(p.kind).survey_cost > 0 && p.yield > 5)
    rc.Problem("yield", "a planet's survey outcome must be 0..5");
  if (!Traits(p.kind).buoy_call) {
    for (const char* link : {"next_point", "next_point_2", "extra_point"}) {
      const std::string* v = rc.Value(link);
      if (v != nullptr && *v != "-1")
        rc.Problem(link, "only a buoy (kind 1, 2, 3, 8, 9 or 10) shows its links");
    }
  }
  CheckFits(rc, p, box);
  return !rc.Faulty("x") && !rc.Faulty("y") && !rc.Faulty("z");
}

// Points in one sector hide each other, and a later point in a zone's column takes the zone's
// grid cell away.
void CheckPlaces(const std::vector<const ChartRecord*>& by_index, const std::vector<bool>& placed,
                 const std::array<ChartPoint, kChartPointCount>& chart,
                 std::vector<ChartProblem>& problems) {
  for (int i = 0; i < kChartPointCount; ++i) {
    const ChartRecord* ri = by_index[static_cast<size_t>(i)];
    const ChartPoint& a = chart[static_cast<size_t>(i)];
    if (ri == nullptr || !placed[static_cast<size_t>(i)]) continue;
    for (int j = i + 1; j < kChartPointCount; ++j) {
      const ChartPoint& b = chart[static_cast<size_t>(j)];
      if (by_index[static_cast<size_t>(j)] == nullptr || !placed[static_cast<size_t>(j)]) continue;
      if (a.x != b.x || a.z != b.z) continue;
      if (a.y == b.y)
        problems.push_back({ri->file, ri->line, i, "",
                            "shares its sector with point " + std::to_string(j) +
                                ", which hides it from the ship"});
      else if (Traits(a.kind).zone && a.kind != b.kind)
        problems.push_back({ri->file, ri->line, i, "",
                            "is a zone, but point " + std::to_string(j) +
                                " in the same X-Z column has a higher index and takes the "
                                "zone's grid cell; give the zone the higher index"});
    }
  }
}

}  // namespace

std::string ChartProblem::ToString() const {
  std::string out = file;
  QM_GCC12_FALSE_WARNINGS_BEGIN
  if (line > 0) out += ":" + std::to_string(line);
  QM_GCC12_FALSE_WARNINGS_END
  out += ": ";
  if (point >= 0) out += "point " + std::to_string(point) + (field.empty() ? ": " : ", ");
  if (!field.empty()) out += field + ": ";
  return out + message;
}

std::vector<ChartRecord> ParseChartSource(const std::vector<ChartSourceFile>& files,
                                          std::vector<ChartProblem>& problems) {
  std::vector<ChartRecord> records;
  for (const ChartSourceFile& file : files) {
    std::string text = file.text;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    ChartRecord* current = nullptr;
    int line_no = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      std::string raw = text.substr(pos, end - pos);
      pos = end + 1;
      ++line_no;
      if (!raw.empty() && raw.back() == '\r') raw.pop_back();
      const std::string line = Trim(raw);
      if (line.empty() || line[0] == '#') continue;
      if (line[0] == '[') {
        auto index = ParseHeader(line);
        if (!index) {
          problems.push_back({file.name, line_no, -1, "",
                              "\"" + line + "\" is not a record header like [point 12]"});
          current = nullptr;
          continue;
        }
        records.push_back({*index, file.name, line_no, {}});
        current = &records.back();
        continue;
      }
      size_t eq = line.find('=');
      if (eq == std::string::npos) {
        problems.push_back({file.name, line_no, current ? current->index : -1, "",
                            "\"" + line + "\" is neither a comment, a header nor field = value"});
        continue;
      }
      std::string key = Trim(line.substr(0, eq));
      std::string value = Trim(line.substr(eq + 1));
      // A number may carry a note after it ("next_point = 12  # the dock"); a text may not, since
      // '#' is fair game inside a sentence.
      if (key != "name" && key != "text" && value.find('#') != std::string::npos)
        value = Trim(value.substr(0, value.find('#')));
      if (current == nullptr) {
        problems.push_back({file.name, line_no, -1, key, "stands before any [point N] header"});
        continue;
      }
      if (!IsKnownField(key)) {
        problems.push_back({file.name, line_no, current->index, key, "is not a field of a point"});
        continue;
      }
      auto [it, inserted] = current->fields.emplace(key, ChartField{value, line_no});
      if (!inserted)
        problems.push_back(
            {file.name, line_no, current->index, key,
             "is given twice (first on line " + std::to_string(it->second.line) + ")"});
    }
  }
  return records;
}

std::vector<ChartProblem> CompileChart(const std::vector<ChartRecord>& records,
                                       const PageMeasure& box,
                                       std::array<ChartPoint, kChartPointCount>& chart) {
  std::vector<ChartProblem> problems;
  if (!box.FaceFound()) {
    problems.push_back({"", 0, -1, "",
                        "the message box face " + box.FaceName().toStdString() +
                            " is not installed, so no page can be measured "
                            "(tools/install-deps.sh installs the game's faces)"});
    return problems;
  }
  chart.fill(ChartPoint{});
  std::vector<const ChartRecord*> by_index(kChartPointCount, nullptr);
  std::vector<bool> placed(kChartPointCount, false);
  for (const ChartRecord& r : records) {
    if (r.index < 0 || r.index >= kChartPointCount) {
      problems.push_back({r.file, r.line, r.index, "",
                          "has an index outside 0.." + std::to_string(kChartPointCount - 1)});
      continue;
    }
    const ChartRecord*& slot = by_index[static_cast<size_t>(r.index)];
    if (slot != nullptr) {
      problems.push_back(
          {r.file, r.line, r.index, "",
           "is given twice (first at " + slot->file + ":" + std::to_string(slot->line) + ")"});
      continue;
    }
    slot = &r;
    placed[static_cast<size_t>(r.index)] =
        CompileRecord(r, box, chart[static_cast<size_t>(r.index)], problems);
  }
  std::vector<int> missing;
  for (int i = 0; i < kChartPointCount; ++i)
    if (by_index[static_cast<size_t>(i)] == nullptr) missing.push_back(i);
  if (!missing.empty())
    problems.push_back({"chart", 0, -1, "",
                        "the chart needs exactly " + std::to_string(kChartPointCount) +
                            " points; missing: " + RangesText(missing)});
  CheckPlaces(by_index, placed, chart, problems);
  return problems;
}

QString PageMeasure::ArrivalPage(const std::string& name_utf8, const std::string& text_utf8) const {
  return QString::fromStdString(ArrivalPageUtf8(name_utf8, text_utf8));
}

QString PageMeasure::ListingLine(const std::string& name_utf8, int x, int y, int z) const {
  return QString::fromStdString("★" + name_utf8 + " > X:" + std::to_string(x) +
                                "  Y:" + std::to_string(y) + "  Z:" + std::to_string(z));
}

std::vector<ChartRecord> TranslateChartRecords(const std::vector<ChartRecord>& records,
                                               const std::vector<ChartRecord>& translation,
                                               std::vector<ChartProblem>& problems) {
  std::map<int, const ChartRecord*> words;
  for (const ChartRecord& t : translation) {
    bool usable = true;
    for (const auto& [key, field] : t.fields) {
      if (key != "name" && key != "text") {
        problems.push_back({t.file, field.line, t.index, key,
                            "a translation gives only the name and the text; the chart's own "
                            "file keeps the rest"});
        usable = false;
        continue;
      }
      for (unsigned char c : field.value) {
        if (c >= 0x80) {
          problems.push_back(
              {t.file, field.line, t.index, key, "holds a character outside plain ASCII"});
          usable = false;
          break;
        }
      }
    }
    for (const char* key : {"name", "text"}) {
      if (t.fields.count(key) == 0) {
        problems.push_back({t.file, t.line, t.index, key, "is missing"});
        usable = false;
      }
    }
    const auto [it, added] = words.emplace(t.index, &t);
    if (!added) {
      problems.push_back({t.file, t.line, t.index, "",
                          "is translated twice (first at " + it->second->file + ":" +
                              std::to_string(it->second->line) + ")"});
    } else if (!usable) {
      words.erase(it);
    }
  }
  std::vector<ChartRecord> out;
  std::set<int> translated;
  std::vector<int> missing;
  for (const ChartRecord& r : records) {
    ChartRecord copy = r;
    const auto it = words.find(r.index);
    if (it == words.end()) {
      missing.push_back(r.index);
    } else {
      translated.insert(r.index);
      // Problems with the words are the translator's, so they name the translation's file.
      copy.file = it->second->file;
      copy.line = it->second->line;
      for (const char* key : {"name", "text"})
        copy.fields[key] = it->second->fields.at(key);
    }
    out.push_back(std::move(copy));
  }
  for (const auto& [index, t] : words) {
    if (translated.count(index) == 0)
      problems.push_back({t->file, t->line, index, "", "is not a point of the chart"});
  }
  std::sort(missing.begin(), missing.end());
  if (!missing.empty())
    problems.push_back({"translation", 0, -1, "", "points not translated: " + RangesText(missing)});
  return out;
}

std::string ArrivalPageUtf8(const std::string& name_utf8, const std::string& text_utf8) {
  return "【" + name_utf8 + "】 \r" + text_utf8;
}

}  // namespace qm
