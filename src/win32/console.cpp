#include "win32/console.h"

#include <commctrl.h>

#include "service/texts.h"
#include "win32/controls.h"
#include "win32/main_window.h"
#include "win32/text.h"

namespace winui {

namespace {
constexpr UINT_PTR kLineSubclass = 1;
constexpr int kWidth = 272;
constexpr int kHeight = 185;
constexpr int kLineHeight = 22;
}  // namespace

Console::Console(MainWindow& main) : SecondaryWindow(main, service::texts::kConsoleCaption, kWidth, kHeight) {
  HWND window = hwnd();
  // A tool window: small caption and the close box only.
  const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, (exStyle & ~WS_EX_DLGMODALFRAME) | WS_EX_TOOLWINDOW);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  setClientSize(window, kWidth, kHeight);
  centreOnScreen(window);

  createEdit(window, "", {0, 0, kWidth, kLineHeight}, Edit1);
  createListBox(window, {0, kLineHeight, kWidth, kHeight - kLineHeight}, ListBox1);
  // The output list takes no focus: the command line keeps it.
  SetWindowLongPtrW(control(ListBox1), GWL_STYLE, GetWindowLongPtrW(control(ListBox1), GWL_STYLE) & ~WS_TABSTOP);

  presenter_ = std::make_unique<service::ConsolePresenter>(main.program(), static_cast<ConsoleView&>(*this));
  onGuardedCommand(Edit1, [this](int code) {
    if (code == EN_CHANGE) presenter_->Edit1Change(windowTextUtf8(control(Edit1)));
  });
  // Escape: as the close box.
  onGuardedCommand(IDCANCEL, [this](int) { close(); });
  SetWindowSubclass(control(Edit1), &Console::lineProcedure, kLineSubclass, reinterpret_cast<DWORD_PTR>(this));
}

Console::~Console() {
  if (HWND edit = control(Edit1)) RemoveWindowSubclass(edit, &Console::lineProcedure, kLineSubclass);
}

LRESULT CALLBACK Console::lineProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) {
  // Enter belongs to the command line, not to the dialog keys of the window.
  if (message == WM_GETDLGCODE && lParam) {
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key->message == WM_KEYDOWN && key->wParam == VK_RETURN) return DLGC_WANTALLKEYS;
  }
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    auto* console = reinterpret_cast<Console*>(self);
    console->guarded([console] { console->presenter_->Edit1KeyDown(service::kEnterKey); });
    return 0;
  }
  if (message == WM_CHAR && wParam == L'\r') return 0;  // no beep
  return DefSubclassProc(edit, message, wParam, lParam);
}

void Console::FormShow() { presenter_->FormShow(); }

void Console::FormClose() { presenter_->FormClose(); }

void Console::setCommandText(const std::string& text) {
  HWND edit = control(Edit1);
  if (windowTextUtf8(edit) == text) return;
  // Lower-casing keeps every character where it is: so does the caret.
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  setWindowText(edit, text);
  SendMessageW(edit, EM_SETSEL, start, end);
}

std::string Console::commandText() { return windowTextUtf8(control(Edit1)); }

void Console::focusCommandLine() { SetFocus(control(Edit1)); }

void Console::addLine(const std::string& line) {
  HWND list = control(ListBox1);
  const std::wstring text = wide(line);
  const auto row = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(row), 0);
}

void Console::clearLines() { SendMessageW(control(ListBox1), LB_RESETCONTENT, 0, 0); }

void Console::closeWindow() { close(); }

void Console::rerunStartUp() { main().FormCreate(); }

void Console::closeMainWindow() { main().close(); }

}  // namespace winui
