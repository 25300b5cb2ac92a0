#pragma once

#include <string>
#include <vector>

#include "platform/picture_list.h"
#include "platform/surface.h"
#include "state/game_state.h"

namespace qm {

// Where the contact and chart buttons stand; their pressed pictures are moved onto them.
constexpr int kContactLeft = 252;
constexpr int kContactTop = 304;
constexpr int kChartLeft = 304;
constexpr int kChartTop = 340;

// Lines of the chart listing per message page.
constexpr int kChartLinesPerPage = 6;

// One line of the chart listing (without its line end): a visited point is marked "★". CP932.
std::string ChartLine(bool visited, const ChartPoint& p);

// The chart listing as message pages, six points a page in chart order: known buoys and planets
// with two spaces before the name, visited ones (and visited stations and warps) with "★".
// No listable point gives no page. CP932.
std::vector<std::string> ChartPages(const GameState& game);

// The panel's layout pictures: button faces with their pressed pictures and the plate behind the
// resources label. Decoration, like the other layout pictures: one that cannot be read is empty
// and simply not drawn.
struct PanelPictures {
  Surface contact_b2;  // contact button
  Surface contact_b;   // contact button, pressed
  Surface u_map_b2;    // chart button
  Surface u_map_b;     // chart button, pressed
  Surface image3;      // plate behind the resources label
  Surface image4;      // energy converter button
  Surface image5;      // save point button
};

std::vector<PictureFile> PanelPictureFiles(PanelPictures& pictures);
void LoadPanelPictures(PanelPictures& pictures);

}  // namespace qm
