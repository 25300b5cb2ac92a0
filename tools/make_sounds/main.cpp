// Synthesizes every sound effect of the game into dat/ as RIFF/WAVE PCM files.
//
//   make_sounds OUTPUT_DIR NAME...
//
// The NAMEs are the files the build expects (without ".wav"); a list that differs from the sounds
// this program knows is refused, so the build and the sounds cannot drift apart unnoticed.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "sounds.h"
#include "state/atomic_file.h"
#include "wave_writer.h"

namespace {

using qm::sounds::SoundFile;

double PeakDbfs(const qm::sounds::Sound& s) {
  float peak = 0;
  for (float v : s.left)
    peak = std::max(peak, std::abs(v));
  for (float v : s.right)
    peak = std::max(peak, std::abs(v));
  return 20 * std::log10(std::max(peak, 1e-9f));
}

bool Write(const std::string& dir, const SoundFile& file) {
  const qm::sounds::Sound sound = file.make();
  if (sound.rate != file.format.rate || sound.Stereo() != (file.format.channels == 2)) {
    std::fprintf(stderr, "make_sounds: %s.wav was made in the wrong format\n", file.name.c_str());
    return false;
  }
  const std::string path = dir + "/" + file.name + ".wav";
  const std::vector<std::uint8_t> bytes = qm::sounds::EncodeWave(sound, file.format);
  const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!qm::TryWriteFileAtomically(path, view)) {
    std::fprintf(stderr, "make_sounds: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("%-12s %2d-bit %5d Hz %s %6.3f s  peak %5.1f dBFS\n", (file.name + ".wav").c_str(),
              file.format.bits, file.format.rate, file.format.channels == 2 ? "stereo" : "mono  ",
              sound.Seconds(), PeakDbfs(sound));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_sounds OUTPUT_DIR NAME...\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<SoundFile> files = qm::sounds::AllSoundFiles();

  std::set<std::string> known;
  for (const SoundFile& f : files)
    known.insert(f.name);
  const std::set<std::string> expected(argv + 2, argv + argc);
  if (known != expected) {
    for (const std::string& name : expected)
      if (!known.contains(name))
        std::fprintf(stderr, "make_sounds: no recipe for %s\n", name.c_str());
    for (const std::string& name : known)
      if (!expected.contains(name))
        std::fprintf(stderr, "make_sounds: %s is made but not listed\n", name.c_str());
    return 1;
  }

  for (const SoundFile& f : files)
    if (!Write(dir, f)) return 1;
  return 0;
}
