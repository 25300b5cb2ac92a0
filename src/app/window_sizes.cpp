#include "app/window_sizes.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/widgets/window_scaler.h"
#include "platform/window_settings.h"

namespace qm {

int ReadableScale(const QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr || screen->devicePixelRatio() >= 1.5) return 1;
  return std::max(1, static_cast<int>(std::floor(screen->logicalDotsPerInch() / 96.0 + 0.25)));
}

WindowSizes::WindowSizes(QWidget* title, QWidget* voyage, std::string settings_path)
    : path_(std::move(settings_path)),
      title_(std::make_unique<WindowScaler>(title)),
      voyage_(std::make_unique<WindowScaler>(voyage)) {
  Restore(*title_, "title");
  Restore(*voyage_, "voyage");
}

WindowSizes::~WindowSizes() = default;

void WindowSizes::Restore(WindowScaler& scaler, const std::string& name) {
  const WindowChoice choice = ReadWindowChoice(path_, name);
  QWidget* window = scaler.window();
  // The choice first: a half step of the window's size is kept only under fit.
  scaler.SetFitChoice(choice.fit);
  scaler.SetScale(choice.stored ? choice.scale : ReadableScale(window));
  if (choice.full_screen) scaler.SetFullScreen(true);
  scaler.on_changed = [this, &scaler, name] {
    WindowChoice now;
    now.scale = scaler.scale();
    now.full_screen = scaler.full_screen();
    now.fit = scaler.fit_choice();
    now.stored = true;
    WriteWindowChoice(path_, name, now);
  };
}

}  // namespace qm
