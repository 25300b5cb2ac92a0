#include "cockpit/story_lines.h"

#include "platform/cp932.h"

namespace qm {

// Every roll line is written into a 200-pixel bitmap at size 10 bold, so none may be wider than
// that: about fifteen full-width characters.

const std::array<std::string, kPrologueLineCount>& PrologueLines() {
  static const std::array<std::string, kPrologueLineCount> lines = {
      Sj("―――３０年前"),
      Sj("我々は地球を旅立った。"),
      Sj("光速の78.7％で宇宙を駆け、"),
      Sj("隣の恒星系を目指して。"),
      Sj("頼りになるのはただ、"),
      Sj("先人たちが宇宙に残した"),
      Sj("道しるべのブイだけ。"),
      Sj("人の住める星を求めて、"),
      Sj("長い旅が始まった。"),
      Sj("制作　Tellivar"),
  };
  return lines;
}

std::array<std::string, kEndingLineCount> EndingLines(const std::string& ship_name,
                                                      const std::string& commander_name) {
  return {
      Sj("―――太陽系からの衝撃波は"),  Sj("老いた太陽を燃やし直す"),
      Sj("試みが失敗した跡だった。"), Sj("滅んだと思われた人類は、"),
      Sj("それさえ生き延びていた。"), Sj("我々が旅立ってから、"),
      Sj("地球では一万年以上の"),     Sj("時が流れたはずだ。"),
      Sj("―――帰ろう、地球へ。"),      Sj("我々の故郷へ。"),
      Sj("さらば、宇宙よ。"),         Sj("～『") + ship_name + Sj("』船長") + commander_name,
  };
}

const std::array<std::string, kEarthMessagePageCount>& EarthMessagePages() {
  static const std::array<std::string, kEarthMessagePageCount> pages = {
      Sj("ﾏｰﾒｲﾀﾞ「報告します」"),
      Sj("ﾏｰﾒｲﾀﾞ「たった今、地球から亜空間通信が届きました。」"),
      Sj("ﾏｰﾒｲﾀﾞ「『こちらは、地球に帰還したばかりの宇宙船アルタイル号の船長だ。』」"),
      Sj("ﾏｰﾒｲﾀﾞ「『この通信を受信しているすべての探査隊は、よく聞いてほしい。』」"),
      Sj("ﾏｰﾒｲﾀﾞ「『人類の移住計画は、ここに終了した。』」"),
      Sj("ﾏｰﾒｲﾀﾞ「『全探査隊は、ただちに地球へ帰還せよ。』」"),
      Sj("ﾏｰﾒｲﾀﾞ「―――以上です。」"),
  };
  return pages;
}

}  // namespace qm
