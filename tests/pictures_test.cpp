// The pictures the build draws into cg/: every file the windows load is there and reads through
// the game's own loader as a plain 24-bit BMP, at the size its use needs; keyed pictures carry
// their key in the bottom-left pixel, show something besides it and no half-blended fringe; the
// cockpit frame leaves the view and every instrument readout uncovered; the title's pictures
// sit on the sky without showing their edges; every chart point looks like itself; and the
// English edition has its own of every picture with lettering, and of no other.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/title_pictures.h"
#include "built_game.h"
#include "cockpit/cockpit_pictures.h"
#include "cockpit/panels.h"
#include "platform/cp932.h"
#include "platform/edition.h"
#include "platform/game_folder.h"
#include "platform/surface.h"
#include "voyage/voyage_pictures.h"

namespace qm::testing {
namespace {

constexpr Color kMagenta = 0xFF00FF;

// Every picture name the windows load, from the windows' own lists, without ".bmp".
std::vector<std::string> PictureNames() {
  VoyagePictures voyage;
  CockpitPictures cockpit;
  PanelPictures panel;
  TitlePictures title;
  std::vector<std::string> names;
  for (const auto& files : {VoyagePictureFiles(voyage), CockpitPictureFiles(cockpit),
                            PanelPictureFiles(panel), TitlePictureFiles(title)}) {
    for (const std::string& name : PictureFileNames(files))
      names.push_back(name.substr(0, name.size() - 4));
  }
  return names;
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override { SetGameFolderForTesting(testing::BuiltGame().string()); }
  void TearDown() override {
    SetGameFolderForTesting("");
    SetEdition(kJapanese);
  }

  static Surface Load(const std::string& name) {
    Surface s;
    EXPECT_TRUE(s.LoadBitmap(GamePath("\\cg\\" + name + ".bmp"))) << name;
    return s;
  }
};

// ---- presence, format and size ---------------------------------------------------------------

TEST_F(Pictures, EveryPictureTheWindowsLoadIsThere) {
  VoyagePictures voyage;
  const std::vector<std::string> failed = LoadVoyagePictures(voyage);
  EXPECT_TRUE(failed.empty()) << "first missing: " << (failed.empty() ? "" : failed.front());
  for (int k = 0; k <= 22; ++k) {
    EXPECT_EQ(voyage.bui[static_cast<size_t>(k)].IsNull(), !Traits(k).has_picture) << "kind " << k;
  }
  TitlePictures title;
  EXPECT_TRUE(LoadTitlePictures(title));
  CockpitPictures cockpit;
  LoadCockpitPictures(cockpit);
  EXPECT_FALSE(cockpit.image1.IsNull());
  EXPECT_FALSE(cockpit.image2.IsNull());
  EXPECT_FALSE(cockpit.image6.IsNull());
  for (const Surface& button : cockpit.tra_b)
    EXPECT_FALSE(button.IsNull());
  PanelPictures panel;
  LoadPanelPictures(panel);
  for (const Surface* s : {&panel.contact_b2, &panel.contact_b, &panel.u_map_b2, &panel.u_map_b,
                           &panel.image3, &panel.image4, &panel.image5}) {
    EXPECT_FALSE(s->IsNull());
  }
  // The build draws exactly the pictures the windows name: no more, since nothing else lists them.
  std::set<std::string> drawn;
  for (const auto& entry : std::filesystem::directory_iterator(BuiltGame() / "cg"))
    if (entry.is_regular_file()) drawn.insert(entry.path().filename().string());
  std::set<std::string> named;
  for (const std::string& name : PictureNames())
    named.insert(name + ".bmp");
  EXPECT_EQ(drawn, named);
}

TEST_F(Pictures, EveryFileIsAnUncompressed24BitBmp) {
  for (const std::string& name : PictureNames()) {
    std::ifstream in(testing::BuiltGame().string() + "/cg/" + name + ".bmp", std::ios::binary);
    std::vector<unsigned char> head(54);
    in.read(reinterpret_cast<char*>(head.data()), 54);
    ASSERT_TRUE(in) << name;
    EXPECT_EQ(head[0], 'B') << name;
    EXPECT_EQ(head[1], 'M') << name;
    EXPECT_EQ(head[28] | head[29] << 8, 24) << name << ": bits per pixel";
    EXPECT_EQ(head[30], 0) << name << ": compression";
  }
}

TEST_F(Pictures, EachHasTheSizeItsPlaceNeeds) {
  struct Size {
    const char* name;
    int w, h;
  };
  const Size sizes[] = {
      {"black", 400, 300},  {"gamen", 400, 300},   {"cont", 100, 100},     {"cont2", 100, 100},
      {"txt", 200, 100},    {"title", 201, 151},   {"alone1", 199, 44},    {"alone2", 199, 44},
      {"alone3", 199, 44},  {"logo", 180, 20},     {"title_a", 143, 18},   {"image1", 100, 23},
      {"image2", 140, 30},  {"image6", 144, 92},   {"image3", 145, 25},    {"image4", 50, 34},
      {"image5", 50, 34},   {"contact_b", 93, 36}, {"contact_b2", 93, 36}, {"u_map_b", 93, 36},
      {"u_map_b2", 93, 36}, {"noize6", 180, 60},
  };
  for (const Size& s : sizes) {
    const Surface p = Load(s.name);
    EXPECT_EQ(p.Width(), s.w) << s.name;
    EXPECT_EQ(p.Height(), s.h) << s.name;
  }
  for (int n = 1; n <= 10; ++n) {
    const Surface b = Load("tra_b" + std::to_string(n));
    EXPECT_EQ(b.Width(), 70);
    EXPECT_EQ(b.Height(), 18);
  }
  // Stretched over the whole 400 x 300 view: the view's shape.
  for (int k = 0; k <= 5; ++k) {
    const Surface n = Load("noize" + std::to_string(k));
    EXPECT_EQ(n.Width() * 3, n.Height() * 4) << "noize" << k;
  }
}

TEST_F(Pictures, TheAsteroidFieldHoldsEveryWindowTheViewCutsFromIt) {
  const Surface field = Load("syowaku");
  int right = 0, bottom = 0;
  for (int local = -249; local <= 249; ++local) {
    right = std::max(right, (210 - local) / 2 + 40);
    bottom = std::max(bottom, (220 - local) / 4 + 30);
  }
  EXPECT_GE(field.Width(), right);
  EXPECT_GE(field.Height(), bottom);
  // And every window shows rock, not only black.
  for (int l = 0; l + 40 <= right; l += 10) {
    for (int t = 0; t + 30 <= bottom; t += 10) {
      int rock = 0;
      for (int y = t; y < t + 30; ++y)
        for (int x = l; x < l + 40; ++x)
          rock += (field.Pixel(x, y) >> 16 & 0xFF) > 60;
      EXPECT_GE(rock, 20) << "window at " << l << "," << t;
    }
  }
}

TEST_F(Pictures, TheTroublePlateHoldsItsLabelLine) {
  const Surface plate = Load("trable");
  // The label is written at (6, 4) in the list's 8-point face over the band (5,5)-(134,13).
  Surface probe(10, 10);
  probe.SetFontSize(8);
  probe.SetFontStyle(true, true);
  EXPECT_GE(plate.Width(), 134);
  EXPECT_GE(plate.Height(), 4 + probe.TextHeight());
}

// ---- keyed pictures -----------------------------------------------------------------------------

struct Keyed {
  std::string name;
  const Surface* picture;
};

TEST_F(Pictures, KeyedPicturesHaveTheirKeyAndMoreThanTheKey) {
  VoyagePictures voyage;
  LoadVoyagePictures(voyage);
  CockpitPictures cockpit;
  LoadCockpitPictures(cockpit);
  PanelPictures panel;
  LoadPanelPictures(panel);
  std::vector<Keyed> keyed = {{"gamen", &voyage.gamen},          {"trable", &voyage.trable},
                              {"image1", &cockpit.image1},       {"contact_b", &panel.contact_b},
                              {"contact_b2", &panel.contact_b2}, {"u_map_b", &panel.u_map_b},
                              {"u_map_b2", &panel.u_map_b2},     {"image4", &panel.image4},
                              {"image5", &panel.image5}};
  for (int k = 1; k <= 22; ++k)
    if (Traits(k).has_picture) keyed.push_back({"bui" + std::to_string(k), &voyage.bui[size_t(k)]});
  for (int k = 0; k <= 6; ++k)
    keyed.push_back({"noize" + std::to_string(k), &voyage.noize[size_t(k)]});
  for (int n = 0; n < 10; ++n)
    keyed.push_back({"tra_b" + std::to_string(n + 1), &cockpit.tra_b[size_t(n)]});

  for (const Keyed& k : keyed) {
    const Surface& p = *k.picture;
    ASSERT_FALSE(p.IsNull()) << k.name;
    EXPECT_TRUE(p.Transparent()) << k.name << " is drawn keyed";
    EXPECT_EQ(p.TransparentColor(), kMagenta) << k.name;
    int shown = 0, fringe = 0;
    for (int y = 0; y < p.Height(); ++y) {
      for (int x = 0; x < p.Width(); ++x) {
        const Color c = p.Pixel(x, y);
        if (c == kMagenta) continue;
        ++shown;
        // A pixel blended half way with the key would show as a pink fringe on the view.
        const auto r = static_cast<int>(c >> 16 & 0xFF), g = static_cast<int>(c >> 8 & 0xFF),
                   b = static_cast<int>(c & 0xFF);
        if ((255 - r) + g + (255 - b) < 60) ++fringe;
      }
    }
    EXPECT_GE(shown * 50, p.Width() * p.Height()) << k.name << " is (nearly) all key";
    EXPECT_EQ(fringe, 0) << k.name << " has pixels close to the key colour";
  }
  // The readout sheet is keyed by the white it is filled with before every readout.
  EXPECT_TRUE(voyage.txt.Transparent());
  EXPECT_EQ(voyage.txt.TransparentColor(), kWhite);
}

// The rectangle (l, t)-(r, b) of the frame is all key: whatever is drawn there shows.
void ExpectOpen(const Surface& frame, int l, int t, int r, int b, const char* what) {
  int covered = 0;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      covered += frame.Pixel(x, y) != kMagenta;
  EXPECT_EQ(covered, 0) << what << " (" << l << "," << t << ")-(" << r << "," << b << ")";
}

TEST_F(Pictures, TheCockpitFrameLeavesTheViewAndTheInstrumentsUncovered) {
  const Surface gamen = Load("gamen");
  ExpectOpen(gamen, 40, 40, 360, 260, "the middle of the view");
  ExpectOpen(gamen, 80, 30, 321, 271, "the chart");
  Surface text(10, 10);
  text.SetFontSize(9);
  text.SetFontStyle(true, false);
  const std::string position = Sj("位置 > X:-30 , Y:-30 , Z:-30");
  ExpectOpen(gamen, 113, 34, 113 + text.TextWidth(position), 34 + text.TextHeight(),
             "the position readout");
  text.SetFontStyle(false, false);
  ExpectOpen(gamen, 325, 38, 325 + text.TextWidth(Sj("■■■")), 38 + text.TextHeight(), "the hull");
  text.SetFontSize(8);
  for (int i = 0; i < 3; ++i) {
    ExpectOpen(gamen, 37, 230 + 10 * i, 37 + text.TextWidth(Sj("横 > -49Km/h")),
               230 + 10 * i + text.TextHeight(), "the speed readout");
  }
  const Surface plate = Load("trable");
  ExpectOpen(gamen, 225, 54, 225 + plate.Width(), 54 + 20 * 9 + plate.Height(), "the trouble list");
  // And there is a frame: its bands are metal, not key.
  int metal = 0;
  for (int x = 0; x < 400; ++x)
    metal += (gamen.Pixel(x, 8) != kMagenta) + (gamen.Pixel(x, 290) != kMagenta);
  for (int y = 0; y < 300; ++y)
    metal += (gamen.Pixel(8, y) != kMagenta) + (gamen.Pixel(391, y) != kMagenta);
  EXPECT_EQ(metal, 2 * 400 + 2 * 300);
}

// ---- the chart points ---------------------------------------------------------------------------

TEST_F(Pictures, PointPicturesAreSquareSilhouettesAndAllDifferent) {
  VoyagePictures voyage;
  LoadVoyagePictures(voyage);
  std::vector<int> kinds;
  for (int k = 1; k <= 22; ++k)
    if (Traits(k).has_picture) kinds.push_back(k);
  for (int k : kinds) {
    const Surface& p = voyage.bui[static_cast<size_t>(k)];
    // Stretched into a square from a few pixels to hundreds: square, and big enough to hold
    // detail when it fills the view.
    EXPECT_EQ(p.Width(), p.Height()) << "bui" << k;
    EXPECT_GE(p.Width(), 64) << "bui" << k;
    int edge = 0, keyed_edge = 0;
    for (int i = 0; i < p.Width(); ++i) {
      for (Color c :
           {p.Pixel(i, 0), p.Pixel(i, p.Height() - 1), p.Pixel(0, i), p.Pixel(p.Width() - 1, i)}) {
        ++edge;
        keyed_edge += c == kMagenta;
      }
    }
    EXPECT_GE(keyed_edge * 4, edge * 3) << "bui" << k << " is not cut out against the key";
  }
  for (size_t i = 0; i < kinds.size(); ++i) {
    for (size_t j = i + 1; j < kinds.size(); ++j) {
      const Surface& a = voyage.bui[static_cast<size_t>(kinds[i])];
      const Surface& b = voyage.bui[static_cast<size_t>(kinds[j])];
      if (a.Width() != b.Width() || a.Height() != b.Height()) continue;
      int differ = 0;
      for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
          differ += a.Pixel(x, y) != b.Pixel(x, y);
      EXPECT_GE(differ * 10, a.Width() * a.Height())
          << "bui" << kinds[i] << " and bui" << kinds[j] << " look alike";
    }
  }
}

// How many pixels two pictures of one size differ in.
int Differing(const Surface& a, const Surface& b) {
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Height(), b.Height());
  int differ = 0;
  for (int y = 0; y < std::min(a.Height(), b.Height()); ++y)
    for (int x = 0; x < std::min(a.Width(), b.Width()); ++x)
      differ += a.Pixel(x, y) != b.Pixel(x, y);
  return differ;
}

TEST_F(Pictures, PicturesShownInTurnLookDifferent) {
  // Pressed and idle faces: the press must show. Frames shown one after the other: the
  // picture must move, or the effect stands still.
  const std::pair<const char*, const char*> pairs[] = {
      {"cont", "cont2"},    {"contact_b", "contact_b2"}, {"u_map_b", "u_map_b2"},
      {"noize0", "noize1"}, {"noize3", "noize4"},
  };
  for (const auto& [a, b] : pairs) {
    const Surface pa = Load(a), pb = Load(b);
    EXPECT_GE(Differing(pa, pb) * 10, pa.Width() * pa.Height()) << a << " and " << b;
  }
  // Each repair button names its own trouble.
  for (int i = 1; i <= 10; ++i) {
    for (int j = i + 1; j <= 10; ++j) {
      EXPECT_GT(Differing(Load("tra_b" + std::to_string(i)), Load("tra_b" + std::to_string(j))), 20)
          << "tra_b" << i << " and tra_b" << j;
    }
  }
}

// ---- the title ----------------------------------------------------------------------------------

// The share of pixels in (l, t)-(r, b) that are not black.
double Lit(const Surface& s, int l, int t, int r, int b) {
  int lit = 0;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x)
      lit += s.Pixel(x, y) != kBlack;
  return static_cast<double>(lit) / ((r - l) * (b - t));
}

TEST_F(Pictures, TheTitlePicturesSitOnTheSkyWithoutShowingTheirEdges) {
  TitlePictures title;
  ASSERT_TRUE(LoadTitlePictures(title));
  // The ship, the logo and the lettering are copied opaque: their own background is black.
  for (const Surface* s :
       {&title.alone[0], &title.alone[1], &title.alone[2], &title.logo, &title.title_a}) {
    const int w = s->Width(), h = s->Height();
    EXPECT_EQ(s->Pixel(0, 0), kBlack);
    EXPECT_EQ(s->Pixel(w - 1, 0), kBlack);
    EXPECT_EQ(s->Pixel(0, h - 1), kBlack);
    EXPECT_EQ(s->Pixel(w - 1, h - 1), kBlack);
    EXPECT_GT(Lit(*s, 0, 0, w, h), 0.1);
  }
  // So where they pass, the sky is black but for stars: the ship's band across the middle,
  // the lettering at the top and the logo at the bottom right (the sky is shown doubled).
  EXPECT_LT(Lit(title.title_cg, 0, 95, 201, 123), 0.08);
  EXPECT_LT(Lit(title.title_cg, 64, 5, 156, 19), 0.08);
  EXPECT_LT(Lit(title.title_cg, 104, 139, 201, 151), 0.08);
  // Elsewhere it has more to show than stars.
  EXPECT_GT(Lit(title.title_cg, 0, 20, 201, 92), 0.25);
  // The lettering and the logo fit their pictures, with no letter cut at an edge.
  for (const Surface* s : {&title.logo, &title.title_a}) {
    EXPECT_EQ(Lit(*s, 0, 0, 1, s->Height()), 0.0);
    EXPECT_EQ(Lit(*s, s->Width() - 1, 0, s->Width(), s->Height()), 0.0);
  }
  // The three frames of the ship differ: the flame and the lights move.
  for (int i = 0; i < 3; ++i) {
    const Surface& a = title.alone[static_cast<size_t>(i)];
    const Surface& b = title.alone[static_cast<size_t>((i + 1) % 3)];
    int differ = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        differ += a.Pixel(x, y) != b.Pixel(x, y);
    EXPECT_GT(differ, 50) << "frames " << i + 1 << " and " << (i + 1) % 3 + 1;
  }
}

// ---- the other editions -------------------------------------------------------------------------

TEST_F(Pictures, TheEnglishEditionLettersEveryPictureWithWordsAndOnlyThose) {
  std::set<std::string> lettered = {"cont",       "cont2",   "txt",     "noize0", "noize1",
                                    "noize6",     "image4",  "image5",  "image6", "contact_b",
                                    "contact_b2", "u_map_b", "u_map_b2"};
  for (int n = 1; n <= 10; ++n)
    lettered.insert("tra_b" + std::to_string(n));
  ASSERT_TRUE(SetEdition("en"));
  for (const std::string& name : lettered) {
    const std::string path = "\\cg\\" + name + ".bmp";
    // The game takes the English picture, in the place of the Japanese: the same size, keyed
    // alike, lettered differently.
    EXPECT_EQ(EditionPicturePath(path), GamePath("\\cg\\en\\" + name + ".bmp")) << name;
    Surface english;
    ASSERT_TRUE(english.LoadBitmap(EditionPicturePath(path))) << name;
    const Surface japanese = Load(name);
    EXPECT_EQ(english.Pixel(0, english.Height() - 1), japanese.Pixel(0, japanese.Height() - 1))
        << name << ": key";
    EXPECT_GT(Differing(japanese, english), 20) << name;
  }
  // A copy of a picture without words would only hide a later change to the game's own.
  for (const auto& entry : std::filesystem::directory_iterator(BuiltGame() / "cg" / "en"))
    EXPECT_TRUE(lettered.contains(entry.path().stem().string())) << entry.path();
}

}  // namespace
}  // namespace qm::testing
