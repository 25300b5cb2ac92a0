#include "cockpit/cockpit.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "state/wrap32.h"

namespace qm {

void Cockpit::Repair(int trouble, int cost, const char* done, const char* refused,
                     bool pad_to_even) {
  std::string text;
  if (game_.resources >= cost) {
    game_.resources = Sub32(game_.resources, cost);
    game_.trouble_level[static_cast<size_t>(trouble)] = 0;
    text = Fill(Tx("%1\r\r資源：-%2ｔ"), {Tx(done), Dec(cost)});
  } else {
    text = Fill(Tx("%1\r\r要資源： %2ｔ"), {Tx(refused), Dec(cost)});
  }
  if (pad_to_even && text.size() % 2 == 1) text += ' ';
  // Buttons can only be pressed while the box is closed, so slot 0 is free.
  cs_.message_pages[0] = std::move(text);
  ShowMessageBox();
}

void Cockpit::RepairRefused(const char* text) {
  cs_.message_pages[0] = Tx(text);
  ShowMessageBox();
}

void Cockpit::tra_b1MouseDown() {
  services_.sound.PlayClick();
  RepairRefused(TX_NOOP("ﾏｰﾒｲﾀﾞ「重度のエンジントラブルです。近隣のブイへ大至急寄港して下さい」"));
}

void Cockpit::tra_b2MouseDown() {
  services_.sound.PlayClick();
  Repair(kSleeperInjury, game_.trouble_level[kSleeperInjury],
         TX_NOOP("ﾏｰﾒｲﾀﾞ「コールドスリーパー全員を手当てしました。」"),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「コールドスリーパー全員を手当てできるだけの資源が足りません」"), false);
}

void Cockpit::tra_b3MouseDown() {
  services_.sound.PlayClick();
  Repair(kHullDamage, game_.trouble_level[kHullDamage],
         TX_NOOP("ﾏｰﾒｲﾀﾞ「損傷した船壁を修理しました。」"),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「損傷した船壁の修理に必要な資源が足りません」"), false);
}

void Cockpit::tra_b4MouseDown() {
  services_.sound.PlayClick();
  Repair(kStellarWindPollution, game_.trouble_level[kStellarWindPollution],
         TX_NOOP("ﾏｰﾒｲﾀﾞ「恒星風汚染を食いとめしました。」"),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「恒星風汚染を食いとめるのに必要な資源が足りません」"), false);
}

void Cockpit::tra_b5MouseDown() {
  services_.sound.PlayClick();
  Repair(kFire, Mul32(2, game_.trouble_level[kFire]),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「船内の火災を消化しました。」"),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「船内の火災を消化するのに必要な資源が足りません」"), true);
}

void Cockpit::tra_b6MouseDown() {
  services_.sound.PlayClick();
  Repair(kFuelTankDamage, Mul32(2, game_.trouble_level[kFuelTankDamage]),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「燃料タンク壁を修復しました。」"),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「燃料タンク壁の修復に必要な資源が足りません」"), true);
}

void Cockpit::tra_b7MouseDown() {
  services_.sound.PlayClick();
  Repair(kMainSystemFault, 5, TX_NOOP("ﾏｰﾒｲﾀﾞ「メインシステムの復旧に成功しました。」"),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「メインシステムの復旧に必要な資源が足りません」"), true);
}

void Cockpit::tra_b8MouseDown() {
  services_.sound.PlayClick();
  RepairRefused(TX_NOOP(
      "ﾏｰﾒｲﾀﾞ「長期間ブイに寄港していないため、船内に未知の病原菌が入りこんでいます。近隣のブイ"
      "へ大至急寄港して下さい」"));
}

void Cockpit::tra_b9MouseDown() {
  services_.sound.PlayClick();
  Repair(kSystemDown, 6, TX_NOOP("ﾏｰﾒｲﾀﾞ「システムが復旧しました。」"),
         TX_NOOP("ﾏｰﾒｲﾀﾞ「システムがダウンしていますが、修理に必要な資源が足りません。」"), true);
}

void Cockpit::tra_b10MouseDown() {
  // The radar button has always been silent.
  Repair(
      kRadarFault, 6, TX_NOOP("ﾏｰﾒｲﾀﾞ「レーダーシステムの異常を修復しました。」"),
      TX_NOOP("ﾏｰﾒｲﾀﾞ「レーダーシステムに異常が発生していますが、修復に必要な資源が足りません」"),
      true);
}

void Cockpit::RepairMouseDown(int number) {
  // A switch rather than a table of member pointers: GCC 12's bounds sanitizer misreads such a
  // table and reports an index it never used.
  switch (number) {
    case 1:
      tra_b1MouseDown();
      break;
    case 2:
      tra_b2MouseDown();
      break;
    case 3:
      tra_b3MouseDown();
      break;
    case 4:
      tra_b4MouseDown();
      break;
    case 5:
      tra_b5MouseDown();
      break;
    case 6:
      tra_b6MouseDown();
      break;
    case 7:
      tra_b7MouseDown();
      break;
    case 8:
      tra_b8MouseDown();
      break;
    case 9:
      tra_b9MouseDown();
      break;
    case 10:
      tra_b10MouseDown();
      break;
    default:
      break;
  }
}

}  // namespace qm
