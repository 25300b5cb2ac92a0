// Frame pacing of the real voyage window: the window made as the game makes it, on the real event
// loop with the steady clock, flown for a while with the hands off the pad. Every frame sets
// `next_frame_time` to its own start plus 100 ms, so each change of it, seen between two events,
// gives one frame's start to the clock's own precision; nothing is added to the loop that could
// wake it. Prints the count of frames and the median and spread of the intervals between them.
// Usage: quelmarin_frame_pacing [GAME_DIR] [SECONDS]   (defaults: build/game, 20)
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cockpit/voyage_window.h"
#include "platform/clock.h"
#include "platform/game_folder.h"
#include "platform/random.h"
#include "platform/widgets/qt_controls.h"
#include "state/game_state.h"

namespace {

class NoDialogs final : public qm::Dialogs {
 public:
  bool Confirm(const std::string&) override { return false; }
  void Inform(const std::string&) override {}
  void Error(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

class FrameWatch final : public QObject {
 public:
  explicit FrameWatch(const qm::VoyageState& vs) : vs_(vs) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (vs_.next_frame_time != seen_) {
      seen_ = vs_.next_frame_time;
      starts_ms.push_back(seen_ / qm::kDaysPerMillisecond - 100.0);
    }
    return QObject::eventFilter(watched, event);
  }
  std::vector<double> starts_ms;

 private:
  const qm::VoyageState& vs_;
  double seen_ = 0;
};

double Quantile(std::vector<double> v, double q) {
  std::sort(v.begin(), v.end());
  return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const std::string folder = argc > 1 ? argv[1] : "build/game";
  const double seconds = argc > 2 ? std::atof(argv[2]) : 20.0;
  qm::SetGameFolderForTesting(folder);

  static qm::GameState game;
  qm::NewGame(game);
  qm::SteadyClock clock;
  qm::Random random;
  NoDialogs dialogs;
  qm::SilentSound sound;
  qm::QtControls controls;
  qm::Services services{clock, random, dialogs, sound, controls};
  qm::TForm2 window(game, services, controls);
  window.FormCreate();
  FrameWatch watch(window.state());
  app.installEventFilter(&watch);
  window.StartVoyage();
  QTimer::singleShot(static_cast<int>(seconds * 1000), &app, &QCoreApplication::quit);
  QApplication::exec();

  std::vector<double> gaps;
  for (size_t i = 2; i < watch.starts_ms.size(); ++i)  // the first frame has no forerunner
    gaps.push_back(watch.starts_ms[i] - watch.starts_ms[i - 1]);
  if (gaps.size() < 3) {
    std::printf("too few frames: %zu\n", watch.starts_ms.size());
    return 1;
  }
  double mean = 0, var = 0;
  for (double g : gaps)
    mean += g;
  mean /= static_cast<double>(gaps.size());
  for (double g : gaps)
    var += (g - mean) * (g - mean);
  var /= static_cast<double>(gaps.size());
  std::printf(
      "%zu frames in %.0f s: interval median %.2f ms, 10-90 %% %.2f..%.2f ms, min %.2f, max %.2f, "
      "sd %.2f ms\n",
      gaps.size() + 1, seconds, Quantile(gaps, 0.5), Quantile(gaps, 0.1), Quantile(gaps, 0.9),
      *std::min_element(gaps.begin(), gaps.end()), *std::max_element(gaps.begin(), gaps.end()),
      std::sqrt(var));
  return 0;
}
