// The file list page filled from a 100,000-line catalogue with 300 description records, to a painted
// page; the whole program's peak memory; scrolling to the end; and, on the same data, the description of
// every line worked out by reading the descriptions file afresh for each line, for the ratio.
//
//   build/bench/grid_fill_bench [lines] [records]      (defaults 100000 and 300)
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "app/ui/TForm1.h"
#include "bench_support.h"
#include "catalogue/descriptions.h"
#include "catalogue/files_list.h"
#include "catalogue/ui/FilesListPage.h"
#include "sys/clock.h"
#include "sys/paths.h"
#include "sys/registry.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

long peakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int records = argc > 2 ? std::atoi(argv[2]) : 300;
  QApplication application(argc, argv);

  const fs::path work = fs::temp_directory_path() / ("varnikit-grid-bench-" + std::to_string(getpid()));
  const fs::path program = work / "program";
  const std::string game = (work / "game/cstrike").string();
  fs::create_directories(program);
  fs::create_directories(work / "exe");
  fs::create_directories(game);
  bench::writeGridData(program, game, lines, records);
  const std::string programFolder = program.string() + sys::kSep;
  sys::HiveFileRegistry registry((work / "hive.reg").string());
  registry.writeValues("\\Software\\Varnikit", {{"CSDir", game},
                                                {"FilePath", programFolder},
                                                {"FilesListDir", programFolder + "fileslist.dat"},
                                                {"FilesInfoDir", programFolder + "filesinfo.dat"},
                                                {"ListUpdate", "1"},
                                                {"AddFilesType", "2"}});
  bench::UnattendedUi quiet;
  bench::NoShell shell;
  bench::NoWindows windows;
  const Platform platform{sys::realFileSystem(), registry, shell, windows, sys::systemClock(),
                          (work / "exe").string() + sys::kSep, &quiet};

  TForm1 form1(platform);
  form1.show();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  const long before = peakKb();
  QTableView* grid = form1.filesListPage()->grid();

  // Showing the page fills it; then one synchronous paint.
  auto start = Clock::now();
  form1.pages()->setCurrentIndex(1);
  grid->viewport()->repaint();
  QApplication::processEvents();
  const double firstFill = msSince(start);
  const int rows = grid->model()->rowCount();

  std::vector<double> refills;
  for (int round = 0; round < 5; ++round) {
    start = Clock::now();
    form1.filesListPage()->FilesListShow();
    grid->viewport()->repaint();
    refills.push_back(msSince(start));
  }
  std::sort(refills.begin(), refills.end());

  start = Clock::now();
  grid->scrollToBottom();
  grid->viewport()->repaint();
  const double scroll = msSince(start);
  const QString lastNumber = grid->model()->index(rows - 1, 0).data().toString();
  const long after = peakKb();

  // The same descriptions for every line: read once and applied to all (what an eager fill would do) ...
  sys::FileSystem& files = sys::realFileSystem();
  const auto catalogueLines = files.readLines(programFolder + "fileslist.dat");
  start = Clock::now();
  const auto once = catalogue::readDescriptions(files, programFolder + "filesinfo.dat");
  std::size_t onceBytes = 0;
  for (const auto& line : catalogueLines) onceBytes += catalogue::describeForGrid(once, line).size();
  const double readOnce = msSince(start);
  // ... and read afresh for every line.
  start = Clock::now();
  std::size_t everyBytes = 0;
  for (const auto& line : catalogueLines) {
    everyBytes += catalogue::describeForGrid(catalogue::readDescriptions(files, programFolder + "filesinfo.dat"), line).size();
  }
  const double readEvery = msSince(start);

  // No box is expected while the page fills.
  if (quiet.boxes > 0) std::fprintf(stderr, "%d message boxes came up\n", quiet.boxes);
  std::printf("catalogue %d lines, %d description records; grid rows %d, last row number %s\n", lines, records, rows,
              lastNumber.toUtf8().constData());
  std::printf("first showing of the page, filled and painted: %8.1f ms\n", firstFill);
  std::printf("refill + paint (median of 5):                  %8.1f ms\n", refills[2]);
  std::printf("scroll to the end + paint:                     %8.1f ms\n", scroll);
  std::printf("peak memory of the program: %ld KB before the fill, %ld KB after\n", before, after);
  std::printf("descriptions of all lines, file read once:     %8.1f ms\n", readOnce);
  std::printf("descriptions of all lines, file read per line: %8.1f ms  (%s)\n", readEvery,
              onceBytes == everyBytes ? "same texts" : "TEXTS DIFFER");
  std::printf("ratio per-line re-read / page fill:            %8.0f\n", readEvery / refills[2]);
  form1.hide();
  fs::remove_all(work);
  return 0;
}
