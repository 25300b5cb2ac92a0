#include <gtest/gtest.h>

#include <vector>

#include "arrival_rig.h"

namespace qm {
namespace {

using testing::ArrivalRig;
using testing::PageList;

const std::string kSent = Sj("調査員を派遣しました。");
const std::string kBack = Sj("････････････････調査員が戻りました。報告します");

std::string Question(const std::string& name, int cost) {
  return Sj("【") + name +
         Sj("】 \r地球型惑星の１つのようです。\r調査隊を派遣し、人類が移住可能か\r"
            "見定めましょう。\r\r調査隊を派遣しますか？\r\r必要資源：") +
         Dec(cost);
}

TEST(PlanetSurvey, ExactlyEnoughResourcesPaysForTheSurvey) {
  ArrivalRig rig;
  ChartPoint& planet = rig.Point(80, 21);
  planet.name = Sj("ｱｸｱ");
  planet.yield = 3;
  rig.game.resources = 4;

  EXPECT_TRUE(rig.Arrive(80));

  ASSERT_EQ(rig.fake.dialogs.asked.size(), 1u);
  EXPECT_EQ(rig.fake.dialogs.asked[0], Question(Sj("ｱｸｱ"), 4));
  // Not named before the question: the question names it.
  EXPECT_EQ(rig.Pages(), (PageList{kSent, kBack, Sj("重力が高過ぎ、居住には適しませんでした"),
                                   Sj("未知の微生物を発見しました >  宇宙船長LV+1")}));
  EXPECT_TRUE(rig.BoxShown());
  EXPECT_EQ(rig.game.resources, 0);
  EXPECT_EQ(rig.game.captain_level, 2);
  EXPECT_EQ(rig.game.planets_found, 1);
  EXPECT_EQ(rig.game.point_state[80], 2);
  EXPECT_EQ(rig.game.voyage_days, 1);
  // No extra hold, no supply: a planet pays only through its survey.
  EXPECT_EQ(rig.game.resources_max, 7);
  EXPECT_EQ(rig.fake.sound.calls, (std::vector<std::string>{"cue 0 on.wav", "click"}));
}

TEST(PlanetSurvey, OneTonneShortRefusesAndAsksAgainNextTime) {
  ArrivalRig rig;
  rig.Point(80, 22).yield = 0;
  rig.game.resources = 4;
  EXPECT_TRUE(rig.Arrive(80));
  EXPECT_EQ(rig.fake.dialogs.asked[0], Question(rig.game.chart[80].name, 5));
  EXPECT_EQ(rig.Pages(), (PageList{Sj("調査に必要な資源が足りません..")}));
  EXPECT_TRUE(rig.BoxShown());
  EXPECT_EQ(rig.game.resources, 4);
  EXPECT_EQ(rig.game.point_state[80], 1);
  EXPECT_EQ(rig.game.voyage_days, 0);
  EXPECT_EQ(rig.game.planets_found, 0);
}

TEST(PlanetSurvey, DecliningCostsNothingAndTheQuestionComesBack) {
  ArrivalRig rig;
  rig.Point(80, 20).yield = 3;
  rig.game.resources = 7;
  rig.game.voyage_days = 5;
  rig.fake.dialogs.answers = {false, true};

  EXPECT_TRUE(rig.Arrive(80));
  EXPECT_TRUE(rig.Pages().empty());
  EXPECT_FALSE(rig.BoxShown());
  EXPECT_EQ(rig.game.voyage_days, 5);
  EXPECT_EQ(rig.game.point_state[80], 1);
  EXPECT_EQ(rig.game.resources, 7);
  EXPECT_EQ(rig.fake.sound.calls, (std::vector<std::string>{"cue 0 on.wav", "click"}));

  EXPECT_TRUE(rig.Arrive(80));
  EXPECT_EQ(rig.fake.dialogs.asked.size(), 2u);
  EXPECT_EQ(rig.game.voyage_days, 6);
  EXPECT_EQ(rig.game.resources, 4);
  EXPECT_EQ(rig.game.point_state[80], 2);

  // Surveyed: later calls name it and never ask again.
  rig.ClearBox();
  EXPECT_FALSE(rig.Arrive(80));
  EXPECT_EQ(rig.fake.dialogs.asked.size(), 2u);
  EXPECT_EQ(rig.Pages(), (PageList{rig.Page(80)}));
  EXPECT_EQ(rig.game.voyage_days, 6);
}

TEST(PlanetSurvey, TheSixOutcomesForEachKindOfPlanet) {
  struct Case {
    int outcome;
    const char* finding;
    const char* gain;  // the number (if any) follows, then the tail
    const char* tail;
  };
  const std::vector<Case> cases = {
      {0, "大型の地震が頻繁にあり、居住には適しませんでした", "鉱脈から資源を確保した > +", "t!!"},
      {1, "高熱の暴風が巻き起こっており、居住には適しませんでした", "調査員が負傷してしまった!!",
       nullptr},
      {2, "強力な磁場に覆われており、居住には適しませんでした",
       "磁場帯からエネルギーを抽出できました > +", "E!"},
      {3, "重力が高過ぎ、居住には適しませんでした", "未知の微生物を発見しました >  宇宙船長LV+1",
       nullptr},
      {4, "大気が不安定で、居住には適しませんでした",
       "未知の元素結合体を発見しました >  宇宙船長LV+1", nullptr},
      {5, "危険な放射能を発生させており、居住には適しませんでした",
       "大気成分から強力なエネルギーを抽出できました > +", "E!"},
  };
  for (int kind : {20, 21, 22}) {
    for (const Case& c : cases) {
      ArrivalRig rig;
      rig.Point(81, kind).yield = c.outcome;
      rig.game.resources = 9;
      rig.game.energy = 50;
      rig.Arrive(81);
      const int paid = 9 - (kind - 17);
      // Gains are written without the supply messages' odd-length space.
      const int amount = c.outcome == 0   ? kind - 13
                         : c.outcome == 2 ? 8 * kind - 140
                         : c.outcome == 5 ? 20 * (kind - 20) + 40
                                          : 0;
      const std::string gain = c.tail ? Sj(c.gain) + Dec(amount) + c.tail : Sj(c.gain);
      EXPECT_EQ(rig.Pages(), (PageList{kSent, kBack, Sj(c.finding), gain}))
          << kind << " " << c.outcome;
      EXPECT_EQ(rig.game.resources, paid + (c.outcome == 0 ? amount : 0));
      EXPECT_EQ(rig.game.energy, 50 + (c.outcome == 2 || c.outcome == 5 ? amount : 0));
      EXPECT_EQ(rig.game.captain_level, c.outcome == 3 || c.outcome == 4 ? 2 : 1);
      const int injured = rig.game.trouble_level[kSleeperInjury];
      if (c.outcome == 1) {
        EXPECT_GE(injured, 1);
        EXPECT_LE(injured, 5);
      } else {
        EXPECT_EQ(injured, 0);
      }
      EXPECT_EQ(rig.game.planets_found, 1);
    }
  }
}

TEST(PlanetSurvey, AnInjuryWhileSleepersLieInjuredKillsThemAfterTheReport) {
  ArrivalRig rig;
  rig.Point(81, 20).yield = 1;
  rig.game.resources = 3;
  rig.game.trouble_level[kSleeperInjury] = 2;
  rig.Arrive(81);
  const PageList pages = rig.Pages();
  ASSERT_EQ(pages.size(), 5u);
  EXPECT_EQ(pages[3], Sj("調査員が負傷してしまった!!"));
  EXPECT_EQ(pages[4],
            Sj("2 人のコールドフリーパーが死亡しました。\r\r最大積載資源量が 1減少しました"));
  EXPECT_EQ(rig.game.trouble_level[kSleeperInjury], 0);
}

TEST(PlanetSurvey, AnUnknownOutcomeReportsNothingFound) {
  ArrivalRig rig;
  rig.Point(81, 20).yield = 9;
  rig.game.resources = 3;
  rig.Arrive(81);
  EXPECT_EQ(rig.Pages(), (PageList{kSent, kBack}));
  EXPECT_EQ(rig.game.planets_found, 1);
  EXPECT_EQ(rig.game.resources, 0);
}

// The frame that examines a planet ends with the survey; the frames the open question lets run
// count the contact down past the arrival and never examine again.
struct FrameRig : ArrivalRig {
  FrameRig() {
    Point(90, 21).yield = 4;
    game.resources = 7;
    vs.local_z = 120;
    vs.check_countdown = 2;
  }
  void Frame() {
    fake.clock.AdvanceMs(100);
    voyage.Timer1Timer();
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i)
      Frame();
  }
};

TEST(PlanetSurvey, TheFrameEndsAfterTheQuestion) {
  FrameRig rig;
  rig.vs.noise_countdown = 5;
  rig.vs.contact_blink = 5;
  rig.Frame();
  ASSERT_EQ(rig.fake.dialogs.asked.size(), 1u);
  // The shake, the button blink and the instruments wait for the next frame.
  EXPECT_EQ(rig.vs.noise_countdown, 5);
  EXPECT_EQ(rig.vs.contact_blink, 5);
  EXPECT_EQ(rig.Sounds("cue 3 pi.wav"), 0);

  // A buoy's arrival frame runs to its end.
  FrameRig buoy;
  buoy.Point(90, 1);
  buoy.vs.noise_countdown = 5;
  buoy.vs.contact_blink = 5;
  buoy.Frame();
  EXPECT_EQ(buoy.vs.noise_countdown, 4);
  EXPECT_EQ(buoy.vs.contact_blink, 4);
}

TEST(PlanetSurvey, FramesRunWhileTheQuestionIsOpenDoNotExamineAgain) {
  FrameRig rig;
  int nested = 0;
  rig.fake.dialogs.while_open = [&] {
    for (int i = 0; i < 5; ++i) {
      rig.Frame();
      ++nested;
    }
  };
  rig.Frame();
  EXPECT_EQ(nested, 5);
  EXPECT_EQ(rig.fake.dialogs.asked.size(), 1u);
  EXPECT_EQ(rig.Sounds("cue 0 on.wav"), 1);
  EXPECT_EQ(rig.vs.check_countdown, 0);
  EXPECT_EQ(rig.game.captain_level, 2);
  EXPECT_EQ(rig.game.resources, 3);
  EXPECT_EQ(rig.game.voyage_days, 1);
  rig.Frames(3);
  EXPECT_EQ(rig.fake.dialogs.asked.size(), 1u);
}

}  // namespace
}  // namespace qm
