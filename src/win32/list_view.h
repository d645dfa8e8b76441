#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/controls.h"
#include "win32/window.h"

namespace winui {

// A list view in report mode with owner data: it holds no rows, only their count, and asks for the text
// of a cell when it paints that cell, so 100,000 rows show at once without being copied. Its parent (a
// Window of this toolkit) routes the list view's notifications here.
class VirtualListView {
 public:
  struct Column {
    std::string caption;
    int width = 50;  // pixels at 96 dpi
  };
  using CellText = std::function<std::string(int row, int column)>;

  VirtualListView(Window& parent, const Box& box, int id, std::vector<Column> columns, CellText cellText);

  HWND hwnd() const { return list_; }
  HWND header() const;
  // The number of rows; the view asks again for what it shows.
  void setRowCount(int rows);
  int rowCount() const;
  // The row with the focus and selection (-1: none).
  int currentRow() const;
  void selectRow(int row);
  // Column widths in the window's own pixels (not 96-dpi ones: a user's drag is in these).
  int columnWidth(int column) const;
  void setColumnWidth(int column, int width);
  int columnCount() const { return static_cast<int>(columns_.size()); }

  // Double click or Enter on a row; the right button on a row (screen position for a popup menu).
  void onActivate(std::function<void(int row)> handler) { activate_ = std::move(handler); }
  void onContextMenu(std::function<void(int row, POINT screen)> handler) { contextMenu_ = std::move(handler); }

 private:
  LRESULT notify(NMHDR& header);
  HWND list_ = nullptr;
  std::vector<Column> columns_;
  CellText cellText_;
  std::wstring buffer_;  // the text handed to the view last, alive until it asks again
  std::function<void(int)> activate_;
  std::function<void(int, POINT)> contextMenu_;
};

// A popup menu at a screen position; the chosen item's id, or 0 when none was chosen. Items with an empty
// caption are separators.
struct PopupItem {
  int id = 0;
  std::string caption;
  bool enabled = true;
};
int showPopupMenu(HWND owner, const std::vector<PopupItem>& items, POINT screen);

}  // namespace winui
