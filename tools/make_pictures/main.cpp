// Draws every picture of the game into its cg/ folder at build time, and each other edition's
// pictures with lettering into cg/<language>/; or, with --sheet, lays the drawn pictures out on
// one labelled sheet for review. A word that does not fit its place fails the drawing.
//   make_pictures CG_DIR
//   make_pictures --sheet CG_DIR OUT.png
//   make_pictures --icon CG_DIR SIZE OUT.png
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pictures.h"
#include "platform/edition.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "--sheet") == 0) {
    const bool ok =
        qm::art::DrawContactSheet(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (!ok) std::fprintf(stderr, "make_pictures: could not make the sheet %s\n", argv[3]);
    return ok ? 0 : 1;
  }
  if (argc == 5 && std::strcmp(argv[1], "--icon") == 0) {
    const int size = std::atoi(argv[3]);
    const bool ok =
        size >= 16 && size <= 1024 &&
        qm::art::DrawIcon(QString::fromLocal8Bit(argv[2]), size, QString::fromLocal8Bit(argv[4]));
    if (!ok) std::fprintf(stderr, "make_pictures: could not draw the icon %s\n", argv[4]);
    return ok ? 0 : 1;
  }
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: make_pictures CG_DIR | make_pictures --sheet CG_DIR OUT.png | "
                 "make_pictures --icon CG_DIR SIZE OUT.png\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(dir);
  using namespace qm::art;
  bool ok = qm::SetEdition(qm::kJapanese);
  ok &= DrawTitlePictures(dir);
  ok &= DrawCockpitPictures(dir, Which::kAll);
  ok &= DrawPanelPictures(dir, Which::kAll);
  ok &= DrawRepairButtons(dir);
  ok &= DrawBeaconPictures(dir);
  ok &= DrawBodyPictures(dir);
  ok &= DrawPlanetPictures(dir);
  ok &= DrawNoisePictures(dir, Which::kAll);
  ok &= DrawAsteroidField(dir);
  for (const std::string& language : qm::EditionLanguages()) {
    if (language == qm::kJapanese) continue;
    const QString own = dir + "/" + QString::fromStdString(language);
    ok &= qm::SetEdition(language) && QDir().mkpath(own);
    ok &= DrawCockpitPictures(own, Which::kLettered);
    ok &= DrawPanelPictures(own, Which::kLettered);
    ok &= DrawRepairButtons(own);
    ok &= DrawNoisePictures(own, Which::kLettered);
  }
  if (!ok) std::fprintf(stderr, "make_pictures: not every picture was drawn into %s\n", argv[1]);
  return ok ? 0 : 1;
}
