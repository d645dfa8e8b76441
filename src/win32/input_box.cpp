#include "win32/input_box.h"

#include <algorithm>

#include "win32/controls.h"
#include "win32/text.h"

namespace winui {

namespace {
constexpr int kWidth = 360;
constexpr int kMargin = 10;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kFieldHeight = 22;

// The prompt's height at 96 dpi, wrapped to the box's width.
int promptHeight(HWND window, const std::wstring& prompt) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, messageFont(96));
  RECT rect{0, 0, kWidth - 2 * kMargin, 0};
  DrawTextW(dc, prompt.c_str(), static_cast<int>(prompt.size()), &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return std::max(16, static_cast<int>(rect.bottom - rect.top));
}
}  // namespace

InputBox::InputBox(HWND owner, const std::string& caption, const std::string& prompt, const std::string& value)
    : owner_(owner) {
  registerClass(L"VarnikitInputBox");
  create(L"VarnikitInputBox", wide(caption), WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
         CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner);
  const int textHeight = promptHeight(hwnd(), wide(prompt));
  createLabel(hwnd(), prompt, {kMargin, kMargin, kWidth - 2 * kMargin, textHeight}, Prompt, 0);
  const int fieldTop = kMargin + textHeight + 6;
  field_ = createEdit(hwnd(), value, {kMargin, fieldTop, kWidth - 2 * kMargin, kFieldHeight}, Field);
  const int buttonTop = fieldTop + kFieldHeight + 12;
  createButton(hwnd(), "OK", {kWidth - kMargin - 2 * kButtonWidth - 8, buttonTop, kButtonWidth, kButtonHeight}, IDOK,
               true);
  createButton(hwnd(), "Отмена", {kWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight},
               IDCANCEL);
  setClientSize(hwnd(), kWidth, buttonTop + kButtonHeight + kMargin);
  centreOnScreen(hwnd());
  onCommand(IDOK, [this](int) { finish(true); });
  onCommand(IDCANCEL, [this](int) { finish(false); });
}

InputBox::~InputBox() = default;

void InputBox::finish(bool accepted) {
  if (answered_) return;
  answered_ = true;
  if (accepted) answer_ = windowTextUtf8(field_);
}

std::optional<std::string> InputBox::runModal() {
  const bool disableOwner = owner_ && IsWindowEnabled(owner_);
  if (disableOwner) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  SetFocus(field_);
  SendMessageW(field_, EM_SETSEL, 0, -1);
  MSG message;
  while (!answered_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // The program is ending: the main loop must still see it.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      finish(false);
      break;
    }
    if (IsDialogMessageW(hwnd(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The owner comes back before the box goes, so the activation returns to it.
  if (disableOwner) EnableWindow(owner_, TRUE);
  ShowWindow(hwnd(), SW_HIDE);
  return answer_;
}

LRESULT InputBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    finish(false);
    return 0;
  }
  return Window::handleMessage(message, wParam, lParam);
}

}  // namespace winui
