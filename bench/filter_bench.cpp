// The file list's filter as a player types, over 100,000 catalogue lines: each keystroke's time, beside
// `grep -F -i -c` over the same lines in a file (the reference, measured in the same run). Then the marking
// of replaced rows: a store of 300 installations of 20 files each read once, and every row looked up.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "catalogue/row_order.h"
#include "installs/replaced.h"
#include "installs/store.h"
#include "sys/filesystem.h"
#include <algorithm>
#include "sys/paths.h"

namespace {

std::vector<std::string> catalogueLines() {
  std::vector<std::string> lines;
  const char* folders[] = {"models", "sound", "sprites", "maps", "gfx", "sound\\радио", "models\\player"};
  for (int i = 0; i < 100000; ++i) {
    lines.push_back(std::string("C:\\Games\\Half-Life\\cstrike\\") + folders[i % 7] + "\\file_" + std::to_string(i) +
                    (i % 3 ? ".mdl" : ".WAV"));
  }
  return lines;
}

}  // namespace

int main() {
  const auto lines = catalogueLines();
  const catalogue::FilesList list(lines, catalogue::Descriptions({".mdl", "Модель", ".wav", "Звук"}));
  catalogue::RowOrder order;
  auto start = std::chrono::steady_clock::now();
  order.reset(list);
  std::printf("fill: order of %zu rows made in %.1f ms\n", order.size(), bench::secondsSince(start) * 1000);

  const std::string typed = "SOUND\\РАДИО\\FILE_99";
  double worst = 0;
  for (std::size_t n = 1; n <= typed.size(); ++n) {
    if ((static_cast<unsigned char>(typed[n - 1]) & 0xC0) == 0x80 && n < typed.size() &&
        (static_cast<unsigned char>(typed[n]) & 0xC0) == 0x80)
      continue;
    start = std::chrono::steady_clock::now();
    order.filter(typed.substr(0, n));
    worst = std::max(worst, bench::secondsSince(start));
  }
  std::printf("typing \"%s\": %zu rows left, slowest keystroke %.2f ms\n", typed.c_str(), order.size(), worst * 1000);
  start = std::chrono::steady_clock::now();
  order.filter("");
  std::printf("clearing the filter: %.2f ms\n", bench::secondsSince(start) * 1000);
  start = std::chrono::steady_clock::now();
  order.filter("e");  // nearly every row, from every row
  std::printf("one letter from every row: %zu rows in %.2f ms\n", order.size(), bench::secondsSince(start) * 1000);
  start = std::chrono::steady_clock::now();
  order.sortBy(catalogue::SortColumn::Description);
  std::printf("sort by description: %.1f ms\n", bench::secondsSince(start) * 1000);

  {
    std::ofstream out("/tmp/varnikit-filter-bench.txt", std::ios::binary);
    for (const auto& line : lines) out << line << "\n";
  }
  start = std::chrono::steady_clock::now();
  if (std::system("grep -F -i -c 'file_99' /tmp/varnikit-filter-bench.txt >/dev/null") != 0) return 1;
  std::printf("reference: grep -F -i -c over the same lines %.2f ms (one process start included)\n",
              bench::secondsSince(start) * 1000);
  std::remove("/tmp/varnikit-filter-bench.txt");

  // 300 installations of 20 files each, as the program writes them.
  const std::string programFolder = "/tmp/varnikit-filter-bench-store/";
  std::filesystem::remove_all(programFolder);
  std::filesystem::create_directories(programFolder);
  sys::FileSystem& fs = sys::realFileSystem();
  installs::Store store(fs, programFolder);
  store.openList();
  std::vector<std::string> names;
  for (int i = 0; i < 300; ++i) {
    names.push_back("Пак " + std::to_string(i));
    store.ensureInstallation(names.back());
    std::vector<std::string> files;
    for (int k = 0; k < 20; ++k) files.push_back(lines[static_cast<std::size_t>(i * 20 + k) * 13 % lines.size()]);
    fs.writeLines(store.filesPath(names.back()), files);
  }
  store.saveList(names);
  start = std::chrono::steady_clock::now();
  const auto replaced = installs::ReplacedFiles::read(store);
  const double readMs = bench::secondsSince(start) * 1000;
  start = std::chrono::steady_clock::now();
  std::size_t marked = 0;
  for (std::size_t row = 0; row < list.size(); ++row) marked += replaced.installationOf(list.path(row)) != nullptr;
  std::printf("replaced rows: %zu game files of 300 installations read in %.1f ms; %zu of %zu rows marked in %.1f ms\n",
              replaced.size(), readMs, marked, list.size(), bench::secondsSince(start) * 1000);
  std::filesystem::remove_all(programFolder);
  return 0;
}
