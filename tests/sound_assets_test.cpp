// The sounds and music the build puts in dat/: every file the game cues exists in the format it
// was made for, sounds cleanly (headroom, no clicks at its edges, nineteen different clicks),
// loads through the game's own WAVE loader, and every piece of music is a well-formed standard
// MIDI file that lasts as long as the scene it plays under.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "built_game.h"
#include "make_music/score.h"
#include "pcmmix_rig.h"

namespace qm::testing {
namespace {

Bytes ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Le(const Bytes& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i)
    v = v << 8 | b[at + static_cast<std::size_t>(i)];
  return v;
}

std::uint32_t Be(const Bytes& b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = 0; i < n; ++i)
    v = v << 8 | b[at + static_cast<std::size_t>(i)];
  return v;
}

bool IdAt(const Bytes& b, std::size_t at, const char* id) {
  return b.size() >= at + 4 && std::equal(id, id + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// ---- WAVE ----------------------------------------------------------------------------------

struct Expected {
  std::string name;
  int channels, rate, bits;
  double min_seconds, max_seconds;
};

std::vector<Expected> ExpectedSounds() {
  std::vector<Expected> all;
  for (int i = 0; i < 19; ++i)
    all.push_back({std::to_string(i), 1, 11025, 8, 0.015, 0.15});
  // The typewriter beeps every 100 ms frame, each queued behind the last: it must be over sooner.
  all.push_back({"pi", 1, 11025, 8, 0.01, 0.06});
  all.push_back({"e", 1, 11025, 8, 0.03, 0.2});
  all.push_back({"e2", 1, 11025, 8, 0.03, 0.2});
  all.push_back({"log", 2, 44100, 16, 0.8, 4});
  // The log-on prompt lines appear over ten frames.
  all.push_back({"logon", 1, 11025, 8, 0.5, 1.5});
  all.push_back({"check", 1, 22050, 16, 0.2, 0.9});
  all.push_back({"on", 2, 22050, 16, 0.5, 3});
  all.push_back({"map", 1, 11025, 8, 0.2, 1});
  all.push_back({"bom", 1, 44100, 16, 0.3, 2});
  all.push_back({"booster", 1, 22050, 16, 1, 4});
  all.push_back({"baku", 1, 44100, 16, 1.5, 5});
  all.push_back({"error", 1, 11025, 8, 1, 4});
  return all;
}

struct Wave {
  int channels = 0, rate = 0, bits = 0;
  std::vector<std::vector<double>> samples;  // per channel, -1..1
  std::string fault;                         // empty when the file is well formed

  double Seconds() const { return samples.empty() ? 0 : double(samples[0].size()) / rate; }
};

Wave ParseWave(const Bytes& b) {
  Wave w;
  if (!IdAt(b, 0, "RIFF") || !IdAt(b, 8, "WAVE")) return w.fault = "not RIFF/WAVE", w;
  if (Le(b, 4, 4) + 8 != b.size()) return w.fault = "RIFF size differs from the file size", w;
  std::size_t at = 12;
  bool have_fmt = false;
  Bytes data;
  while (at + 8 <= b.size()) {
    const std::uint32_t size = Le(b, at + 4, 4);
    const std::size_t body = at + 8;
    if (body + size > b.size()) return w.fault = "chunk runs past the end", w;
    if (IdAt(b, at, "fmt ")) {
      if (size < 16 || Le(b, body, 2) != 1) return w.fault = "fmt is not PCM", w;
      w.channels = static_cast<int>(Le(b, body + 2, 2));
      w.rate = static_cast<int>(Le(b, body + 4, 4));
      w.bits = static_cast<int>(Le(b, body + 14, 2));
      const std::uint32_t align = Le(b, body + 12, 2);
      if (w.channels < 1 || (w.bits != 8 && w.bits != 16) ||
          align != static_cast<std::uint32_t>(w.channels * w.bits / 8) ||
          Le(b, body + 8, 4) != w.rate * align)
        return w.fault = "inconsistent fmt fields", w;
      have_fmt = true;
    } else if (IdAt(b, at, "data")) {
      if (!have_fmt) return w.fault = "data before fmt", w;
      data.assign(b.begin() + static_cast<std::ptrdiff_t>(body),
                  b.begin() + static_cast<std::ptrdiff_t>(body + size));
    }
    at = body + size + (size & 1);
  }
  if (at != b.size()) return w.fault = "trailing bytes or missing pad byte", w;
  if (data.empty()) return w.fault = "no data", w;
  const std::size_t frame = static_cast<std::size_t>(w.channels * w.bits / 8);
  if (data.size() % frame != 0) return w.fault = "data is not whole frames", w;
  w.samples.assign(static_cast<std::size_t>(w.channels), {});
  for (std::size_t i = 0; i < data.size(); i += static_cast<std::size_t>(w.bits / 8)) {
    const double v =
        w.bits == 8 ? (data[i] - 128) / 128.0 : static_cast<std::int16_t>(Le(data, i, 2)) / 32768.0;
    w.samples[(i / static_cast<std::size_t>(w.bits / 8)) % static_cast<std::size_t>(w.channels)]
        .push_back(v);
  }
  return w;
}

std::string WavePath(const std::string& name) {
  return testing::BuiltGame().string() + "/dat/" + name + ".wav";
}

Wave LoadWave(const std::string& name) {
  return ParseWave(ReadAll(WavePath(name)));
}

TEST(SoundFiles, EveryCueIsAPcmWaveInItsFormatAndOfASensibleLength) {
  for (const Expected& e : ExpectedSounds()) {
    SCOPED_TRACE(e.name + ".wav");
    const Wave w = LoadWave(e.name);
    ASSERT_EQ(w.fault, "");
    EXPECT_EQ(w.channels, e.channels);
    EXPECT_EQ(w.rate, e.rate);
    EXPECT_EQ(w.bits, e.bits);
    EXPECT_GE(w.Seconds(), e.min_seconds);
    EXPECT_LE(w.Seconds(), e.max_seconds);
  }
}

TEST(SoundFiles, LevelsLeaveHeadroomAndNothingClips) {
  for (const Expected& e : ExpectedSounds()) {
    SCOPED_TRACE(e.name + ".wav");
    const Wave w = LoadWave(e.name);
    ASSERT_EQ(w.fault, "");
    double peak = 0;
    int longest_clip = 0;
    for (const std::vector<double>& ch : w.samples) {
      int run = 0;
      for (double v : ch) {
        peak = std::max(peak, std::abs(v));
        run = std::abs(v) >= 0.99 ? run + 1 : 0;
        longest_clip = std::max(longest_clip, run);
      }
    }
    EXPECT_EQ(longest_clip, 0);
    const double dbfs = 20 * std::log10(peak);
    EXPECT_GE(dbfs, -12.0) << "too quiet beside the other sounds";
    EXPECT_LE(dbfs, -3.0) << "no headroom left for the mixer";
  }
}

TEST(SoundFiles, EverySoundStartsAndEndsInSilence) {
  for (const Expected& e : ExpectedSounds()) {
    SCOPED_TRACE(e.name + ".wav");
    const Wave w = LoadWave(e.name);
    ASSERT_EQ(w.fault, "");
    // A sound that starts or stops mid-swing clicks; the first quarter millisecond may only
    // begin to rise, and the last millisecond must have died away.
    const std::size_t head = std::max<std::size_t>(1, static_cast<std::size_t>(w.rate / 4000));
    const std::size_t tail = static_cast<std::size_t>(w.rate / 1000);
    for (const std::vector<double>& ch : w.samples) {
      ASSERT_GT(ch.size(), head + tail);
      EXPECT_LE(std::abs(ch.front()), 0.02);
      EXPECT_LE(std::abs(ch.back()), 0.02);
      double start = 0, end = 0;
      for (std::size_t i = 0; i < head; ++i)
        start = std::max(start, std::abs(ch[i]));
      for (std::size_t i = ch.size() - tail; i < ch.size(); ++i)
        end = std::max(end, std::abs(ch[i]));
      EXPECT_LE(start, 0.15);
      EXPECT_LE(end, 0.1);
    }
  }
}

TEST(SoundFiles, TheNineteenClicksAreAllDifferent) {
  std::vector<std::vector<double>> clicks;
  for (int i = 0; i < 19; ++i) {
    const Wave w = LoadWave(std::to_string(i));
    ASSERT_EQ(w.fault, "") << i;
    clicks.push_back(w.samples[0]);
  }
  // Correlation over the common length: a click that is a copy, or the same tick made louder or
  // a little longer, correlates near 1.
  for (std::size_t a = 0; a < clicks.size(); ++a) {
    for (std::size_t b = a + 1; b < clicks.size(); ++b) {
      const std::size_t n = std::min(clicks[a].size(), clicks[b].size());
      double ab = 0, aa = 0, bb = 0;
      for (std::size_t i = 0; i < n; ++i) {
        ab += clicks[a][i] * clicks[b][i];
        aa += clicks[a][i] * clicks[a][i];
        bb += clicks[b][i] * clicks[b][i];
      }
      EXPECT_LT(std::abs(ab) / std::sqrt(aa * bb), 0.9) << a << ".wav and " << b << ".wav";
    }
  }
}

class SoundLoaderTest : public MixRig {};

TEST_F(SoundLoaderTest, EverySoundLoadsThroughTheGameLoaderAtTheRightLength) {
  Start();
  ASSERT_EQ(S().output_format.channels, 1);
  ASSERT_EQ(S().output_format.samples_per_sec, 11025u);
  for (const Expected& e : ExpectedSounds()) {
    SCOPED_TRACE(e.name + ".wav");
    const Wave file = LoadWave(e.name);
    ASSERT_EQ(file.fault, "");
    MixWave* w = nullptr;
    const std::string error = MIX_ERROR(
        w = PcmMixLoadWave(session, WaveName::File(WavePath(e.name)), nullptr, LoadFromFile));
    ASSERT_EQ(error, "(none)");
    // Higher rates come down by whole factors: a frame per 2 at 22050, per 4 at 44100.
    const std::size_t frames = file.samples[0].size();
    EXPECT_EQ(static_cast<std::size_t>(w->length),
              frames / static_cast<std::size_t>(e.rate / 11025));
    // The conversion keeps the edges silent: 128 is the 8-bit zero.
    EXPECT_NEAR(w->data[0], 128, 3);
    EXPECT_NEAR(w->data[static_cast<std::size_t>(w->length) - 1], 128, 3);
    PcmMixFreeWave(session, w);
  }
}

// ---- MIDI ----------------------------------------------------------------------------------

struct Midi {
  std::string fault;
  int tracks = 0;
  std::map<int, std::uint32_t> first_program;  // channel -> tick of its first program change
  std::map<int, std::uint32_t> first_note;     // channel -> tick of its first note
  int notes = 0;
  int hanging = 0;                                // note-ons never released
  std::map<std::uint32_t, std::uint32_t> tempos;  // tick -> microseconds per beat
  std::uint32_t end_tick = 0;
  int division = 0;

  double Seconds() const {
    double s = 0;
    std::uint32_t tick = 0, tempo = 500000;  // the standard's default until a tempo is set
    for (const auto& [at, micros] : tempos) {
      s += double(std::min(at, end_tick) - std::min(tick, end_tick)) * tempo / division / 1e6;
      tick = at;
      tempo = micros;
    }
    return s + double(end_tick - std::min(tick, end_tick)) * tempo / division / 1e6;
  }
};

bool ReadVarLen(const Bytes& b, std::size_t& at, std::size_t end, std::uint32_t& v) {
  v = 0;
  for (int i = 0; i < 4 && at < end; ++i) {
    const std::uint8_t c = b[at++];
    v = v << 7 | (c & 0x7F);
    if (!(c & 0x80)) return true;
  }
  return false;
}

// One MTrk body; false with `m.fault` set when it is malformed.
bool ParseTrack(const Bytes& b, std::size_t at, std::size_t end, Midi& m) {
  std::uint32_t tick = 0;
  std::uint8_t running = 0;
  std::map<std::pair<int, int>, int> on;
  while (at < end) {
    std::uint32_t delta = 0;
    if (!ReadVarLen(b, at, end, delta) || at >= end) return m.fault = "bad delta time", false;
    tick += delta;
    std::uint8_t status = b[at];
    if (status == 0xFF) {
      std::uint32_t len = 0;
      std::size_t p = at + 2;
      if (p > end || !ReadVarLen(b, p, end, len) || p + len > end)
        return m.fault = "bad meta", false;
      const std::uint8_t type = b[at + 1];
      running = 0;
      at = p + len;
      if (type == 0x51 && len == 3) m.tempos[tick] = Be(b, p, 3);
      if (type == 0x2F) {
        if (at != end) return m.fault = "events after end-of-track", false;
        m.end_tick = std::max(m.end_tick, tick);
        for (const auto& [key, count] : on)
          m.hanging += count;
        return true;
      }
      continue;
    }
    if (status == 0xF0 || status == 0xF7) return m.fault = "unexpected sysex", false;
    if (status & 0x80) {
      running = status;
      ++at;
    } else if (!running) {
      return m.fault = "data byte without status", false;
    }
    const int kind = running & 0xF0, channel = running & 0x0F;
    const std::size_t data_bytes = kind == 0xC0 || kind == 0xD0 ? 1 : 2;
    if (at + data_bytes > end) return m.fault = "message cut short", false;
    for (std::size_t i = 0; i < data_bytes; ++i)
      if (b[at + i] & 0x80) return m.fault = "status byte inside a message", false;
    const int key = b[at], velocity = data_bytes == 2 ? b[at + 1] : 0;
    at += data_bytes;
    // Tracks are read one after the other, so "first" is the earliest tick over all of them.
    auto earliest = [&](std::map<int, std::uint32_t>& first) {
      const auto [it, fresh] = first.try_emplace(channel, tick);
      it->second = std::min(it->second, tick);
    };
    if (kind == 0xC0) earliest(m.first_program);
    if (kind == 0x90 && velocity > 0) {
      earliest(m.first_note);
      // A synthesizer would cut the note short at the first of the two note-offs.
      if (on[{channel, key}] > 0) return m.fault = "key struck again while it sounds", false;
      ++on[{channel, key}];
      ++m.notes;
    } else if (kind == 0x80 || kind == 0x90) {
      if (on[{channel, key}] == 0) return m.fault = "note-off without note-on", false;
      --on[{channel, key}];
    }
  }
  return m.fault = "track without end-of-track", false;
}

Midi ParseMidi(const Bytes& b) {
  Midi m;
  if (!IdAt(b, 0, "MThd") || b.size() < 14 || Be(b, 4, 4) != 6) return m.fault = "no MThd", m;
  const std::uint32_t format = Be(b, 8, 2), declared = Be(b, 10, 2);
  m.division = static_cast<int>(Be(b, 12, 2));
  if (format > 1 || m.division == 0 || (m.division & 0x8000)) return m.fault = "bad MThd", m;
  std::size_t at = 14;
  while (at < b.size()) {
    if (!IdAt(b, at, "MTrk") || at + 8 > b.size()) return m.fault = "not an MTrk chunk", m;
    const std::size_t end = at + 8 + Be(b, at + 4, 4);
    if (end > b.size()) return m.fault = "MTrk length runs past the file", m;
    if (!ParseTrack(b, at + 8, end, m)) return m;
    ++m.tracks;
    at = end;
  }
  if (static_cast<std::uint32_t>(m.tracks) != declared) m.fault = "track count differs from MThd";
  return m;
}

TEST(MusicFiles, EachPieceIsAWellFormedMidiFileWithInstrumentsAndTempo) {
  for (const char* name : {"title", "opening", "ending"}) {
    SCOPED_TRACE(name);
    const Midi m = ParseMidi(ReadAll(testing::BuiltGame().string() + "/dat/" + name + ".mid"));
    ASSERT_EQ(m.fault, "");
    EXPECT_GT(m.notes, 100);
    EXPECT_EQ(m.hanging, 0) << "notes left sounding";
    ASSERT_FALSE(m.tempos.empty());
    EXPECT_EQ(m.tempos.begin()->first, 0u) << "the tempo is set from the start";
    // Every melodic channel chooses its General MIDI instrument before it plays.
    for (const auto& [channel, tick] : m.first_note) {
      if (channel == 9) continue;
      ASSERT_TRUE(m.first_program.contains(channel)) << "channel " << channel;
      EXPECT_LE(m.first_program.at(channel), tick) << "channel " << channel;
    }
  }
}

TEST(MusicFiles, EachPieceLastsAsLongAsItsScene) {
  // The title runs about a minute; the prologue roll 1000 frames; the ending roll plays its
  // music from frame 152 to its end at frame 2151, at 10 frames a second.
  const std::pair<const char*, double> pieces[] = {
      {"title", 60}, {"opening", 100}, {"ending", (2151 - 152) / 10.0}};
  for (const auto& [name, target] : pieces) {
    SCOPED_TRACE(name);
    const Midi m = ParseMidi(ReadAll(testing::BuiltGame().string() + "/dat/" + name + ".mid"));
    ASSERT_EQ(m.fault, "");
    EXPECT_NEAR(m.Seconds(), target, target * 0.1);
  }
}

// ---- The notation the music is written in -------------------------------------------------

TEST(MusicNotation, NoteNamesAndChordSymbolsMeanTheirPitches) {
  using music::ParseChord;
  using music::ParsePitch;
  EXPECT_EQ(ParsePitch("C4"), 60);
  EXPECT_EQ(ParsePitch("A4"), 69);
  EXPECT_EQ(ParsePitch("F#5"), 78);
  EXPECT_EQ(ParsePitch("Bb3"), 58);
  EXPECT_EQ(ParsePitch("B#3"), 60);  // the letter's octave, not the sound's
  EXPECT_EQ(ParsePitch("Cb4"), 59);
  for (const char* bad : {"H4", "C", "C9", "C#", "c4", "C44"})
    EXPECT_THROW(ParsePitch(bad), std::invalid_argument) << bad;

  EXPECT_EQ(ParseChord("Am").tones, (std::vector<int>{9, 0, 4}));
  EXPECT_EQ(ParseChord("Fmaj7").tones, (std::vector<int>{5, 9, 0, 4}));
  EXPECT_EQ(ParseChord("Bb").tones, (std::vector<int>{10, 2, 5}));
  EXPECT_EQ(ParseChord("Asus4").tones, (std::vector<int>{9, 2, 4}));
  EXPECT_EQ(ParseChord("G/B").bass, 11);
  EXPECT_EQ(ParseChord("D/F#").bass, 6);
  EXPECT_EQ(ParseChord("Em7").bass, 4);
  for (const char* bad : {"Cxyz", "G/H", "H", "D/F#m", ""})
    EXPECT_THROW(ParseChord(bad), std::invalid_argument) << bad;
}

TEST(MusicNotation, BarLinesMustFallOnBarsSoASlipFailsTheBuild) {
  music::Part part("test", 0, 0, 100, 64, 0);
  EXPECT_EQ(part.Line(1, "C4:1.5 D4:0.5 E4:2 | F4:4 |", 80), 8);
  EXPECT_EQ(part.Line(3, "r:4 | C4+E4+G4:4", 80), 16);
  EXPECT_THROW(part.Line(1, "C4:3 | D4:1", 80), std::invalid_argument);
  EXPECT_THROW(part.Line(1, "C4:x", 80), std::invalid_argument);
  EXPECT_THROW(part.Line(1, "C4:0", 80), std::invalid_argument);
  music::Progression slip;
  EXPECT_THROW(slip.Add(1, "Am:3 | F"), std::invalid_argument);
  music::Progression chords;
  EXPECT_NO_THROW(chords.Add(1, "Asus4:2 A:2 | F"));
  EXPECT_EQ(chords.Bars(1, 1).size(), 2u);
  EXPECT_EQ(chords.Bars(2, 2).size(), 1u);
}

TEST(MusicNotation, TheWrittenFileHoldsTheNotesTempoAndLengthOfTheScore) {
  // Two bars at 120 and one at 60: 4 + 4 seconds. A chord, a key struck again while it still
  // sounds, and a note far enough in to need a long delta time.
  music::Score score("test", 120, 0, false);
  music::Part& part = score.AddPart("part", 3, 41, 100, 64, 0);
  part.Line(1, "C4+E4+G4:4", 80);
  part.Play(0, 6, 72, 70);
  part.Play(2, 2, 72, 70);  // the earlier C5 is let go here, not left hanging
  part.Play(9, 2, 48, 60);
  score.Tempo(3, 60);
  score.EndAt(music::BarBeat(4));
  EXPECT_DOUBLE_EQ(score.Seconds(), 8);

  const Midi m = ParseMidi(score.Encode());
  ASSERT_EQ(m.fault, "");
  EXPECT_EQ(m.tracks, 2);
  EXPECT_EQ(m.notes, 6);
  EXPECT_EQ(m.hanging, 0);
  EXPECT_EQ(m.first_program.at(3), 0u);
  EXPECT_EQ(m.first_note.at(3), 0u);
  EXPECT_NEAR(m.Seconds(), 8, 1e-9);
}

}  // namespace
}  // namespace qm::testing
