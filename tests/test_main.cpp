// Tests draw text, read pixels and open real dialogs and widgets, so they need a widget
// application; the offscreen platform gives one without a display.
#include <gtest/gtest.h>

// Spelled with its module folder: the shared main object is built against Qt Gui's include
// paths, and every test executable links Qt Widgets through the game's libraries.
#include <QtWidgets/QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
