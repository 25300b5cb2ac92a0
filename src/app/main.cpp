#include <QApplication>
#include <cstdlib>

#include "app/test_story.h"
#include "app/title_window.h"
#include "cockpit/story.h"
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
  qm::QtDialogs dialogs;
  qm::SilentSound sound;
  qm::QtControls controls;
  qm::Services services{clock, random, dialogs, sound, controls};

  // The title window is the main window: closing it ends the program.
  qm::TForm1 title(game, services, controls);
  dialogs.SetParent(&title);
  title.on_front_window = [&dialogs](QWidget* front) { dialogs.SetParent(front); };
  title.FormCreate();

  // The voyage window waits hidden, made from the voyage LoadGame has just read.
  qm::TForm2 voyage_window(game, services, controls);
  title.SetVoyageWindow(&voyage_window);
  voyage_window.SetCloseTitleWindow([&title] { title.close(); });
  voyage_window.FormCreate();
  qm::SetViewPresenter([&controls] {
    if (QWidget* view = controls.Find("cg")) view->repaint();
  });
  qm::ApplyTestStory(std::getenv("QM_TEST_STORY"), game, voyage_window.cockpit().state());

  title.show();
  const int status = QApplication::exec();
  qm::SetViewPresenter(nullptr);
  return status;
}
