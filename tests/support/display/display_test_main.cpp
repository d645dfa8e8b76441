// The display tests share one QApplication on the X display. Without one (a plain ctest run outside
// xvfb-run) the application comes up offscreen and every test skips itself (see needsDisplay()).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
