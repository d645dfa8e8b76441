#include "win32/help.h"

#include "help/texts.h"
#include "win32/controls.h"
#include "win32/main_window.h"
#include "win32/text.h"

namespace winui {

namespace {
constexpr int kWidth = 565;
constexpr int kHeight = 345;
constexpr int kListWidth = 177;
constexpr int kListFontPixels = 16;
constexpr int kItemPixels = 20;
constexpr int kTextFontPixels = 13;

// The message font at a height of its own (pixels at 96 dpi, scaled to the window).
HFONT messageFontOf(HWND window, int pixels) {
  LOGFONTW font{};
  GetObjectW(messageFont(dpiOf(window)), sizeof font, &font);
  font.lfHeight = -scaled(window, pixels);
  font.lfWidth = 0;
  return CreateFontIndirectW(&font);
}
}  // namespace

HelpWindow::HelpWindow(MainWindow& main) : SecondaryWindow(main, help::kHelpCaption, kWidth, kHeight) {
  HWND window = hwnd();
  // Resizable, 565 x 345 to begin with, centred; it keeps its size and place between showings.
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  SetWindowLongPtrW(window, GWL_STYLE, style | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) & ~WS_EX_DLGMODALFRAME);
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  setClientSize(window, kWidth, kHeight);
  centreOnScreen(window);

  createListBox(window, {0, 0, kListWidth, kHeight}, ListBox1);
  createMemo(window, "", {kListWidth, 0, kWidth - kListWidth, kHeight}, Memo1);
  applyFonts();

  presenter_ = std::make_unique<help::HelpPresenter>(main.program(), static_cast<HelpView&>(*this));
  presenter_->FormCreate();
  onGuardedCommand(ListBox1, [this](int code) {
    if (code == LBN_SELCHANGE) presenter_->ListBox1Click(listSelection(control(ListBox1)));
  });
  onGuardedCommand(IDCANCEL, [this](int) { close(); });
  layOut();
}

HelpWindow::~HelpWindow() {
  if (listFont_) DeleteObject(listFont_);
  if (textFont_) DeleteObject(textFont_);
}

void HelpWindow::applyFonts() {
  HFONT oldList = listFont_;
  HFONT oldText = textFont_;
  listFont_ = messageFontOf(hwnd(), kListFontPixels);
  textFont_ = messageFontOf(hwnd(), kTextFontPixels);
  SendMessageW(control(ListBox1), WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), TRUE);
  SendMessageW(control(ListBox1), LB_SETITEMHEIGHT, 0, scaled(hwnd(), kItemPixels));
  SendMessageW(control(Memo1), WM_SETFONT, reinterpret_cast<WPARAM>(textFont_), TRUE);
  if (oldList) DeleteObject(oldList);
  if (oldText) DeleteObject(oldText);
}

void HelpWindow::layOut() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int listWidth = scaled(hwnd(), kListWidth);
  MoveWindow(control(ListBox1), 0, 0, listWidth, client.bottom, TRUE);
  MoveWindow(control(Memo1), listWidth, 0, client.right > listWidth ? client.right - listWidth : 0, client.bottom,
             TRUE);
}

void HelpWindow::FormShow() { presenter_->FormShow(); }

LRESULT HelpWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The text reads on the window colour like any text box, though it cannot be edited.
  if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == control(Memo1)) {
    HDC context = reinterpret_cast<HDC>(wParam);
    SetTextColor(context, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(context, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  if (message == WM_SIZE && control(ListBox1)) layOut();
  if (message == WM_DPICHANGED) {
    const LRESULT result = SecondaryWindow::handleMessage(message, wParam, lParam);
    applyFonts();
    layOut();
    return result;
  }
  return SecondaryWindow::handleMessage(message, wParam, lParam);
}

void HelpWindow::showTopics(const std::vector<std::string>& titles) { setListItems(control(ListBox1), titles); }

void HelpWindow::selectTopic(int topic) { selectListItem(control(ListBox1), topic); }

void HelpWindow::setText(const std::string& text) { setWindowText(control(Memo1), text); }

void HelpWindow::showWindow() { show(); }

}  // namespace winui
