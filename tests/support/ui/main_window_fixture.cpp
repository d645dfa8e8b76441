#include "support/ui/main_window_fixture.h"

#include <QLabel>

#include "sys/paths.h"

namespace testing_support {

MainWindowFixture::MainWindowFixture() {
  makeFolder(temp / "program");
  makeFolder(temp / "exe");
  makeFolder(gameFolder());
  registry = std::make_unique<sys::HiveFileRegistry>(temp / "hive.reg");
}

MainWindowFixture::~MainWindowFixture() {
  help.reset();
  utils.reset();
  command.reset();
  install.reset();
  runMenu.reset();
  listInfo.reset();
  options.reset();
  form1.reset();
}

std::string MainWindowFixture::programFolder() const { return temp / "program" + sys::kSep; }

void MainWindowFixture::storeSettings() {
  registry->writeValues("\\Software\\Varnikit", {{"CSDir", gameFolder()},
                                                  {"FilePath", programFolder()},
                                                  {"FilesListDir", programFolder() + "fileslist.dat"},
                                                  {"FilesInfoDir", programFolder() + "filesinfo.dat"},
                                                  {"ListUpdate", "1"},
                                                  {"AddFilesType", "2"}});
}

void MainWindowFixture::createWindows() {
  const Platform platform{fs, *registry, shell, windows, clock, temp / "exe" + sys::kSep, &ui};
  form1 = std::make_unique<TForm1>(platform);
  TForm1::Windows w;
  options = std::make_unique<TOptions>(*form1);
  w.options = options.get();
  listInfo = std::make_unique<TListInfo>(*form1);
  w.listInfo = listInfo.get();
  runMenu = std::make_unique<TRunMenu>(*form1);
  w.runMenu = runMenu.get();
  install = std::make_unique<Tinstall>(*form1);
  w.install = install.get();
  command = std::make_unique<Tcommand>(*form1);
  w.command = command.get();
  utils = std::make_unique<Tutils>(*form1);
  w.utils = utils.get();
  help = std::make_unique<THelp>(*form1);
  w.help = help.get();
  form1->setWindows(w);
}

std::string MainWindowFixture::gameFile(const std::string& relative, const std::string& bytes) {
  const std::string path = gameFolder() + sys::kSep + native(relative);
  writeBytes(path, bytes);
  return path;
}

QString MainWindowFixture::statusText() const {
  return form1->findChild<QLabel*>("statusbar")->text();
}

}  // namespace testing_support
