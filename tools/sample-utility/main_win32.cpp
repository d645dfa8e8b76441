// A sample utility for Varnikit, for Windows (plain Win32, the same protocol as main.cpp).
//
//   sample-utility.exe setup     writes "setup.dat" beside its own program file and ends;
//   sample-utility.exe varnikit  shows a window titled with its name until the window is closed.
//
// See docs/utilities.md for the whole protocol. Two environment variables exist for automated tests:
// VARNIKIT_SAMPLE_NAME replaces the name (so tests running side by side do not see each other's windows),
// VARNIKIT_SAMPLE_CLOSE_AFTER_MS closes the window by itself after that many milliseconds.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring environment(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

// The name in the Utilities menu, and the exact title of the window while the utility works.
std::wstring utilityName() {
  const std::wstring name = environment(L"VARNIKIT_SAMPLE_NAME");
  return name.empty() ? L"Пример утилиты" : name;
}

// The folder the program gives the utility under its "utilities" folder: one plain folder name.
const char* const kFolderName = "sample-utility";

// Varnikit reads its data files in the Windows Cyrillic code page; WC_NO_BEST_FIT_CHARS with a default
// character check refuses what that code page cannot say.
bool toCp1251(const std::wstring& text, std::string& bytes) {
  if (text.empty()) return true;
  BOOL lossy = FALSE;
  const int size = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, &lossy);
  if (size <= 0 || lossy) return false;
  bytes.resize(static_cast<std::size_t>(size));
  WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                      nullptr, &lossy);
  return !lossy;
}

std::wstring ownFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      std::wstring file(path.data(), length);
      return file.substr(0, file.find_last_of(L"\\/") + 1);
    }
    path.resize(path.size() * 2);
  }
}

// The answer to "setup": line 1 the name, line 2 the folder name, each ended by CR LF. Written under
// another name and renamed, so the program never finds half an answer.
int writeSetupFile() {
  std::string name;
  if (!toCp1251(utilityName(), name)) return 2;
  const std::string content = name + "\r\n" + kFolderName + "\r\n";
  const std::wstring folder = ownFolder();
  const std::wstring temporary = folder + L"setup.dat.tmp";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL wrote = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  if (!wrote || written != content.size()) {
    DeleteFileW(temporary.c_str());
    return 1;
  }
  const std::wstring answer = folder + L"setup.dat";
  if (!MoveFileExW(temporary.c_str(), answer.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temporary.c_str());
    return 1;
  }
  return 0;
}

constexpr int kCloseButton = 1;
constexpr UINT_PTR kCloseTimer = 1;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseButton) DestroyWindow(window);
      return 0;
    case WM_TIMER:
      if (wParam == kCloseTimer) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

int showWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"VarnikitSampleUtility";
  RegisterClassExW(&windowClass);

  // Exactly the name: this is how the program sees the utility.
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, utilityName().c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, 340, 150, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  HFONT font = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)
                   ? CreateFontIndirectW(&metrics.lfMessageFont)
                   : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  HWND label = CreateWindowExW(0, L"STATIC",
                               L"Утилита работает. Пока это окно открыто,\r\nглавное окно программы ждёт.",
                               WS_CHILD | WS_VISIBLE, 12, 12, 300, 40, window, nullptr, instance, nullptr);
  HWND close = CreateWindowExW(0, L"BUTTON", L"Закрыть", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 12,
                               60, 100, 26, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseButton)),
                               instance, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SendMessageW(close, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ShowWindow(window, SW_SHOW);

  const std::wstring closeAfter = environment(L"VARNIKIT_SAMPLE_CLOSE_AFTER_MS");
  if (!closeAfter.empty()) {
    wchar_t* end = nullptr;
    const long milliseconds = std::wcstol(closeAfter.c_str(), &end, 10);
    if (end && *end == L'\0' && milliseconds >= 0) SetTimer(window, kCloseTimer, static_cast<UINT>(milliseconds), nullptr);
  }

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::wstring mode = arguments && count == 2 ? arguments[1] : L"";
  if (arguments) LocalFree(arguments);
  if (mode == L"setup") return writeSetupFile();  // started hidden: no window
  if (mode == L"varnikit") return showWindow(instance);
  return 3;  // started some other way: a utility works only from the program
}
