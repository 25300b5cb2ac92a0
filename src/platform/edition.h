#pragma once

#include <initializer_list>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The game is written in Japanese, and that edition is the game as designed: its texts are the
// Japanese texts in our sources, byte for byte. Every other edition takes each text the player
// reads from its language's catalogue (po/<language>.po, built in), looked up by the Japanese
// text, so the sources never change for a translation and a text with no translation still
// shows, in Japanese.

// The game's own edition.
inline constexpr std::string_view kJapanese = "ja";

// "ja" and the language of every catalogue built in, in that order.
std::vector<std::string> EditionLanguages();

// Chooses the edition for the rest of the run; false (and no change) for a language the game
// does not have. The game chooses once, at start; tests may switch.
bool SetEdition(std::string_view language);
const std::string& Edition();
bool IsJapaneseEdition();

// The edition's text for one of the game's Japanese texts (UTF-8, as written in our sources),
// as CP932 bytes. Each text is converted once and kept, so callers may look it up every frame.
// The reference stays valid for the run.
const std::string& Tx(std::string_view japanese);

// A text of the edition's catalogue made whole: each %1 .. %9 in `text` is replaced by the
// argument of that number (CP932). A translation may put them in another order; the arguments
// are never searched for placeholders themselves.
std::string Fill(std::string_view text, std::initializer_list<std::string_view> arguments);

// A value made from the edition's texts (a page table, say), made once per edition and kept, so
// that callers may hold on to what they are given.
template <typename Make>
const auto& KeptForEdition(Make make) {
  static std::mutex mutex;
  static std::map<std::string, decltype(make()), std::less<>> kept;
  const std::lock_guard lock(mutex);
  auto it = kept.find(Edition());
  if (it == kept.end()) it = kept.emplace(Edition(), make()).first;
  return it->second;
}

// Marks a Japanese text for the catalogue where it is written, when it is looked up later
// (tables of texts); the text itself is unchanged.
#define TX_NOOP(text) text

// The game's faces. The windows, the message box and the fixed-width captain line name the
// Japanese faces; another edition draws in the faces its catalogue gives for them.
inline constexpr char kWindowFace[] = TX_NOOP("IPAPGothic");
inline constexpr char kMessageFace[] = TX_NOOP("IPAPMincho");
inline constexpr char kFixedFace[] = TX_NOOP("IPAGothic");
// The edition's face for a face the game names: a family name, ASCII.
const std::string& EditionFace(std::string_view face);

// A file of the game folder in the edition's own form, written as the game writes it:
// "\cg\tra_b1.bmp" is "\cg\en\tra_b1.bmp" in the English edition and itself in the Japanese.
std::string EditionPath(std::string_view backslashed);

// The full path of a picture of the game folder: the edition's own when it has one (the pictures
// with lettering), else the game's.
std::string EditionPicturePath(std::string_view backslashed);

}  // namespace qm
