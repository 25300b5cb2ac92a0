#include <QApplication>

#include "cockpit/voyage_window.h"
#include "platform/clock.h"
#include "platform/qt_controls.h"
#include "platform/qt_dialogs.h"
#include "platform/random.h"
#include "state/game_state.h"
#include "state/save_files.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(qm::kApplicationTitle));

  static qm::GameState game;
  qm::SteadyClock clock;
  qm::Random random;
  random.Randomize();
  qm::QtDialogs dialogs;
  qm::SilentSound sound;
  qm::QtControls controls;
  qm::Services services{clock, random, dialogs, sound, controls};

  // The chart comes with the saved voyage's files; until the title window offers CONTINUE, every
  // run starts a new voyage on it.
  qm::LoadGame(game, services);
  qm::NewGame(game);
  qm::TForm2 voyage_window(game, services, controls);
  dialogs.SetParent(&voyage_window);
  voyage_window.SetCloseTitleWindow([] { QApplication::quit(); });
  voyage_window.FormCreate();
  voyage_window.StartVoyage();
  return QApplication::exec();
}
