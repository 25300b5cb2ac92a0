#include "cockpit/instrument_texts.h"

#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/random.h"
#include "state/captain_rank.h"

namespace qm {

std::array<std::string, 3> SpeedReadoutLines(const VoyageState& vs) {
  return {Fill(Tx("横 > %1Km/h"), {Dec(-static_cast<long long>(vs.speed_side))}),
          Fill(Tx("上 > %1Km/h"), {Dec(vs.speed_up)}),
          Fill(Tx("前 > %1Km/h"), {Dec(vs.speed_forward)})};
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
  return Fill(Tx("位置 > X:%1 , Y:%2 , Z:%3"), {sx, sy, sz});
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
  return Fill(Tx("エンジンブースター %1"), {Dec(booster_seconds)});
}

std::string TroubleLabel(int k, std::int32_t level) {
  switch (k) {
    case kEngineTrouble:
      return Tx("エンジントラブル");
    case kSleeperInjury:
      return Fill(Tx("スリーパー負傷 %1人"), {Dec(level)});
    case kHullDamage:
      return Fill(Tx("船壁損傷 ＬＶ%1"), {Dec(level)});
    case kStellarWindPollution:
      return Fill(Tx("恒星風汚染 ＬＶ%1"), {Dec(level)});
    case kFire:
      return Fill(Tx("船内火災 ＬＶ%1"), {Dec(level)});
    case kFuelTankDamage:
      return Fill(Tx("燃料タンク壁損傷 ＬＶ%1"), {Dec(level)});
    case kMainSystemFault:
      return Tx("メインシステム異常");
    case kInfection:
      return Tx("船内感染");
    case kSystemDown:
      return Tx("システムダウン");
    case kRadarFault:
      return Tx("レーダー異常");
    default:
      return {};
  }
}

std::string ResourcesCaption(const GameState& game) {
  return Fill(Tx("資源 >  %1t / %2t"), {Dec(game.resources), Dec(game.resources_max)});
}

std::string EnergyCaption(const GameState& game) {
  return Dec(game.energy) + "/" + Dec(game.energy_max);
}

std::string VoyageWindowCaption(const GameState& game) {
  return Fill(Tx("%1号・船長%2"), {game.ship_name, game.commander_name});
}

std::string StatusCaption(const GameState& game) {
  return Fill(
      Tx("%1船長LV:%2\r%3号・航海日数:%4日"),
      {game.commander_name, RankTitle(game.captain_level), game.ship_name, Dec(game.voyage_days)});
}

}  // namespace qm
