#include "make_catalog/po_file.h"

#include <cstddef>

namespace qm::catalog {
namespace {

// A quoted PO string from `s` at `pos` (at the opening quote); false on a malformed one.
bool ReadQuoted(const std::string& s, size_t pos, std::string& out) {
  if (pos >= s.size() || s[pos] != '"') return false;
  for (size_t i = pos + 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      for (size_t j = i + 1; j < s.size(); ++j)
        if (s[j] != ' ' && s[j] != '\t') return false;
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i >= s.size()) return false;
    switch (s[i]) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case '"':
      case '\\':
        out += s[i];
        break;
      default:
        return false;
    }
  }
  return false;
}

std::string TrimLeft(const std::string& s) {
  size_t b = 0;
  while (b < s.size() && (s[b] == ' ' || s[b] == '\t'))
    ++b;
  return s.substr(b);
}

}  // namespace

std::vector<PoMessage> ReadPo(const std::string& text, std::string& error) {
  std::vector<PoMessage> messages;
  PoMessage current;
  bool fuzzy_next = false;
  std::string* open = nullptr;  // the string a continuation line adds to
  enum class Part { kNone, kContext, kSource, kTranslation } part = Part::kNone;
  auto finish = [&] {
    if (part == Part::kTranslation) messages.push_back(current);
    current = PoMessage{};
    part = Part::kNone;
    open = nullptr;
  };
  int line_no = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    line = TrimLeft(line);
    auto fail = [&](const std::string& what) {
      error = "line " + std::to_string(line_no) + ": " + what;
      return std::vector<PoMessage>{};
    };
    if (line.empty()) {
      finish();
      continue;
    }
    if (line[0] == '#') {
      if (part == Part::kTranslation) finish();
      if (line.rfind("#,", 0) == 0 && line.find("fuzzy") != std::string::npos) fuzzy_next = true;
      continue;
    }
    if (line[0] == '"') {
      if (open == nullptr) return fail("a string continues nothing");
      if (!ReadQuoted(line, 0, *open)) return fail("malformed string");
      continue;
    }
    const size_t space = line.find_first_of(" \t");
    const std::string keyword = line.substr(0, space);
    const std::string rest =
        space == std::string::npos ? std::string() : TrimLeft(line.substr(space));
    if (keyword == "msgctxt") {
      if (part == Part::kTranslation) finish();
      if (part != Part::kNone) return fail("msgctxt out of place");
      part = Part::kContext;
      open = &current.context;
    } else if (keyword == "msgid") {
      if (part == Part::kTranslation) finish();
      if (part != Part::kNone && part != Part::kContext) return fail("msgid out of place");
      part = Part::kSource;
      current.line = line_no;
      current.fuzzy = fuzzy_next;
      fuzzy_next = false;
      open = &current.source;
    } else if (keyword == "msgstr") {
      if (part != Part::kSource) return fail("msgstr without its msgid");
      part = Part::kTranslation;
      open = &current.translation;
    } else {
      return fail("unknown keyword \"" + keyword + "\" (plural forms are not used)");
    }
    if (!ReadQuoted(rest, 0, *open)) return fail("malformed string");
  }
  if (part == Part::kSource || part == Part::kContext) {
    error = "line " + std::to_string(line_no) + ": the file ends inside a message";
    return {};
  }
  finish();
  return messages;
}

}  // namespace qm::catalog
