#include "win32/text.h"

#include <vector>

#include "sys/paths.h"

namespace winui {

// The platform layer already converts at its own boundary (invalid sequences become U+FFFD both ways).
std::wstring wide(std::string_view utf8) { return sys::toWide(utf8); }

std::string narrow(std::wstring_view utf16) { return sys::fromWide(utf16); }

std::wstring windowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return std::wstring(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

std::string windowTextUtf8(HWND window) { return narrow(windowText(window)); }

void setWindowText(HWND window, std::string_view utf8) { SetWindowTextW(window, wide(utf8).c_str()); }

}  // namespace winui
