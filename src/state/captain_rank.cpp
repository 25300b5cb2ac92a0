#include "state/captain_rank.h"

#include "platform/edition.h"

namespace qm {

std::string RankTitle(std::int32_t level) {
  const char* title = nullptr;
  switch (level) {
    case 0:
    case 1:
      title = TX_NOOP("暗いのが怖い");
      break;
    case 2:
      title = TX_NOOP("方向が少し分かる");
      break;
    case 3:
      title = TX_NOOP("星座を暗記してる");
      break;
    case 4:
      title = TX_NOOP("宇宙船を少し動かせる");
      break;
    case 5:
      title = TX_NOOP("宇宙船を上手に動かせる");
      break;
    case 6:
      title = TX_NOOP("宇宙船を立派に動かせる");
      break;
    case 7:
      title = TX_NOOP("人類の未来を背負ってる");
      break;
    default:
      if (level >= 8 && level <= 999999) title = TX_NOOP("宇宙の答えを知っている");
      break;
  }
  return title == nullptr ? std::string() : Tx(title);
}

}  // namespace qm
