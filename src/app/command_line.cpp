#include "app/command_line.h"

#include <algorithm>

#include "platform/edition.h"

namespace qm {
namespace {

bool Has(const std::vector<std::string>& languages, const std::string& language) {
  return std::find(languages.begin(), languages.end(), language) != languages.end();
}

std::string List(const std::vector<std::string>& languages) {
  std::string out;
  for (const std::string& l : languages)
    out += (out.empty() ? "" : ", ") + l;
  return out;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::vector<std::string>& languages) {
  CommandLine line;
  // The word after one of the toolkit's options may be its value (-platform xcb).
  bool after_toolkit_option = false;
  for (size_t i = 0; i < arguments.size() && line.error.empty(); ++i) {
    const std::string& a = arguments[i];
    const bool toolkit_value = after_toolkit_option;
    after_toolkit_option = false;
    if (a == "--help" || a == "-h") {
      line.help = true;
    } else if (a == "--lang" || a.rfind("--lang=", 0) == 0) {
      std::string value;
      if (a == "--lang") {
        if (i + 1 == arguments.size()) {
          line.error = "--lang needs a language: " + List(languages);
          break;
        }
        value = arguments[++i];
      } else {
        value = a.substr(7);
      }
      if (!Has(languages, value)) {
        line.error = "unknown language \"" + value + "\"; the game has " + List(languages);
        break;
      }
      line.language = value;
    } else if (a.rfind("--", 0) == 0) {
      line.error = "unknown option " + a;
    } else if (!a.empty() && a[0] == '-') {
      after_toolkit_option = true;
    } else if (!toolkit_value) {
      line.error = "unexpected argument \"" + a + "\"";
    }
  }
  return line;
}

std::string HelpText(const std::vector<std::string>& languages) {
  return "Usage: quelmarin [--lang=LANGUAGE]\n"
         "QUELMARIN, a space voyage for one captain.\n"
         "\n"
         "  --lang=LANGUAGE  play the edition in LANGUAGE (" +
         List(languages) +
         ";\n"
         "                   ja is the Japanese edition, en the English);\n"
         "                   the choice is remembered for the next start\n"
         "  -h, --help       show this help and leave\n"
         "\n"
         "With no option the game starts in the edition last chosen, or in Japanese.\n";
}

std::string StartingEdition(const CommandLine& line, const std::string& remembered,
                            const std::vector<std::string>& languages) {
  if (!line.language.empty()) return line.language;
  if (Has(languages, remembered)) return remembered;
  return std::string(kJapanese);
}

}  // namespace qm
