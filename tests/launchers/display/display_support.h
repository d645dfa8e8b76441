#pragma once

#include <gtest/gtest.h>

#include <QGuiApplication>

// The display tests need a real X display; without one they skip.
#define SKIP_WITHOUT_DISPLAY()                                                    \
  do {                                                                            \
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X display"; \
  } while (false)
