// The Win32 file list page's first showing of a 100,000-line catalogue with 300 description records, to a
// painted page, under Wine; the same data as bench/grid_fill_bench.cpp measures for the Qt grid.
//
//   wine build-win/bench/win32_grid_bench.exe [lines] [records]      (defaults 100000 and 300)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "../bench_support.h"
#include "catalogue/files_list.h"
#include "sys/clock.h"
#include "sys/filesystem.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "win32/controls.h"
#include "win32/files_list_page.h"
#include "win32/main_window.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

void pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK bareHostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_GETDISPINFOW) {
    auto& info = *reinterpret_cast<NMLVDISPINFOW*>(lParam);
    if (info.item.mask & LVIF_TEXT) lstrcpynW(info.item.pszText, L"C:\\game\\cstrike\\sound\\file.wav", info.item.cchTextMax);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The floor under the page: Wine's list view alone, as bare as it comes (owner data, four columns, one
// constant text, no subclass or custom draw), in a window of the page's size: its count of rows set
// and painted.
double bareListView(int rows, const RECT& area) {
  WNDCLASSW host{};
  host.lpfnWndProc = bareHostProcedure;
  host.hInstance = GetModuleHandleW(nullptr);
  host.lpszClassName = L"VarnikitBareHost";
  RegisterClassW(&host);
  HWND window = CreateWindowW(host.lpszClassName, L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                              area.right + 20, area.bottom + 40, nullptr, nullptr, host.hInstance, nullptr);
  HWND list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL,
                            0, 0, area.right, area.bottom, window, nullptr, host.hInstance, nullptr);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  for (int column = 0; column < 4; ++column) {
    LVCOLUMNW item{};
    item.mask = LVCF_WIDTH | LVCF_TEXT;
    item.cx = area.right / 4;
    item.pszText = const_cast<wchar_t*>(L"Column");
    ListView_InsertColumn(list, column, &item);
  }
  pump();
  const auto start = Clock::now();
  ListView_SetItemCountEx(list, rows, 0);
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const double shown = msSince(start);
  DestroyWindow(window);
  pump();
  return shown;
}

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int records = argc > 2 ? std::atoi(argv[2]) : 300;
  winui::initCommonControls();

  const fs::path work = fs::temp_directory_path() / ("varnikit-win32-grid-bench-" + std::to_string(GetCurrentProcessId()));
  const fs::path program = work / "program";
  const std::string game = sys::fromPath(work / "game" / "cstrike");
  fs::create_directories(program);
  fs::create_directories(work / "exe");
  fs::create_directories(sys::toPath(game));
  bench::writeGridData(program, game, lines, records);
  const std::string programFolder = sys::fromPath(program) + sys::kSep;
  sys::HiveFileRegistry registry(sys::fromPath(work / "hive.reg"));
  registry.writeValues("\\Software\\Varnikit", {{"CSDir", game},
                                                {"FilePath", programFolder},
                                                {"FilesListDir", programFolder + "fileslist.dat"},
                                                {"FilesInfoDir", programFolder + "filesinfo.dat"},
                                                {"ListUpdate", "1"},
                                                {"AddFilesType", "2"}});
  bench::UnattendedUi quiet;
  bench::NoShell shell;
  bench::NoWindows windows;
  const winui::Platform platform{sys::realFileSystem(), registry, shell, windows, sys::systemClock(),
                                 sys::fromPath(work / "exe") + sys::kSep, &quiet};
  double firstShow = 0;
  int rows = 0;
  std::string lastNumber;
  std::vector<double> refills;
  double readOnly = 0;
  double filled = 0;
  double bytesOnly = 0;
  double bare = 0;
  {
    winui::MainWindow main(platform);
    winui::FilesListPage page(main);
    main.show(SW_SHOW);
    pump();

    // Showing the page fills it; then one synchronous paint.
    auto start = Clock::now();
    main.showPage(winui::MainWindow::Page::FilesList);
    filled = msSince(start);
    RedrawWindow(page.grid(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pump();
    firstShow = msSince(start);
    rows = ListView_GetItemCount(page.grid());
    wchar_t text[32] = {};
    ListView_GetItemText(page.grid(), rows - 1, 0, text, 32);
    lastNumber = std::to_string(std::wcstol(text, nullptr, 10));

    // The core's part alone: the catalogue and the descriptions read.
    start = Clock::now();
    const auto list = catalogue::FilesList::read(sys::realFileSystem(), programFolder + "fileslist.dat",
                                                 programFolder + "filesinfo.dat");
    readOnly = msSince(start);
    start = Clock::now();
    (void)sys::realFileSystem().readText(programFolder + "fileslist.dat");
    bytesOnly = msSince(start);

    for (int round = 0; round < 5; ++round) {
      start = Clock::now();
      page.FilesListShow();
      RedrawWindow(page.grid(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      refills.push_back(msSince(start));
    }
    std::sort(refills.begin(), refills.end());
    RECT area{};
    GetClientRect(page.grid(), &area);
    bare = bareListView(lines, area);
    main.close();
    pump();
  }
  std::error_code ignored;
  fs::remove_all(work, ignored);

  // No box is expected while the page fills.
  if (quiet.boxes > 0) std::fprintf(stderr, "%d message boxes came up\n", quiet.boxes);
  std::printf("catalogue lines: %d, description records: %d, grid rows: %d, last number: %s\n", lines, records, rows,
              lastNumber.c_str());
  std::printf("first showing of the page, filled and painted: %8.1f ms\n", firstShow);
  std::printf("  of which filled, before the paint:          %8.1f ms\n", filled);
  std::printf("refill and paint, median of 5:                %8.1f ms\n", refills[2]);
  std::printf("of which the catalogue read by the core:      %8.1f ms\n", readOnly);
  std::printf("  of which the catalogue's bytes:             %8.1f ms\n", bytesOnly);
  std::printf("Wine's list view alone, bare, set and painted: %8.1f ms\n", bare);
  return rows == lines ? 0 : 1;
}
