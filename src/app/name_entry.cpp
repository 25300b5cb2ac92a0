#include "app/name_entry.h"

#include "platform/cp932.h"
#include "state/save_files.h"

namespace qm {
namespace {

std::size_t Cp932Bytes(const QString& text) {
  const std::optional<std::string> cp932 = Cp932FromUtf8(text.toStdString());
  return cp932 ? cp932->size() : 0;
}

}  // namespace

std::optional<std::string> NameEntryText(const QString& text) {
  return Cp932FromUtf8(text.toStdString());
}

QValidator::State NameValidator::validate(QString& input, int& pos) const {
  const std::optional<std::string> cp932 = NameEntryText(input);
  if (!cp932) return Invalid;
  if (cp932->size() > kNameEntryBytes) {
    // The new text is what differs between the last accepted text and this one; keep the rest
    // and as much of the new text, from its start, as still fits.
    const QString& before = accepted_;
    qsizetype head = 0;
    while (head < before.size() && head < input.size() && before[head] == input[head])
      ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < input.size() - head &&
           before[before.size() - 1 - tail] == input[input.size() - 1 - tail])
      ++tail;
    QString inserted = input.mid(head, input.size() - head - tail);
    const QString left = input.left(head);
    const QString right = input.right(tail);
    while (!inserted.isEmpty() && Cp932Bytes(left + inserted + right) > kNameEntryBytes)
      inserted.chop(1);
    QString kept = left + inserted + right;
    // Text set from outside that was already too long is cut at its end.
    if (Cp932Bytes(kept) > kNameEntryBytes) {
      kept = QString::fromStdString(Utf8FromCp932(FitName(*cp932)));
      head = kept.size();
      inserted.clear();
    }
    input = kept;
    pos = static_cast<int>(std::min(head + inserted.size(), input.size()));
  }
  accepted_ = input;
  return Acceptable;
}

}  // namespace qm
