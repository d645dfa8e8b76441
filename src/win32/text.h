#pragma once

#include <windows.h>

#include <string>
#include <string_view>

// The windows speak UTF-16 (the W functions), the core UTF-8.
namespace winui {

std::wstring wide(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// The whole text of a window (caption, edit contents, button label).
std::wstring windowText(HWND window);
std::string windowTextUtf8(HWND window);
void setWindowText(HWND window, std::string_view utf8);

}  // namespace winui
