// The title music: a wistful theme in D minor for a ship that left long ago. Eighteen bars at
// 72 beats a minute, about a minute: two bars of harp and pad, the theme on the piano twice
// (the second time turning to the dominant), a brighter middle on the flute, and the theme's
// close, slowing into the last chord.

#include "pieces.h"

namespace qm::music {

Score ComposeTitle() {
  Score score("QUELMARIN title", 72, -1, true);
  Progression chords;
  chords.Add(1,
             "Dmadd9 | Bbmaj7 |"              // intro
             " Dm | Bb | F | C |"             // theme
             " Dm | Bb | Gm | Asus4:2 A:2 |"  // theme, to the dominant
             " Bb | C | Am | Dm |"            // middle
             " Gm | Bb:2 A7:2 | Dm | Dm");    // close

  Part& piano = score.AddPart("Piano", 0, gm::kPiano, 100, 56, 60);
  piano.Line(3,
             "r:1 A4:0.5 D5:0.5 F5:1.5 E5:0.5 | D5:1.5 C5:0.5 Bb4:1 A4:1 |"
             " A4:1.5 G4:0.5 A4:1 C5:1 | G4:3 r:1 |"
             " r:1 A4:0.5 D5:0.5 F5:1.5 E5:0.5 | D5:1.5 C5:0.5 Bb4:1 D5:1 |"
             " G5:1.5 F5:0.5 E5:1 D5:1 | E5:2 C#5:2",
             78);
  // In the close the piano sings under the flute, an octave down.
  piano.Line(15, "D4:1.5 Bb3:0.5 G3:1 Bb3:1 | D4:1 F4:1 E4:1 C#4:1 | F4:1.5 E4:0.5 D4:2 | D4:4",
             52);

  Part& flute = score.AddPart("Flute", 1, gm::kFlute, 95, 76, 70);
  flute.Line(11,
             "F5:1 D5:0.5 F5:0.5 Bb5:2 | A5:1.5 G5:0.5 E5:1 C5:1 |"
             " C5:1.5 D5:0.5 E5:1 A4:1 | F5:2 E5:1 D5:1 |"
             " D5:1.5 Bb4:0.5 G4:1 Bb4:1 | D5:1 F5:1 E5:1 C#5:1 |"
             " F5:1.5 E5:0.5 D5:2 | D5:4",
             82);

  Part& pad = score.AddPart("Warm pad", 2, gm::kWarmPad, 80, kCentre, 80);
  pad.Sustain(chords, 1, 18, 50, 60);
  pad.Swell(0, 6, 20, 100);
  pad.Swell(BarBeat(17), 9, 100, 50);

  Part& strings = score.AddPart("Strings", 3, gm::kStrings, 85, 80, 70);
  strings.Sustain(chords, 7, 10, 62, 52);
  strings.Sustain(chords, 11, 18, 62, 66);
  strings.Swell(BarBeat(7), 4, 40, 100);

  Part& harp = score.AddPart("Harp", 4, gm::kHarp, 80, 44, 70);
  harp.Arpeggio(chords, 1, 17, 50, 0.5, 2, 58);
  // The last chord is rolled once and left to ring.
  const int last_chord[] = {38, 45, 50, 53, 57, 62};
  for (int i = 0; i < 6; ++i)
    harp.Play(BarBeat(18) + 0.15 * i, 5 - 0.15 * i, last_chord[i], 60);

  Part& cello = score.AddPart("Cello", 5, gm::kCello, 90, 52, 50);
  cello.Bass(chords, 1, 10, 38, 62, false);
  cello.Bass(chords, 11, 14, 38, 66, true);
  cello.Bass(chords, 15, 18, 38, 64, false);

  score.Tempo(18, 66);
  score.EndAt(BarBeat(19) + 1);
  return score;
}

}  // namespace qm::music
