// "PCMMIX.INI": reading the private-profile file and turning it into the session's device, output
// format and block sizes.

#include "pcmmix/settings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "pcmmix/engine.h"
#include "platform/decimal.h"

namespace qm {
namespace {

// Nobody writes a settings file this long by hand; the rest of a bigger one is not read.
constexpr std::size_t kMaxProfileBytes = 1 << 20;

std::string_view Trim(std::string_view s) {
  const auto is_space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f'; };
  while (!s.empty() && is_space(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && is_space(s.back()))
    s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// As the system's profile reader does: the digits after an optional sign, up to the first other
// character; none give 0, and too many give the nearest 32-bit value.
std::int32_t ParseInt(std::string_view v) {
  return ReadDecimalPrefix(v).value;
}

}  // namespace

Profile Profile::Parse(std::string_view text) {
  Profile profile;
  Section* current = nullptr;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    std::string_view line = Trim(text.substr(0, eol));
    text.remove_prefix(eol == std::string_view::npos ? text.size() : eol + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      const std::string_view name = Trim(
          line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      profile.sections_.push_back({std::string(name), {}});
      current = &profile.sections_.back();
      continue;
    }
    const std::size_t eq = line.find('=');
    if (current == nullptr || eq == std::string_view::npos) continue;
    current->keys.emplace_back(std::string(Trim(line.substr(0, eq))),
                               std::string(Trim(line.substr(eq + 1))));
  }
  return profile;
}

Profile Profile::Load(const std::string& path) {
  if (path.empty()) return {};
  // Only a plain file is read: a pipe in its place would hold the start until a writer came.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string text(kMaxProfileBytes, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return Parse(text);
}

std::int32_t Profile::GetInt(std::string_view section, std::string_view key,
                             std::int32_t fallback) const {
  for (const Section& s : sections_) {
    if (!SameName(s.name, section)) continue;
    for (const auto& [k, v] : s.keys) {
      if (SameName(k, key)) return v.empty() ? fallback : ParseInt(v);
    }
    return fallback;
  }
  return fallback;
}

std::string MixSettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/PCMMIX.INI";
  const char* home = std::getenv("HOME");
  if (home && home[0] != '\0') return std::string(home) + "/.config/PCMMIX.INI";
  return {};
}

namespace mix {

namespace {

std::int32_t ChooseBlockLength(std::int32_t device_len, std::int32_t default_len,
                               std::uint32_t samples_per_sec) {
  if (device_len != 0) return std::clamp(device_len, 512, 4096);
  if (default_len != 0) return std::clamp(default_len, 512, 4096);
  return std::min<std::int32_t>(static_cast<std::int32_t>(samples_per_sec / 11025) * 2048, 4096);
}

std::uint32_t RateFromCode(std::int32_t code) {
  if (code == 22) return 22050;
  if (code == 44) return 44100;
  return 11025;
}

}  // namespace

void ApplySettings(MixSession& s, const Profile& profile, WaveOut& wave_out,
                   const MixConfig* config) {
  const std::int32_t remix = profile.GetInt("default", "Remix", 1);
  const std::int32_t good_wave_pos = profile.GetInt("default", "GoodWavePos", 0);
  const std::int32_t wave_blocks = profile.GetInt("default", "WaveBlocks", 3);
  const std::int32_t wave_block_len = profile.GetInt("default", "WaveBlockLen", 0) & 0xFFFC;
  const std::int32_t samples_per_sec = profile.GetInt("default", "SamplesPerSec", 11);

  // Device numbers are unsigned to the platform, so a negative one is as far out of range as a
  // large one and also selects the default device.
  s.device_id = profile.GetInt("general", "WaveOutDevice", 0);
  if (s.device_id < 0 || std::int64_t{s.device_id} >= std::int64_t{wave_out.GetNumDevs()}) {
    s.device_id = -1;
  }

  WaveOutCaps caps;
  std::string name;
  if (wave_out.GetDevCaps(static_cast<std::uint32_t>(s.device_id), caps) != kMmNoError) {
    name = kUnknownDeviceName;
    caps = WaveOutCaps{};
    caps.channels = 0;
  } else {
    name = caps.name.substr(0, kMaxDeviceName);
  }
  if (caps.synchronous) {
    Fail(name + " is a syncronous (blocking) " +
         "wave output device.  This will not permit audio to play while other " +
         "applications are running");
  }
  if (profile.GetInt("not compatible", name, 0) != 0) {
    Fail(name + " is not compatible with " + "the realtime pcm mixer");
  }
  s.device_name = name;

  s.remix_strategy = profile.GetInt(name, "Remix", remix) == 2 ? &DeferStart : &RemixQueue;
  s.good_wave_pos = static_cast<std::uint8_t>(profile.GetInt(name, "GoodWavePos", good_wave_pos));
  s.block_count = std::clamp(profile.GetInt(name, "WaveBlocks", wave_blocks), 2, kOutputBlocks);

  if (config && (config->flags & kConfigChannels) && config->channels > 1 && caps.channels > 1) {
    s.output_format.channels = 2;
    s.output_format.block_align = 2;
  }
  std::int32_t rate = profile.GetInt(name, "SamplesPerSec", samples_per_sec);
  if (config && (config->flags & kConfigRate) &&
      (config->rate == 11 || config->rate == 22 || config->rate == 44)) {
    rate = config->rate;
  }
  s.output_format.samples_per_sec = RateFromCode(rate);
  s.output_format.avg_bytes_per_sec = s.output_format.channels * s.output_format.samples_per_sec;
  s.block_length = ChooseBlockLength(profile.GetInt(name, "WaveBlockLen", 0), wave_block_len,
                                     s.output_format.samples_per_sec);
}

}  // namespace mix
}  // namespace qm
