#include "cockpit/instrument_texts.h"

#include "platform/cp932.h"
#include "platform/random.h"
#include "state/captain_rank.h"

namespace qm {

std::array<std::string, 3> SpeedReadoutLines(const VoyageState& vs) {
  return {Sj("横 > ") + Dec(-static_cast<long long>(vs.speed_side)) + "Km/h",
          Sj("上 > ") + Dec(vs.speed_up) + "Km/h", Sj("前 > ") + Dec(vs.speed_forward) + "Km/h"};
}

std::string PositionReadoutText(const GameState& game, Random& random) {
  long long x = -static_cast<long long>(game.sector_x);
  long long y = game.sector_y;
  long long z = game.sector_z;
  std::string sx;
  std::string sy;
  std::string sz;
  if (game.trouble_level[kSystemDown] >= 1) {
    y = -y;
    z = -z;
    sx = random.Next(5) == 0 ? Dec(x) : "XX";
    sy = random.Next(5) == 0 ? Dec(y) : "XX";
    sz = random.Next(5) == 0 ? Dec(z) : "XX";
  } else {
    sx = Dec(x);
    sy = Dec(y);
    sz = Dec(z);
  }
  return Sj("位置 > X:") + sx + " , Y:" + sy + " , Z:" + sz;
}

Color HullColor(std::int32_t hull) {
  if (hull <= 2) return 0xFF0000;
  if (hull <= 4) return 0xFF8000;
  if (hull <= 6) return 0xFFFF00;
  if (hull <= 8) return 0x86FF00;
  if (hull <= 9999) return 0x00FF1A;
  return 0x00FF00;
}

std::string BoosterText(std::int32_t booster_seconds) {
  return Sj("エンジンブースター ") + Dec(booster_seconds);
}

std::string TroubleLabel(int k, std::int32_t level) {
  switch (k) {
    case kEngineTrouble:
      return Sj("エンジントラブル");
    case kSleeperInjury:
      return Sj("スリーパー負傷 ") + Dec(level) + Sj("人");
    case kHullDamage:
      return Sj("船壁損傷 ＬＶ") + Dec(level);
    case kStellarWindPollution:
      return Sj("恒星風汚染 ＬＶ") + Dec(level);
    case kFire:
      return Sj("船内火災 ＬＶ") + Dec(level);
    case kFuelTankDamage:
      return Sj("燃料タンク壁損傷 ＬＶ") + Dec(level);
    case kMainSystemFault:
      return Sj("メインシステム異常");
    case kInfection:
      return Sj("船内感染");
    case kSystemDown:
      return Sj("システムダウン");
    case kRadarFault:
      return Sj("レーダー異常");
    default:
      return {};
  }
}

std::string ResourcesCaption(const GameState& game) {
  return Sj("資源 >  ") + Dec(game.resources) + "t / " + Dec(game.resources_max) + "t";
}

std::string EnergyCaption(const GameState& game) {
  return Dec(game.energy) + "/" + Dec(game.energy_max);
}

std::string StatusCaption(const GameState& game) {
  return game.commander_name + Sj("船長LV:") + RankTitle(game.captain_level) + "\r" +
         game.ship_name + Sj("号・航海日数:") + Dec(game.voyage_days) + Sj("日");
}

}  // namespace qm
