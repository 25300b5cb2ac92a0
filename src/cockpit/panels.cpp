#include "cockpit/panels.h"

#include "cockpit/cockpit.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "state/save_files.h"
#include "state/wrap32.h"

namespace qm {
namespace {

constexpr char kShortOfResources[] = TX_NOOP("資源が足りません");

}  // namespace

std::string ChartLine(bool visited, const ChartPoint& p) {
  return Fill(visited ? Tx("★%1 > X:%2  Y:%3  Z:%4") : Tx("  %1 > X:%2  Y:%3  Z:%4"),
              {p.name, Dec(p.x), Dec(p.y), Dec(p.z)});
}

std::vector<std::string> ChartPages(const GameState& game) {
  std::vector<std::string> pages;
  std::string page;
  int lines = 0;
  for (int i = 0; i < kChartPointCount; ++i) {
    const ChartPoint& p = game.chart[static_cast<size_t>(i)];
    const std::int32_t state = game.point_state[static_cast<size_t>(i)];
    bool listed = false;
    if (state == 1 && Traits(p.kind).listed_known) {
      page += ChartLine(false, p);
      listed = true;
    }
    if (state == 2 && Traits(p.kind).listed_visited) {
      page += ChartLine(true, p);
      listed = true;
    }
    if (!page.empty()) {
      // Every line ends on a whole two-byte reveal step.
      if (page.size() % 2 == 1) page += ' ';
      if (listed) {
        page += " \r";
        ++lines;
      }
    }
    if (lines == kChartLinesPerPage || i == kChartPointCount - 1) {
      if (!page.empty()) pages.push_back(page);
      page.clear();
      lines = 0;
    }
  }
  return pages;
}

std::vector<PictureFile> PanelPictureFiles(PanelPictures& p) {
  return {{&p.contact_b2, "contact_b2.bmp", true}, {&p.contact_b, "contact_b.bmp", true},
          {&p.u_map_b2, "u_map_b2.bmp", true},     {&p.u_map_b, "u_map_b.bmp", true},
          {&p.image3, "image3.bmp", false},        {&p.image4, "image4.bmp", true},
          {&p.image5, "image5.bmp", true}};
}

void LoadPanelPictures(PanelPictures& p) {
  LoadPictureFiles(PanelPictureFiles(p));
}

void Cockpit::StartCheck() {
  vs_.check_countdown = 10;
  services_.sound.PlayCue(kShipChannel, "check.wav");
}

void Cockpit::contact_b2MouseDown() {
  if (game_.voyage_over >= 1) return;
  services_.sound.PlayClick();
  services_.controls.Move("contact_b", kContactLeft, kContactTop);
  vs_.contact_blink = 10;
  vs_.speed_forward = 0;
  StartNoise();
  if (vs_.current_point == -1) return;
  // The point must stand ahead of the ship, near enough to reach.
  if (vs_.local_x >= -100 && vs_.local_x <= 100 && vs_.local_y >= -80 && vs_.local_y <= 80 &&
      vs_.local_z >= 75 && vs_.local_z <= 180) {
    StartCheck();
  }
}

void Cockpit::u_map_b2MouseDown() {
  if (game_.voyage_over >= 1) return;
  services_.sound.PlayClick();
  if (game_.trouble_level[kRadarFault] >= 1) {
    AddMessage(Tx("レーダー異常のため、海図が開けません"));
    ShowMessageBox();
    return;
  }
  services_.controls.Move("u_map_b", kChartLeft, kChartTop);
  vs_.chart_blink = 10;
  for (std::string& page : ChartPages(game_))
    AddMessage(std::move(page));
  services_.sound.PlayCue(kEventChannel, "map.wav");
  // The frames draw the chart over the view until the box closes.
  vs_.chart_open = 1;
  ShowMessageBox();
}

void Cockpit::Image4MouseDown() {
  services_.sound.PlayClick();
  // Fixed before the question: the answer trades exactly what was offered.
  const std::int32_t h = game_.resources / 2;
  if (h <= 0) {
    services_.dialogs.Inform(Tx(kShortOfResources));
    services_.sound.PlayClick();
    return;
  }
  const bool yes = services_.dialogs.Confirm(Fill(
      Tx("資源 %1tをエネルギーとして置換しますか？\r\r%1t → %2E"), {Dec(h), Dec(Mul32(20, h))}));
  services_.sound.PlayClick();
  if (!yes) return;
  // Energy above the maximum is trimmed by the next instrument pass.
  game_.energy = Add32(game_.energy, Mul32(20, h));
  game_.resources = Sub32(game_.resources, h);
}

void Cockpit::Image5MouseDown() {
  services_.sound.PlayClick();
  if (!services_.dialogs.Confirm(
          Tx("ここまでの出来事を記録しますか？ 要:資源 1\r（以前データに上書きされます）"))) {
    services_.sound.PlayClick();
    return;
  }
  if (game_.resources <= 0) {
    services_.sound.PlayCue(kEventChannel, "6.wav");
    services_.dialogs.Inform(Tx(kShortOfResources));
    services_.sound.PlayCue(kEventChannel, "2.wav");
    return;
  }
  game_.resources = Sub32(game_.resources, 1);
  services_.sound.PlayClick();
  SaveGame(game_, services_);
}

bool Cockpit::FormClose(const std::function<void()>& close_title_window) {
  services_.sound.PlayClick();
  if (services_.dialogs.Confirm(
          Tx("ゲームを終了します。\r※ここまでの出来事を記録しますか？\r（「いいえ」を選択すると、"
             "セーブせずに終了します）"))) {
    services_.sound.PlayClick();
    bool recorded = false;
    SaveGame(game_, services_, &recorded);
    // The error box has told the player; ending now would throw away the voyage since the last
    // save. A voyage log that failed after the record was written loses nothing.
    if (!recorded) return false;
  }
  services_.sound.PlayClick();
  if (close_title_window) close_title_window();
  return true;
}

void Cockpit::Button1Click(int x_v, int y_v, int z_v) {
  game_.sector_x = -x_v;
  game_.sector_y = y_v;
  game_.sector_z = z_v;
}

void Cockpit::Button2Click() {
  game_.story_stage() = 3;
  cs_.prologue_tick = 1;
}

void Cockpit::Button3Click() {
  services_.sound.PlayMusic("ending.mid");
  cs_.ending_tick = 1;
}

void Cockpit::Button4Click() {
  for (int i : {0, 1, 2, 3})
    game_.point_state[static_cast<size_t>(i)] = 2;
  for (int i = 51; i <= 60; ++i)
    game_.point_state[static_cast<size_t>(i)] = 2;
  game_.point_state[61] = 1;
  game_.sector_x = 10;
  game_.sector_z = 24;
  game_.resources_max = 17;
}

}  // namespace qm
