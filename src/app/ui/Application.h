#pragma once

namespace app::ui {

// Sets up the running QApplication as the program needs it: its name, and the toolkit's standard buttons
// (Да, Нет, Отмена) in Russian. No display name is set: the toolkit would append it to every window
// title (" — Varnikit" on X11, " - Varnikit" on Windows), and each window's caption must be its own.
void setUpApplication();

}  // namespace app::ui
