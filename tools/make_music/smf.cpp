#include "smf.h"

#include <algorithm>
#include <cmath>

namespace qm::music {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBe(Bytes& out, std::uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i)
    out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutId(Bytes& out, const char* id) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(id[i]));
}

// Variable-length quantity: seven bits a byte, most significant first, high bit on all but last.
void PutVarLen(Bytes& out, std::uint32_t v) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
    v >>= 7;
  } while (v != 0);
  while (n > 1)
    out.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
  out.push_back(groups[0]);
}

int Rank(const MidiEvent& e) {
  const std::uint8_t status = e.bytes[0];
  if (status == 0xFF) return 0;
  const std::uint8_t kind = status & 0xF0;
  if (kind == 0x80 || (kind == 0x90 && e.bytes[2] == 0)) return 2;
  if (kind == 0x90) return 3;
  return 1;
}

std::uint8_t Clamp7(int v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0, 127));
}

std::uint8_t Status(int kind, int channel) {
  return static_cast<std::uint8_t>(kind | (channel & 0x0F));
}

}  // namespace

MidiTrack::MidiTrack(const std::string& name) {
  Meta(0, 0x03, Bytes(name.begin(), name.end()));
}

void MidiTrack::Meta(std::uint32_t tick, std::uint8_t type, const Bytes& data) {
  Bytes b{0xFF, type};
  PutVarLen(b, static_cast<std::uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  events_.push_back({tick, std::move(b)});
}

void MidiTrack::Tempo(std::uint32_t tick, double bpm) {
  const std::uint32_t micros = static_cast<std::uint32_t>(std::lround(60'000'000.0 / bpm));
  Meta(tick, 0x51,
       {static_cast<std::uint8_t>(micros >> 16), static_cast<std::uint8_t>(micros >> 8),
        static_cast<std::uint8_t>(micros)});
}

void MidiTrack::Program(std::uint32_t tick, int channel, int program) {
  events_.push_back({tick, {Status(0xC0, channel), Clamp7(program)}});
}

void MidiTrack::Control(std::uint32_t tick, int channel, int controller, int value) {
  events_.push_back({tick, {Status(0xB0, channel), Clamp7(controller), Clamp7(value)}});
}

void MidiTrack::NoteOn(std::uint32_t tick, int channel, int key, int velocity) {
  events_.push_back({tick, {Status(0x90, channel), Clamp7(key), Clamp7(std::max(1, velocity))}});
}

void MidiTrack::NoteOff(std::uint32_t tick, int channel, int key) {
  events_.push_back({tick, {Status(0x80, channel), Clamp7(key), 64}});
}

Bytes MidiTrack::Encode() const {
  std::vector<MidiEvent> sorted = events_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const MidiEvent& a, const MidiEvent& b) {
    if (a.tick != b.tick) return a.tick < b.tick;
    return Rank(a) < Rank(b);
  });
  Bytes body;
  std::uint32_t now = 0;
  std::uint8_t running = 0;
  for (const MidiEvent& e : sorted) {
    PutVarLen(body, e.tick - now);
    now = e.tick;
    const std::uint8_t status = e.bytes[0];
    if (status == 0xFF) {
      running = 0;  // a meta event ends running status
      body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    } else {
      const bool skip_status = status == running;
      running = status;
      body.insert(body.end(), e.bytes.begin() + (skip_status ? 1 : 0), e.bytes.end());
    }
  }
  PutVarLen(body, std::max(end_, now) - now);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});

  Bytes chunk;
  PutId(chunk, "MTrk");
  PutBe(chunk, static_cast<std::uint32_t>(body.size()), 4);
  chunk.insert(chunk.end(), body.begin(), body.end());
  return chunk;
}

Bytes EncodeSmf(int division, const std::vector<MidiTrack>& tracks) {
  Bytes out;
  PutId(out, "MThd");
  PutBe(out, 6, 4);
  PutBe(out, 1, 2);
  PutBe(out, static_cast<std::uint32_t>(tracks.size()), 2);
  PutBe(out, static_cast<std::uint32_t>(division), 2);
  for (const MidiTrack& t : tracks) {
    const Bytes chunk = t.Encode();
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

}  // namespace qm::music
