#pragma once

// What the saved-game and chart targets share: a game folder of their own on tmpfs (the readers
// take a path, so each input is written there as the file the game would read), a widget
// application on the offscreen platform for the drawing, a synthetic chart that has every kind of
// point, and a short flight with a random hand on whatever state the damaged file left.

#include <unistd.h>

#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cockpit_rig.h"
#include "fuzz_check.h"
#include "platform/cp932.h"
#include "platform/game_folder.h"
#include "random_hand.h"
#include "state/chart_file.h"

namespace qm::fuzz {

// Makes /dev/shm/qm-<name>-<pid>/dat the game folder's dat/ and a QGuiApplication to draw with.
inline void SetUp(const char* name) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char arg0[] = "fuzz";
  static char* argv[] = {arg0, nullptr};
  static QGuiApplication app(argc, argv);
  static std::string folder;
  folder = "/dev/shm/qm-" + std::string(name) + "-" + std::to_string(static_cast<long>(::getpid()));
  std::filesystem::create_directories(folder + "/dat");
  // Portable, so the saves stay in the folder.
  std::ofstream(folder + "/" + std::string(kPortableMarker)).put('\n');
  SetGameFolderForTesting(folder);
  // libFuzzer leaves through exit(); a crash keeps the folder, with the files that crashed.
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  });
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A chart whose first `points` points have every kind, buoys linked in a chain and some points
// sharing a column; the file ends there, so the rest read as empty points, as from a cut file.
inline std::string SyntheticChartBytes(int points) {
  std::array<ChartPoint, kChartPointCount> chart;
  for (int i = 0; i < kChartPointCount; ++i) {
    ChartPoint& p = chart[static_cast<size_t>(i)];
    p.name = Sj("地点") + Dec(i);
    p.text =
        Sj("ﾏｰﾒｲﾀﾞ「古い航路標識が瞬いている。」") + std::string(static_cast<size_t>(i % 7), 'x');
    p.x = i % 61 - 30;
    p.y = (i / 61) % 5 - 2;
    p.z = (i * 7) % 61 - 30;
    p.kind = 1 + i % 22;
    p.size = 10 + i % 40;
    p.yield = i % 6;
    p.resource_gain = i % 4;
    p.next_point = (i + 1) % kChartPointCount;
    p.next_point_2 = i % 3 == 0 ? (i + 7) % kChartPointCount : -1;
    p.extra_point = i % 5 == 0 ? (i + 11) % kChartPointCount : -1;
  }
  const std::string whole = ChartFileBytes(chart);
  std::size_t end = 0;
  for (int line = 0; line < 12 * points && end < whole.size(); ++line)
    end = whole.find('\n', end) + 1;
  return whole.substr(0, end);
}

// A seed for the hand from the input, so a crash replays from its input alone.
inline std::uint32_t Hash(const std::uint8_t* data, std::size_t size) {
  std::uint32_t h = 2166136261u;
  for (std::size_t i = 0; i < size; ++i)
    h = (h ^ data[i]) * 16777619u;
  return h;
}

// Flies `frames` frames with a random hand, starting at the end of the log-on screen so the
// instruments run on the loaded state at once.
inline void Fly(testing::CockpitRig& rig, std::uint32_t seed, int frames) {
  testing::ShowWindowAsMade(rig.fake.controls);
  rig.vs.logon_step = kLogonFrames - 4;
  rig.voyage.InitStars();
  testing::RandomHand hand(rig.fake, rig.voyage, rig.cockpit, seed);
  for (int i = 0; i < frames; ++i)
    hand.Step();
}

}  // namespace qm::fuzz
