// Every edition besides the Japanese: its texts are plain ASCII and fit the places the Japanese
// texts were laid out for, in the edition's own faces; and how the player chooses an edition.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/command_line.h"
#include "app/title_window.h"
#include "built_game.h"
#include "cockpit/cockpit_state.h"
#include "cockpit/instrument_texts.h"
#include "cockpit/panels.h"
#include "cockpit/story_lines.h"
#include "cockpit/story_texts.h"
#include "cockpit_rig.h"
#include "platform/catalog.h"
#include "platform/edition.h"
#include "platform/text_layout.h"
#include "platform/window_settings.h"
#include "state/captain_rank.h"
#include "state/chart_file.h"
#include "widget_services.h"

namespace qm {
namespace {

std::vector<std::string> OtherEditions() {
  std::vector<std::string> out = EditionLanguages();
  out.erase(std::remove(out.begin(), out.end(), std::string(kJapanese)), out.end());
  return out;
}

bool IsAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString Unicode(const std::string& cp932) {
  return QString::fromStdString(Utf8FromCp932(cp932));
}

// Names as long as the entries take, in letters that are wide in every face.
const std::string kCaptain = "Kuroneko";
const std::string kShip = "Hayabusa";

class OtherEdition : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override { ASSERT_TRUE(SetEdition(GetParam())); }
  void TearDown() override { SetEdition(kJapanese); }

  // The message box's lines of a page, as its label lays them out.
  static QStringList BoxLines(const std::string& page) {
    QFont font(QString::fromStdString(EditionFace(kMessageFace)));
    font.setPixelSize(15);
    font.setBold(true);
    return LayoutLines(Unicode(page), QFontMetrics(font), kMessageTextWidth);
  }
  static int BoxLineHeight() {
    QFont font(QString::fromStdString(EditionFace(kMessageFace)));
    font.setPixelSize(15);
    font.setBold(true);
    return QFontMetrics(font).height();
  }
  // The width of a text lettered on the view or a panel bitmap at a point size.
  static int Lettered(const std::string& cp932, int points, bool bold, bool italic,
                      const char* face = kWindowFace) {
    Surface s(1, 1);
    s.SetFontFace(face);
    s.SetFontSize(points);
    s.SetFontStyle(bold, italic);
    return s.TextWidth(cp932);
  }
};

TEST_P(OtherEdition, EveryTranslationIsAsciiAndKeepsThePlaceholdersOfItsJapanese) {
  const auto catalogs = Catalogs();
  const auto it = std::find_if(catalogs.begin(), catalogs.end(),
                               [](const Catalog& c) { return c.language == GetParam(); });
  ASSERT_NE(it, catalogs.end());
  ASSERT_GT(it->entries.size(), 200u);
  auto placeholders = [](std::string_view s) {
    std::multiset<char> out;
    for (size_t i = 0; i + 1 < s.size(); ++i)
      if (s[i] == '%' && s[i + 1] >= '1' && s[i + 1] <= '9') out.insert(s[i + 1]);
    return out;
  };
  for (const CatalogEntry& e : it->entries) {
    EXPECT_TRUE(IsAscii(e.text)) << e.text;
    EXPECT_FALSE(e.text.empty()) << e.key;
    // A translation may repeat a number the Japanese writes twice, but must lose none.
    const auto want = placeholders(e.key);
    const auto got = placeholders(e.text);
    EXPECT_EQ(std::set<char>(want.begin(), want.end()), std::set<char>(got.begin(), got.end()))
        << e.key << " -> " << e.text;
  }
}

// Every page the voyage can put in the message box, with the longest numbers it can hold, fits
// the box's seven lines; every question and notice is ASCII.
TEST_P(OtherEdition, EveryPageFitsTheMessageBox) {
  testing::CockpitRig rig;
  rig.game.commander_name = kCaptain;
  rig.game.ship_name = kShip;
  std::vector<std::string> pages;
  auto drain = [&] {
    for (std::string& page : rig.cs().message_pages) {
      if (!page.empty()) pages.push_back(page);
      page.clear();
    }
    rig.cs().message_page = 0;
  };
  // A point of every kind, each linking three times to the far corner of space.
  constexpr int kCorner = 399;
  rig.game.chart[kCorner] = {"Corner", "Far away.", -30, -30, -30, 5, 1, 0, 0, -1, -1, -1};
  for (int kind = 1; kind <= kLastPointKind; ++kind) {
    ChartPoint& p = rig.game.chart[static_cast<size_t>(kind)];
    p = {"Point", "Here.", 0, 0, 0, 5, kind, 999, 99, kCorner, kCorner, kCorner};
  }
  for (int kind = 1; kind <= kLastPointKind; ++kind) {
    for (std::int32_t outcome = 0; outcome <= (Traits(kind).survey_cost > 0 ? 5 : 0); ++outcome) {
      rig.game.chart[static_cast<size_t>(kind)].yield = outcome == 0 ? 999 : outcome;
      for (int call = 0; call < 2; ++call) {
        rig.game.trouble_level.fill(5);
        rig.game.resources = 99;
        if (call == 0) rig.game.point_state[static_cast<size_t>(kind)] = 1;
        rig.cockpit.ArrivalExamination(kind);
        drain();
      }
    }
  }
  // A survey that cannot be paid for.
  rig.game.resources = 0;
  rig.game.point_state[22] = 1;
  rig.cockpit.ArrivalExamination(22);
  drain();
  // Sleepers dying, and every repair button with too little and with enough.
  rig.game.resources_max = 10;
  rig.game.trouble_level[kSleeperInjury] = 5;
  rig.cockpit.RaiseTrouble(kSleeperInjury);
  drain();
  for (std::int32_t resources : {0, 99}) {
    for (int button = 1; button <= kTroubleCount; ++button) {
      rig.game.trouble_level.fill(5);
      rig.game.resources = resources;
      rig.cockpit.RepairMouseDown(button);
      drain();
    }
  }
  rig.game.trouble_level.fill(0);
  rig.game.trouble_level[kRadarFault] = 1;
  rig.cockpit.u_map_b2MouseDown();
  drain();
  // The shipped chart's listing with every point known, then with every point visited.
  ReadChart((testing::BuiltGame() / "dat" / GetParam() / "map.dat").string(), rig.game);
  for (std::int32_t state : {1, 2}) {
    std::fill(rig.game.point_state.begin(), rig.game.point_state.begin() + kChartPointCount, state);
    for (const std::string& page : ChartPages(rig.game))
      pages.push_back(page);
  }
  for (const auto& story : {ShockwavePages(), EarthMessagePages()})
    pages.insert(pages.end(), story.begin(), story.end());

  ASSERT_GT(pages.size(), 150u);
  const int most_lines = kMessageTextHeight / BoxLineHeight();
  for (const std::string& page : pages) {
    EXPECT_TRUE(IsAscii(page)) << Utf8FromCp932(page);
    const QStringList lines = BoxLines(page);
    EXPECT_LE(lines.size(), most_lines) << lines.join(QLatin1Char('|')).toStdString();
  }
  const auto& dialogs = rig.fake.dialogs;
  for (const auto* texts : {&dialogs.asked, &dialogs.informed, &dialogs.errors}) {
    for (const std::string& text : *texts)
      EXPECT_TRUE(IsAscii(text)) << Utf8FromCp932(text);
  }
  EXPECT_FALSE(dialogs.asked.empty());
}

// The lettering of the instruments, the rolls and the status line stays in its place.
TEST_P(OtherEdition, InstrumentsRollsAndTheStatusLineFitTheirPlaces) {
  GameState game;
  NewGame(game);
  game.commander_name = kCaptain;
  game.ship_name = kShip;
  game.sector_x = 30;
  game.sector_y = -30;
  game.sector_z = -30;
  VoyageState vs;
  vs.speed_side = 49;
  vs.speed_up = -49;
  vs.speed_forward = -49;
  // The panel bitmap the readouts are lettered into is 200 pixels wide.
  for (const std::string& line : SpeedReadoutLines(vs))
    EXPECT_LE(Lettered(line, 8, false, false), 200) << line;
  Random random(1);
  EXPECT_LE(Lettered(PositionReadoutText(game, random), 9, true, false), 200);
  EXPECT_LE(Lettered(Tx("■■■"), 9, false, false), 60);
  EXPECT_LE(Lettered(BoosterText(15), 9, false, true), 400);
  // A trouble's label is written into the plate's band from x 6 to 134.
  for (int k = 0; k < kTroubleCount; ++k)
    EXPECT_LE(Lettered(TroubleLabel(k, 5), 8, true, true), 128) << TroubleLabel(k, 5);
  // A roll's line is lettered into the 200-pixel panel bitmap at size 10 bold.
  for (const std::string& line : PrologueLines())
    EXPECT_LE(Lettered(line, 10, true, false), 200) << line;
  for (const std::string& line : EndingLines(kShip, kCaptain))
    EXPECT_LE(Lettered(line, 10, true, false), 200) << line;
  // The resources label is 129 pixels wide; the status line 247, two lines in the fixed face.
  game.resources = 99;
  game.resources_max = 99;
  QFont label(QString::fromStdString(EditionFace(kWindowFace)));
  label.setPixelSize(11);
  label.setBold(true);
  EXPECT_LE(QFontMetrics(label).horizontalAdvance(Unicode(ResourcesCaption(game))), 129);
  QFont status(QString::fromStdString(EditionFace(kFixedFace)));
  status.setPixelSize(11);
  status.setItalic(true);
  game.voyage_days = 999;
  for (std::int32_t level = 1; level <= 8; ++level) {
    game.captain_level = level;
    const QStringList lines = LayoutLines(Unicode(StatusCaption(game)), QFontMetrics(status), 0);
    ASSERT_EQ(lines.size(), 2);
    for (const QString& line : lines)
      EXPECT_LE(QFontMetrics(status).horizontalAdvance(line), 247) << line.toStdString();
  }
  EXPECT_TRUE(IsAscii(VoyageWindowCaption(game)));
}

// The name panel's labels stand beside the entries, not under them, and every caption fits its
// button.
TEST_P(OtherEdition, TheTitleWindowsLabelsAndButtonsFitTheirPlaces) {
  testing::WidgetServices fake;
  GameState game;
  TForm1 title(game, fake.services, fake.controls);
  EXPECT_TRUE(IsAscii(title.windowTitle().toStdString()));
  QWidget* panel = fake.controls.Find("name_box");
  ASSERT_NE(panel, nullptr);
  const auto labels = panel->findChildren<QLabel*>();
  ASSERT_EQ(labels.size(), 4);
  for (const QLabel* label : labels) {
    EXPECT_TRUE(IsAscii(label->text().toStdString())) << label->text().toStdString();
    // The label's own text, not the widget's frame: an adjusted label is as wide as its text.
    const QRect text(label->pos(),
                     QSize(label->fontMetrics().horizontalAdvance(label->text()), label->height()));
    EXPECT_TRUE(panel->rect().contains(text)) << label->text().toStdString();
    for (const QLineEdit* entry : panel->findChildren<QLineEdit*>())
      EXPECT_FALSE(text.intersects(entry->geometry())) << label->text().toStdString();
  }
  for (const QPushButton* button : title.findChildren<QPushButton*>()) {
    EXPECT_TRUE(IsAscii(button->text().toStdString()));
    EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 8, button->width())
        << button->text().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogued, OtherEdition, ::testing::ValuesIn(OtherEditions()),
                         [](const auto& edition) { return edition.param; });

TEST(EditionChoice, TheCommandLineChoosesAndAnythingUnknownIsRefused) {
  const std::vector<std::string> languages{"ja", "en"};
  EXPECT_EQ(ParseCommandLine({"--lang=en"}, languages).language, "en");
  EXPECT_EQ(ParseCommandLine({"--lang", "ja"}, languages).language, "ja");
  EXPECT_TRUE(ParseCommandLine({"-h"}, languages).help);
  // The toolkit's own options pass through to it.
  EXPECT_EQ(ParseCommandLine({"-platform", "xcb"}, languages).error, "");
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--lang=fr"},
                                              {"--lang"},
                                              {"--lang="},
                                              {"--language=en"},
                                              {"save.dat"}}) {
    EXPECT_NE(ParseCommandLine(bad, languages).error, "") << bad.front();
  }
  EXPECT_NE(HelpText(languages).find("--lang"), std::string::npos);
  // Asked for beats remembered; a remembered edition the game no longer has is forgotten.
  EXPECT_EQ(StartingEdition(ParseCommandLine({"--lang=ja"}, languages), "en", languages), "ja");
  EXPECT_EQ(StartingEdition(ParseCommandLine({}, languages), "en", languages), "en");
  EXPECT_EQ(StartingEdition(ParseCommandLine({}, languages), "fr", languages), "ja");
  EXPECT_EQ(StartingEdition(ParseCommandLine({}, languages), "", languages), "ja");
}

TEST(EditionChoice, IsRememberedInThePlayersSettingsAndADamagedFileRemembersNothing) {
  const auto folder = std::filesystem::temp_directory_path() / "qm-edition-settings";
  std::filesystem::remove_all(folder);
  const std::string path = (folder / "quelmarin" / "settings.ini").string();
  EXPECT_EQ(ReadEditionChoice(path), "");
  WriteEditionChoice(path, "en");
  EXPECT_EQ(ReadEditionChoice(path), "en");
  WriteEditionChoice(path, "ja");
  EXPECT_EQ(ReadEditionChoice(path), "ja");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << "\xFF\xFE[[[\n\x01";
  EXPECT_EQ(ReadEditionChoice(path), "");
  std::filesystem::remove_all(folder);
}

TEST(EditionChoice, AnUnknownEditionChangesNothingAndTheJapaneseIsItsOwnText) {
  ASSERT_TRUE(SetEdition(kJapanese));
  EXPECT_FALSE(SetEdition("xx"));
  EXPECT_FALSE(SetEdition(""));
  EXPECT_EQ(Edition(), kJapanese);
  EXPECT_EQ(Tx("セーブ完了！"), Sj("セーブ完了！"));
  EXPECT_EQ(EditionPath("\\dat\\map.dat"), "\\dat\\map.dat");
  ASSERT_TRUE(SetEdition("en"));
  EXPECT_EQ(EditionPath("\\dat\\map.dat"), "\\dat\\en\\map.dat");
  EXPECT_EQ(Fill("%2 before %1, %3 stays", {"a%2", "b"}), "b before a%2, %3 stays");
  SetEdition(kJapanese);
}

}  // namespace
}  // namespace qm
