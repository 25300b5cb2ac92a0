#include "platform/cp932.h"
#include "platform/gcc12_false_warnings.h"

#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

namespace qm {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

const std::string kReplacement = "\xEF\xBF\xBD";

// Valid UTF-8 survives a trip through QString unchanged; broken UTF-8 does not.
bool IsValidUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())).toStdString() == s;
}

TEST(Cp932, TheGamesOwnCharactersHaveTheirWindowsBytes) {
  struct Case {
    const char* utf8;
    std::string cp932;
  };
  const std::vector<Case> cases = {
      {"ﾏｰﾒｲﾀﾞ", Bytes({0xCF, 0xB0, 0xD2, 0xB2, 0xC0, 0xDE})},
      {"～", Bytes({0x81, 0x60})},
      {"―", Bytes({0x81, 0x5C})},
      {"■", Bytes({0x81, 0xA1})},
      {"★", Bytes({0x81, 0x9A})},
      {"【】", Bytes({0x81, 0x79, 0x81, 0x7A})},
      {"『』", Bytes({0x81, 0x77, 0x81, 0x78})},
      {"「」", Bytes({0x81, 0x75, 0x81, 0x76})},
      {"あア", Bytes({0x82, 0xA0, 0x83, 0x41})},
      {"ー、。　", Bytes({0x81, 0x5B, 0x81, 0x41, 0x81, 0x42, 0x81, 0x40})},
      {"①", Bytes({0x87, 0x40})},
      // Paths are written with backslashes; CP932 keeps them as ASCII, not as a yen sign.
      {"\\cg\\x.bmp ~", "\\cg\\x.bmp ~"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.utf8);
    const auto encoded = Cp932FromUtf8(c.utf8);
    ASSERT_TRUE(encoded.has_value());
    EXPECT_EQ(*encoded, c.cp932);
    EXPECT_EQ(Sj(c.utf8), c.cp932);
    EXPECT_EQ(Utf8FromCp932(c.cp932), c.utf8);
  }
  // Byte counts drive the message box: the half-width name is six bytes, a kanji two.
  EXPECT_EQ(Sj("ﾏｰﾒｲﾀﾞ「").size(), 8u);
  EXPECT_EQ(Sj("").size(), 0u);
  EXPECT_EQ(Utf8FromCp932(""), "");
}

TEST(Cp932, LeadByteRanges) {
  for (int b = 0; b < 256; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsCp932LeadByte(static_cast<unsigned char>(b)), lead) << b;
  }
  // Every double-byte character we write starts with a lead byte and its trail byte is not one
  // of the ASCII bytes a careless byte scan would trip over.
  for (const char* text : {"確認", "宇宙", "航海日誌", "～―■★【】『』", "表示"}) {
    const std::string sj = Sj(text);
    ASSERT_EQ(sj.size() % 2, 0u);
    for (size_t i = 0; i < sj.size(); i += 2)
      EXPECT_TRUE(IsCp932LeadByte(static_cast<unsigned char>(sj[i]))) << text << " " << i;
  }
  // Half-width katakana are single bytes and not lead bytes.
  for (unsigned char c : Sj("ﾏｰﾒｲﾀﾞ"))
    EXPECT_FALSE(IsCp932LeadByte(c));
}

TEST(Cp932, UnrepresentableTextIsRefused) {
  for (const char* text : {"é", "€", "😀", "한국", "ok 😀 ok"}) {
    EXPECT_FALSE(Cp932FromUtf8(text).has_value()) << text;
  }
  // Broken UTF-8 is refused too, not passed through.
  EXPECT_FALSE(Cp932FromUtf8("abc\xFF").has_value());
  EXPECT_FALSE(Cp932FromUtf8("\xE7\xA2").has_value());
  EXPECT_DEATH(Sj("€"), "no CP932 form");
}

TEST(Cp932, UndecodableBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf8FromCp932("\x81"), kReplacement);
  EXPECT_EQ(Utf8FromCp932("AB\x81"), "AB" + kReplacement);
  EXPECT_EQ(Utf8FromCp932("\x81 X"), kReplacement + " X");
  EXPECT_EQ(Utf8FromCp932(Bytes({0x80, 0xA0})), kReplacement + kReplacement);
  EXPECT_EQ(Utf8FromCp932(Bytes({0xFD, 0xFE, 0xFF})), kReplacement + kReplacement + kReplacement);
  // An unassigned double-byte code is one bad character; its trail byte is not an '@' or '\'.
  EXPECT_EQ(Utf8FromCp932(Bytes({0x85, 0x40})), kReplacement);
  EXPECT_EQ(Utf8FromCp932(Bytes({0x85, 0x5C, 0x41})), kReplacement + "A");
  // Text around bad bytes survives.
  QM_GCC12_FALSE_WARNINGS_BEGIN
  EXPECT_EQ(Utf8FromCp932("A" + Bytes({0xFF}) + Sj("宇宙")), "A" + kReplacement + "宇宙");
  QM_GCC12_FALSE_WARNINGS_END
  EXPECT_EQ(Utf8FromCp932(std::string("A\0B", 3)), std::string("A\0B", 3));
}

TEST(Cp932, ArbitraryBytesAlwaysDecodeToValidUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  EXPECT_TRUE(IsValidUtf8(Utf8FromCp932(all)));
  // Every pair of bytes, so that every lead byte meets every possible trail byte.
  std::string pairs;
  for (int a = 0x80; a < 256; ++a)
    for (int b = 0; b < 256; ++b) {
      pairs += static_cast<char>(a);
      pairs += static_cast<char>(b);
    }
  const std::string decoded = Utf8FromCp932(pairs);
  EXPECT_TRUE(IsValidUtf8(decoded));
  EXPECT_GT(decoded.size(), pairs.size() / 2);
}

TEST(Cp932, LongTextRoundTrips) {
  std::string utf8;
  size_t bytes = 0;
  for (int i = 0; i < 20000; ++i) {
    utf8 += i % 3 == 0 ? "ﾏ" : i % 3 == 1 ? "航" : "a";
    bytes += i % 3 == 1 ? 2 : 1;
  }
  const std::string sj = Sj(utf8);
  EXPECT_EQ(sj.size(), bytes);
  EXPECT_EQ(Utf8FromCp932(sj), utf8);
}

}  // namespace
}  // namespace qm
