#include "catalogue/scan.h"

#include <memory>

#include "app/program.h"
#include "sys/clock.h"
#include "sys/paths.h"

namespace catalogue {

std::string foundText(std::size_t count) { return "Найдено " + std::to_string(count) + " файлов"; }

void FindFiles(sys::FileSystem& fs, const std::string& folder, sys::LineSink& sink, ScanResult& result,
               const std::function<void()>& tick) {
  tick();
  if (folder.empty()) return;
  fs.enumerate(folder, [&](const sys::DirEntry& entry) {
    if (entry.name.empty() || entry.name == "." || entry.name == ".." || entry.name == "...") return;
    const std::string path = folder + sys::kSep + entry.name;
    switch (entry.kind) {
      case sys::EntryKind::Folder:
        FindFiles(fs, path, sink, result, tick);
        break;
      case sys::EntryKind::FolderLink:
        break;  // following links could loop forever
      case sys::EntryKind::File:
      case sys::EntryKind::Other:
        if (path.find_first_of("\r\n") != std::string::npos) {
          ++result.leftOut;
        } else {
          sink.write(path);
          ++result.files;
        }
        break;
    }
    tick();
  });
}

ScanResult scanGameFolder(sys::FileSystem& fs, const std::string& gameFolder, const std::string& catalogue,
                          const std::function<void()>& tick) {
  fs.removeFile(catalogue);
  ScanResult result;
  std::unique_ptr<sys::LineSink> sink;
  // The file is created with the first line, so a game folder without files leaves no catalogue.
  class LazySink final : public sys::LineSink {
   public:
    LazySink(sys::FileSystem& fs, const std::string& path) : fs_(fs), path_(path) {}
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
  } lazy(fs, catalogue);
  FindFiles(fs, gameFolder, lazy, result, tick);
  lazy.close();
  return result;
}

void FindFilesList(app::Program& program) {
  auto& settings = program.settings;
  app::Ui& ui = program.ui();
  ScanResult result;
  {
    app::BusyScope busy(program, kScanning);
    // Repainting on every entry would cost more than the scan itself; every 64th is plenty.
    unsigned ticks = 0;
    result = scanGameFolder(program.fs(), settings.CSDir, settings.FilesListDir, [&] {
      if ((++ticks & 63) == 0) ui.processEvents();
    });
  }
  program.Status(kScanFinished, 0);
  if (result.leftOut > 0) {
    program.fs().appendLine(program.errorLogPath(),
                            sys::dateTime(program.services().clock.now()) + ": При поиске файлов пропущено " +
                                std::to_string(result.leftOut) + " файлов с переводом строки в имени");
  }
  ui.messageBox(kScanFinished, foundText(result.files), app::Icon::Information, app::Buttons::Ok);
  settings.FilesListDate = program.todayText();
  program.WriteRegistry();
  program.Status("", 0);
}

}  // namespace catalogue
