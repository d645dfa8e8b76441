#pragma once

#include <QPoint>
#include <string>
#include <vector>

namespace testing_support {

// What a window manager reads and draws as the title of an X window: its _NET_WM_NAME (UTF-8).
// Empty while the property is not set.
std::string windowManagerTitle(unsigned long window);

// The titles (_NET_WM_NAME) of the root window's children, bottom of the stack first: the top-level
// windows of every program, on a display without a window manager. Untitled windows are left out.
std::vector<std::string> stackedTitles();

// Moves the real X pointer to a point of the screen, through the XTEST extension, as a person's mouse
// would; the motion reaches the program through the X server.
void movePointerTo(const QPoint& global);
// Moves the real pointer there and clicks its left button (pressed and released), through XTEST.
void clickPointerAt(const QPoint& global);

}  // namespace testing_support
