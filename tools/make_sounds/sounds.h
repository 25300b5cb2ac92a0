#pragma once

// Every sound the game plays, each made from scratch by its own recipe.

#include <functional>
#include <string>
#include <vector>

#include "dsp.h"
#include "wave_writer.h"

namespace qm::sounds {

// One file of dat/: its name, the format it is stored in, and how it is made. The sound a recipe
// returns already has the format's rate and channel count.
struct SoundFile {
  std::string name;
  WaveFormat format;
  std::function<Sound()> make;
};

inline constexpr int kClickCount = 19;

// 0.wav .. 18.wav: the short ticks of buttons and answers. 6 and 2 double as the refusal of the
// save point, before and after its message, so they are the low "no" and the falling pair.
Sound MakeClick(int index);

Sound MakeTypewriterBeep();  // pi.wav, one per typed step, so shorter than a frame
Sound MakePadPress();        // e.wav
Sound MakePadRelease();      // e2.wav

Sound MakeWindowChime(int rate);  // log.wav, stereo: the voyage window opens
Sound MakeLogOn();                // logon.wav: the ship computer takes the commander's ID
Sound MakeContactCheck(int rate);
Sound MakeArrival(int rate);  // stereo
Sound MakeChart();
Sound MakeCollision(int rate);
Sound MakeBooster(int rate);
Sound MakeExplosion(int rate);
Sound MakeAlarm();

std::vector<SoundFile> AllSoundFiles();

}  // namespace qm::sounds
