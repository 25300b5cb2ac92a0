#include <QApplication>

#include "cockpit/voyage_window.h"
#include "platform/clock.h"
#include "platform/qt_controls.h"
#include "platform/qt_dialogs.h"
#include "platform/random.h"
#include "state/game_state.h"

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

  qm::NewGame(game);
  qm::TForm2 voyage_window(game, services, controls);
  dialogs.SetParent(&voyage_window);
  voyage_window.FormCreate();
  voyage_window.StartVoyage();
  return QApplication::exec();
}
