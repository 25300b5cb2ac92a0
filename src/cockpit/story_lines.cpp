#include "cockpit/story_lines.h"

#include "platform/edition.h"

namespace qm {

// Every roll line is written into a 200-pixel bitmap at size 10 bold, so none may be wider than
// that: about fifteen full-width characters.

const std::array<std::string, kPrologueLineCount>& PrologueLines() {
  return KeptForEdition([] {
    return std::array<std::string, kPrologueLineCount>{
        Tx("―――３０年前"),
        Tx("我々は地球を旅立った。"),
        Tx("光速の78.7％で宇宙を駆け、"),
        Tx("隣の恒星系を目指して。"),
        Tx("頼りになるのはただ、"),
        Tx("先人たちが宇宙に残した"),
        Tx("道しるべのブイだけ。"),
        Tx("人の住める星を求めて、"),
        Tx("長い旅が始まった。"),
        Tx("制作　Tellivar"),
    };
  });
}

std::array<std::string, kEndingLineCount> EndingLines(const std::string& ship_name,
                                                      const std::string& commander_name) {
  return {
      Tx("―――太陽系からの衝撃波は"),  Tx("老いた太陽を燃やし直す"),
      Tx("試みが失敗した跡だった。"), Tx("滅んだと思われた人類は、"),
      Tx("それさえ生き延びていた。"), Tx("我々が旅立ってから、"),
      Tx("地球では一万年以上の"),     Tx("時が流れたはずだ。"),
      Tx("―――帰ろう、地球へ。"),      Tx("我々の故郷へ。"),
      Tx("さらば、宇宙よ。"),         Fill(Tx("～『%1』船長%2"), {ship_name, commander_name}),
  };
}

const std::array<std::string, kEarthMessagePageCount>& EarthMessagePages() {
  return KeptForEdition([] {
    return std::array<std::string, kEarthMessagePageCount>{
        Tx("ﾏｰﾒｲﾀﾞ「報告します」"),
        Tx("ﾏｰﾒｲﾀﾞ「たった今、地球から亜空間通信が届きました。」"),
        Tx("ﾏｰﾒｲﾀﾞ「『こちらは、地球に帰還したばかりの宇宙船アルタイル号の船長だ。』」"),
        Tx("ﾏｰﾒｲﾀﾞ「『この通信を受信しているすべての探査隊は、よく聞いてほしい。』」"),
        Tx("ﾏｰﾒｲﾀﾞ「『人類の移住計画は、ここに終了した。』」"),
        Tx("ﾏｰﾒｲﾀﾞ「『全探査隊は、ただちに地球へ帰還せよ。』」"),
        Tx("ﾏｰﾒｲﾀﾞ「―――以上です。」"),
    };
  });
}

}  // namespace qm
