#pragma once

#include <QValidator>
#include <optional>
#include <string>

namespace qm {

// The most a name entry holds: eight bytes of CP932, so eight half-width or four full-width
// characters, the room the saved game and the roll lines were laid out for.
constexpr std::size_t kNameEntryBytes = 8;

// The CP932 form of an entry's text; nullopt when a character has no CP932 form.
std::optional<std::string> NameEntryText(const QString& text);

// Keeps one of `name_l` and `name_l2` within the limit while the player types, with the input
// method too: text holding a character CP932 cannot hold is refused whole, and of new text that
// would overflow the entry only what fits is taken in, as a length-limited entry does. One
// validator per entry: it remembers the entry's last accepted text.
class NameValidator final : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;

 private:
  mutable QString accepted_;
};

}  // namespace qm
