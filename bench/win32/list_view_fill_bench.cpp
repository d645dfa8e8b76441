// The file list's grid on Windows: a 100,000-line catalogue with 300 description records read and shown in
// the owner-data list view of a window the size of the main window's page, painted; then refilled and
// scrolled to its end. The same data and steps as grid_fill_bench (the Qt grid), for the ratio.
//
//   list_view_fill_bench.exe [lines] [records]      (defaults 100000 and 300; run under Wine on a display)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "catalogue/files_list.h"
#include "sys/filesystem.h"
#include "sys/paths.h"
#include "win32/list_view.h"
#include "win32/window.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

std::size_t peakKb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize / 1024;
}

void pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The same generator as grid_fill_bench: the same paths, the same descriptions.
void writeData(const std::string& program, const std::string& game, int lines, int records) {
  std::mt19937 random(1374);
  const char* folders[] = {"models", "player", "sound", "weapons", "maps", "sprites", "gfx", "radio", "events", "env"};
  const char* extensions[] = {".mdl", ".wav", ".spr", ".bsp", ".txt", ".wad", ".res", ".tga", ".sc", ".dll"};
  std::vector<std::string> catalogue;
  catalogue.reserve(static_cast<std::size_t>(lines));
  for (int i = 0; i < lines; ++i) {
    std::string path = game;
    const int depth = 1 + static_cast<int>(random() % 5);
    for (int d = 0; d < depth; ++d) path += sys::kSep + std::string(folders[random() % 10]);
    path += sys::kSep + ("file" + std::to_string(i) + extensions[random() % 10]);
    catalogue.push_back(std::move(path));
  }
  std::vector<std::string> descriptions;
  for (int r = 0; r < records; ++r) {
    descriptions.push_back(r < 40 ? extensions[r % 10] : ".x" + std::to_string(r));
    descriptions.push_back("Описание номер " + std::to_string(r));
  }
  sys::realFileSystem().writeLines(program + "fileslist.dat", catalogue);
  sys::realFileSystem().writeLines(program + "filesinfo.dat", descriptions);
}

class Page final : public winui::Window {
 public:
  Page() {
    registerClass(L"VarnikitBenchPage");
    create(L"VarnikitBenchPage", L"Список файлов", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 680, 420,
           nullptr);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int records = argc > 2 ? std::atoi(argv[2]) : 300;
  winui::initCommonControls();

  const fs::path work = fs::temp_directory_path() / ("varnikit-list-bench-" + std::to_string(GetCurrentProcessId()));
  const std::string program = sys::fromPath(work / "program") + sys::kSep;
  const std::string game = sys::fromPath(work / "game" / "cstrike");
  fs::create_directories(work / "program");
  fs::create_directories(work / "game" / "cstrike");
  writeData(program, game, lines, records);
  sys::FileSystem& files = sys::realFileSystem();

  Page page;
  catalogue::FilesList list;
  winui::VirtualListView grid(page, {0, 0, 650, 330}, 1, {{"", 30}, {"Файл", 100}, {"Путь", 350}, {"Описание", 150}},
                              [&list](int row, int column) -> std::string {
                                if (row < 0 || static_cast<std::size_t>(row) >= list.size()) return {};
                                const auto at = static_cast<std::size_t>(row);
                                switch (column) {
                                  case 0: return list.number(at);
                                  case 1: return list.name(at);
                                  case 2: return list.path(at);
                                  default: return list.description(at);
                                }
                              });
  ShowWindow(page.hwnd(), SW_SHOW);
  UpdateWindow(page.hwnd());
  pump();
  const std::size_t before = peakKb();

  // Showing the page reads the catalogue and the descriptions and fills the grid; then one paint.
  const auto fill = [&] {
    list = catalogue::FilesList::read(files, program + "fileslist.dat", program + "filesinfo.dat");
    grid.setRowCount(static_cast<int>(list.size()));
    RedrawWindow(grid.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  auto start = Clock::now();
  fill();
  const double firstFill = msSince(start);

  std::vector<double> refills;
  for (int round = 0; round < 5; ++round) {
    start = Clock::now();
    fill();
    refills.push_back(msSince(start));
  }
  std::sort(refills.begin(), refills.end());

  start = Clock::now();
  grid.selectRow(grid.rowCount() - 1);
  RedrawWindow(grid.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const double scroll = msSince(start);
  const std::size_t after = peakKb();

  std::printf("catalogue %d lines, %d description records; list rows %d, last row number %s\n", lines, records,
              grid.rowCount(), list.number(list.size() - 1).c_str());
  std::printf("first showing of the page, filled and painted: %8.1f ms\n", firstFill);
  std::printf("refill + paint (median of 5):                  %8.1f ms\n", refills[2]);
  std::printf("scroll to the end + paint:                     %8.1f ms\n", scroll);
  std::printf("peak working set: %zu KB before the fill, %zu KB after\n", before, after);
  DestroyWindow(page.hwnd());
  std::error_code ignored;
  fs::remove_all(work, ignored);
  return 0;
}
