#include "state/voyage_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fakes.h"
#include "platform/cp932.h"
#include "state/diary.h"
#include "state/game_state.h"
#include "state/save_files.h"
#include "temp_game_folder.h"

namespace qm {
namespace {

std::string Page(const std::vector<std::string>& utf8_lines) {
  std::string page;
  for (const std::string& line : utf8_lines)
    page += Sj(line) + "\r\n";
  return page;
}

GameState Captain(int days, int planets, int bottles, int level) {
  GameState s;
  s.commander_name = Sj("ｱｷﾗ");
  s.ship_name = Sj("あおば");
  s.voyage_days = days;
  s.planets_found = planets;
  s.bottles_found = bottles;
  s.captain_level = level;
  return s;
}

std::string Entry(int key) {
  return Utf8FromCp932(DiarySentence(key, Sj("ｱｷﾗ"), Sj("あおば")));
}

class VoyageLog : public testing::TempGameFolder {
 protected:
  std::string Log() const { return ReadBytes(Path("航海日誌.txt")); }
  testing::FakeServices fakes;
};

TEST_F(VoyageLog, DayTwelveWithTwoPlanetsAtLevelThreeGivesFiveLines) {
  ASSERT_TRUE(SaveGame(Captain(12, 2, 0, 3), fakes.services));
  EXPECT_EQ(Log(),
            Page({"★『あおば』号船長ｱｷﾗの航海日誌 ", "航海日数：12日目", "「" + Entry(14) + "」",
                  "宇宙船長LV：星座を暗記してる", "発見した惑星：2個"}));
  EXPECT_EQ(Entry(14), Entry(10));
  EXPECT_NE(Entry(14), Entry(15));
  EXPECT_TRUE(fakes.dialogs.errors.empty());
}

TEST_F(VoyageLog, DayZeroOfANewVoyage) {
  GameState state;
  NewGame(state);
  state.commander_name = Sj("ｱｷﾗ");
  state.ship_name = Sj("あおば");
  ASSERT_TRUE(WriteVoyageLog(state, fakes.dialogs));
  EXPECT_EQ(Log(), Page({"★『あおば』号船長ｱｷﾗの航海日誌 ", "航海日数：0日目",
                         "「" + Entry(0) + "」", "宇宙船長LV：暗いのが怖い"}));
  EXPECT_EQ(Entry(0), Entry(5));
}

TEST_F(VoyageLog, KeysBeyondTheDiaryWriteNoDiaryLine) {
  ASSERT_TRUE(WriteVoyageLog(Captain(200, 29, 1, 9), fakes.dialogs));
  EXPECT_EQ(Log(), Page({"★『あおば』号船長ｱｷﾗの航海日誌 ", "航海日数：200日目",
                         "「" + Entry(230) + "」", "宇宙船長LV：宇宙の答えを知っている",
                         "発見した惑星：29個", "発見したボトル：1個"}));
  // Saving twice leaves only the second page.
  ASSERT_TRUE(WriteVoyageLog(Captain(200, 30, 1, 9), fakes.dialogs));
  EXPECT_EQ(Log(), Page({"★『あおば』号船長ｱｷﾗの航海日誌 ", "航海日数：200日目",
                         "宇宙船長LV：宇宙の答えを知っている", "発見した惑星：30個",
                         "発見したボトル：1個"}));
  // A hand-edited record can push the key past the range of 32 bits or below zero.
  ASSERT_TRUE(WriteVoyageLog(Captain(2147483647, 1, 0, -1), fakes.dialogs));
  EXPECT_EQ(Log(), Page({"★『あおば』号船長ｱｷﾗの航海日誌 ", "航海日数：2147483647日目",
                         "宇宙船長LV：", "発見した惑星：1個"}));
  ASSERT_TRUE(WriteVoyageLog(Captain(-1, 0, 0, 1), fakes.dialogs));
  EXPECT_EQ(Log(), Page({"★『あおば』号船長ｱｷﾗの航海日誌 ", "航海日数：-1日目",
                         "宇宙船長LV：暗いのが怖い"}));
}

TEST_F(VoyageLog, TheDiaryCoversEveryKeyFromZeroTo230Once) {
  const auto entries = DiaryEntries();
  ASSERT_EQ(entries.size(), 50u);
  std::int32_t next = 0;
  for (const DiaryEntry& entry : entries) {
    EXPECT_EQ(entry.first_key, next);
    EXPECT_LE(entry.first_key, entry.last_key);
    next = entry.last_key + 1;
    // Every sentence must survive the trip to CP932, and say something.
    EXPECT_TRUE(Cp932FromUtf8(entry.before).has_value()) << entry.first_key;
    EXPECT_TRUE(Cp932FromUtf8(entry.after).has_value()) << entry.first_key;
    EXPECT_FALSE(std::string(entry.before).empty() && std::string(entry.after).empty());
  }
  EXPECT_EQ(next, 231);
  EXPECT_EQ(DiarySentence(-1, "a", "b"), "");
  EXPECT_EQ(DiarySentence(231, "a", "b"), "");
}

TEST_F(VoyageLog, NamesStandWhereTheDiarySaysAndMayBeEmpty) {
  EXPECT_EQ(Entry(38), "こわい！！助けて！！");
  EXPECT_EQ(Entry(39), "こわい！！助けて！！");
  EXPECT_EQ(Entry(196), "『あおば』号ばんざい");
  EXPECT_EQ(Entry(200), "『あおば』号ばんざい");
  for (int key : {77, 82, 83, 88, 206, 209}) {
    EXPECT_NE(Entry(key).find("あおば"), std::string::npos) << key;
    EXPECT_EQ(Entry(key).find("ｱｷﾗ"), std::string::npos) << key;
  }
  for (int key : {124, 127, 191, 195}) {
    EXPECT_NE(Entry(key).find("ｱｷﾗ"), std::string::npos) << key;
    EXPECT_EQ(Entry(key).find("あおば"), std::string::npos) << key;
  }
  for (int key : {0, 76, 89, 123, 128, 190, 201, 210, 230}) {
    EXPECT_EQ(Entry(key).find("ｱｷﾗ"), std::string::npos) << key;
    EXPECT_EQ(Entry(key).find("あおば"), std::string::npos) << key;
  }
  GameState unnamed = Captain(196, 0, 0, 2);
  unnamed.ship_name.clear();
  unnamed.commander_name.clear();
  ASSERT_TRUE(WriteVoyageLog(unnamed, fakes.dialogs));
  EXPECT_EQ(Log(), Page({"★『』号船長の航海日誌 ", "航海日数：196日目", "「『』号ばんざい」",
                         "宇宙船長LV：方向が少し分かる"}));
}

TEST_F(VoyageLog, LiesBesideTheExecutableNotInDat) {
  EXPECT_EQ(VoyageLogPath(), folder_ + "/航海日誌.txt");
  ASSERT_TRUE(WriteVoyageLog(Captain(1, 0, 0, 1), fakes.dialogs));
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(folder_ + "/航海日誌.txt")));
  EXPECT_FALSE(std::filesystem::exists(Path("dat/航海日誌.txt")));
}

}  // namespace
}  // namespace qm
