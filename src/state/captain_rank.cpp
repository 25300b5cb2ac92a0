#include "state/captain_rank.h"

#include "platform/cp932.h"

namespace qm {

std::string RankTitle(std::int32_t level) {
  const char* title = "";
  switch (level) {
    case 0:
    case 1:
      title = "暗いのが怖い";
      break;
    case 2:
      title = "方向が少し分かる";
      break;
    case 3:
      title = "星座を暗記してる";
      break;
    case 4:
      title = "宇宙船を少し動かせる";
      break;
    case 5:
      title = "宇宙船を上手に動かせる";
      break;
    case 6:
      title = "宇宙船を立派に動かせる";
      break;
    case 7:
      title = "人類の未来を背負ってる";
      break;
    default:
      if (level >= 8 && level <= 999999) title = "宇宙の答えを知っている";
      break;
  }
  return Sj(title);
}

}  // namespace qm
