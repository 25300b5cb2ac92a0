// The prologue music, under the ten lines of the roll (100 s, ten seconds a line): E minor at
// 72 beats a minute, thirty bars, three to a line. A halo of pad and a celesta open; the theme
// passes from the celesta to the oboe, a horn tells the middle over a stirring harp and timpani,
// the strings carry the theme home with the choir, and the celesta closes under the credit line.

#include "pieces.h"

namespace qm::music {

namespace {

constexpr const char* kTheme =
    "B4:1 E5:1 G5:1.5 F#5:0.5 | E5:1.5 D5:0.5 C5:1 B4:1 |"
    " D5:1 G5:1 B5:1.5 A5:0.5 | F#5:2 D5:2 |"
    " C5:1 E5:1 A5:1 G5:1 | F#5:2 D#5:2";

}  // namespace

Score ComposeOpening() {
  Score score("QUELMARIN opening", 72, 1, true);
  Progression chords;
  chords.Add(1, "Em | Cmaj7 | Em");            // the dark before
  chords.Add(4, "Em | C | G | D | Am | B7");   // theme
  chords.Add(10, "Em | C | G | D | Am7 | B");  // theme answered
  chords.Add(16, "C | D | Bm | Em | C | D");   // the story moves
  chords.Add(22, "Em | C | G | D | Am | B7");  // theme, full
  chords.Add(28, "Em | Cmaj7 | Em");           // credit line

  Part& pad = score.AddPart("Halo pad", 0, gm::kHaloPad, 85, kCentre, 90);
  pad.Sustain(chords, 1, 30, 52, 55);
  pad.Swell(0, 8, 10, 100);
  pad.Swell(BarBeat(29), 9, 100, 30);

  Part& celesta = score.AddPart("Celesta", 1, gm::kCelesta, 90, 80, 80);
  celesta.Line(1, "r:2 B5:1 G5:1 | E6:2 B5:2 | G5:1 E5:1 B4:2", 60);
  celesta.Line(4, kTheme, 80);
  celesta.Line(22, kTheme, 52, 0.95, 12);  // a glint above the strings
  celesta.Line(28, "r:2 E6:1 B5:1 | r:2 G5:1 B5:1 | r:2 E5:2", 50);

  Part& oboe = score.AddPart("Oboe", 2, gm::kOboe, 92, 50, 65);
  oboe.Line(10,
            "B4:1 E5:1 G5:1.5 F#5:0.5 | E5:1.5 D5:0.5 C5:1 G5:1 |"
            " B5:1.5 A5:0.5 G5:1 D5:1 | F#5:1.5 E5:0.5 D5:2 |"
            " E5:1 C5:1 A4:1 C5:1 | B4:4",
            80);
  oboe.Line(28, "B4:4 | G4:2 B4:2 | E4:4", 62);

  Part& horn = score.AddPart("Horn", 3, gm::kFrenchHorn, 95, 60, 70);
  horn.Line(16,
            "E4:1.5 G4:0.5 C5:2 | D5:1.5 C5:0.5 A4:2 | F#4:1 B4:1 D5:2 |"
            " E5:3 r:1 | G4:1 C5:1 E5:1 C5:1 | D5:2 A4:1 F#4:1",
            84);

  Part& strings = score.AddPart("Strings", 4, gm::kStrings, 90, 84, 70);
  strings.Sustain(chords, 10, 21, 55, 52);
  strings.Swell(BarBeat(10), 4, 50, 100);
  strings.Line(22, kTheme, 86);
  strings.Sustain(chords, 22, 27, 55, 58);

  Part& choir = score.AddPart("Choir", 5, gm::kChoir, 80, kCentre, 90);
  choir.Sustain(chords, 10, 15, 57, 42);
  choir.Sustain(chords, 22, 28, 57, 60);
  choir.Swell(BarBeat(10), 8, 30, 100);
  choir.Swell(BarBeat(28), 4, 100, 20);

  Part& bass = score.AddPart("Contrabass", 6, gm::kContrabass, 90, 58, 50);
  bass.Bass(chords, 4, 15, 33, 62, false);
  bass.Bass(chords, 16, 21, 33, 68, true);
  bass.Bass(chords, 22, 30, 33, 64, false);

  Part& harp = score.AddPart("Harp", 7, gm::kHarp, 78, 44, 70);
  harp.Arpeggio(chords, 16, 27, 52, 0.5, 1.5, 50);

  Part& timpani = score.AddPart("Timpani", 8, gm::kTimpani, 85, kCentre, 60);
  timpani.Roll(BarBeat(15) + 2, 2, 47, 0.125, 30, 80);  // B: into the horn's entry
  timpani.Play(BarBeat(16), 2, 48, 84);
  timpani.Roll(BarBeat(21) + 2, 2, 45, 0.125, 30, 80);
  timpani.Play(BarBeat(22), 2, 40, 90);
  timpani.Roll(BarBeat(30), 4, 40, 0.125, 40, 10);

  score.Tempo(30, 66);
  score.EndAt(BarBeat(31) + 1);
  return score;
}

}  // namespace qm::music
