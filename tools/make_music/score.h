#pragma once

// A small vocabulary for writing the game's music as readable text: melodies as note lists, the
// harmony as chord symbols, and the accompaniment (pads, bass, arpeggios) laid from the chords.
// Time is counted in beats (quarter notes) from the start; bars have four beats and are numbered
// from 1. Mistakes in the text (an unknown chord, a bar line in mid-bar) throw
// std::invalid_argument, so a slip fails the build instead of playing a wrong note.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "smf.h"

namespace qm::music {

inline constexpr int kBeatsPerBar = 4;
inline constexpr int kDivision = 480;  // ticks per beat

inline double BarBeat(int bar) {
  return (bar - 1) * kBeatsPerBar;
}

// "C4" is middle C (60); sharps "#", flats "b": "F#5", "Bb3".
int ParsePitch(std::string_view name);

struct Chord {
  int root = 0;            // pitch class, C = 0
  std::vector<int> tones;  // pitch classes of the chord, root first
  int bass = 0;            // pitch class in the bass: the root, or the note after "/"
};

// Triads and sevenths: "C", "Am", "G7", "Fmaj7", "Em7", "Asus4", "Dsus2", "Dmadd9", "Bdim",
// with an optional slash bass: "G/B", "D/F#".
Chord ParseChord(std::string_view symbol);

struct ChordSpan {
  double beat = 0;
  double length = 0;
  Chord chord;
};

class Progression {
 public:
  // Chords from the start of `bar`, one bar each unless written with a length: "Asus4:2 A:2".
  // "|" may separate bars and must fall on a bar line.
  void Add(int bar, std::string_view symbols);
  // The chords that start within bars first..last.
  std::vector<ChordSpan> Bars(int first, int last) const;

 private:
  std::vector<ChordSpan> spans_;
};

class Part {
 public:
  Part(std::string name, int channel, int program, int volume, int pan, int reverb);

  void Play(double beat, double length, int key, int velocity);

  // A melody from the start of `bar`: "E5:1.5 D5:0.5 r:1 C4+E4:2 | ..."; "r" is a rest, "+" joins
  // notes into one chord, "|" is a bar line and must fall on one. Notes are held for `legato` of
  // their written length and moved by `transpose` semitones. Returns the beat after the last note.
  double Line(int bar, std::string_view notes, int velocity, double legato = 0.95,
              int transpose = 0);

  // Chords held as long as they last, voiced within the octave above `low`.
  void Sustain(const Progression& p, int first, int last, int low, int velocity);
  // The chord's bass note in the octave above `low`: a whole chord long, or with `walk` root and
  // fifth for half of it each.
  void Bass(const Progression& p, int first, int last, int low, int velocity, bool walk);
  // The chord broken up and down across two octaves above `low`, a note every `step` beats,
  // each left ringing for `ring` beats.
  void Arpeggio(const Progression& p, int first, int last, int low, double step, double ring,
                int velocity);
  // A drum roll: the key struck every `step` beats, growing from one loudness to the other.
  void Roll(double beat, double length, int key, double step, int from, int to);
  // The expression controller moves from `from` to `to` over the span: fades and swells.
  void Swell(double beat, double length, int from, int to);

  MidiTrack Track() const;

 private:
  struct Note {
    double beat, length;
    int key, velocity;
  };
  struct Control {
    double beat;
    int controller, value;
  };
  std::string name_;
  int channel_, program_, volume_, pan_, reverb_;
  std::vector<Note> notes_;
  std::vector<Control> controls_;
};

class Score {
 public:
  Score(std::string title, double bpm, int key_sharps, bool minor);

  Part& AddPart(std::string name, int channel, int program, int volume, int pan, int reverb);
  void Tempo(int bar, double bpm);
  // The piece lasts until `beat`: the end of the last bar, plus room for the last chord to ring.
  void EndAt(double beat) { end_beat_ = beat; }

  double Seconds() const;
  std::vector<std::uint8_t> Encode() const;

 private:
  std::string title_;
  int key_sharps_;
  bool minor_;
  std::vector<std::pair<double, double>> tempos_;  // beat, bpm
  std::deque<Part> parts_;
  double end_beat_ = 0;
};

std::uint32_t Ticks(double beat);

}  // namespace qm::music
