#include "win32/secondary_window.h"

#include "win32/controls.h"
#include "win32/main_window.h"
#include "win32/text.h"

namespace winui {

SecondaryWindow::SecondaryWindow(MainWindow& main, const std::string& caption, int width, int height) : main_(main) {
  registerClass(L"VarnikitSecondaryWindow");
  create(L"VarnikitSecondaryWindow", wide(caption), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
         WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, main.hwnd());
  setClientSize(hwnd(), width, height);
  centreOnScreen(hwnd());
  hints_ = std::make_unique<Hints>(hwnd());
  main_.registerSecondaryWindow(this);
}

SecondaryWindow::~SecondaryWindow() { main_.unregisterSecondaryWindow(this); }

void SecondaryWindow::guarded(const std::function<void()>& handler) { main_.guard(handler); }

void SecondaryWindow::onGuardedCommand(int id, std::function<void(int code)> handler) {
  onCommand(id, [this, handler = std::move(handler)](int code) { guarded([&handler, code] { handler(code); }); });
}

void SecondaryWindow::show() {
  if (!hwnd()) return;
  const bool wasVisible = isVisible();
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  // The main window is disabled while a dialog is open.
  main_.ui().updateMainWindow();
  if (!wasVisible) guarded([this] { FormShow(); });
}

void SecondaryWindow::close() {
  if (!isVisible()) return;
  if (!closing_) {
    closing_ = true;
    guarded([this] { FormClose(); });
    closing_ = false;
  }
  // The main window comes back before this one goes, so the activation returns to it.
  ShowWindow(hwnd(), SW_HIDE);
  guarded([this] { FormHide(); });
  main_.secondaryWindowHidden(this);
  if (main_.hwnd() && IsWindowEnabled(main_.hwnd())) SetActiveWindow(main_.hwnd());
}

LRESULT SecondaryWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      close();
      return 0;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    default:
      break;
  }
  return Window::handleMessage(message, wParam, lParam);
}

}  // namespace winui
