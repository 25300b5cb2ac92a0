#pragma once

#include <memory>
#include <string>

class QWidget;

namespace qm {

class WindowScaler;

// The title and voyage windows' enlargement: taken from the player's window settings at start
// (or, on a first start, a size readable on the screen at hand), written back whenever the player
// changes it. Made after both windows have set their own sizes.
class WindowSizes {
 public:
  WindowSizes(QWidget* title, QWidget* voyage, std::string settings_path);
  WindowSizes(const WindowSizes&) = delete;
  WindowSizes& operator=(const WindowSizes&) = delete;
  ~WindowSizes();

  WindowScaler& title() { return *title_; }
  WindowScaler& voyage() { return *voyage_; }

 private:
  void Restore(WindowScaler& scaler, const std::string& name);

  std::string path_;
  std::unique_ptr<WindowScaler> title_;
  std::unique_ptr<WindowScaler> voyage_;
};

// The whole factor that makes the game's pixels about as large as on a desktop of 96 dots per
// inch; 1 where the desktop already scales the windows itself.
int ReadableScale(const QWidget* window);

}  // namespace qm
