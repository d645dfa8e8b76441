#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// Creating controls the way every window of the program does: positions given in pixels at 96 dpi and
// scaled to the window's DPI, and the system's message font (NONCLIENTMETRICS) at that DPI.
namespace winui {

// The DPI of the monitor the window is on (GetDpiForWindow where the system has it), 96 otherwise.
UINT dpiOf(HWND window);
// value (pixels at 96 dpi) at the window's DPI.
int scaled(HWND window, int value);
// The message font at dpi; created once per DPI and kept for the whole run.
HFONT messageFont(UINT dpi);
void useMessageFont(HWND control);

// A rectangle in pixels at 96 dpi.
struct Box {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// A child control of parent: className a system class (L"BUTTON", WC_LISTVIEWW ...), box scaled to the
// parent's DPI, the message font set, visible.
HWND createControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style, const Box& box,
                   int id, DWORD exStyle = 0);

HWND createButton(HWND parent, std::string_view text, const Box& box, int id, bool isDefault = false);
HWND createCheckBox(HWND parent, std::string_view text, const Box& box, int id);
// firstInGroup starts a new group of radio buttons (WS_GROUP).
HWND createRadioButton(HWND parent, std::string_view text, const Box& box, int id, bool firstInGroup = false);
HWND createGroupBox(HWND parent, std::string_view text, const Box& box, int id = 0);
HWND createLabel(HWND parent, std::string_view text, const Box& box, int id = 0, DWORD extraStyle = 0);
HWND createEdit(HWND parent, std::string_view text, const Box& box, int id, DWORD extraStyle = 0);
// A read-only multi-line text with a vertical scroll bar.
HWND createMemo(HWND parent, std::string_view text, const Box& box, int id, bool readOnly = true);
HWND createListBox(HWND parent, const Box& box, int id, DWORD extraStyle = 0);
HWND createProgressBar(HWND parent, const Box& box, int id);

// Moves a control to box (96-dpi pixels, scaled to its parent's DPI).
void place(HWND control, const Box& box);

// List boxes in UTF-8.
void setListItems(HWND listBox, const std::vector<std::string>& items);
std::vector<std::string> listItems(HWND listBox);
int listSelection(HWND listBox);  // -1 when none
void selectListItem(HWND listBox, int row);

// Buttons.
bool isChecked(HWND button);
void setChecked(HWND button, bool checked);

// Sets the size of the window so that its client area is width x height (96-dpi pixels, scaled), with
// its menu, if any, above it.
void setClientSize(HWND window, int width, int height);
// Centres the window on the monitor its owner (or the primary one) is on.
void centreOnScreen(HWND window);

// The common controls (list view, tabs, status bar, tooltips, progress bar), once per run.
void initCommonControls();

}  // namespace winui
