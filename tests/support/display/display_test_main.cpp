// The display tests share one QApplication on the X display, set up as the program sets up its own.
// Without a display (a plain ctest run outside xvfb-run) the application comes up offscreen and every
// test skips itself (see needsDisplay()).
#include <gtest/gtest.h>

#include <QApplication>

#include "app/ui/Application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  app::ui::setUpApplication();  // as the program sets itself up: what the display shows depends on it
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
