#include <array>

#include "cockpit/cockpit.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "state/wrap32.h"

namespace qm {
namespace {

// One repair button: the trouble it mends and what that costs, and the ship computer's words.
// A repair costs `per_level` times the trouble's level (for the sleepers, the number injured)
// plus `fixed` tonnes of resources. A button without `done` cannot mend its trouble on board: it
// only says so. Some texts are padded to an even length so the box's two-byte reveal ends on a
// whole step, and the radar's button has always been silent.
struct RepairRow {
  int trouble;
  std::int32_t per_level;
  std::int32_t fixed;
  bool pad_to_even;
  bool click;
  const char* done;
  const char* refused;
};

constexpr std::array<RepairRow, kTroubleCount> kRepairs{{
    {kEngineTrouble, 0, 0, false, true, nullptr,
     TX_NOOP("ﾏｰﾒｲﾀﾞ「重度のエンジントラブルです。近隣のブイへ大至急寄港して下さい」")},
    {kSleeperInjury, 1, 0, false, true,
     TX_NOOP("ﾏｰﾒｲﾀﾞ「コールドスリーパー全員を手当てしました。」"),
     TX_NOOP("ﾏｰﾒｲﾀﾞ「コールドスリーパー全員を手当てできるだけの資源が足りません」")},
    {kHullDamage, 1, 0, false, true, TX_NOOP("ﾏｰﾒｲﾀﾞ「損傷した船壁を修理しました。」"),
     TX_NOOP("ﾏｰﾒｲﾀﾞ「損傷した船壁の修理に必要な資源が足りません」")},
    {kStellarWindPollution, 1, 0, false, true, TX_NOOP("ﾏｰﾒｲﾀﾞ「恒星風汚染を食いとめしました。」"),
     TX_NOOP("ﾏｰﾒｲﾀﾞ「恒星風汚染を食いとめるのに必要な資源が足りません」")},
    {kFire, 2, 0, true, true, TX_NOOP("ﾏｰﾒｲﾀﾞ「船内の火災を消化しました。」"),
     TX_NOOP("ﾏｰﾒｲﾀﾞ「船内の火災を消化するのに必要な資源が足りません」")},
    {kFuelTankDamage, 2, 0, true, true, TX_NOOP("ﾏｰﾒｲﾀﾞ「燃料タンク壁を修復しました。」"),
     TX_NOOP("ﾏｰﾒｲﾀﾞ「燃料タンク壁の修復に必要な資源が足りません」")},
    {kMainSystemFault, 0, 5, true, true, TX_NOOP("ﾏｰﾒｲﾀﾞ「メインシステムの復旧に成功しました。」"),
     TX_NOOP("ﾏｰﾒｲﾀﾞ「メインシステムの復旧に必要な資源が足りません」")},
    {kInfection, 0, 0, false, true, nullptr,
     TX_NOOP("ﾏｰﾒｲﾀﾞ「長期間ブイに寄港していないため、船内に未知の病原菌が入りこんでいます。"
             "近隣のブイへ大至急寄港して下さい」")},
    {kSystemDown, 0, 6, true, true, TX_NOOP("ﾏｰﾒｲﾀﾞ「システムが復旧しました。」"),
     TX_NOOP("ﾏｰﾒｲﾀﾞ「システムがダウンしていますが、修理に必要な資源が足りません。」")},
    {kRadarFault, 0, 6, true, false, TX_NOOP("ﾏｰﾒｲﾀﾞ「レーダーシステムの異常を修復しました。」"),
     TX_NOOP("ﾏｰﾒｲﾀﾞ「レーダーシステムに異常が発生していますが、修復に必要な資源が足りません」")},
}};

}  // namespace

void Cockpit::RepairMouseDown(int number) {
  if (number < 1 || number > kTroubleCount) return;
  const RepairRow& row = kRepairs[static_cast<size_t>(number - 1)];
  if (row.click) services_.sound.PlayClick();
  std::string text;
  if (row.done == nullptr) {
    text = Tx(row.refused);
  } else {
    std::int32_t& level = game_.trouble_level[static_cast<size_t>(row.trouble)];
    const std::int32_t cost = Add32(Mul32(row.per_level, level), row.fixed);
    if (game_.resources >= cost) {
      game_.resources = Sub32(game_.resources, cost);
      level = 0;
      text = Fill(Tx("%1\r\r資源：-%2ｔ"), {Tx(row.done), Dec(cost)});
    } else {
      text = Fill(Tx("%1\r\r要資源： %2ｔ"), {Tx(row.refused), Dec(cost)});
    }
    if (row.pad_to_even && text.size() % 2 == 1) text += ' ';
  }
  // Buttons can only be pressed while the box is closed, so slot 0 is free.
  cs_.message_pages[0] = std::move(text);
  ShowMessageBox();
}

void Cockpit::tra_b1MouseDown() {
  RepairMouseDown(1);
}
void Cockpit::tra_b2MouseDown() {
  RepairMouseDown(2);
}
void Cockpit::tra_b3MouseDown() {
  RepairMouseDown(3);
}
void Cockpit::tra_b4MouseDown() {
  RepairMouseDown(4);
}
void Cockpit::tra_b5MouseDown() {
  RepairMouseDown(5);
}
void Cockpit::tra_b6MouseDown() {
  RepairMouseDown(6);
}
void Cockpit::tra_b7MouseDown() {
  RepairMouseDown(7);
}
void Cockpit::tra_b8MouseDown() {
  RepairMouseDown(8);
}
void Cockpit::tra_b9MouseDown() {
  RepairMouseDown(9);
}
void Cockpit::tra_b10MouseDown() {
  RepairMouseDown(10);
}

}  // namespace qm
