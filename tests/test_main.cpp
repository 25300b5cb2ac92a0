// Tests draw text and read pixels, and the tests of the windows open real dialogs and widgets, so
// they need a GUI (or widget) application; the offscreen platform gives one without a display.
// Built twice: the layers below the widgets get a QGuiApplication and never link Qt Widgets.
#include <gtest/gtest.h>

#include <cstdlib>

#ifdef QM_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TestApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
