// Compiles the translators' catalogues (po/*.po, one per language) into a C++ source that the
// platform layer builds in, so the game reads no catalogue at run time and an edition cannot be
// missing its texts. A malformed catalogue stops the build with the file and line named; an
// untranslated or fuzzy message is left out (the game then shows its Japanese text, and the test
// command's catalogue check fails).
//
//   make_catalog OUTPUT.cpp LANG.po...

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "make_catalog/po_file.h"
#include "whole_file.h"

namespace {

// A C++ string literal of any bytes: printable ASCII as it is, everything else as a three-digit
// octal escape, which no following character can extend.
std::string Literal(const std::string& bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F && c != '?') {
      out += static_cast<char>(c);
    } else {
      char esc[8];
      std::snprintf(esc, sizeof esc, "\\%03o", c);
      out += esc;
    }
  }
  return out + "\"";
}

std::string LanguageOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const size_t dot = name.rfind(".po");
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool ValidLanguage(const std::string& code) {
  if (code.empty() || code == "ja") return false;
  return std::all_of(code.begin(), code.end(),
                     [](char c) { return (c >= 'a' && c <= 'z') || c == '_'; });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_catalog OUTPUT.cpp LANG.po...\n");
    return 2;
  }
  std::ostringstream out;
  out << "// Made by tools/make_catalog from the catalogues in po/; edit those, not this.\n"
         "#include \"platform/catalog.h\"\n\nnamespace qm {\nnamespace {\n\n";
  std::vector<std::string> languages;
  for (int i = 2; i < argc; ++i) {
    const std::string path = argv[i];
    const std::string language = LanguageOf(path);
    if (!ValidLanguage(language)) {
      std::fprintf(stderr, "make_catalog: %s: \"%s\" is not a language code like \"en\"\n",
                   path.c_str(), language.c_str());
      return 1;
    }
    std::string text;
    if (!qm::tools::ReadWholeFile(path, text)) {
      std::fprintf(stderr, "make_catalog: cannot read %s\n", path.c_str());
      return 1;
    }
    std::string error;
    const auto messages = qm::catalog::ReadPo(text, error);
    if (!error.empty()) {
      std::fprintf(stderr, "make_catalog: %s:%s\n", path.c_str(), error.c_str());
      return 1;
    }
    std::map<std::string, std::string> entries;
    std::map<std::string, int> first_line;
    for (const auto& m : messages) {
      if (m.source.empty()) continue;  // the header
      const std::string key = m.context.empty() ? m.source : m.context + '\x04' + m.source;
      if (!first_line.emplace(key, m.line).second) {
        std::fprintf(stderr, "make_catalog: %s:%d: the message of line %d again\n", path.c_str(),
                     m.line, first_line[key]);
        return 1;
      }
      if (m.fuzzy || m.translation.empty()) continue;
      entries.emplace(key, m.translation);
    }
    languages.push_back(language);
    out << "constexpr CatalogEntry k" << language << "[] = {\n";
    for (const auto& [key, translation] : entries)
      out << "    {" << Literal(key) << ",\n     " << Literal(translation) << "},\n";
    if (entries.empty()) out << "    {\"\", \"\"},\n";
    out << "};\n\n";
  }
  out << "constexpr Catalog kCatalogs[] = {\n";
  for (const auto& language : languages)
    out << "    {\"" << language << "\", k" << language << "},\n";
  if (languages.empty()) out << "    {\"\", {}},\n";
  out << "};\n\n}  // namespace\n\nstd::span<const Catalog> Catalogs() {\n  return "
      << (languages.empty() ? "{}" : "kCatalogs") << ";\n}\n\n}  // namespace qm\n";

  std::ofstream f(argv[1], std::ios::binary | std::ios::trunc);
  f << out.str();
  f.close();
  if (!f) {
    std::fprintf(stderr, "make_catalog: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
