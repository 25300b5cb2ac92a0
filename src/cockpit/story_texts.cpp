#include "cockpit/story_texts.h"

#include "platform/cp932.h"
#include "platform/edition.h"

namespace qm {

std::string BuoyCluePage(const ChartPoint& next) {
  std::string coords = "x:" + Dec(next.x) + "  y:" + Dec(next.y) + "  z:" + Dec(next.z);
  // The box reveals two bytes a frame; an even page ends on a whole step.
  if (coords.size() % 2 == 1) coords += ' ';
  return Fill(Tx("※他のブイの場所が記されています。\r\r\rNEXT POINT > %1"), {coords});
}

const std::array<std::string, kShockwavePageCount>& ShockwavePages() {
  return KeptForEdition([] {
    return std::array<std::string, kShockwavePageCount>{
        Tx("ﾏｰﾒｲﾀﾞ「EMERGENCY !!」"),
        Tx("ﾏｰﾒｲﾀﾞ「・・・衝撃波です。」"),
        Tx("ﾏｰﾒｲﾀﾞ「震源地を計算中です。」"),
        Tx("ﾏｰﾒｲﾀﾞ「・・・・・・・・・」"),
        Tx("ﾏｰﾒｲﾀﾞ「震源の座標は、太陽系の座標と一致しました。」"),
        Tx("ﾏｰﾒｲﾀﾞ「規模と速度から、太陽クラスの恒星の爆発と推測されます。」"),
        Tx("ﾏｰﾒｲﾀﾞ「計算によると、爆発は本船が地球を出発してから約980地球年後に起きたものです。」"),
    };
  });
}

}  // namespace qm
