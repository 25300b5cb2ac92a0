#pragma once

// "PCMMIX.INI": the mixer's settings, read once when a session is created.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pcmmix/pcmmix.h"

namespace qm {

// A private-profile file: "[section]" headers and "key=integer" lines. Section and key names
// compare without regard to ASCII case, and the first occurrence of either wins.
class Profile {
 public:
  static Profile Parse(std::string_view text);
  // A missing or unreadable file is an empty profile.
  static Profile Load(const std::string& path);

  // The integer under `key`; `fallback` when the section, the key or its value is missing.
  // Leading spaces and one sign are accepted, the digits end at the first other character, no
  // digits at all read as 0, and values beyond 32 bits stop at the 32-bit limits.
  std::int32_t GetInt(std::string_view section, std::string_view key, std::int32_t fallback) const;

 private:
  struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
  };
  std::vector<Section> sections_;
};

// Where the file is looked for: $XDG_CONFIG_HOME/PCMMIX.INI, else ~/.config/PCMMIX.INI.
std::string MixSettingsPath();

namespace mix {
struct MixSession;
// Picks and checks the device and fixes the output format, block sizes, clock source and remix
// strategy of a fresh session. Raises the refusal messages; the caller releases the session then.
void ApplySettings(MixSession& session, const Profile& profile, WaveOut& wave_out,
                   const MixConfig* config);
}  // namespace mix

}  // namespace qm
