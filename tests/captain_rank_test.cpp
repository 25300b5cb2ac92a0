#include <gtest/gtest.h>

#include "fakes.h"
#include "platform/cp932.h"
#include "state/captain_rank.h"

namespace qm {
namespace {

TEST(CaptainRank, TitlesAtTheEdgesOfTheTable) {
  EXPECT_EQ(RankTitle(0), Sj("暗いのが怖い"));
  EXPECT_EQ(RankTitle(1), Sj("暗いのが怖い"));
  EXPECT_EQ(RankTitle(7), Sj("人類の未来を背負ってる"));
  EXPECT_EQ(RankTitle(8), Sj("宇宙の答えを知っている"));
  EXPECT_EQ(RankTitle(999999), Sj("宇宙の答えを知っている"));
  EXPECT_EQ(RankTitle(1000000), "");
  EXPECT_EQ(RankTitle(-1), "");
}

}  // namespace
}  // namespace qm
