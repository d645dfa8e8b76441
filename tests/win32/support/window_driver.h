#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Driving real Win32 windows of this process by their messages, the way a person's clicks and keys
// arrive: send the message, then let every window handle what it caused.
namespace testing_support::win32 {

// Handles every message waiting for this thread's windows, rounds times (posted work may post more).
void pump(int rounds = 5);
// Pumps until done() or the time is up; true when done() became true.
bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

void click(HWND button);                    // BM_CLICK
void command(HWND window, int id);          // WM_COMMAND from a menu item (or an accelerator)
void typeText(HWND edit, const std::string& utf8);  // WM_SETTEXT (an edit sends EN_CHANGE)
void selectRow(HWND listBox, int row);      // LB_SETCURSEL and the LBN_SELCHANGE the list box would send
// A list view's row selected and focused (LVM_SETITEMSTATE: the list view reports it as a click's).
void selectListViewRow(HWND listView, int row);
// A left click at a point of the window's client area, the button pressed and released there.
void clickAt(HWND window, POINT client);

std::string text(HWND window);
HWND child(HWND parent, int id);
// A top-level window of this thread, visible, with exactly this caption; nullptr when none.
HWND topLevelWindow(const std::string& caption);
// The texts of a window's child controls of class className ("Button", "Static"), in z-order.
std::vector<std::string> childTexts(HWND parent, const std::string& className);
// The captions of a menu's items, separators as "-", in order.
std::vector<std::string> menuItems(HMENU menu);

// Runs action from inside the next modal loop this thread enters (a message box, the input box, a
// chooser): a thread timer fires there, every 20 ms until action returns true (its window is there and
// it has answered). Lets a test answer a real box.
void whenModal(std::function<bool()> action);
// Whether the action given to whenModal has returned true.
bool modalActionDone();
// From inside the next popup menu this thread shows: its items' captions into *items, then the item at
// position chosen from the keyboard (Down to it, Enter).
void whenPopupMenu(std::vector<std::string>* items, int position = 0);

}  // namespace testing_support::win32
