#include "catalogue/scan.h"

#include <memory>
#include <set>

#include "app/program.h"
#include "sys/clock.h"
#include "sys/encoding.h"
#include "sys/paths.h"

namespace catalogue {
namespace {

// Creates the catalogue file only when the first line comes.
class CatalogueSink final : public sys::LineSink {
 public:
  CatalogueSink(sys::FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  void write(const std::string& line) override {
    if (!sink_) sink_ = fs_.createLineSink(path_);
    sink_->write(line);
  }
  void flush() override {
    if (sink_) sink_->flush();
  }
  void close() override {
    if (sink_) sink_->close();
  }

 private:
  sys::FileSystem& fs_;
  std::string path_;
  std::unique_ptr<sys::LineSink> sink_;
};

bool isSkipped(const std::string& name) { return name.empty() || name == "." || name == ".." || name == "..."; }

}  // namespace

bool fitsOnOneLine(std::string_view path) {
  return path.find_first_of("\r\n") == std::string_view::npos && sys::isValidUtf8(path);
}

std::string leftOutLogText(std::size_t count) {
  return "При поиске файлов (процедура \"FindFiles\") пропущено " + std::to_string(count) +
         " файлов: имя содержит перевод строки или не является текстом";
}

std::string loopsCutLogText(std::size_t count) {
  return "При поиске файлов (процедура \"FindFiles\") пропущено " + std::to_string(count) +
         " папок: ссылка ведёт в уже просмотренную папку (петля)";
}

namespace {

using Visited = std::set<sys::FolderIdentity>;

// Whether the scan may enter the folder: the first time only. A real folder whose identity cannot be
// read is entered (it cannot loop by itself); a link whose target cannot be told is not.
bool firstVisit(sys::FileSystem& fs, const std::string& path, bool throughLink, Visited& visited) {
  const auto identity = fs.folderIdentity(path);
  if (!identity) return !throughLink;
  return visited.insert(*identity).second;
}

void findFiles(sys::FileSystem& fs, const std::string& folder, sys::LineSink& sink, ScanResult& result,
               const std::function<void()>& tick, Visited& visited) {
  tick();
  if (folder.empty()) return;
  fs.enumerate(folder, [&](const sys::DirEntry& entry) {
    if (isSkipped(entry.name)) return;
    const std::string path = folder + sys::kSep + entry.name;
    switch (entry.kind) {
      case sys::EntryKind::Folder:
      case sys::EntryKind::FolderLink:
        if (firstVisit(fs, path, entry.kind == sys::EntryKind::FolderLink, visited)) {
          findFiles(fs, path, sink, result, tick, visited);
        } else {
          ++result.loopsCut;
        }
        break;
      case sys::EntryKind::File:
      case sys::EntryKind::Other:
        if (fitsOnOneLine(path)) {
          sink.write(path);
          ++result.files;
        } else {
          ++result.leftOut;
        }
        break;
    }
    tick();
  });
}

}  // namespace

void FindFiles(sys::FileSystem& fs, const std::string& folder, sys::LineSink& sink, ScanResult& result,
               const std::function<void()>& tick) {
  Visited visited;
  if (!folder.empty()) firstVisit(fs, folder, false, visited);
  findFiles(fs, folder, sink, result, tick, visited);
}

ScanResult scanGameFolder(sys::FileSystem& fs, const std::string& gameFolder, const std::string& catalogue,
                          const std::function<void()>& tick) {
  fs.removeFile(catalogue);
  ScanResult result;
  CatalogueSink sink(fs, catalogue);
  FindFiles(fs, gameFolder, sink, result, tick);
  sink.close();
  return result;
}

void FindFilesList(app::Program& program) {
  auto& settings = program.settings;
  app::Ui& ui = program.ui();
  ScanResult result;
  // Whatever the scan leaves, cut off part-way included, lists only this folder.
  program.catalogueScanned();
  {
    app::BusyScope busy(program, kScanning);
    // Handing the events over at every entry would cost more than the scan itself; every 64th is
    // often enough for the window to repaint.
    unsigned ticks = 0;
    result = scanGameFolder(program.fs(), settings.CSDir, settings.FilesListDir, [&] {
      if ((++ticks & 63) == 0) ui.processEvents();
    });
  }
  program.Status(kScanFinished, 0);
  // On record, without a box: the count below tells what was listed.
  const auto log = [&](const std::string& text) {
    program.fs().appendLine(program.errorLogPath(), sys::dateTime(program.services().clock.now()) + ": " + text);
  };
  if (result.leftOut > 0) log(leftOutLogText(result.leftOut));
  if (result.loopsCut > 0) log(loopsCutLogText(result.loopsCut));
  ui.messageBox(kScanFinished, foundText(result.files), app::Icon::Information, app::Buttons::Ok);
  settings.FilesListDate = program.todayText();
  program.WriteRegistry();
  program.Status("", 0);
}

}  // namespace catalogue
