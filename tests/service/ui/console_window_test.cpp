#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QTest>

#include "service/variables.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::fileExists;
using testing_support::MainWindowFixture;
using testing_support::readBytes;
using testing_support::writeBytes;

class ConsoleWindow : public MainWindowFixture {
 protected:
  void SetUp() override {
    storeSettings();
    writeBytes(programFolder() + "fileslist.dat", "");  // a catalogue, so activations stay quiet
    createWindows();
  }
  void open() { form1->N18Click(); }
  // Types the line key by key and presses Enter.
  void type(const QString& line) {
    QTest::keyClicks(command->Edit1, line);
    QTest::keyClick(command->Edit1, Qt::Key_Return);
  }
  QStringList output() const {
    QStringList lines;
    for (int i = 0; i < command->ListBox1->count(); ++i) lines << command->ListBox1->item(i)->text();
    return lines;
  }
};

TEST_F(ConsoleWindow, OpensOverADisabledMainWindowAndGivesItBackOnClose) {
  open();
  EXPECT_TRUE(command->isVisible());
  EXPECT_EQ(command->windowTitle(), "Командная строка");
  EXPECT_FALSE(form1->isEnabled());
  EXPECT_EQ(statusText(), "командная строка...");
  command->close();
  EXPECT_FALSE(command->isVisible());
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
}

TEST_F(ConsoleWindow, TypedCapitalsBecomeLowerCaseAndTheCommandRuns) {
  open();
  form1->program().settings.CSDir = "changed in memory";
  QTest::keyClicks(command->Edit1, "READREG");
  EXPECT_EQ(command->Edit1->text(), "readreg");
  QTest::keyClick(command->Edit1, Qt::Key_Return);
  EXPECT_EQ(output(), QStringList{"Переменные загружены из реестра"});
  EXPECT_EQ(form1->program().settings.CSDir, gameFolder());
  EXPECT_EQ(command->Edit1->text(), "") << "the line is emptied after every Enter";

  command->Edit1->insert("ДАТА");  // pasted text too
  EXPECT_EQ(command->Edit1->text(), "дата");
}

TEST_F(ConsoleWindow, FileDirQuotesTheFolderWithItsTrailingSeparator) {
  open();
  type("filedir");
  EXPECT_EQ(output(), QStringList{QString::fromStdString("filedir='" + programFolder() + "'")});
  EXPECT_TRUE(programFolder().ends_with(sys::kSep));
}

TEST_F(ConsoleWindow, LeadingBlankIsAnUnknownCommandAndAnEmptyLineDoesNothing) {
  open();
  type(" date");
  type("");
  EXPECT_EQ(output(), QStringList{"Имя команды указано неправильно"});
}

TEST_F(ConsoleWindow, DateThenShowMsgShowsTheDateUnderInformation) {
  open();
  type("date");
  ui.expectMessage("Информация", "07.03.2003");
  type("showmsg");
  EXPECT_EQ(output(), QStringList{"07.03.2003"});
}

TEST_F(ConsoleWindow, EverySecondOpeningStartsEmptyAndClearEmptiesTheList) {
  open();
  type("time");
  type("date");
  type("clear");
  EXPECT_TRUE(output().isEmpty());
  type("time");
  QTest::keyClicks(command->Edit1, "half typ");
  command->close();
  open();
  EXPECT_TRUE(output().isEmpty());
  EXPECT_EQ(command->Edit1->text(), "");
}

TEST_F(ConsoleWindow, ClearVarThenVarShowsNineEmptyPairsOfQuotes) {
  open();
  type("clearvar");
  ui.expectMessage("Основные переменные",
                   "FileDir: \"\"\r\nCSDir: \"\"\r\nCSFile: \"\"\r\nCSRunParam: \"\"\r\nFilesListDate: \"\"\r\n"
                   "FilesListDir: \"\"\r\nFilesInfoDir: \"\"\r\nListUpdateType: \"\"\r\nAddFilesType: \"\"")
      .onNextMessage([&] { EXPECT_EQ(output().last(), "Вывод переменных") << "reported before the box"; });
  type("var");
  EXPECT_EQ(output(), (QStringList{"Значения переменных стёрты", "Вывод переменных"}));
  EXPECT_EQ(ui.icons.back(), app::Icon::None);
}

TEST_F(ConsoleWindow, ClearRegDeletesTheKeyButNotTheSettingsInMemory) {
  open();
  const app::Settings before = form1->program().settings;
  type("clearreg");
  EXPECT_FALSE(registry->readValues("\\Software\\Varnikit", {"CSDir"}));
  EXPECT_EQ(form1->program().settings, before);
  EXPECT_EQ(output(), QStringList{"Данные из реестра удалены"});
}

TEST_F(ConsoleWindow, ExitClosesTheProgramAndTheUtilityListIsWritten) {
  form1->show();
  open();
  auto& slot = form1->program().utilities[0];
  slot.name = "Config";
  slot.path = "/opt/config/config.exe";
  std::remove((programFolder() + "utilities.dat").c_str());
  type("exit");
  EXPECT_FALSE(form1->isVisible());
  EXPECT_FALSE(command->isVisible());
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "Config\r\n/opt/config/config.exe\r\n");
}

// With the settings emptied there is no program folder: closing must not drop "utilities.dat" into
// whatever folder the program was started from, nor overwrite a file of that name there.
TEST_F(ConsoleWindow, ExitAfterClearVarWritesNoUtilityListAnywhere) {
  const std::string workFolder = temp / "work";
  testing_support::makeFolder(workFolder);
  writeBytes(workFolder + sys::kSep + "utilities.dat", "someone else's file");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(sys::toPath(workFolder));
  form1->show();
  open();
  const std::string stored = readBytes(programFolder() + "utilities.dat");
  type("clearvar");
  type("exit");
  std::filesystem::current_path(previous);
  EXPECT_FALSE(form1->isVisible());
  EXPECT_EQ(readBytes(workFolder + sys::kSep + "utilities.dat"), "someone else's file");
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), stored);
}

TEST_F(ConsoleWindow, ErrorInACommandIsShownAndTheLineIsStillEmptied) {
  open();
  // "log" with the program folder gone: the box says so, nothing else breaks.
  form1->program().settings.FilePath = temp / "missing" + sys::kSep;
  ui.expectError("Log не найден");
  type("log");
  EXPECT_EQ(output(), QStringList{"Открытие log'а"});
  EXPECT_EQ(command->Edit1->text(), "");
}

TEST_F(ConsoleWindow, VarShowsTheSettingsInMemory) {
  open();
  const std::string folder = programFolder();
  ui.expectMessage("Основные переменные", "FileDir: \"" + folder + "\"\r\nCSDir: \"" + gameFolder() +
                                              "\"\r\nCSFile: \"\"\r\nCSRunParam: \"\"\r\nFilesListDate: \"\"\r\n"
                                              "FilesListDir: \"" + folder + "fileslist.dat\"\r\nFilesInfoDir: \"" +
                                              folder + "filesinfo.dat\"\r\nListUpdateType: \"1\"\r\nAddFilesType: \"2\"");
  type("var");
}

TEST_F(ConsoleWindow, ServiceMenuNoteAndVariablesFromTheMenu) {
  ui.expectAttention("Меню \"служебные\" помогает автору находить и исправлять ошибки в программе.\r\n"
                     "Просьба к людям, не участвующим в разработке, не использовать данное меню.");
  form1->findChild<QAction*>("N21")->trigger();
  form1->program().settings.CSFile = "/games/hl";
  ui.expectMessage("Основные переменные", service::variablesText(form1->program().settings));
  form1->findChild<QAction*>("N19")->trigger();
  EXPECT_NE(ui.prompts.back().text.find("CSFile: \"/games/hl\""), std::string::npos);
}

class ConsoleOnCreate : public ConsoleWindow {};

TEST_F(ConsoleOnCreate, HidesTheConsoleAndRunsTheStartUpAgain) {
  form1->show();
  open();
  auto& program = form1->program();
  program.ListUpdatePending = false;
  form1->setWindowTitle("something else");
  program.settings.RunParam = "-changed";
  // What start-up must pick up again: the stored settings, the run menu and the utility list.
  registry->writeValues("\\Software\\Varnikit", {{"CSDir", gameFolder()}, {"FilePath", programFolder()},
                                                  {"RunParam", "-game cstrike"}, {"ListUpdate", "1"}});
  std::string runMenu = "Counter-Strike\r\n/games/hl\r\n-game cstrike\r\n";
  for (int i = 0; i < 27; ++i) runMenu += "empty\r\n";
  writeBytes(programFolder() + "runmenu.dat", runMenu);
  writeBytes(programFolder() + "utilities.dat", "Config\r\n/opt/config/config.exe\r\n");

  type("oncreate");

  EXPECT_FALSE(command->isVisible());
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
  EXPECT_EQ(form1->windowTitle(), "Varnikit 1.0    |    build: 1374");
  EXPECT_EQ(program.settings.RunParam, "-game cstrike");
  EXPECT_EQ(program.settings.AddFilesType, "2") << "start-up defaults apply again";
  EXPECT_EQ(program.runMenu[0].name, "Counter-Strike");
  EXPECT_EQ(program.utilities[0].name, "Config");
  EXPECT_TRUE(program.ListUpdatePending);
  EXPECT_EQ(output(), QStringList{"Эмуляция запуска программы"}) << "added to the hidden console";

  open();
  EXPECT_TRUE(output().isEmpty());
}

// Start-up run a second time must not add a second menu, page, hook or connection.
TEST_F(ConsoleOnCreate, InstallsNothingTwice) {
  form1->show();
  const auto objects = form1->findChildren<QObject*>().size();
  const auto menuItems = [&] {
    QStringList names;
    for (QAction* action : form1->findChildren<QAction*>()) names << action->objectName() + "|" + action->text();
    return names;
  };
  const QStringList itemsBefore = menuItems();

  open();
  type("oncreate");
  open();
  type("oncreate");

  EXPECT_EQ(form1->findChildren<QObject*>().size(), objects);
  EXPECT_EQ(menuItems(), itemsBefore);
  EXPECT_EQ(form1->menuBar()->actions().size(), 5);

  // Each handler still runs once per click: one box, one start; a second box would fail the script.
  ui.expectMessage("Внимание",
                   "Меню \"служебные\" помогает автору находить и исправлять ошибки в программе.\r\n"
                   "Просьба к людям, не участвующим в разработке, не использовать данное меню.");
  form1->findChild<QAction*>("N21")->trigger();
  form1->findChild<QAction*>("N29")->trigger();
  EXPECT_EQ(shell.calls.size(), 1u);
}

}  // namespace
