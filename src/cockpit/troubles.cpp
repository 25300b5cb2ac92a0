#include <algorithm>

#include "cockpit/cockpit.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/random.h"
#include "state/wrap32.h"

namespace qm {
namespace {

constexpr std::int32_t kLevelCap = 5;
constexpr std::int32_t kEngineHoldFrames = 200;
constexpr std::int32_t kBuoyAbsenceLimit = 1200;

}  // namespace

void Cockpit::RaiseTrouble(int k) {
  if (k < 0 || k >= kTroubleCount) return;
  std::int32_t& level = game_.trouble_level[static_cast<size_t>(k)];
  switch (k) {
    case kEngineTrouble:
      level = 1;
      StartNoise();
      vs_.speed_forward = 0;
      break;
    case kSleeperInjury: {
      if (level <= 0) {
        level = Roll(5) + 1;
        break;
      }
      // A second blow while sleepers lie injured kills them.
      std::string suffix;
      if (game_.resources_max >= 6) {
        game_.resources_max = Sub32(game_.resources_max, 1);
        suffix = Tx("最大積載資源量が 1減少しました");
      }
      AddMessage(Fill(Tx("%1 人のコールドフリーパーが死亡しました。\r\r%2"), {Dec(level), suffix}));
      ShowMessageBox();
      level = 0;
      break;
    }
    case kHullDamage:
    case kStellarWindPollution:
    case kFire:
    case kFuelTankDamage:
      level = std::min(Add32(level, 1), kLevelCap);
      break;
    case kMainSystemFault:
      level = Roll(4) + 1;
      break;
    default:
      level = 1;
      break;
  }
}

void Cockpit::HullHit() {
  if (Roll(2) == 0) {
    vs_.speed_forward = 0;
    if (Roll(3) == 0) game_.hull = Sub32(game_.hull, 1);
    if (Roll(3) == 0) RaiseTrouble(kSleeperInjury);
    if (Roll(2) == 0) RaiseTrouble(kHullDamage);
    if (Roll(5) == 0) RaiseTrouble(kSystemDown);
  }
  view_.SetBrushColor(0xFF0000);
  view_.SetPenColor(0xFF0000);
  view_.FillRect(0, 0, kViewWidth, kViewHeight);
  StartNoise();
  // The jolt knocks the pilot's hand off the pad.
  vs_.pad_left_held = 0;
}

void Cockpit::TroubleEffects() {
  auto level = [this](int k) { return game_.trouble_level[static_cast<size_t>(k)]; };

  if (vs_.pad_left_held == 1) {
    if (++cs_.engine_trouble_timer > kEngineHoldFrames && Roll(100) == 0) {
      if (level(kEngineTrouble) >= 1) game_.hull = Sub32(game_.hull, 1);
      cs_.engine_trouble_timer = 0;
      RaiseTrouble(kEngineTrouble);
    }
  } else {
    cs_.engine_trouble_timer = 1;
  }

  if (const std::int32_t l = level(kHullDamage);
      l >= 1 && Roll(std::max(Sub32(300, Mul32(10, l)), 100)) == 0) {
    HullHit();
  }
  if (Roll(9000) == 0) RaiseTrouble(kStellarWindPollution);
  if (const std::int32_t l = level(kStellarWindPollution);
      l >= 1 && Roll(std::max(Sub32(400, Mul32(20, l)), 200)) == 0) {
    RaiseTrouble(kSleeperInjury);
  }
  if (const std::int32_t l = level(kFire);
      l >= 1 && Roll(std::max(Sub32(400, Mul32(30, l)), 100)) == 0) {
    HullHit();
  }
  if (const std::int32_t l = level(kFuelTankDamage); l >= 1 && Roll(80) == 0) {
    game_.energy = Sub32(game_.energy, l);
  }

  if (const std::int32_t v = level(kMainSystemFault); v >= 1) {
    if (Roll(50) == 0) {
      vs_.speed_side = -vs_.speed_side;
      vs_.speed_up = -vs_.speed_up;
      vs_.speed_forward = -vs_.speed_forward;
      vs_.pad_left_held = 0;
    }
    switch (v % 4) {
      case 0:
        ++vs_.speed_up;
        ++vs_.speed_side;
        break;
      case 1:
        --vs_.speed_up;
        ++vs_.speed_side;
        break;
      case 2:
        --vs_.speed_up;
        --vs_.speed_side;
        break;
      default:
        ++vs_.speed_up;
        --vs_.speed_side;
        break;
    }
  }

  game_.buoy_absence = Add32(game_.buoy_absence, Roll(2));
  if (game_.buoy_absence > kBuoyAbsenceLimit) {
    game_.buoy_absence = 0;
    RaiseTrouble(kInfection);
  }
  if (level(kInfection) >= 1 && Roll(230) == 0) game_.resources = Sub32(game_.resources, 1);
}

}  // namespace qm
