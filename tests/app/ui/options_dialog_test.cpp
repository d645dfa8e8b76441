#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include "app/detect.h"
#include "catalogue/ui/FilesListPage.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::makeFolder;
using testing_support::MainWindowFixture;
using testing_support::writeBytes;

// HOME pointed at a folder of the test for as long as it lives.
class ScopedHome {
 public:
  explicit ScopedHome(const std::string& home) : old_(qgetenv("HOME")), had_(qEnvironmentVariableIsSet("HOME")) {
    qputenv("HOME", QByteArray::fromStdString(home));
  }
  ~ScopedHome() {
    if (had_) {
      qputenv("HOME", old_);
    } else {
      qunsetenv("HOME");
    }
  }

 private:
  QByteArray old_;
  bool had_;
};

class OptionsDialog : public MainWindowFixture {
 protected:
  // A configured program with a catalogue, so the main window's activation asks nothing.
  void startConfigured() {
    storeSettings();
    writeBytes(programFolder() + "fileslist.dat", "");
    createWindows();
  }
  void showOptions() {
    options->show();
    ASSERT_TRUE(options->isVisible());
  }
  std::string stored(const std::string& name) { return registry->readValues("\\Software\\Varnikit", {name})->at(0); }
};

TEST_F(OptionsDialog, ControlsCarryTheirNamesCaptionsAndHints) {
  startConfigured();
  EXPECT_EQ(options->windowTitle(), "Настройки");
  EXPECT_EQ(options->size(), QSize(338, 330));
  EXPECT_EQ(options->minimumSize(), options->maximumSize()) << "fixed size";
  const struct {
    const char* name;
    QString caption;
    QString hint;
  } buttons[] = {
      {"Button1", "&OK", ""},
      {"Button2", "Обновить", "Последнее обновление: "},
      {"Button3", "&Выход", ""},
      {"Button4", "Определить автоматически", "Попробовать определить папку игры\r\nи файл для запуска игры автоматически"},
      {"Button5", "Проверить", "Проверить правильность ввода данных"},
  };
  options->show();
  for (const auto& b : buttons) {
    auto* button = options->findChild<QPushButton*>(b.name);
    ASSERT_NE(button, nullptr) << b.name;
    EXPECT_EQ(button->text(), b.caption) << b.name;
    EXPECT_EQ(button->toolTip(), b.hint) << b.name;
    EXPECT_FALSE(button->accessibleName().isEmpty()) << b.name;
  }
  EXPECT_EQ(options->findChild<QGroupBox*>("GroupBox1")->title(), "Информация об игре");
  EXPECT_EQ(options->findChild<QGroupBox*>("GroupBox2")->title(), "Список файлов");
  const char* radios[][2] = {{"Update1", "Не обновлять автоматически"},
                             {"Update2", "Обновлять при запуске"},
                             {"Update3", "Обновлять раз в день"},
                             {"Update4", "Обновлять раз в месяц"}};
  int top = -1;
  for (const auto& r : radios) {
    auto* radio = options->findChild<QRadioButton*>(r[0]);
    ASSERT_NE(radio, nullptr) << r[0];
    EXPECT_EQ(radio->text(), r[1]);
    EXPECT_GT(radio->y(), top) << "top to bottom in order";
    top = radio->y();
  }
  const char* fields[][2] = {{"AHMLookupEdit1", "Папка игры"}, {"AHMLookupEdit2", "Запуск игры"}, {"Edit1", "Параметры запуска"}};
  for (const auto& f : fields) {
    auto* field = options->findChild<QLineEdit*>(f[0]);
    ASSERT_NE(field, nullptr) << f[0];
    EXPECT_EQ(field->accessibleName(), f[1]);
    bool labelled = false;
    for (auto* label : options->findChildren<QLabel*>()) labelled |= label->buddy() == field && label->text() == f[1];
    EXPECT_TRUE(labelled) << f[0];
  }
  EXPECT_NE(options->findChild<QToolButton*>("AHMLookupEdit1Button1"), nullptr);
  EXPECT_NE(options->findChild<QToolButton*>("AHMLookupEdit2Button1"), nullptr);
  EXPECT_EQ(options->findChild<QLabel*>("Label4")->text(), "Последнее обновление: ");
}

TEST_F(OptionsDialog, FirstStartAsksForTheFolderAndClosingWithoutOneEndsTheProgram) {
  createWindows();
  ui.expectAttention("Папка с игрой не указана. Укажите папку с игрой");
  form1->show();
  QApplication::processEvents();  // the activation step finds no game folder and opens the dialog
  ASSERT_TRUE(options->isVisible());
  EXPECT_FALSE(form1->isEnabled());
  EXPECT_EQ(statusText(), "открыто окно настроек");
  EXPECT_EQ(options->AHMLookupEdit1->text(), "");
  EXPECT_EQ(options->AHMLookupEdit2->text(), "");
  EXPECT_EQ(options->Edit1->text(), "");
  EXPECT_TRUE(options->Update2->isChecked());
  EXPECT_EQ(options->Label5->text(), "неизвестно");
  EXPECT_FALSE(options->Button2->isEnabled());

  ui.expectError("Папка игры указана неверно");
  options->Button3Click();
  EXPECT_FALSE(options->isVisible());
  EXPECT_FALSE(form1->isVisible()) << "the main window closed: the program ends";
}

TEST_F(OptionsDialog, OkStoresTheFieldsWithoutTrailingSeparatorsAndEnablesTheMainWindow) {
  gameFile("liblist.gam");
  startConfigured();
  showOptions();
  EXPECT_FALSE(form1->isEnabled());
  EXPECT_TRUE(options->Button2->isEnabled());
  const std::string sep = sys::kSep;
  options->AHMLookupEdit1->setText(QString::fromStdString(gameFolder() + sep + sep));
  options->AHMLookupEdit2->setText(" hl.exe ");
  options->Edit1->setText("-game cstrike");
  options->Update4->setChecked(true);
  options->Button1Click();
  EXPECT_FALSE(options->isVisible());
  EXPECT_EQ(form1->program().settings.CSDir, gameFolder());
  EXPECT_EQ(stored("CSDir"), gameFolder());
  EXPECT_EQ(stored("CSFile"), " hl.exe ") << "as typed";
  EXPECT_EQ(stored("RunParam"), "-game cstrike");
  EXPECT_EQ(stored("ListUpdate"), "4");
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
}

TEST_F(OptionsDialog, OkWithAFolderThatDoesNotExistSavesItAndEndsTheProgram) {
  startConfigured();
  form1->show();
  QApplication::processEvents();
  showOptions();
  options->AHMLookupEdit1->setText(QString::fromStdString(temp / "nowhere"));
  ui.expectError("Папка игры указана неверно");
  options->Button1Click();
  EXPECT_EQ(stored("CSDir"), temp / "nowhere");
  EXPECT_FALSE(form1->isVisible());
}

TEST_F(OptionsDialog, ShowReloadsTheStoredSettingsAndLeavesRadiosForAnUnknownSchedule) {
  gameFile("liblist.gam");
  storeSettings();
  registry->writeValues("\\Software\\Varnikit", {{"ListUpdate", "7"}, {"FilesListDate", "05.03.2003"},
                                                  {"CSFile", "/games/hl.sh"}, {"RunParam", "-console"}});
  writeBytes(programFolder() + "fileslist.dat", "");
  createWindows();
  form1->program().settings.CSFile = "changed in memory";
  options->Update3->setChecked(true);
  showOptions();
  EXPECT_EQ(options->AHMLookupEdit1->text().toStdString(), gameFolder());
  EXPECT_EQ(options->AHMLookupEdit2->text(), "/games/hl.sh");
  EXPECT_EQ(options->Edit1->text(), "-console");
  EXPECT_TRUE(options->Update3->isChecked()) << "\"7\" names no button";
  EXPECT_EQ(options->Label5->text(), "05.03.2003");
  EXPECT_EQ(options->Button2->toolTip(), "Последнее обновление: 05.03.2003");
  options->Button1Click();
  EXPECT_EQ(stored("ListUpdate"), "3");
}

TEST_F(OptionsDialog, ExitDiscardsTheFields) {
  startConfigured();
  showOptions();
  options->AHMLookupEdit2->setText("/somewhere/else");
  options->Button3Click();
  EXPECT_FALSE(options->isVisible());
  EXPECT_EQ(form1->program().settings.CSFile, "");
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(OptionsDialog, CheckReportsTheFirstFaultAndFocusesItsField) {
  gameFile("liblist.gam");
  startConfigured();
  showOptions();
  const std::string launcher = gameFile("../hl.exe");
  const struct {
    std::string folder, launcher, caption, text;
    QLineEdit* focus;
  } cases[] = {
      {temp / "nowhere", "", "Ошибка", "Папка игры указана неверно", options->AHMLookupEdit1},
      {gameFolder(), temp / "none.exe", "Ошибка", "Файл для запуска игры указан неверно", options->AHMLookupEdit2},
      {gameFolder(), "", "Внимание", "Все данные введены правильно", nullptr},
      {gameFolder(), launcher, "Внимание", "Все данные введены правильно", nullptr},
  };
  for (const auto& c : cases) {
    options->Edit1->setFocus();
    options->AHMLookupEdit1->setText(QString::fromStdString(c.folder));
    options->AHMLookupEdit2->setText(QString::fromStdString(c.launcher));
    ui.expectMessage(c.caption, c.text);
    options->Button5Click();
    if (c.focus) {
      EXPECT_EQ(options->focusWidget(), c.focus) << c.text;
    }
  }
  options->Button3Click();
  EXPECT_EQ(form1->program().settings.CSFile, "") << "nothing saved";
}

TEST_F(OptionsDialog, AutoDetectionFillsOnlyWhatItFinds) {
  startConfigured();
  const std::string home = temp / "home";
  makeFolder(home);
  ScopedHome scopedHome(home);
  showOptions();
  options->AHMLookupEdit1->setText("typed folder");
  options->AHMLookupEdit2->setText("typed launcher");
  options->Edit1->setText("typed params");

  ui.expectAttention("Информация не найдена");
  options->Button4Click();
  EXPECT_EQ(options->AHMLookupEdit1->text(), "typed folder");
  EXPECT_EQ(options->AHMLookupEdit2->text(), "typed launcher");
  EXPECT_EQ(options->Edit1->text(), "typed params");

  // The game key names a folder that holds only the launcher.
  const std::string base = temp / "Valve/Half-Life";
  const std::string launcher = base + sys::kSep + app::launcherNames().front();
  writeBytes(launcher, "");
  registry->writeValues(app::kGameKey, {{"InstallPath", base}});
  ui.expectAttention("Папка игры не найдена");
  options->Button4Click();
  EXPECT_EQ(options->AHMLookupEdit1->text(), "typed folder");
  EXPECT_EQ(options->AHMLookupEdit2->text().toStdString(), launcher);
  EXPECT_EQ(options->Edit1->text(), "-game cstrike -dev -console");

  std::filesystem::remove(sys::toPath(launcher));
  writeBytes(base + sys::kSep + "cstrike" + sys::kSep + "liblist.gam", "");
  options->Edit1->setText("typed params");
  ui.expectAttention("Файл для запуска игры не найден");
  options->Button4Click();
  EXPECT_EQ(options->AHMLookupEdit1->text().toStdString(), base + sys::kSep + "cstrike");
  EXPECT_EQ(options->Edit1->text(), "typed params");

  writeBytes(launcher, "");
  ui.expectAttention("Информация найдена");
  options->Button4Click();
  EXPECT_EQ(options->AHMLookupEdit2->text().toStdString(), launcher);
  EXPECT_EQ(form1->program().settings.CSFile, "") << "nothing reaches the settings before OK";
}

#ifndef _WIN32
TEST_F(OptionsDialog, AutoDetectionFindsANativeSteamInstall) {
  startConfigured();
  const std::string home = temp / "home";
  const std::string library = temp / "SteamLibrary";
  writeBytes(home + "/.local/share/Steam/steamapps/libraryfolders.vdf",
             "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + library + "\"\n\t}\n}\n");
  const std::string game = library + "/steamapps/common/Half-Life";
  writeBytes(game + "/cstrike/liblist.gam", "");
  writeBytes(game + "/hl.sh", "#!/bin/sh\n");
  ScopedHome scopedHome(home);
  showOptions();
  ui.expectAttention("Информация найдена");
  options->Button4Click();
  EXPECT_EQ(options->AHMLookupEdit1->text().toStdString(), game + "/cstrike");
  EXPECT_EQ(options->AHMLookupEdit2->text().toStdString(), game + "/hl.sh");
  EXPECT_EQ(options->Edit1->text(), "-game cstrike -dev -console");
}
#endif

TEST_F(OptionsDialog, BrowseButtonsFillTheirFields) {
  startConfigured();
  showOptions();
  const std::string chosen = temp / "other/cstrike";
  makeFolder(chosen);
  ui.expectFolder("Укажите папку с игрой", chosen);
  options->AHMLookupEdit1Button1->click();
  EXPECT_EQ(options->AHMLookupEdit1->text().toStdString(), chosen);
  ui.expectFolder("Укажите папку с игрой", std::nullopt);
  options->AHMLookupEdit1Button1->click();
  EXPECT_EQ(options->AHMLookupEdit1->text().toStdString(), chosen) << "a cancel changes nothing";

  ui.expectFiles("Укажите файл для запуска игры", {temp / "other/hl.sh"});
  options->AHMLookupEdit2Button1->click();
  EXPECT_EQ(options->AHMLookupEdit2->text().toStdString(), temp / "other/hl.sh");
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].initialFolder, temp / "other") << "beside the game folder, where its launcher lies";
  EXPECT_EQ(ui.fileRequests[0].filters, app::launcherFilters());
  EXPECT_FALSE(ui.fileRequests[0].multiple);
}

TEST_F(OptionsDialog, RefreshScansTheStoredFolderIgnoringTheEditedFieldAndShowsThePage) {
  const std::string a = gameFile("models/a.mdl");
  const std::string b = gameFile("sound/b.wav");
  const std::string other = temp / "other";
  for (const char* name : {"x", "y", "z"}) writeBytes(other + sys::kSep + name, "");
  startConfigured();
  showOptions();
  options->AHMLookupEdit1->setText(QString::fromStdString(other));
  ui.expectMessage("Поиск файлов завершен", "Найдено 2 файлов");
  options->Button2Click();
  EXPECT_FALSE(options->isVisible());
  EXPECT_EQ(form1->pages()->currentIndex(), 1);
  EXPECT_EQ(form1->program().settings.CSDir, gameFolder());
  auto lines = fs.readLines(programFolder() + "fileslist.dat");
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{a, b}));
  EXPECT_EQ(form1->filesListPage()->grid()->model()->rowCount(), 2) << "the page shows the new catalogue";
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_FALSE(form1->ui().busy());
}

TEST_F(OptionsDialog, RefreshIsTheOnlyScanEvenWhenTheScheduleIsStillPending) {
  gameFile("models/a.mdl");
  storeSettings();
  registry->writeValues("\\Software\\Varnikit", {{"ListUpdate", "2"}});
  createWindows();
  // First activation: no catalogue yet, so it is announced and built.
  ui.expectAttention("Необходимо произвести поиск файлов в папке с игрой");
  ui.expectMessage("Поиск файлов завершен", "Найдено 1 файлов");
  form1->show();
  QApplication::processEvents();
  form1->program().ListUpdatePending = true;  // the schedule pending again, as after the console's "oncreate"
  showOptions();
  ui.expectMessage("Поиск файлов завершен", "Найдено 1 файлов");  // exactly one report
  options->Button2Click();
  QApplication::processEvents();
  EXPECT_FALSE(form1->program().ListUpdatePending);
  // A later activation finds nothing left to scan.
  listInfo->show();
  listInfo->close();
  QApplication::processEvents();
  EXPECT_TRUE(ui.allAnswered());
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(OptionsDialog, RefreshWithoutAStoredFolderSaysSoAndStaysOpen) {
  createWindows();
  ui.expectAttention("Папка с игрой не указана. Укажите папку с игрой");
  showOptions();
  options->AHMLookupEdit1->setText(QString::fromStdString(gameFolder()));
  ui.expectError("Укажите папку с игрой");
  options->Button2Click();
  EXPECT_TRUE(options->isVisible());
  EXPECT_EQ(form1->pages()->currentIndex(), 0);
}

}  // namespace
