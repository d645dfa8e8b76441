#pragma once

#include <chrono>

#include "app/program.h"

namespace help {

inline constexpr int kUpdateCheckWaits = 50;
inline constexpr std::chrono::milliseconds kUpdateCheckStep{50};

// "Поиск обновлений". There is no update server yet: the check waits kUpdateCheckWaits steps with the
// program busy, letting the windows repaint after each step, then says the home site cannot be reached.
// The busy state ends on every way out.
void checkForUpdates(app::Program& program, std::chrono::milliseconds step = kUpdateCheckStep);

}  // namespace help
