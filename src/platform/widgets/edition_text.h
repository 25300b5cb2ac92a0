#pragma once

#include <QString>
#include <string_view>

#include "platform/cp932.h"
#include "platform/edition.h"

namespace qm {

// A text of the edition for a widget: the caption of a button or a label.
inline QString TxQ(std::string_view japanese) {
  return QString::fromStdString(Utf8FromCp932(Tx(japanese)));
}

}  // namespace qm
