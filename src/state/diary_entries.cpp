// The captain's diary: one sentence per stretch of the voyage, written into the voyage log at
// every save, a sentence with a name marking its place with %1. The captain is young and commands a
// small crew (a pilot and a doctor) watching over the sleepers; the early pages are afraid of the
// dark, the later ones find their resolve, and the last is a vow. Edit the sentences freely; keep
// the key ranges and the names where they are, since the ranges follow how far a voyage has come.

#include <array>
#include <vector>

#include "platform/edition.h"
#include "state/diary.h"

namespace qm {
namespace {

using enum DiaryName;

struct DiaryText {
  std::int32_t first_key;
  std::int32_t last_key;
  const char* text;
  DiaryName name;
};

constexpr std::array<DiaryText, 50> kEntries{{
    {0, 5, TX_NOOP("今日から航海が始まった。窓の外はどこまでも真っ暗で、少し足がふるえる"), kNone},
    {6, 9, TX_NOOP("宇宙には朝が来ない。パイロットにそう言われて、急に心細くなった"), kNone},
    {10, 14, TX_NOOP("星の並びを少しずつ覚えてきた。それでも暗いのは、まだ苦手だ"), kNone},
    {15, 19,
     TX_NOOP("ドクターが温かいスープを作ってくれた。眠っている人たちの寝顔は、みんなおだやかだ"),
     kNone},
    {20, 24, TX_NOOP("古いブイの信号を受けた。前にもここを通った人がいたと思うと、少しほっとする"),
     kNone},
    {25, 28, TX_NOOP("船がきしむ音で目が覚めた。ただの音だと分かっていても、胸がどきどきする"),
     kNone},
    {29, 33, TX_NOOP("計器のランプが一つ消えただけで、手がふるえた。船長なのに情けない"), kNone},
    {34, 37, TX_NOOP("窓の外に何かいる気がして眠れない。今夜は明かりをつけたまま寝ることにした"),
     kNone},
    {38, 39, TX_NOOP("こわい！！助けて！！"), kNone},
    {40, 44, TX_NOOP("昨日は取り乱してしまった。パイロットは何も言わずに、ココアをいれてくれた"),
     kNone},
    {45, 48, TX_NOOP("地球がどの光なのか、もう分からない。それでも毎晩、同じ方角を見てしまう"),
     kNone},
    {49, 53, TX_NOOP("資源を積みこんだ。重くなった船が、少しだけ頼もしく思える"), kNone},
    {54, 58,
     TX_NOOP("ドクターに、顔色がよくなったと言われた。少しは宇宙に慣れてきたのかもしれない"),
     kNone},
    {59, 63, TX_NOOP("暗やみにも色があることに気づいた。青や、むらさきや、ほんのりとした赤"),
     kNone},
    {64, 67, TX_NOOP("操縦を少しだけ任せてもらった。まっすぐ飛ぶのは、思ったよりずっと難しい"),
     kNone},
    {68, 72,
     TX_NOOP(
         "眠る人たちの数を、パイロットと二人でかぞえた。この人たちの明日が、僕の肩にのっている"),
     kNone},
    {73, 76, TX_NOOP("彗星の長い尾を見た。きれいすぎて、怖いのを忘れていた"), kNone},
    {77, 82, TX_NOOP("『%1』号の廊下を、端から端まで歩いてみた。この船が今の僕らの家だ"), kShip},
    {83, 88, TX_NOOP("『%1』号の機関は、今日も休まず動いている。僕も負けていられない"), kShip},
    {89, 92, TX_NOOP("船壁の小さな傷が増えてきた。みんなで直しながら、ここまで来た"), kNone},
    {93, 97,
     TX_NOOP("惑星を見つけても、すぐには喜べない。探している星かどうか、まだ分からないから"),
     kNone},
    {98, 100, TX_NOOP("怖い夢を見た。でも目を覚ましたら、ドクターが隣で本を読んでいてくれた"),
     kNone},
    {101, 104, TX_NOOP("暗いのは今でも好きじゃない。でも、もう泣いたりはしない"), kNone},
    {105, 109,
     TX_NOOP("先に旅立った人たちのブイが、僕らに道を教えてくれる。会ったこともない人たちに、ありが"
             "とうと言いたい"),
     kNone},
    {110, 113,
     TX_NOOP("燃料計を見るのがくせになった。残りの数字と進む距離を、いつも頭の中で比べている"),
     kNone},
    {114, 117, TX_NOOP("パイロットが故郷の歌を口ずさんでいた。知らない歌なのに、なつかしかった"),
     kNone},
    {118, 119, TX_NOOP("少しだけ、地球に帰りたくなった。今日だけは、正直にそう書いておく"), kNone},
    {120, 123, TX_NOOP("星図の印が増えていく。僕らの通った道は、ちゃんとここに残っている"), kNone},
    {124, 127, TX_NOOP("%1船長、しっかりしろ。鏡の中の自分に、そう言い聞かせた"), kCommander},
    {128, 131, TX_NOOP("難しい修理を、一人でやりとげた。手はまだ油だらけだ"), kNone},
    {132, 135, TX_NOOP("眠っている人たちは、僕らを信じて目を閉じたのだと、ドクターが話してくれた"),
     kNone},
    {136, 139, TX_NOOP("暗い宇宙を、もう怖いとは思わない。ただ、とても広いと思う"), kNone},
    {140, 145, TX_NOOP("嵐のような恒星風を抜けた。みんな無事だった。それが何よりうれしい"), kNone},
    {146, 149, TX_NOOP("航路を決めるのに、迷わなくなった。迷ったとしても、決めるのは僕だ"), kNone},
    {150, 152, TX_NOOP("パイロットと夜通し星図をながめた。次に行く場所の話は、いつまでも尽きない"),
     kNone},
    {153, 158, TX_NOOP("見つけた惑星のことを、眠っている人たちにいつか話してあげたい"), kNone},
    {159, 162, TX_NOOP("怖さは消えない。でも、怖さと一緒に進むやり方を覚えた"), kNone},
    {163, 167, TX_NOOP("船の小さな畑に、芽が出た。こんなに遠くても、命はちゃんと育つ"), kNone},
    {168, 172, TX_NOOP("この宇宙のどこかに、僕らを待っている星がきっとある。今はそう信じられる"),
     kNone},
    {173, 179, TX_NOOP("長い航海で、みんなの顔つきが変わった。たぶん僕もそうだ"), kNone},
    {180, 186, TX_NOOP("地球を出た日の自分に会えたら、大丈夫だよと言ってあげたい"), kNone},
    {187, 190, TX_NOOP("遠くに、青くかすむ星が見えた気がする。まだ誰にも言わずにおこう"), kNone},
    {191, 195, TX_NOOP("もう一人前ですね、%1船長。ドクターにそう言われて、少し照れくさかった"),
     kCommander},
    {196, 200, TX_NOOP("『%1』号ばんざい"), kShip},
    {201, 205, TX_NOOP("みんなで食卓を囲んだ。この船の仲間で、本当によかった"), kNone},
    {206, 209, TX_NOOP("『%1』号は、もうどんな闇にも負けない船になった"), kShip},
    {210, 213, TX_NOOP("答えはもう近い。星の光が、そう教えてくれている気がする"), kNone},
    {214, 219, TX_NOOP("ここまでの道のりを思うと、胸が熱くなる。もう引き返しはしない"), kNone},
    {220, 225, TX_NOOP("眠る人たちが目を覚ます日は、もうすぐだ。その朝を、必ず迎えてみせる"),
     kNone},
    {226, 230,
     TX_NOOP("僕は誓う。眠るみんなが目を覚まし、笑って暮らせる星を、必ずこの手で見つけだす"),
     kNone},
}};

}  // namespace

std::span<const DiaryEntry> DiaryEntries() {
  // The halves around the name, made once from the sentences above.
  static const std::vector<std::string> halves = [] {
    std::vector<std::string> out;
    for (const DiaryText& e : kEntries) {
      const std::string_view text = e.text;
      const size_t at = text.find("%1");
      out.emplace_back(text.substr(0, at));
      out.emplace_back(at == std::string_view::npos ? std::string_view() : text.substr(at + 2));
    }
    return out;
  }();
  static const std::vector<DiaryEntry> entries = [] {
    std::vector<DiaryEntry> out;
    for (size_t i = 0; i < kEntries.size(); ++i) {
      const DiaryText& e = kEntries[i];
      out.push_back({e.first_key, e.last_key, halves[2 * i].c_str(), e.name,
                     halves[2 * i + 1].c_str(), e.text});
    }
    return out;
  }();
  return entries;
}

}  // namespace qm
