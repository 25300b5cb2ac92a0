#include "platform/cp932.h"
#include "platform/gcc12_false_warnings.h"
#include "voyage/voyage.h"

namespace qm {

void Voyage::LogonStep() {
  ++vs_.logon_step;
  if (vs_.logon_step == 31) services_.sound.PlayCue(kShipChannel, "logon.wav");

  // A fade-in to green over the first eight frames.
  static constexpr Color kFade[8] = {0x001100, 0x003300, 0x005500, 0x007700,
                                     0x009900, 0x00BB00, 0x00DD00, 0x00FF00};
  view_.SetFontColor(kBlack);
  view_.SetBrushColor(vs_.logon_step >= 8 ? kFade[7] : kFade[std::max(vs_.logon_step, 1) - 1]);
  view_.FillRect(0, 0, kViewWidth, kViewHeight);

  view_.SetFontSize(10);
  view_.SetFontStyle(true, true);
  const std::string title = "ROVODUDI ver1.1";
  view_.TextOut((kViewWidth - view_.TextWidth(title)) / 2, 100, title);
  if (vs_.logon_step <= 30) view_.TextOut(170, 115, std::string(vs_.logon_step / 2, '.'));

  struct Line {
    int from;
    int y;
  };
  static constexpr Line kLines[] = {{31, 125}, {32, 135}, {33, 145}, {34, 155},
                                    {35, 165}, {37, 185}, {38, 195}, {40, 215}};
  view_.SetBrushColor(kGreen);
  for (const Line& line : kLines) {
    if (vs_.logon_step < line.from) continue;
    std::string text;
    switch (line.from) {
      case 35:
        text = ">....OK";
        break;
      case 37:
        text = ">ID:" + game_.commander_name;
        break;
      case 38:
        text = ">Pass:*********";
        break;
      case 40:
        text = ">LOG ON";
        break;
      default:
        QM_GCC12_FALSE_WARNINGS_BEGIN
        text = ">";
        QM_GCC12_FALSE_WARNINGS_END
        break;
    }
    view_.TextOut(170, line.y, text);
  }
  view_.SetFontStyle(false, false);
}

}  // namespace qm
