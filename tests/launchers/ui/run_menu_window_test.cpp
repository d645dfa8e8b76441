#include <cstdio>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "support/ui/main_window_fixture.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;

// Thirty lines of "runmenu.dat": the given entries first (name, path, parameters), "empty" after them.
std::string runMenuBytes(const std::vector<std::array<std::string, 3>>& entries) {
  std::string bytes;
  for (std::size_t k = 0; k < 10; ++k) {
    for (int f = 0; f < 3; ++f) bytes += (k < entries.size() ? entries[k][f] : std::string("empty")) + "\r\n";
  }
  return bytes;
}

class RunMenuEditor : public testing_support::MainWindowFixture {
 protected:
  void start(const std::string& runMenu) {
    storeSettings();
    writeBytes(programFolder() + "runmenu.dat", runMenu);
    createWindows();
  }
  TRunMenu& editor() { return *runMenu; }
  void open() {
    editor().show();
    QApplication::processEvents();
  }
  void clickRow(int row) {
    QListWidget* list = editor().ListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
  }
  static void leave(QLineEdit* field) {
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(field, &out);
  }
  QStringList rows() {
    QStringList texts;
    for (int k = 0; k < editor().ListBox1->count(); ++k) texts << editor().ListBox1->item(k)->text();
    return texts;
  }
  const launchers::RunMenuEntry& entry(int k) { return form1->program().runMenu[static_cast<std::size_t>(k)]; }
};

TEST_F(RunMenuEditor, OpeningDisablesTheMainWindowAndClosingGivesItBack) {
  start(runMenuBytes({{"Контра", "/games/hl", "-game cstrike"}}));
  open();
  EXPECT_FALSE(form1->isEnabled());
  EXPECT_EQ(statusText(), "открыто окно настройки запуска файлов...");
  EXPECT_EQ(editor().windowTitle(), "Меню запуска");
  ASSERT_EQ(rows().size(), 10);
  EXPECT_EQ(rows()[0], "Контра");
  EXPECT_EQ(rows()[1], "empty");
  EXPECT_FALSE(form1->ui().busy()) << "the text only: no busy state";
  editor().close();
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
}

TEST_F(RunMenuEditor, EveryKeystrokeReachesTheTableAndTheMenuButOnlyOkWritesTheFile) {
  const std::string file = runMenuBytes({{"Контра", "/games/hl", "-game cstrike"}});
  start(file);
  open();
  clickRow(0);
  EXPECT_EQ(editor().Edit1->text(), "Контра");
  EXPECT_EQ(editor().edit2->text(), "/games/hl");
  EXPECT_EQ(editor().Edit3->text(), "-game cstrike");

  QTest::keyClicks(editor().Edit1, " 1.6");
  EXPECT_EQ(entry(0).name, "Контра 1.6");
  EXPECT_EQ(rows()[0], "Контра") << "the list follows when the field is left";
  leave(editor().Edit1);
  EXPECT_EQ(rows()[0], "Контра 1.6");
  editor().Edit3->selectAll();
  QTest::keyClicks(editor().Edit3, "-dev");
  EXPECT_EQ(entry(0).parameters, "-dev");

  // Closed with the close box: the menu keeps the edit for this run, the file does not.
  editor().close();
  form1->MainMenu1Change();
  EXPECT_EQ(form1->Run[0]->text(), "Контра 1.6");
  EXPECT_EQ(readBytes(programFolder() + "runmenu.dat"), file);

  // The next opening reloads the table from the file, but leaves the fields as they were.
  open();
  EXPECT_EQ(entry(0).name, "Контра");
  EXPECT_EQ(rows()[0], "Контра");
  EXPECT_EQ(editor().ListBox1->selectedItems().value(0), editor().ListBox1->item(0)) << "the selection stays";
  EXPECT_EQ(editor().Edit1->text(), "Контра 1.6");
}

TEST_F(RunMenuEditor, DeleteThenOkWritesThreeEmptyLinesAndTheItemGoes) {
  start(runMenuBytes({{"A", "/a", ""}, {"Б", "/b", "-x"}}));
  open();
  clickRow(1);
  editor().Button1->click();
  EXPECT_EQ(editor().Edit1->text(), "") << "the marker is shown as a blank field";
  EXPECT_EQ(editor().edit2->text(), "");
  EXPECT_EQ(editor().Edit3->text(), "");
  EXPECT_EQ(entry(1).name, "empty");
  EXPECT_EQ(entry(1).path, "empty");
  EXPECT_EQ(entry(1).parameters, "empty");
  EXPECT_EQ(rows()[1], "empty");
  editor().Button3->click();
  EXPECT_FALSE(editor().isVisible());
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(readBytes(programFolder() + "runmenu.dat"), runMenuBytes({{"A", "/a", ""}}));
  form1->MainMenu1Change();
  EXPECT_TRUE(form1->Run[0]->isVisible());
  EXPECT_FALSE(form1->Run[1]->isVisible());
}

TEST_F(RunMenuEditor, AFreeEntryShowsBlankFieldsAndUntouchedOnesKeepTheMarker) {
  start(runMenuBytes({{"A", "/a", ""}}));
  open();
  clickRow(1);
  for (QLineEdit* field : {editor().Edit1, editor().edit2, editor().Edit3}) EXPECT_EQ(field->text(), "");
  QTest::keyClicks(editor().Edit1, "Game");
  QTest::keyClicks(editor().edit2, "/games/hl");
  EXPECT_EQ(entry(1).name, "Game");
  EXPECT_EQ(entry(1).path, "/games/hl");
  EXPECT_EQ(entry(1).parameters, "empty") << "a field left alone keeps the file's marker";
  editor().Button3->click();
  EXPECT_EQ(readBytes(programFolder() + "runmenu.dat"), runMenuBytes({{"A", "/a", ""}, {"Game", "/games/hl", "empty"}}));
}

TEST_F(RunMenuEditor, DeleteThenTheCloseBoxHidesTheItemOnlyUntilTheNextOpening) {
  start(runMenuBytes({{"A", "/a", ""}}));
  open();
  clickRow(0);
  editor().Button1->click();
  editor().close();
  form1->MainMenu1Change();
  EXPECT_FALSE(form1->Run[0]->isVisible());
  open();
  editor().close();
  form1->MainMenu1Change();
  EXPECT_TRUE(form1->Run[0]->isVisible());
  EXPECT_EQ(form1->Run[0]->text(), "A");
}

TEST_F(RunMenuEditor, WithoutASelectedRowTheFieldsTakeNothing) {
  start(runMenuBytes({{"A", "/a", ""}}));
  open();
  QTest::keyClicks(editor().Edit1, "typed");
  EXPECT_EQ(editor().Edit1->text(), "");
  EXPECT_EQ(entry(0).name, "A");
  QTest::mouseClick(editor().edit2, Qt::LeftButton);
  EXPECT_TRUE(editor().edit2->isReadOnly());
  EXPECT_FALSE(editor().Edit3->isReadOnly()) << "only the clicked field";
  editor().edit2Button1->click();  // no chooser without a row

  ui.expectError("Укажите пункт меню");
  editor().Button1->click();
  EXPECT_EQ(entry(0).name, "A");

  clickRow(0);
  EXPECT_FALSE(editor().edit2->isReadOnly());
  EXPECT_EQ(editor().edit2->text(), "/a");
}

TEST_F(RunMenuEditor, TheBrowseButtonFillsThePathOfTheSelectedEntry) {
  start(runMenuBytes({}));
  open();
  clickRow(4);
  const std::string chosen = temp / "apps/hl";
  ui.expectFiles("Открыть", {chosen});
  editor().edit2Button1->click();
  EXPECT_EQ(editor().edit2->text(), QString::fromStdString(chosen));
  EXPECT_EQ(entry(4).path, chosen);
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].filters.at(0).first, "любой файл");
}

TEST_F(RunMenuEditor, StartStartsOnlyAnExistingFileOfASelectedRow) {
  const std::string program = temp / "apps/run me";
  writeBytes(program, "binary");
  start(runMenuBytes({{"Run", program, "-a  \"b c\""}, {"Gone", temp / "apps/gone", ""}}));
  open();
  clickRow(0);
  editor().Button2->click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, program);
  EXPECT_EQ(shell.calls[0].params, "-a  \"b c\"");
  EXPECT_EQ(shell.calls[0].workFolder, temp / "apps" + sys::kSep);

  clickRow(1);
  ui.expectError("Файл \"" + temp / "apps/gone" + "\" не найден");
  editor().Button2->click();
  EXPECT_EQ(shell.calls.size(), 1u);
  EXPECT_FALSE(testing_support::fileExists(programFolder() + "errors.txt"));
}

TEST_F(RunMenuEditor, HelpExplainsTheMenuInOneBox) {
  start(runMenuBytes({}));
  open();
  ui.expectMessage("Информация",
                   "Меню \"запуск\" существует для того, чтобы вы могли\r\nзапускать нужные вам файлы из меню "
                   "программы.\r\n\r\nНапример, вы можете добавить пункт меню, для запуска Counter-Strike.\r\nДля "
                   "этого:\r\n1. Щёлкните в списке по любой строке с надписью \"empty\"\r\n2. В поле \"название "
                   "пункта\" введите \"Counter-Strike\"\r\n3. В поле \"путь к файлу\" щёлкните по кнопке "
                   "\"...\"\r\n4. Укажите файл hl.exe или cstrike.exe (в зависимости от версии игры)\r\n5. Если вы "
                   "указали файл hl.exe, то в поле \"параметры запуска\" введите \"-game cstrike\" (без "
                   "кавычек)\r\n6. Нажмите кнопку \"OK\"");
  editor().Button4->click();
  EXPECT_EQ(ui.icons.back(), app::Icon::Information);
}

TEST_F(RunMenuEditor, AFileThatCannotBeReadOnOpeningClosesTheEditorAgain) {
  start(runMenuBytes({}));
  // A folder where the file should be: it can be neither read nor created.
  const std::string file = programFolder() + "runmenu.dat";
  std::remove(file.c_str());
  testing_support::makeFolder(file);
  std::string systemText;
  try {
    fs.writeLines(file, {"x"});
  } catch (const sys::IoError& error) {
    systemText = error.what();
  }
  ASSERT_FALSE(systemText.empty());
  ui.expectMessage("Varnikit", systemText);
  open();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !editor().isVisible(); }, 2000));
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
}

class RunMenuItems : public testing_support::MainWindowFixture {};

TEST_F(RunMenuItems, OnlyTheExactWordEmptyHidesAnItem) {
  storeSettings();
  writeBytes(programFolder() + "runmenu.dat",
             "Empty\r\n/a\r\n\r\n empty\r\n/b\r\n\r\nempty\r\n/c\r\n\r\nНастоящий\r\nempty\r\n\r\n");
  createWindows();
  // Shown right before the drop-down opens.
  QMenu* menu = nullptr;
  for (QMenu* m : form1->findChildren<QMenu*>()) {
    if (m->title() == "&Запуск") menu = m;
  }
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  EXPECT_TRUE(form1->Run[0]->isVisible());
  EXPECT_EQ(form1->Run[0]->text(), "Empty");
  EXPECT_TRUE(form1->Run[1]->isVisible());
  EXPECT_EQ(form1->Run[1]->text(), " empty");
  EXPECT_FALSE(form1->Run[2]->isVisible());
  EXPECT_TRUE(form1->Run[3]->isVisible());
  // Entries past the end of a short file keep their empty names: items with an empty caption.
  EXPECT_TRUE(form1->Run[4]->isVisible());
  EXPECT_EQ(form1->Run[4]->text(), "");

  // A path "empty": reported, and not handed to the shell, which would look the bare name up.
  ui.expectError("Файл \"empty\" не найден");
  form1->Run[3]->trigger();
  EXPECT_TRUE(shell.calls.empty());
}

}  // namespace
