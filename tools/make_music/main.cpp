// Writes the game's music into dat/ as standard MIDI files.
//
//   make_music OUTPUT_DIR NAME...
//
// The NAMEs are the files the build expects (without ".mid"); a list that differs from the pieces
// this program knows is refused, so the build and the music cannot drift apart unnoticed.

#include <cstdio>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "pieces.h"
#include "state/atomic_file.h"

namespace {

struct Piece {
  std::string name;
  std::function<qm::music::Score()> compose;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_music OUTPUT_DIR NAME...\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<Piece> pieces = {
      {"title", qm::music::ComposeTitle},
      {"opening", qm::music::ComposeOpening},
      {"ending", qm::music::ComposeEnding},
  };
  std::set<std::string> known;
  for (const Piece& p : pieces)
    known.insert(p.name);
  if (known != std::set<std::string>(argv + 2, argv + argc)) {
    std::fprintf(stderr, "make_music: the build lists other pieces than title, opening, ending\n");
    return 1;
  }

  for (const Piece& p : pieces) {
    try {
      const qm::music::Score score = p.compose();
      const std::string path = dir + "/" + p.name + ".mid";
      const std::vector<std::uint8_t> bytes = score.Encode();
      const std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      if (!qm::TryWriteFileAtomically(path, view)) {
        std::fprintf(stderr, "make_music: cannot write %s\n", path.c_str());
        return 1;
      }
      std::printf("%-12s %6zu bytes %6.1f s\n", (p.name + ".mid").c_str(), bytes.size(),
                  score.Seconds());
    } catch (const std::invalid_argument& e) {
      std::fprintf(stderr, "make_music: %s.mid: %s\n", p.name.c_str(), e.what());
      return 1;
    }
  }
  return 0;
}
