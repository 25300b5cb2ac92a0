// The game sleeps until something is due: timers set to the time left, and no music synthesized
// while none plays.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <thread>

#include "app/midi_player.h"
#include "built_game.h"
#include "platform/clock.h"

namespace qm {
namespace {

TEST(MsUntil, WakesAtTheDueTimeNeverBefore) {
  const double now = 1.0;
  EXPECT_EQ(MsUntil(now + 100 * kDaysPerMillisecond, now, 7), 100);
  // A fraction of a millisecond left is a whole one: waking earlier would find nothing due.
  EXPECT_EQ(MsUntil(now + 99.2 * kDaysPerMillisecond, now, 7), 100);
  EXPECT_EQ(MsUntil(now + 0.01 * kDaysPerMillisecond, now, 7), 1);
  // Due already, or never set: the caller's own look.
  EXPECT_EQ(MsUntil(now, now, 7), 7);
  EXPECT_EQ(MsUntil(0.0, now, 7), 7);
  // A time far ahead (a clock that jumped) is looked at again within a minute.
  EXPECT_EQ(MsUntil(now + 1.0, now, 7), 60000);
}

void RunEvents(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::string FirstSoundfont() {
  for (const std::string& font : DefaultFluidConfig().soundfonts)
    if (std::filesystem::exists(font)) return font;
  return "";
}

TEST(MidiPlayerQuiet, TheSynthesizerStopsSoonAfterTheMusicAndComesBackForTheNext) {
  const std::string font = FirstSoundfont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
  const std::string out = (std::filesystem::temp_directory_path() / "qm-quiet-music.wav").string();
  FluidMidiPlayer player({{font}, {"file"}, {{"audio.file.name", out}}});
  player.Open(testing::BuiltGame().string() + "/dat/title.mid");
  player.Play();
  RunEvents(300);
  EXPECT_EQ(player.driver(), "file") << "the music is playing";
  player.Stop();
  // The last notes die away first; then the driver and its thread go.
  RunEvents(500);
  EXPECT_EQ(player.driver(), "file");
  RunEvents(3000);
  EXPECT_EQ(player.driver(), "");
  player.Play();
  EXPECT_EQ(player.driver(), "file");
  player.Stop();
  std::filesystem::remove(out);
}

}  // namespace
}  // namespace qm
