#include "win32/utilities.h"

#include <commctrl.h>

#include "launchers/texts.h"
#include "win32/controls.h"
#include "win32/main_window.h"
#include "win32/text.h"

namespace winui {

namespace {

namespace texts = launchers::texts;
// Posted to itself: close once the showing that failed has ended.
constexpr UINT kCloseAfterShowing = WM_APP + 1;
constexpr UINT_PTR kListSubclass = 1;

}  // namespace

UtilitiesManager::UtilitiesManager(MainWindow& main) : SecondaryWindow(main, texts::kUtilsCaption, 380, 260) {
  HWND window = hwnd();
  createGroupBox(window, texts::kUtilsListGroup, {8, 6, 220, 224});
  createListBox(window, {16, 26, 204, 196}, ListBox1);
  createButton(window, texts::kUtilsAdd, {236, 12, 136, 26}, Button1);
  createButton(window, texts::kUtilsRemove, {236, 44, 136, 26}, Button2);
  createButton(window, texts::kUtilsDownload, {236, 76, 136, 26}, Button4);
  createButton(window, texts::kUtilsExit, {236, 204, 136, 26}, Button3);
  // The status bar puts itself along the bottom edge.
  createControl(window, STATUSCLASSNAMEW, "", 0, {0, 0, 0, 0}, StatusBar1);

  presenter_ = std::make_unique<launchers::UtilitiesPresenter>(main.program(), static_cast<UtilitiesView&>(*this));
  onGuardedCommand(ListBox1, [this](int code) {
    if (code == LBN_SELCHANGE) presenter_->ListBox1Click(listSelection(control(ListBox1)));
  });
  onGuardedCommand(Button1, [this](int code) {
    if (code != BN_CLICKED) return;
    presenter_->installTimeout = this->main().utilityTimeout;
    presenter_->Button1Click();
  });
  onGuardedCommand(Button2, [this](int code) {
    if (code == BN_CLICKED) presenter_->Button2Click();
  });
  onGuardedCommand(Button3, [this](int code) {
    if (code == BN_CLICKED) presenter_->Button3Click();
  });
  onGuardedCommand(Button4, [this](int code) {
    if (code == BN_CLICKED) presenter_->Button4Click();
  });
  // Escape in the dialog closes it as "&Выход" does.
  onGuardedCommand(IDCANCEL, [this](int) { presenter_->Button3Click(); });
  // The Delete key comes through the list's own messages.
  SetWindowSubclass(control(ListBox1), &UtilitiesManager::listProcedure, kListSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
}

UtilitiesManager::~UtilitiesManager() {
  if (HWND list = control(ListBox1)) RemoveWindowSubclass(list, &UtilitiesManager::listProcedure, kListSubclass);
}

LRESULT CALLBACK UtilitiesManager::listProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self) {
  if (message == WM_KEYDOWN) {
    auto* manager = reinterpret_cast<UtilitiesManager*>(self);
    const int key = static_cast<int>(wParam);
    manager->guarded([manager, key] { manager->presenter_->ListBox1KeyDown(key); });
    if (key == VK_DELETE) return 0;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

void UtilitiesManager::FormShow() { presenter_->FormShow(); }

void UtilitiesManager::FormClose() { presenter_->FormClose(); }

LRESULT UtilitiesManager::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCloseAfterShowing) {
    close();
    return 0;
  }
  // The install waits for the utility with messages handled; the manager stays until it has its answer.
  if (message == WM_CLOSE && !presenter_->FormCloseQuery()) return 0;
  return SecondaryWindow::handleMessage(message, wParam, lParam);
}

void UtilitiesManager::showNames(const std::vector<std::string>& names) { setListItems(control(ListBox1), names); }

void UtilitiesManager::addName(const std::string& name) {
  const std::wstring text = wide(name);
  SendMessageW(control(ListBox1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void UtilitiesManager::removeRow(int row) {
  SendMessageW(control(ListBox1), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  selectListItem(control(ListBox1), -1);
}

void UtilitiesManager::setStatusText(const std::string& text) {
  SendMessageW(control(StatusBar1), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wide(text).c_str()));
}

void UtilitiesManager::setManagerEnabled(bool enabled) { EnableWindow(hwnd(), enabled ? TRUE : FALSE); }

void UtilitiesManager::closeWindow() { close(); }

void UtilitiesManager::closeAfterShowing() { PostMessageW(hwnd(), kCloseAfterShowing, 0, 0); }

}  // namespace winui
