#pragma once

// Each group of the game's pictures, drawn into the cg/ folder `dir`; false when a file could
// not be written or a word does not fit its place.
//
// Pictures with lettering take their words from the edition (Tx). The Japanese edition draws
// every picture into cg/; each other edition draws again only the pictures with lettering, into
// cg/<language>/, and the game takes the rest from cg/.

#include <QString>

namespace qm::art {

// All of a group's pictures, or only those with lettering.
enum class Which { kAll, kLettered };

bool DrawTitlePictures(const QString& dir);   // title, alone1..3, logo, title_a
bool DrawBeaconPictures(const QString& dir);  // buoys, dock, station, depot, supply point
bool DrawBodyPictures(const QString& dir);    // comet, wreck, bottle, warp
bool DrawPlanetPictures(const QString& dir);  // gravity body, special and Earth-type planets
bool DrawAsteroidField(const QString& dir);   // syowaku
bool DrawRepairButtons(const QString& dir);   // tra_b1..tra_b10, all lettered
// The groups with some lettered pictures (named first) and some without.
// cont, cont2, txt; black, gamen, trable
bool DrawCockpitPictures(const QString& dir, Which which);
// contact_b(2), u_map_b(2), image4, image5, image6; image1..3
bool DrawPanelPictures(const QString& dir, Which which);
// noize0, noize1, noize6; noize2..5
bool DrawNoisePictures(const QString& dir, Which which);

// The name on repair button n (1..10), also written faintly in its empty socket.
QString RepairWord(int n);

// The desktop icon, `size` pixels square, from the pictures in `cg_dir`.
bool DrawIcon(const QString& cg_dir, int size, const QString& png_path);

// Every picture in `cg_dir`, labelled with its name and size, on one sheet for review.
bool DrawContactSheet(const QString& cg_dir, const QString& png_path);

}  // namespace qm::art
