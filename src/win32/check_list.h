#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "win32/controls.h"

// A list of rows, each with its own check box: a list view of one column without a header, the list
// view's check boxes (so assistive technology reads each row's state), full-row select, one row selected
// at most. The list view itself turns a row's box on a click on it and on Space.
namespace winui {

// name is the list's window text, which is what a screen reader calls it.
HWND createCheckList(HWND parent, std::string_view name, const Box& box, int id);

// The rows afresh, each box as checked says (a row past its end is checked); nothing selected.
void setCheckListItems(HWND list, const std::vector<std::string>& items, const std::vector<bool>& checked);
std::vector<std::string> checkListItems(HWND list);
void setCheckListItemText(HWND list, int row, const std::string& text);
bool isRowChecked(HWND list, int row);
void setRowChecked(HWND list, int row, bool checked);
int checkListSelection(HWND list);  // -1 when none
// Selects row (and makes it the focused one), or takes the selection away with -1.
void selectCheckListRow(HWND list, int row);
// The row at a point of the list's client area, -1 when none.
int checkListRowAt(HWND list, POINT client);
// The rectangle of a row's check box, in the list's client coordinates.
RECT checkBoxRect(HWND list, int row);

}  // namespace winui
