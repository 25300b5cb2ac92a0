#include "platform/decimal.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace qm {

DecimalPrefix ReadDecimalPrefix(std::string_view text) {
  DecimalPrefix out;
  // from_chars takes a minus but no plus; a plus is ours to step over, and a second sign after it
  // is no number.
  std::size_t skip = 0;
  if (!text.empty() && text.front() == '+') skip = 1;
  const char* first = text.data() + skip;
  const char* last = text.data() + text.size();
  if (first == last || *first == '+' || (skip == 1 && *first == '-')) return out;
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (end == first) return out;
  out.length = static_cast<std::size_t>(end - text.data());
  if (error == std::errc::result_out_of_range) {
    out.in_range = false;
    out.value = *first == '-' ? std::numeric_limits<std::int32_t>::min()
                              : std::numeric_limits<std::int32_t>::max();
  } else {
    out.value = value;
  }
  return out;
}

std::optional<std::int32_t> ParseWholeDecimal(std::string_view text) {
  const DecimalPrefix d = ReadDecimalPrefix(text);
  if (d.length == 0 || d.length != text.size() || !d.in_range) return std::nullopt;
  return d.value;
}

}  // namespace qm
