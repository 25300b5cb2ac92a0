#pragma once

// Each group of the game's pictures, drawn into the cg/ folder `dir`; false when a file could
// not be written.

#include <QString>

namespace qm::art {

bool DrawTitlePictures(const QString& dir);    // title, alone1..3, logo, title_a
bool DrawCockpitPictures(const QString& dir);  // black, gamen, cont, cont2, txt, trable
bool DrawPanelPictures(const QString& dir);    // plates, panel buttons, message marker
bool DrawRepairButtons(const QString& dir);    // tra_b1..tra_b10
bool DrawBeaconPictures(const QString& dir);   // buoys, dock, station, depot, supply point
bool DrawBodyPictures(const QString& dir);     // comet, wreck, bottle, warp
bool DrawPlanetPictures(const QString& dir);   // gravity body, special and Earth-type planets
bool DrawNoisePictures(const QString& dir);    // noize0..noize6
bool DrawAsteroidField(const QString& dir);    // syowaku

// The name on repair button n (1..10), also written faintly in its empty socket.
QString RepairWord(int n);

// The desktop icon, `size` pixels square, from the pictures in `cg_dir`.
bool DrawIcon(const QString& cg_dir, int size, const QString& png_path);

// Every picture in `cg_dir`, labelled with its name and size, on one sheet for review.
bool DrawContactSheet(const QString& cg_dir, const QString& png_path);

}  // namespace qm::art
