#pragma once

#include <windows.h>

namespace winui {

class Hints;

// A list box whose items may be wider than the list: the item under the mouse, when its text does not fit
// (wider than the list's client width less 2 pixels), gets a hint of its full text; an item that fits
// gets none. A list view of one column (win32/check_list.h) is watched alike, its rows' texts measured
// against their labels. hints must outlive the list box's watch (until unwatchClippedItems or the list's end).
void watchClippedItems(HWND listBox, Hints& hints);
void unwatchClippedItems(HWND listBox);

}  // namespace winui
