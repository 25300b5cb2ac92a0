// The ending music, from the roll's music point to its last frame (200 s): sixty bars at
// 72 beats a minute, easing in the last two. It begins in A minor, where the news of the
// shockwave still weighs, climbs through C major as the crew learns mankind lived on, turns to
// D major at the resolve to go home, and lays the dedication over the piano and a long farewell
// that settles, through a borrowed minor chord, on D.

#include "pieces.h"

namespace qm::music {

Score ComposeEnding() {
  Score score("QUELMARIN ending", 72, 0, true);
  Progression chords;
  chords.Add(1, "Am | Fmaj7 | C | G");                             // the news
  chords.Add(5, "Am | F | C | G | Am | F | G | C");                // the theme
  chords.Add(13, "F | G | Em | Am | Dm | G | Csus4:2 C:2 | C");    // the strings take it
  chords.Add(21, "Am | Em | F | C | Dm | Em | F | G");             // rising
  chords.Add(29, "C | G/B | Am | Em | F | C | Dm7 | G");           // mankind lives
  chords.Add(37, "Bb | A7");                                       // the turn
  chords.Add(39, "D | A | Bm | G | D | A | G | D");                // going home
  chords.Add(47, "G | D/F# | Em | A | G | D/F# | Em7:2 A:2 | D");  // the dedication
  chords.Add(55, "G | Gm | D | Bm | Asus4:2 A:2 | D");             // farewell

  Part& piano = score.AddPart("Piano", 0, gm::kPiano, 100, 56, 60);
  piano.Line(5,
             "E5:1.5 D5:0.5 C5:1 E5:1 | F5:1.5 E5:0.5 C5:2 | G5:1.5 F5:0.5 E5:1 C5:1 | D5:3 r:1 |"
             " E5:1.5 D5:0.5 C5:1 E5:1 | A5:1.5 G5:0.5 F5:1 A5:1 | G5:1 F5:1 D5:1 B4:1 | C5:3 r:1",
             78);
  piano.Arpeggio(chords, 13, 20, 55, 1, 2, 44);
  piano.Line(29,
             "G5:1.5 E5:0.5 C6:2 | B5:1.5 A5:0.5 G5:1 D5:1 | C6:1.5 B5:0.5 A5:1 E5:1 | B5:2 G5:2 |"
             " A5:1.5 G5:0.5 F5:1 C5:1 | E5:1 G5:1 C6:2 | F5:1 E5:1 D5:1 C5:1 | D5:2 B4:1 D5:1",
             80);
  piano.Line(47,
             "B4:1.5 A4:0.5 G4:1 D5:1 | A4:2 F#4:2 | G4:1.5 A4:0.5 B4:1 E5:1 | C#5:3 r:1 |"
             " B4:1.5 A4:0.5 G4:1 B4:1 | A4:1.5 D5:0.5 F#5:2 | G5:1 F#5:1 E5:1 C#5:1 | D5:4",
             72);
  piano.Sustain(chords, 47, 54, 50, 46);

  Part& strings = score.AddPart("Strings", 1, gm::kStrings, 92, 80, 70);
  strings.Line(13,
               "F5:1 A5:1 C6:1.5 A5:0.5 | B5:1.5 A5:0.5 G5:2 | G5:1 E5:1 B5:1.5 G5:0.5 |"
               " A5:3 E5:1 | F5:1.5 E5:0.5 D5:1 F5:1 | G5:1.5 F5:0.5 D5:1 B4:1 |"
               " C5:1 F5:2 E5:1 | E5:4",
               80);
  strings.Line(37, "D5:1.5 F5:0.5 Bb5:2 | A5:1 G5:1 E5:1 C#5:1", 86);
  const char* home =
      "F#5:1.5 E5:0.5 D5:1 F#5:1 | A5:1.5 G5:0.5 E5:2 | F#5:1.5 E5:0.5 D5:1 B4:1 |"
      " B4:1 D5:1 G5:2 | F#5:1.5 E5:0.5 D5:1 A5:1 | C#6:1.5 B5:0.5 A5:2 |"
      " B5:1 A5:1 G5:1 E5:1 | D5:4";
  strings.Line(39, home, 86);
  strings.Line(55, "D5:2 B4:2 | D5:2 Bb4:2 | A4:4 | F#5:2 D5:2 | E5:2 C#5:2 | D5:4", 76);

  Part& slow = score.AddPart("Slow strings", 2, gm::kSlowStrings, 80, 46, 75);
  slow.Sustain(chords, 13, 36, 55, 52);
  slow.Sustain(chords, 37, 46, 55, 58);
  slow.Sustain(chords, 55, 60, 55, 56);
  slow.Swell(BarBeat(13), 8, 30, 100);
  slow.Swell(BarBeat(59), 9, 100, 40);

  Part& flute = score.AddPart("Flute", 3, gm::kFlute, 92, 74, 70);
  flute.Line(21,
             "C5:1 E5:1 A5:2 | G5:1 E5:1 B4:2 | A4:1 C5:1 F5:1.5 E5:0.5 | E5:2 G5:2 |"
             " F5:1 A5:1 D6:1.5 C6:0.5 | B5:2 G5:1 E5:1 | A5:1.5 G5:0.5 F5:1 C5:1 |"
             " D5:2 G5:1 B5:1",
             80);

  Part& choir = score.AddPart("Choir", 4, gm::kChoir, 80, kCentre, 90);
  choir.Sustain(chords, 29, 46, 55, 56);
  choir.Sustain(chords, 55, 60, 57, 48);
  choir.Swell(BarBeat(29), 8, 30, 100);
  choir.Swell(BarBeat(47), 4, 100, 60);

  Part& pad = score.AddPart("Warm pad", 5, gm::kWarmPad, 75, kCentre, 80);
  pad.Sustain(chords, 1, 60, 48, 55);
  pad.Swell(0, 8, 10, 100);
  pad.Swell(BarBeat(59), 9, 100, 40);

  Part& harp = score.AddPart("Harp", 6, gm::kHarp, 80, 40, 70);
  harp.Arpeggio(chords, 1, 12, 45, 0.5, 2, 54);
  harp.Arpeggio(chords, 21, 28, 52, 0.5, 1.5, 50);
  harp.Arpeggio(chords, 47, 59, 52, 0.5, 2, 48);
  const int last_chord[] = {38, 45, 50, 54, 57, 62, 66};
  for (int i = 0; i < 7; ++i)
    harp.Play(BarBeat(60) + 0.15 * i, 5 - 0.15 * i, last_chord[i], 56);

  Part& bass = score.AddPart("Contrabass", 7, gm::kContrabass, 90, 58, 50);
  bass.Bass(chords, 1, 38, 33, 62, false);
  bass.Bass(chords, 39, 46, 33, 70, true);
  bass.Bass(chords, 47, 60, 33, 60, false);

  Part& horn = score.AddPart("Horn", 8, gm::kFrenchHorn, 88, 60, 70);
  horn.Line(39, home, 64, 0.95, -12);

  Part& timpani = score.AddPart("Timpani", 10, gm::kTimpani, 85, kCentre, 60);
  timpani.Roll(BarBeat(38), 4, 45, 0.125, 30, 80);  // into D major
  timpani.Play(BarBeat(39), 2, 38, 84);
  timpani.Play(BarBeat(46), 2, 38, 70);

  Part& celesta = score.AddPart("Celesta", 11, gm::kCelesta, 80, 86, 80);
  celesta.Line(55, "r:2 B5:1 D6:1 | r:2 Bb5:1 D6:1 | r:2 F#6:1 A6:1 | r:4 | r:4 | r:2 A6:1 D7:1",
               46);

  score.Tempo(59, 66);
  score.Tempo(60, 60);
  score.EndAt(BarBeat(61) + 1);
  return score;
}

}  // namespace qm::music
