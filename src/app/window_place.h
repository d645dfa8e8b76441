#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sys/registry.h"

namespace app {

// Where the main window stood and how large it was, in screen pixels, kept between runs beside the
// settings under the program's key ("WindowLeft", "WindowTop", "WindowWidth", "WindowHeight").
struct WindowPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowPlace&) const = default;
};

// A screen's work area, in the same pixels.
struct ScreenArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The stored place; nothing when a value is missing or is not a whole number, or the size is not positive
// (a hive from before the window remembered its place).
std::optional<WindowPlace> readWindowPlace(sys::Registry& registry);
// False when the values could not be written.
bool writeWindowPlace(sys::Registry& registry, const WindowPlace& place);

// Whether a window at place can be taken and moved there: its title strip (the top 30 pixels, at least
// 60 pixels of its width) lies on one of the screens. A screen taken away since, or a lower resolution,
// would otherwise open it out of reach.
bool reachableOnScreens(const WindowPlace& place, const std::vector<ScreenArea>& screens);

}  // namespace app
