#include "win32/hints.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "win32/controls.h"
#include "win32/text.h"
#include "win32/window.h"

namespace winui {

namespace {
struct Timing {
  int pause = 500;
  int hidePause = 2500;
  std::vector<const Hints*> all;
};
Timing& timing() {
  static Timing shared;
  return shared;
}

TTTOOLINFOW toolFor(HWND owner, HWND control) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  return tool;
}
}  // namespace

Hints::Hints(HWND owner) : owner_(owner) {
  initCommonControls();
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance(),
                             nullptr);
  // Long hints (full paths, addresses) wrap instead of running off the screen.
  if (tooltip_) SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, scaled(owner, 500));
  timing().all.push_back(this);
  applyTiming();
}

Hints::~Hints() {
  std::erase(timing().all, this);
  if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

void Hints::add(HWND control, const std::string& text) {
  if (!tooltip_) return;
  std::wstring wideText = wide(text);
  TTTOOLINFOW tool = toolFor(owner_, control);
  tool.lpszText = wideText.data();
  if (SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
    tool.lpszText = wideText.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void Hints::remove(HWND control) {
  if (!tooltip_) return;
  TTTOOLINFOW tool = toolFor(owner_, control);
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Hints::applyTiming() const {
  if (!tooltip_) return;
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(timing().pause, 0));
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(timing().hidePause, 0));
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(timing().pause / 5, 0));
}

void Hints::setTiming(int pauseMs, int hidePauseMs) {
  timing().pause = pauseMs;
  timing().hidePause = hidePauseMs;
  for (const Hints* hints : timing().all) hints->applyTiming();
}

int Hints::pause() { return timing().pause; }
int Hints::hidePause() { return timing().hidePause; }

}  // namespace winui
