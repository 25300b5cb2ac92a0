#pragma once

#include <string>
#include <vector>

namespace qm::catalog {

// One message of a gettext catalogue: the Japanese text the game is written in, and its
// translation (empty while untranslated).
struct PoMessage {
  std::string context;  // msgctxt, empty when none
  std::string source;   // msgid, UTF-8, escapes resolved
  std::string translation;
  bool fuzzy = false;
  int line = 0;  // where its msgid stands
};

// Reads the subset of the PO format the game's catalogues use: comments, msgctxt, msgid and
// msgstr with C escapes and strings continued on the following lines; obsolete entries (#~) are
// left out. A syntax error is reported in `error` ("line N: ...") and ends the reading.
std::vector<PoMessage> ReadPo(const std::string& text, std::string& error);

}  // namespace qm::catalog
