#include "score.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace qm::music {
namespace {

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\n'))
      ++i;
    std::size_t j = i;
    while (j < text.size() && text[j] != ' ' && text[j] != '\n')
      ++j;
    if (j > i) out.push_back(text.substr(i, j - i));
    i = j;
  }
  return out;
}

[[noreturn]] void Fail(const std::string& what, std::string_view where) {
  throw std::invalid_argument(what + " \"" + std::string(where) + "\"");
}

// "A", "Bb", "F#" at the front of `text`: the pitch class, and how many characters it took.
std::pair<int, std::size_t> PitchClass(std::string_view text) {
  static constexpr int kNatural[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (text.empty() || text[0] < 'A' || text[0] > 'G') Fail("not a note", text);
  int pc = kNatural[text[0] - 'A'];
  std::size_t used = 1;
  if (text.size() > 1 && text[1] == '#') pc += 1, used = 2;
  if (text.size() > 1 && text[1] == 'b') pc += 11, used = 2;
  return {pc % 12, used};
}

double ParseBeats(std::string_view text, std::string_view token) {
  double v = 0;
  try {
    std::size_t used = 0;
    v = std::stod(std::string(text), &used);
    if (used != text.size()) Fail("bad length in", token);
  } catch (const std::logic_error&) {
    Fail("bad length in", token);
  }
  if (!(v > 0)) Fail("bad length in", token);
  return v;
}

// Split "X:len" into X and its length in beats (or `fallback` when no length is written).
std::pair<std::string_view, double> WithLength(std::string_view token, double fallback) {
  const std::size_t colon = token.find(':');
  if (colon == std::string_view::npos) return {token, fallback};
  return {token.substr(0, colon), ParseBeats(token.substr(colon + 1), token)};
}

void CheckBarLine(double beat, std::string_view text) {
  const double in_bar = std::fmod(beat, kBeatsPerBar);
  if (std::abs(in_bar) > 1e-6 && std::abs(in_bar - kBeatsPerBar) > 1e-6)
    Fail("bar line in mid-bar in", text);
}

// Chord tones from the octave above `low` upwards, `count` of them, lowest first.
std::vector<int> Voicing(const Chord& c, int low, std::size_t count) {
  std::vector<int> keys;
  for (int octave = 0; keys.size() < count && octave < 4; ++octave) {
    std::vector<int> layer;
    for (int pc : c.tones)
      layer.push_back(low + 12 * octave + ((pc - low) % 12 + 12) % 12);
    std::sort(layer.begin(), layer.end());
    for (int k : layer)
      if (keys.size() < count) keys.push_back(k);
  }
  return keys;
}

// A touch of phrasing: the downbeat leans in, the offbeats fall back.
int Accent(double beat, int velocity) {
  const double in_bar = std::fmod(beat, kBeatsPerBar);
  if (in_bar < 1e-6) return velocity + 5;
  if (std::abs(in_bar - 2) < 1e-6) return velocity + 2;
  if (std::abs(in_bar - std::round(in_bar)) > 1e-6) return velocity - 4;
  return velocity;
}

}  // namespace

std::uint32_t Ticks(double beat) {
  return static_cast<std::uint32_t>(std::lround(beat * kDivision));
}

int ParsePitch(std::string_view name) {
  auto [key, used] = PitchClass(name);
  // The letter decides the octave, so B#3 is C4 and Cb4 is B3.
  if (name[0] == 'B' && used == 2 && name[1] == '#') key += 12;
  if (name[0] == 'C' && used == 2 && name[1] == 'b') key -= 12;
  const std::string_view octave = name.substr(used);
  if (octave.size() != 1 || octave[0] < '0' || octave[0] > '8') Fail("no octave in", name);
  return key + 12 * (octave[0] - '0' + 1);
}

Chord ParseChord(std::string_view symbol) {
  static const std::map<std::string_view, std::vector<int>> kQualities = {
      {"", {0, 4, 7}},         {"m", {0, 3, 7}},    {"7", {0, 4, 7, 10}}, {"maj7", {0, 4, 7, 11}},
      {"m7", {0, 3, 7, 10}},   {"sus4", {0, 5, 7}}, {"sus2", {0, 2, 7}},  {"add9", {0, 2, 4, 7}},
      {"madd9", {0, 2, 3, 7}}, {"dim", {0, 3, 6}},  {"6", {0, 4, 7, 9}},  {"m6", {0, 3, 7, 9}},
  };
  std::string_view main = symbol;
  std::string_view slash;
  if (const std::size_t s = symbol.find('/'); s != std::string_view::npos) {
    main = symbol.substr(0, s);
    slash = symbol.substr(s + 1);
  }
  const auto [root, used] = PitchClass(main);
  const auto quality = kQualities.find(main.substr(used));
  if (quality == kQualities.end()) Fail("unknown chord", symbol);
  Chord c;
  c.root = root;
  for (int interval : quality->second)
    c.tones.push_back((root + interval) % 12);
  c.bass = root;
  if (!slash.empty()) {
    const auto [bass, bass_used] = PitchClass(slash);
    if (bass_used != slash.size()) Fail("bad bass note in", symbol);
    c.bass = bass;
  }
  return c;
}

void Progression::Add(int bar, std::string_view symbols) {
  double beat = BarBeat(bar);
  for (std::string_view token : Tokens(symbols)) {
    if (token == "|") {
      CheckBarLine(beat, symbols);
      continue;
    }
    const auto [symbol, length] = WithLength(token, kBeatsPerBar);
    spans_.push_back({beat, length, ParseChord(symbol)});
    beat += length;
  }
}

std::vector<ChordSpan> Progression::Bars(int first, int last) const {
  std::vector<ChordSpan> out;
  for (const ChordSpan& s : spans_)
    if (s.beat >= BarBeat(first) - 1e-6 && s.beat < BarBeat(last + 1) - 1e-6) out.push_back(s);
  return out;
}

Part::Part(std::string name, int channel, int program, int volume, int pan, int reverb)
    : name_(std::move(name)),
      channel_(channel),
      program_(program),
      volume_(volume),
      pan_(pan),
      reverb_(reverb) {}

void Part::Play(double beat, double length, int key, int velocity) {
  notes_.push_back({beat, length, key, velocity});
}

double Part::Line(int bar, std::string_view notes, int velocity, double legato, int transpose) {
  double beat = BarBeat(bar);
  for (std::string_view token : Tokens(notes)) {
    if (token == "|") {
      CheckBarLine(beat, notes);
      continue;
    }
    const auto [pitches, length] = WithLength(token, 1);
    if (pitches != "r") {
      std::size_t from = 0;
      while (from <= pitches.size()) {
        std::size_t plus = pitches.find('+', from);
        if (plus == std::string_view::npos) plus = pitches.size();
        Play(beat, length * legato, ParsePitch(pitches.substr(from, plus - from)) + transpose,
             Accent(beat, velocity));
        from = plus + 1;
      }
    }
    beat += length;
  }
  return beat;
}

void Part::Sustain(const Progression& p, int first, int last, int low, int velocity) {
  for (const ChordSpan& s : p.Bars(first, last))
    for (int key : Voicing(s.chord, low, s.chord.tones.size()))
      Play(s.beat, s.length, key, velocity);
}

void Part::Bass(const Progression& p, int first, int last, int low, int velocity, bool walk) {
  for (const ChordSpan& s : p.Bars(first, last)) {
    const int root = low + ((s.chord.bass - low) % 12 + 12) % 12;
    if (!walk || s.length < 2) {
      Play(s.beat, s.length, root, velocity);
      continue;
    }
    int fifth = low + ((s.chord.root + 7 - low) % 12 + 12) % 12;
    if (fifth == root) fifth += 12;
    Play(s.beat, s.length / 2, root, velocity);
    Play(s.beat + s.length / 2, s.length / 2, fifth, velocity - 8);
  }
}

void Part::Arpeggio(const Progression& p, int first, int last, int low, double step, double ring,
                    int velocity) {
  for (const ChordSpan& s : p.Bars(first, last)) {
    const std::vector<int> keys = Voicing(s.chord, low, 6);
    // Up and back down without repeating the turning notes: 0 1 2 3 4 5 4 3 2 1 0 1 ...
    const int cycle = std::max(1, 2 * static_cast<int>(keys.size()) - 2);
    const int steps = static_cast<int>(std::lround(s.length / step));
    for (int i = 0; i < steps; ++i) {
      const int pos = i % cycle;
      const int index = pos < static_cast<int>(keys.size()) ? pos : cycle - pos;
      const double beat = s.beat + i * step;
      Play(beat, std::min(ring, s.beat + s.length - beat), keys[static_cast<std::size_t>(index)],
           Accent(beat, velocity));
    }
  }
}

void Part::Roll(double beat, double length, int key, double step, int from, int to) {
  const int strokes = std::max(1, static_cast<int>(std::lround(length / step)));
  for (int i = 0; i < strokes; ++i) {
    const double f = strokes > 1 ? static_cast<double>(i) / (strokes - 1) : 1;
    Play(beat + i * step, step, key, static_cast<int>(std::lround(from + (to - from) * f)));
  }
}

void Part::Swell(double beat, double length, int from, int to) {
  const int steps = std::max(1, static_cast<int>(length * 4));
  for (int i = 0; i <= steps; ++i) {
    const double f = static_cast<double>(i) / steps;
    controls_.push_back(
        {beat + length * f, 11, static_cast<int>(std::lround(from + (to - from) * f))});
  }
}

MidiTrack Part::Track() const {
  MidiTrack t(name_);
  t.Program(0, channel_, program_);
  t.Control(0, channel_, 7, volume_);
  t.Control(0, channel_, 10, pan_);
  t.Control(0, channel_, 91, reverb_);
  for (const Control& c : controls_)
    t.Control(Ticks(c.beat), channel_, c.controller, c.value);
  // A key struck again while it still sounds is released first, so no later note-off cuts the
  // new note short and no note is left hanging.
  std::vector<Note> notes = notes_;
  std::stable_sort(notes.begin(), notes.end(),
                   [](const Note& a, const Note& b) { return a.beat < b.beat; });
  std::map<int, std::size_t> sounding;
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const auto it = sounding.find(notes[i].key);
    if (it != sounding.end()) {
      Note& earlier = notes[it->second];
      earlier.length = std::min(earlier.length, notes[i].beat - earlier.beat);
    }
    sounding[notes[i].key] = i;
  }
  for (const Note& n : notes) {
    const std::uint32_t on = Ticks(n.beat);
    const std::uint32_t off = Ticks(n.beat + n.length);
    if (off <= on) continue;
    t.NoteOn(on, channel_, n.key, n.velocity);
    t.NoteOff(off, channel_, n.key);
  }
  return t;
}

Score::Score(std::string title, double bpm, int key_sharps, bool minor)
    : title_(std::move(title)), key_sharps_(key_sharps), minor_(minor) {
  tempos_.push_back({0, bpm});
}

Part& Score::AddPart(std::string name, int channel, int program, int volume, int pan, int reverb) {
  return parts_.emplace_back(std::move(name), channel, program, volume, pan, reverb);
}

void Score::Tempo(int bar, double bpm) {
  tempos_.push_back({BarBeat(bar), bpm});
}

double Score::Seconds() const {
  double seconds = 0;
  for (std::size_t i = 0; i < tempos_.size(); ++i) {
    const double from = tempos_[i].first;
    const double to = i + 1 < tempos_.size() ? tempos_[i + 1].first : end_beat_;
    if (to > from) seconds += (std::min(to, end_beat_) - from) * 60 / tempos_[i].second;
  }
  return seconds;
}

std::vector<std::uint8_t> Score::Encode() const {
  std::vector<MidiTrack> tracks;
  MidiTrack conductor(title_);
  conductor.Meta(0, 0x58, {4, 2, 24, 8});  // 4/4
  conductor.Meta(
      0, 0x59,
      {static_cast<std::uint8_t>(key_sharps_), minor_ ? std::uint8_t{1} : std::uint8_t{0}});
  for (const auto& [beat, bpm] : tempos_)
    conductor.Tempo(Ticks(beat), bpm);
  conductor.EndAt(Ticks(end_beat_));
  tracks.push_back(conductor);
  for (const Part& p : parts_) {
    MidiTrack t = p.Track();
    t.EndAt(Ticks(end_beat_));
    tracks.push_back(t);
  }
  return EncodeSmf(kDivision, tracks);
}

}  // namespace qm::music
