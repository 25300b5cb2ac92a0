#include "cockpit/arrival.h"

#include "cockpit/cockpit.h"
#include "cockpit/story_texts.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/random.h"
#include "state/wrap32.h"

namespace qm {
namespace {

constexpr std::int32_t kVisited = 2;
constexpr std::int32_t kKnown = 1;

bool IsChartIndex(std::int32_t i) {
  return i >= 0 && i < kChartPointCount;
}

const char* const kServiceMessages[kTroubleCount] = {
    TX_NOOP("★エンジンを修復しました。"),
    TX_NOOP("★負傷したコールドスリーパー達を手当てしました。"),
    TX_NOOP("★損傷のある船壁を修理しました"),
    TX_NOOP("★恒星風による汚染の影響を除去しました。"),
    TX_NOOP("★船内の火災を鎮火しました。"),
    TX_NOOP("★燃料タンク壁の損傷部分を修理しました。"),
    TX_NOOP("★メインシンテムのプログラムを修復しました"),
    TX_NOOP("★船内を殺菌しました。"),
    TX_NOOP("★シンテムを復旧させました。"),
    TX_NOOP("★レーダーの異常箇所を修復しました。"),
};

}  // namespace

std::string CoordinateText(const ChartPoint& p) {
  std::string c = "x:" + Dec(p.x) + "  y:" + Dec(p.y) + "  z:" + Dec(p.z);
  if (c.size() % 2 == 1) c += ' ';
  return c;
}

std::string SupplyGainText(std::int32_t gain) {
  const std::string digits = Dec(gain);
  return digits.size() % 2 == 1 ? " " + digits : digits;
}

std::string ArrivalPage(const ChartPoint& p) {
  return Fill(Tx("【%1】 \r%2"), {p.name, p.text});
}

std::string NextPoint2Page(const ChartPoint& target) {
  return Fill(Tx("※他のブイの場所が記されています。\r\r\rNEXT POINT 2 > %1"),
              {CoordinateText(target)});
}

std::string ExtraPointPage(const ChartPoint& target) {
  return Fill(Tx("※他のある場所が記されています（この座標は海図に記録されない特殊なものです）\r\r\r"
                 "EXTRA POINT > %1"),
              {CoordinateText(target)});
}

std::string ServiceMessage(int trouble) {
  if (trouble < 0 || trouble >= kTroubleCount) return {};
  return Tx(kServiceMessages[trouble]);
}

std::string SurveyQuestion(const ChartPoint& planet, std::int32_t cost) {
  return Fill(Tx("【%1】 \r地球型惑星の１つのようです。\r調査隊を派遣し、人類が移住可能か\r"
                 "見定めましょう。\r\r調査隊を派遣しますか？\r\r必要資源：%2"),
              {planet.name, Dec(cost)});
}

bool Cockpit::ArrivalExamination(int p) {
  // The ship left the sector between contact and arrival: there is nothing to examine.
  if (!IsChartIndex(p)) return false;
  const ChartPoint& point = game_.chart[static_cast<size_t>(p)];
  const int k = point.kind;
  std::int32_t& state = game_.point_state[static_cast<size_t>(p)];

  services_.sound.PlayCue(kEventChannel, "on.wav");
  vs_.arrival_banner = 10;
  vs_.speed_side = 0;
  vs_.speed_up = 0;
  vs_.speed_forward = 0;
  game_.buoy_absence = 0;

  // A planet is named only once it has been surveyed; before that the question names it.
  if (Traits(k).named_unvisited || state == kVisited) AddMessage(ArrivalPage(point));
  if (state == kKnown && FirstArrival(p)) return true;
  ShowMessageBox();

  if (k == PointKind::kSpecialPlanet) {
    AddMessage(Tx("おめでとう・・・"));
    ShowMessageBox();
  }
  if (k == PointKind::kAsteroidBelt) {
    AddMessage(Tx("ここは小惑星帯です。長く留まる事は危険です"));
    ShowMessageBox();
  }
  if (k == PointKind::kHotZone) {
    AddMessage(Tx("ここは高熱地帯です。長く留まる事は危険です"));
    ShowMessageBox();
  }
  if (k == PointKind::kEnergyStation) {
    AddMessage(Tx("★エネルギー補給 > 満タン!!"));
    ShowMessageBox();
    game_.energy = game_.energy_max;
  }
  if (state == kVisited && Traits(k).buoy_call) BuoyCall(p);
  return false;
}

bool Cockpit::FirstArrival(int p) {
  const ChartPoint& point = game_.chart[static_cast<size_t>(p)];
  const int k = point.kind;
  if (Traits(k).records_position) AddMessage(Tx("この位置を記録しました。"));
  game_.point_state[static_cast<size_t>(p)] = kVisited;
  game_.voyage_days = Add32(game_.voyage_days, 1);
  if (p == kEndingPoint) cs_.ending_tick = 1;
  if (k == PointKind::kSpecialPlanet) game_.planets_found = Add32(game_.planets_found, 1);
  if (k == PointKind::kBottle) game_.bottles_found = Add32(game_.bottles_found, 1);
  if (k == PointKind::kComet) {
    AddMessage(Tx("★彗星の成分から、エネルギーの研究が進展し、エネルギーの最大量が10増加した!!"));
    ShowMessageBox();
    game_.energy_max = Add32(game_.energy_max, 10);
  }
  if (k == PointKind::kWreck) {
    AddMessage(Tx("★難破船の部品を再利用し、船の耐久性をアップさせ、最大HPが 1増えた!!"));
    ShowMessageBox();
    game_.hull_max = Add32(game_.hull_max, 1);
  }
  if (k == PointKind::kWarp) {
    AddMessage(Tx("※違う空間へ転移してしまったようだ････！"));
    ShowMessageBox();
    game_.sector_x = 29 - Roll(48);
    game_.sector_z = 29 - Roll(48);
  }
  if (k == PointKind::kResourceDepot) {
    AddMessage(Tx("★資源調達 > 満タン!!"));
    ShowMessageBox();
    game_.resources = game_.resources_max;
  }
  if (Traits(k).grows_hold) {
    AddMessage(Tx("★最大資源積載量が 1増えた!!"));
    game_.resources_max = Add32(game_.resources_max, 1);
  }
  if (Traits(k).supplies) {
    // Not capped here: the next instrument pass trims energy and resources to their maxima.
    const std::int32_t e = Mul32(2, point.yield);
    AddMessage(Fill(Tx("★エネルギー補給 > +%1!!"), {SupplyGainText(e)}));
    ShowMessageBox();
    game_.energy = Add32(game_.energy, e);
    const std::int32_t r = point.resource_gain;
    AddMessage(Fill(Tx("★資源補給 > +%1t!!"), {SupplyGainText(r)}));
    ShowMessageBox();
    game_.resources = Add32(game_.resources, r);
  }
  if (Traits(k).survey_cost > 0) {
    PlanetSurvey(p);
    return true;
  }
  return false;
}

void Cockpit::BuoyCall(int p) {
  const ChartPoint& point = game_.chart[static_cast<size_t>(p)];
  game_.hull = game_.hull_max;

  // A link names a point to look for; one already visited becomes known again, so its
  // first-call rewards wait there once more.
  auto reveal = [this](std::int32_t target, auto page) {
    if (IsChartIndex(target)) {
      game_.point_state[static_cast<size_t>(target)] = kKnown;
      AddMessage(page(game_.chart[static_cast<size_t>(target)]));
      ShowMessageBox();
    }
    ShowMessageBox();
  };
  // The first link's page is the clue the story waits for, so it is built by the story's rule.
  reveal(point.next_point, [](const ChartPoint& t) { return BuoyCluePage(t); });
  reveal(point.next_point_2, [](const ChartPoint& t) { return NextPoint2Page(t); });
  reveal(point.extra_point, [](const ChartPoint& t) { return ExtraPointPage(t); });

  // Only a repair dock can mend the hull wall and the fuel tank.
  const bool dock = Traits(point.kind).dock;
  for (int i = 0; i < kTroubleCount; ++i) {
    std::int32_t& level = game_.trouble_level[static_cast<size_t>(i)];
    if (level < 1) continue;
    if ((i == kHullDamage || i == kFuelTankDamage) && !dock) continue;
    AddMessage(ServiceMessage(i));
    level = 0;
    ShowMessageBox();
  }
}

void Cockpit::PlanetSurvey(int p) {
  const ChartPoint& point = game_.chart[static_cast<size_t>(p)];
  const int k = point.kind;
  const std::int32_t cost = Traits(k).survey_cost;
  std::int32_t& state = game_.point_state[static_cast<size_t>(p)];

  // The voyage keeps flying while the question is open; the frames run meanwhile count the
  // contact down past the arrival, so this examination is not started again.
  const bool yes = services_.dialogs.Confirm(SurveyQuestion(point, cost));
  services_.sound.PlayClick();
  if (!yes) {
    // Not surveyed: the planet asks again next time, and this call is not counted as a day.
    state = kKnown;
    game_.voyage_days = Sub32(game_.voyage_days, 1);
    return;
  }
  if (game_.resources < cost) {
    state = kKnown;
    game_.voyage_days = Sub32(game_.voyage_days, 1);
    AddMessage(Tx("調査に必要な資源が足りません.."));
    ShowMessageBox();
    return;
  }
  game_.resources = Sub32(game_.resources, cost);
  AddMessage(Tx("調査員を派遣しました。"));
  AddMessage(Tx("････････････････調査員が戻りました。報告します"));
  game_.planets_found = Add32(game_.planets_found, 1);
  SurveyReport(k, point.yield);
  ShowMessageBox();
}

void Cockpit::SurveyReport(int k, std::int32_t outcome) {
  switch (outcome) {
    case 0: {
      const std::int32_t a = k - 13;
      AddMessage(Tx("大型の地震が頻繁にあり、居住には適しませんでした"));
      AddMessage(Fill(Tx("鉱脈から資源を確保した > +%1t!!"), {Dec(a)}));
      game_.resources = Add32(game_.resources, a);
      break;
    }
    case 1:
      AddMessage(Tx("高熱の暴風が巻き起こっており、居住には適しませんでした"));
      AddMessage(Tx("調査員が負傷してしまった!!"));
      RaiseTrouble(kSleeperInjury);
      break;
    case 2: {
      const std::int32_t a = 8 * k - 140;
      AddMessage(Tx("強力な磁場に覆われており、居住には適しませんでした"));
      AddMessage(Fill(Tx("磁場帯からエネルギーを抽出できました > +%1E!"), {Dec(a)}));
      game_.energy = Add32(game_.energy, a);
      break;
    }
    case 3:
      AddMessage(Tx("重力が高過ぎ、居住には適しませんでした"));
      AddMessage(Tx("未知の微生物を発見しました >  宇宙船長LV+1"));
      game_.captain_level = Add32(game_.captain_level, 1);
      break;
    case 4:
      AddMessage(Tx("大気が不安定で、居住には適しませんでした"));
      AddMessage(Tx("未知の元素結合体を発見しました >  宇宙船長LV+1"));
      game_.captain_level = Add32(game_.captain_level, 1);
      break;
    case 5: {
      const std::int32_t a = 20 * (k - 20) + 40;
      AddMessage(Tx("危険な放射能を発生させており、居住には適しませんでした"));
      AddMessage(Fill(Tx("大気成分から強力なエネルギーを抽出できました > +%1E!"), {Dec(a)}));
      game_.energy = Add32(game_.energy, a);
      break;
    }
    default:
      // A chart that gives some other outcome reports nothing found.
      break;
  }
}

}  // namespace qm
