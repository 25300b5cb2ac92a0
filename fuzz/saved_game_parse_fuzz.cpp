// Any bytes as the saved game's text, parsed in memory, without a game around it: the parser
// never reads past its bytes, keeps the first line as the commander's name byte for byte, and a
// record it read whole is written and parsed back to the very same record and the same bytes.
// The deep target (saved_game_fuzz) loads and flies; this one is fast enough to search the
// format itself.

#include <cstdint>
#include <memory>
#include <string_view>

#include "fuzz_check.h"
#include "saved_record_check.h"
#include "state/file_error.h"
#include "state/saved_game.h"

using qm::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto state = std::make_unique<qm::GameState>();
  try {
    qm::ParseSavedGame(bytes, *state);
  } catch (const qm::FileFailure& failure) {
    Check(failure.code() == qm::kNotANumber, "a parse fails only on a non-number");
    return 0;
  }
  Check(state->commander_name == bytes.substr(0, bytes.find_first_of("\r\n")),
        "commander's name not as written");
  Check(state->commander_name.size() + state->ship_name.size() <= size,
        "names longer than the file");

  const std::string written = qm::SavedGameText(*state);
  auto again = std::make_unique<qm::GameState>();
  try {
    qm::ParseSavedGame(written, *again);
  } catch (const qm::FileFailure&) {
    Check(false, "a written record does not parse");
  }
  qm::fuzz::CheckSameRecord(*state, *again);
  Check(again->save_checksum == qm::SaveChecksum(*state), "check value");
  Check(qm::SavedGameText(*again) == written, "second writing differs");
  return 0;
}
