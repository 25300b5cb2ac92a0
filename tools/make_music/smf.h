#pragma once

// Standard MIDI files, format 1: one track per part, events stored with absolute ticks and written
// as delta times with running status.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::music {

struct MidiEvent {
  std::uint32_t tick = 0;
  std::vector<std::uint8_t> bytes;  // a channel message, or FF type length data for a meta event
};

class MidiTrack {
 public:
  explicit MidiTrack(const std::string& name);

  void Meta(std::uint32_t tick, std::uint8_t type, const std::vector<std::uint8_t>& data);
  void Tempo(std::uint32_t tick, double bpm);
  void Program(std::uint32_t tick, int channel, int program);
  void Control(std::uint32_t tick, int channel, int controller, int value);
  void NoteOn(std::uint32_t tick, int channel, int key, int velocity);
  void NoteOff(std::uint32_t tick, int channel, int key);

  // The track ends here at the earliest, even when its last event comes sooner.
  void EndAt(std::uint32_t tick) { end_ = std::max(end_, tick); }

  // The MTrk chunk: events in time order (at one tick: meta, then controls and programs, then
  // note-offs before note-ons, so a repeated key is released before it sounds again), and the
  // end-of-track event last.
  std::vector<std::uint8_t> Encode() const;

 private:
  std::vector<MidiEvent> events_;
  std::uint32_t end_ = 0;
};

// The whole file: MThd (format 1, `division` ticks per quarter note) and the tracks.
std::vector<std::uint8_t> EncodeSmf(int division, const std::vector<MidiTrack>& tracks);

}  // namespace qm::music
