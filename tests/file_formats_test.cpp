// The saved game's and the chart's formats, read from bytes in memory; what the files on disk
// add (missing files, faults of the system, the error boxes) is the save files' test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_files.h"
#include "platform/cp932.h"
#include "state/chart_file.h"
#include "state/file_error.h"
#include "state/saved_game.h"

namespace qm {
namespace {

using testing::ChartFile;
using testing::Join;

TEST(SavedGameFormat, BytesThatEndEarlyReadZerosAndEmptyTexts) {
  GameState state;
  state.planets_found = 9;
  state.ship_name = "old";
  state.save_checksum = 77;
  ParseSavedGame(Sj("ｱｷﾗ") + "\r\n5\r\n6", state);
  EXPECT_EQ(state.commander_name, Sj("ｱｷﾗ"));
  EXPECT_EQ(state.distance_total, 5);
  EXPECT_EQ(state.voyage_days, 6);  // the last line needs no line end
  EXPECT_EQ(state.planets_found, 0);
  EXPECT_EQ(state.point_state[399], 0);
  EXPECT_EQ(state.story_stage(), 0);
  EXPECT_EQ(state.ship_name, "");
  EXPECT_EQ(state.save_checksum, 0);

  ParseSavedGame("", state);
  EXPECT_EQ(state.commander_name, "");
  EXPECT_EQ(state.distance_total, 0);
}

TEST(SavedGameFormat, NumbersTakeSignsAndBlanksAndTheRestOfTheLineIsDropped) {
  std::vector<std::string> lines(429, "0");
  lines[2] = "+12";          // voyage_days
  lines[5] = " \t -30";      // sector_x
  lines[6] = "7 and more";   // sector_y
  lines[7] = "";             // sector_z: a blank line, so the number comes from the next line
  lines[8] = "-2147483648";  // that line, then energy reads hull's line
  lines[9] = "44";
  lines[10] = "3";
  GameState state;
  ParseSavedGame(Join(lines), state);
  EXPECT_EQ(state.voyage_days, 12);
  EXPECT_EQ(state.sector_x, -30);
  EXPECT_EQ(state.sector_y, 7);
  EXPECT_EQ(state.sector_z, INT32_MIN);
  EXPECT_EQ(state.energy, 44);
  EXPECT_EQ(state.hull, 3);
}

TEST(SavedGameFormat, ANonNumberStopsTheReadingWhereItStands) {
  for (const char* bad : {"12a", "+", "--1", "2147483648", "-2147483649", "0x10", "１２"}) {
    SCOPED_TRACE(bad);
    std::vector<std::string> lines(429, "4");
    lines[10] = bad;  // captain_level
    GameState state;
    state.captain_level = 8;
    try {
      ParseSavedGame(Join(lines), state);
      ADD_FAILURE() << "read as a number";
    } catch (const FileFailure& failure) {
      EXPECT_EQ(failure.code(), kNotANumber);
    }
    EXPECT_EQ(state.hull, 4);           // read before the failure
    EXPECT_EQ(state.captain_level, 8);  // not read
  }
}

TEST(SavedGameFormat, NamesAreKeptWholeWhateverTheirLengthOrTheirLineEnds) {
  std::vector<std::string> lines(429, "0");
  lines[0] = Sj("宇宙の旅人です");
  lines[427] = " QUELMARIN-1\t" + std::string(100000, 'Q');
  GameState state;
  ParseSavedGame(Join(lines), state);
  EXPECT_EQ(state.commander_name, Sj("宇宙の旅人です"));
  EXPECT_EQ(state.ship_name, lines[427]);

  // A file saved by a Unix editor still reads line by line.
  ParseSavedGame(Sj("ﾋｶﾙ") + "\n5\n6\n", state);
  EXPECT_EQ(state.commander_name, Sj("ﾋｶﾙ"));
  EXPECT_EQ(state.distance_total, 5);
  EXPECT_EQ(state.voyage_days, 6);
}

TEST(SavedGameFormat, WhatIsWrittenReadsBackToTheSameBytes) {
  GameState state;
  state.commander_name = Sj("星野ﾘｮｳ");
  state.ship_name = " ";
  state.distance_total = INT32_MIN;
  state.energy = INT32_MAX;
  state.point_state[399] = -7;
  state.story_stage() = 3;
  state.trouble_level[2] = 5;
  const std::string text = SavedGameText(state);
  GameState back;
  ParseSavedGame(text, back);
  EXPECT_EQ(back.save_checksum, SaveChecksum(state));
  EXPECT_EQ(SavedGameText(back), text);
  EXPECT_EQ(back.ship_name, " ");
  EXPECT_EQ(back.story_stage(), 3);
}

TEST(ChartFormat, BytesThatEndEarlyLeaveZerosAndEmptyTexts) {
  ChartFile file;
  file.lines.resize(12 * 3 + 4);  // point 3 ends after its x, y
  file.Set(3, 3, "12");
  GameState state;
  state.chart[399].name = "old";
  ParseChart(file.Bytes(), state.chart);
  EXPECT_EQ(state.chart[2].name, "P2");
  EXPECT_EQ(state.chart[3].x, 12);
  EXPECT_EQ(state.chart[3].kind, 0);
  EXPECT_EQ(state.chart[3].next_point, 0);
  EXPECT_EQ(state.chart[399].name, "");
}

TEST(ChartFormat, FieldsComeInTheFileOrderAndLinksStayInsideTheChart) {
  ChartFile file;
  const char* values[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  for (int line = 3; line <= 12; ++line)
    file.Set(42, line, values[line - 3]);
  file.Set(42, 1, Sj("【北極星】"));
  file.Set(8, 9, "400");
  file.Set(8, 10, "-2");
  file.Set(8, 11, "399");
  file.Set(9, 9, "-1");
  file.Set(9, 10, "0");
  file.Set(9, 11, "2147483647");
  GameState state;
  ParseChart(file.Bytes(), state.chart);
  const ChartPoint& p = state.chart[42];
  EXPECT_EQ(p.name, Sj("【北極星】"));
  EXPECT_EQ(p.text, Sj("ここは42"));
  EXPECT_EQ(std::vector<int>({p.x, p.y, p.z, p.kind, p.size, p.yield, p.next_point, p.next_point_2,
                              p.extra_point, p.resource_gain}),
            std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(state.chart[8].next_point, -1);
  EXPECT_EQ(state.chart[8].next_point_2, -1);
  EXPECT_EQ(state.chart[8].extra_point, 399);
  EXPECT_EQ(state.chart[9].next_point, -1);
  EXPECT_EQ(state.chart[9].next_point_2, 0);
  EXPECT_EQ(state.chart[9].extra_point, -1);

  // What is written back reads the same.
  const std::string text = ChartFileBytes(state.chart);
  GameState back;
  ParseChart(text, back.chart);
  EXPECT_EQ(ChartFileBytes(back.chart), text);
}

TEST(ChartFormat, PointsOutsideSpaceStayOffTheGrid) {
  ChartFile file;
  auto place = [&](int point, const char* x, const char* y, const char* z, const char* kind) {
    file.Set(point, 3, x);
    file.Set(point, 4, y);
    file.Set(point, 5, z);
    file.Set(point, 6, kind);
  };
  place(1, "31", "0", "0", "7");
  place(2, "0", "0", "-31", "7");
  place(3, "30", "0", "-30", "256");
  place(4, "-30", "0", "30", "255");
  place(5, "10", "1", "10", "4");
  place(6, "10", "-9", "10", "3");  // same column, other height: the later point wins
  GameState state;
  ParseChart(file.Bytes(), state.chart);
  BuildGrid(state);
  EXPECT_EQ(state.GridCell(30, 0), 0);
  EXPECT_EQ(state.GridCell(0, -30), 0);
  EXPECT_EQ(state.GridCell(30, -30), 0);
  EXPECT_EQ(state.chart[3].kind, 256);
  EXPECT_EQ(state.GridCell(-30, 30), 255);
  EXPECT_EQ(state.GridCell(10, 10), 3);
}

TEST(ChartFormat, ANonNumberStopsTheChartWithThePointsBeforeIt) {
  ChartFile file;
  file.Set(5, 7, "big");  // point 5's size
  GameState state;
  try {
    ParseChart(file.Bytes(), state.chart);
    ADD_FAILURE() << "read as a number";
  } catch (const FileFailure& failure) {
    EXPECT_EQ(failure.code(), kNotANumber);
  }
  EXPECT_EQ(state.chart[4].name, "P4");
  EXPECT_EQ(state.chart[5].name, "P5");
  EXPECT_EQ(state.chart[6].name, "");
}

}  // namespace
}  // namespace qm
