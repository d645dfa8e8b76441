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
#include <random>

#include "app/ui/TForm1.h"
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

// No box is expected while the page fills; any that comes is printed.
class QuietUi final : public app::Ui {
 public:
  app::Answer messageBox(const std::string& caption, const std::string& text, app::Icon, app::Buttons) override {
    std::fprintf(stderr, "box: %s / %s\n", caption.c_str(), text.c_str());
    return app::Answer::Ok;
  }
  std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string&) override { return {}; }
  std::vector<std::string> chooseFiles(const app::FileRequest&) override { return {}; }
  std::optional<std::string> chooseFolder(const std::string&, const std::string&) override { return {}; }
  void processEvents() override {}
  void setStatusText(const std::string&) override {}
  void setBusy(bool) override {}
  void setMainWindowEnabled(bool) override {}
  void focusMainWindow() override {}
};

class NoShell final : public sys::Shell {
 public:
  void open(const std::string&, const std::string&, const std::string&, sys::ShowCommand) override {}
};

class NoWindows final : public sys::WindowFinder {
 public:
  bool exists(const std::string&) override { return false; }
};

void writeData(const fs::path& program, const std::string& game, int lines, int records) {
  std::mt19937 random(1374);
  const char* folders[] = {"models", "player", "sound", "weapons", "maps", "sprites", "gfx", "radio", "events", "env"};
  const char* extensions[] = {".mdl", ".wav", ".spr", ".bsp", ".txt", ".wad", ".res", ".tga", ".sc", ".dll"};
  std::vector<std::string> catalogue;
  catalogue.reserve(lines);
  for (int i = 0; i < lines; ++i) {
    std::string path = game;
    const int depth = 1 + static_cast<int>(random() % 5);
    for (int d = 0; d < depth; ++d) path += sys::kSep + std::string(folders[random() % 10]);
    path += sys::kSep + ("file" + std::to_string(i) + extensions[random() % 10]);
    catalogue.push_back(std::move(path));
  }
  std::vector<std::string> descriptions;
  for (int r = 0; r < records; ++r) {
    // The usual kinds described again and again, and many rarer keys that match little or nothing.
    descriptions.push_back(r < 40 ? extensions[r % 10] : ".x" + std::to_string(r));
    descriptions.push_back("Описание номер " + std::to_string(r));
  }
  sys::realFileSystem().writeLines((program / "fileslist.dat").string(), catalogue);
  sys::realFileSystem().writeLines((program / "filesinfo.dat").string(), descriptions);
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
  writeData(program, game, lines, records);
  const std::string programFolder = program.string() + sys::kSep;
  sys::HiveFileRegistry registry((work / "hive.reg").string());
  registry.writeValues("\\Software\\Varnikit", {{"CSDir", game},
                                                {"FilePath", programFolder},
                                                {"FilesListDir", programFolder + "fileslist.dat"},
                                                {"FilesInfoDir", programFolder + "filesinfo.dat"},
                                                {"ListUpdate", "1"},
                                                {"AddFilesType", "2"}});
  QuietUi quiet;
  NoShell shell;
  NoWindows windows;
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
