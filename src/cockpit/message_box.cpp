#include "cockpit/cockpit.h"
#include "cockpit/story_texts.h"
#include "platform/cp932.h"

namespace qm {
namespace {

// The longest prefix of at most `limit` bytes that ends on a character boundary, so a reveal
// step that stops inside a double-byte character never shows half of it.
std::string WholeCharacters(const std::string& text, size_t limit) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t width = IsCp932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace

void Cockpit::AddMessage(std::string text) {
  for (std::string& slot : cs_.message_pages) {
    if (slot.empty()) {
      slot = std::move(text);
      return;
    }
  }
  // A full queue silently loses its oldest slot.
  cs_.message_pages[0] = std::move(text);
}

void Cockpit::ShowMessageBox() {
  services_.controls.Move("moji_box", 4, 304);
  services_.controls.SetVisible("moji_box", true);
}

void Cockpit::TypewriterStep() {
  const std::string& page = cs_.message_pages[static_cast<size_t>(cs_.message_page)];
  const auto length = static_cast<std::int32_t>(page.size());
  bool shown = false;
  if (cs_.typewriter_pos >= 1) {
    const auto limit = 2 * static_cast<size_t>(cs_.typewriter_pos);
    services_.controls.SetCaption("moji_l", WholeCharacters(page, limit));
    shown = length > 0;
  }
  if (shown && cs_.typewriter_pos >= 2 && length / 2 + 1 > cs_.typewriter_pos) {
    services_.sound.PlayCue(kSignalChannel, "pi.wav");
  }
  if (length < 2 * cs_.typewriter_pos) cs_.typewriter_pos = length / 2 + 1;
  ++cs_.typewriter_pos;
}

void Cockpit::Shape1MouseDown() {
  services_.sound.PlayClick();
  const std::string& page = cs_.message_pages[static_cast<size_t>(cs_.message_page)];
  const auto length = static_cast<std::int32_t>(page.size());
  if (length > 2 * cs_.typewriter_pos) {
    // The first click finishes the page; only the next one turns it.
    cs_.typewriter_pos = length / 2 + 1;
    return;
  }

  const std::int32_t next = game_.chart[0].next_point;
  if (game_.story_stage() == 0 && next >= 0 && next < kChartPointCount &&
      page == BuoyCluePage(game_.chart[static_cast<size_t>(next)])) {
    game_.story_stage() = 1;
    game_.buoy_absence = 0;
  }
  if (game_.story_stage() == 2 && page == ShockwavePages().back()) {
    game_.story_stage() = 3;
    cs_.prologue_tick = 1;
    services_.sound.PlayMusic("opening.mid");
  }

  ++cs_.message_page;
  cs_.typewriter_pos = 1;
  if (cs_.message_page >= kMessagePagesShown ||
      cs_.message_pages[static_cast<size_t>(cs_.message_page)].empty()) {
    CloseMessageBox();
  }
}

void Cockpit::CloseMessageBox() {
  for (std::string& slot : cs_.message_pages)
    slot.clear();
  cs_.message_page = 0;
  services_.controls.SetVisible("moji_box", false);
  services_.controls.SetCaption("moji_l", "");
  vs_.chart_open = 0;
}

}  // namespace qm
