#pragma once

#include <windows.h>

#include <string>

namespace winui {

// The hint over a clipped list-box item: when the item under the mouse is wider than its row, its full
// text appears right over the item (1 pixel right of the list's left edge, 1 pixel above the row) after
// the program's hint pause, and goes after the hint's display time or when the mouse leaves the item.
// Items that fit get no hint.
class ListItemHints {
 public:
  explicit ListItemHints(HWND listBox);
  ~ListItemHints();
  ListItemHints(const ListItemHints&) = delete;
  ListItemHints& operator=(const ListItemHints&) = delete;

  // Whether the item at row is wider than what the list box shows of it, in the list's font.
  static bool isClipped(HWND listBox, int row);

  HWND tooltip() const { return tooltip_; }
  // The row whose hint is showing, or -1.
  int shownRow() const { return shown_; }

 private:
  static LRESULT CALLBACK watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
  void mouseAt(POINT client);
  void show();
  void hide();

  HWND list_;
  HWND tooltip_;
  std::wstring text_;
  int pending_ = -1;  // the row under the mouse waiting for the pause
  int shown_ = -1;
};

}  // namespace winui
