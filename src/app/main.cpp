#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/midi_player.h"
#include "app/sound_cues.h"
#include "app/test_story.h"
#include "app/title_window.h"
#include "app/window_sizes.h"
#include "cockpit/story.h"
#include "cockpit/voyage_keys.h"
#include "cockpit/voyage_window.h"
#include "pcmmix/queued_notifier.h"
#include "pcmmix/sdl_wave_out.h"
#include "platform/clock.h"
#include "platform/edition.h"
#include "platform/random.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/widgets/qt_controls.h"
#include "platform/widgets/qt_dialogs.h"
#include "platform/window_settings.h"
#include "state/game_state.h"

int main(int argc, char** argv) {
  // The command line is read before any window can open, so --help and a mistake need no display.
  const std::vector<std::string> languages = qm::EditionLanguages();
  const qm::CommandLine line =
      qm::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), languages);
  if (!line.error.empty()) {
    std::fprintf(stderr, "quelmarin: %s\nTry 'quelmarin --help'.\n", line.error.c_str());
    return 2;
  }
  if (line.help) {
    std::fputs(qm::HelpText(languages).c_str(), stdout);
    return 0;
  }
  const std::string settings = qm::GameSettingsPath();
  qm::SetEdition(qm::StartingEdition(line, qm::ReadEditionChoice(settings), languages));
  if (!line.language.empty()) qm::WriteEditionChoice(settings, line.language);

  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(qm::kApplicationTitle));

  static qm::GameState game;
  qm::SteadyClock clock;
  qm::Random random;
  // The mixer's device and its notices live on this thread's event loop; SDL serves audio only.
  // FluidSynth plays the music through a driver of its own.
  qm::SdlWaveOut wave_out;
  qm::QueuedNotifier notifier;
  qm::SteadyMsTimer ms_timer;
  qm::PcmMixSetPlatform({&wave_out, &notifier, &ms_timer});
  qm::FluidMidiPlayer mid_p;
  qm::SoundCues sound(qm::MakePcmMix1(), mid_p, random);
  // The player's loudness is applied where the sound leaves the game: the device and the synth.
  sound.SetDevice(&wave_out);
  sound.UseVolumeSettings(settings);
  qm::QtDialogs dialogs;
  qm::QtControls controls;
  qm::Services services{clock, random, dialogs, sound, controls};

  // The title window is the main window: closing it ends the program.
  qm::TForm1 title(game, services, controls);
  title.SetSoundCues(&sound);
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
#if defined(QM_TEST_HOOKS)
  // Test builds only: a story roll started at a chosen frame, for the end-to-end runs.
  qm::ApplyTestStory(std::getenv("QM_TEST_STORY"), game, voyage_window.cockpit().state());
#endif

  // The player's window sizes, once both windows have their own.
  qm::WindowSizes sizes(&title, &voyage_window, qm::WindowSettingsPath());
  // The keyboard and a game controller fly the ship through the same controls as the mouse.
  qm::SdlGamepad gamepad;
  qm::VoyageKeys keys(&voyage_window, controls, &gamepad);

  title.show();
  const int status = QApplication::exec();
  qm::SetViewPresenter(nullptr);
  return status;
}
