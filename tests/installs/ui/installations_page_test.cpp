#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <filesystem>

#include "app/ui/ListItemHint.h"
#include "app/ui/TForm1.h"
#include "catalogue/ui/FilesListPage.h"
#include "catalogue/ui/TListInfo.h"
#include "launchers/ui/TRunMenu.h"
#include "installs/install.h"
#include "installs/texts.h"
#include "installs/ui/EditMenuPage.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
namespace texts = installs::texts;

class InstallationsPage : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    go = gameFile("sound/radio/go.wav", "old go");
    fs.writeLines(programFolder() + "fileslist.dat", {gign, go});
    storeSettings();
    createWindows();
    page = form1->editMenuPage();
  }
  // An installation made the way the dialog makes it.
  void installAs(const std::string& name, const std::string& gamePath, const std::string& description) {
    const std::string source = temp / ("new/" + sys::bareName(gamePath));
    testing_support::writeBytes(source, "new " + sys::bareName(gamePath));
    installs::ChosenFiles chosen;
    chosen.add(source, gamePath);
    installs::DialogView view;
    ui.expectInput("Внимание", "Введите название установки", name);
    installs::Install(form1->program(), chosen, description, view);
  }
  template <typename T>
  T* child(const char* name) {
    T* found = page->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QListWidget* installations() { return child<QListWidget>("ListBox1"); }
  QListWidget* files() { return child<QListWidget>("ListBox2"); }
  QPushButton* button(const char* name) { return child<QPushButton>(name); }
  std::string store(const std::string& relative) { return programFolder() + "files" + sys::kSep + relative; }

  EditMenuPage* page = nullptr;
  std::string gign, go;
};

TEST_F(InstallationsPage, FreshStoreShowsAnEmptyListWithRenameAndRestoreDisabled) {
  page->EditMenuShow();
  EXPECT_EQ(installations()->count(), 0);
  EXPECT_EQ(readBytes(store("list.dat")), "");
  EXPECT_FALSE(button("Button2")->isEnabled());
  EXPECT_FALSE(button("Button3")->isEnabled());
  EXPECT_EQ(button("Button1")->toolTip(), "Установить новые файлы (заменить).\n(Модели игроков, оружия и др.)");
  page->Button3MouseMove();
  EXPECT_EQ(button("Button3")->toolTip(), "Укажите установку для переименования");
}

TEST_F(InstallationsPage, SelectingShowsFilesDateAndDescriptionAndSetsTheRenameHint) {
  installAs("A", gign, "Модели\nигроков");
  installAs("B", go, "");
  page->EditMenuShow();
  ASSERT_EQ(installations()->count(), 2);
  EXPECT_TRUE(installations()->selectedItems().isEmpty());
  installations()->setCurrentRow(0);
  EXPECT_EQ(files()->count(), 1);
  EXPECT_EQ(files()->item(0)->text().toStdString(), gign);
  EXPECT_EQ(child<QLineEdit>("Edit1")->text(), "07.03.2003 14:05:09");
  EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "Модели\nигроков");
  EXPECT_TRUE(button("Button2")->isEnabled());
  EXPECT_TRUE(button("Button3")->isEnabled());
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), button("Button3")->mapToGlobal(QPointF(5, 5)), Qt::NoButton, {}, {});
  QApplication::sendEvent(button("Button3"), &move);
  EXPECT_EQ(button("Button3")->toolTip(), "Хотите переименовать \"A\"?");
  // B's empty date and description replace A's.
  testing_support::writeBytes(store("B/time.dat"), "");
  installations()->setCurrentRow(1);
  EXPECT_EQ(child<QLineEdit>("Edit1")->text(), "");
  EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "");
}

TEST_F(InstallationsPage, SelectingAnInstallationWhoseFolderWasDeletedHealsItAndItRestoresCleanly) {
  installAs("A", gign, "описание");
  std::filesystem::remove_all(sys::toPath(store("A")));
  page->EditMenuShow();
  installations()->setCurrentRow(0);
  for (const char* file : {"A/info.dat", "A/time.dat", "A/files.dat"}) EXPECT_EQ(readBytes(store(file)), "") << file;
  EXPECT_EQ(files()->count(), 0);
  ui.expectAttention(texts::kRestored);
  QTest::mouseClick(button("Button2"), Qt::LeftButton);
  EXPECT_FALSE(folderExists(store("A")));
  EXPECT_EQ(installations()->count(), 0);
}

TEST_F(InstallationsPage, RestoreBringsTheOriginalsBackAndEmptiesTheInformation) {
  installAs("A", gign, "описание");
  installAs("B", go, "");
  page->EditMenuShow();
  installations()->setCurrentRow(0);
  ui.expectAttention(texts::kRestored);
  QTest::mouseClick(button("Button2"), Qt::LeftButton);
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(readBytes(go), "new go.wav");
  EXPECT_EQ(readBytes(store("list.dat")), "B\r\n");
  EXPECT_EQ(readBytes(store("files.dat")), go + "\r\n");
  ASSERT_EQ(installations()->count(), 1);
  EXPECT_EQ(files()->count(), 0);
  EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toPlainText(), "");
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_FALSE(form1->ui().busy());
  EXPECT_TRUE(button("Button2")->isEnabled()) << "stays enabled with nothing selected";
  ui.expectError(texts::kSelectInstallation);
  QTest::mouseClick(button("Button2"), Qt::LeftButton);
  EXPECT_FALSE(button("Button2")->isEnabled());
  EXPECT_FALSE(button("Button3")->isEnabled());
}

TEST_F(InstallationsPage, RestoreOfAFolderDeletedAfterSelectionTakesTheEntryOff) {
  installAs("A", gign, "");
  page->EditMenuShow();
  installations()->setCurrentRow(0);
  std::filesystem::remove_all(sys::toPath(store("A")));
  ui.expectError(texts::kFilesNotFound);
  QTest::mouseClick(button("Button2"), Qt::LeftButton);
  EXPECT_EQ(installations()->count(), 0);
  EXPECT_EQ(readBytes(store("list.dat")), "");
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(InstallationsPage, RenameKeepsThePlaceAndTheSelection) {
  installAs("A", gign, "");
  installAs("B", go, "");
  page->EditMenuShow();
  installations()->setCurrentRow(0);
  ui.expectInput("Varnikit", "Укажите новое имя", "C");
  QTest::mouseClick(button("Button3"), Qt::LeftButton);
  EXPECT_EQ(installations()->item(0)->text(), "C");
  EXPECT_EQ(installations()->currentRow(), 0);
  EXPECT_EQ(readBytes(store("list.dat")), "C\r\nB\r\n");
  EXPECT_TRUE(fileExists(store("C/gign.mdl")));
  ui.expectInput("Varnikit", "Укажите новое имя", "B");
  ui.expectError(texts::kRenameFailed);
  QTest::mouseClick(button("Button3"), Qt::LeftButton);
  EXPECT_EQ(installations()->item(0)->text(), "C");
}

TEST_F(InstallationsPage, AListThatCannotBeWrittenLeavesEveryRowOnItsOwnInstallation) {
  const std::string ak = gameFile("models/v_ak47.mdl", "old ak");
  installAs("A", gign, "");
  installAs("B", go, "");
  installAs("C", ak, "");
  page->EditMenuShow();
  installations()->setCurrentRow(1);
  testing_support::makeFolder(store("list.dat.new"));  // the list's rewrite fails, for root too
  ui.expectAnyMessage("Varnikit");
  QTest::mouseClick(button("Button2"), Qt::LeftButton);
  EXPECT_EQ(readBytes(go), "old go") << "B's originals came back before the list failed";
  const auto rows = [&] {
    std::vector<std::string> texts;
    for (int i = 0; i < installations()->count(); ++i) texts.push_back(installations()->item(i)->text().toStdString());
    return texts;
  };
  EXPECT_EQ(rows(), (std::vector<std::string>{"A", "B", "C"})) << "the rows are what \"list.dat\" says";
  EXPECT_TRUE(form1->isEnabled());

  // The row that reads B acts on B (whose files are back already), never on C.
  std::filesystem::remove(sys::toPath(store("list.dat.new")));
  installations()->setCurrentRow(1);
  ui.expectAttention(texts::kRestored);
  QTest::mouseClick(button("Button2"), Qt::LeftButton);
  EXPECT_EQ(readBytes(ak), "new v_ak47.mdl");
  EXPECT_EQ(rows(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(readBytes(store("list.dat")), "A\r\nC\r\n");
}

TEST_F(InstallationsPage, FillingThePageListsAgainAnInstallationACrashLeftUnlisted) {
  installAs("A", gign, "");
  // Cut off between the folder's rename and the list's.
  std::filesystem::rename(sys::toPath(store("A")), sys::toPath(store("B")));
  page->EditMenuShow();
  ASSERT_EQ(installations()->count(), 2);
  EXPECT_EQ(installations()->item(1)->text(), "B");
  EXPECT_EQ(readBytes(store("list.dat")), "A\r\nB\r\n");
}

TEST_F(InstallationsPage, OnlyClippedGamePathsGetAHintOfTheirOwn) {
  form1->show();
  installAs("A", gign, "");
  testing_support::writeBytes(store("A/files.dat"), "/short\r\n" + gign + std::string(200, 'x') + "\r\n");
  page->EditMenuShow();
  installations()->setCurrentRow(0);
  ASSERT_EQ(files()->count(), 2);
  EXPECT_FALSE(app::ui::ListItemHint::isClipped(files(), 0));
  EXPECT_TRUE(app::ui::ListItemHint::isClipped(files(), 1));
}

}  // namespace

namespace {

// The keyboard as a desktop user expects it: F2 on the list renames, Enter on a file-list row starts the
// file, Esc closes a secondary window as its close box does, Enter presses the default button.
TEST_F(InstallationsPage, KeysRenameLaunchCloseAndPressTheDefaultButton) {
  installAs("Скины", gign, "");
  form1->show();
  QApplication::processEvents();
  page->EditMenuShow();
  installations()->setCurrentRow(0);
  ui.expectInput(app::kApplicationTitle, texts::kNewNamePrompt, "Зимние");
  QTest::keyClick(installations(), Qt::Key_F2);
  EXPECT_EQ(installations()->item(0)->text(), "Зимние");
  EXPECT_TRUE(fs.isFolder(store("Зимние")));

  form1->pages()->setCurrentIndex(1);
  QApplication::processEvents();
  auto* grid = form1->filesListPage()->grid();
  grid->selectRow(1);
  QTest::keyClick(grid, Qt::Key_Return);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, go);

  // The file info window: Enter is its "OK", which closes it; the run-menu editor: Esc closes it.
  listInfo->show();
  QApplication::processEvents();
  QTest::keyClick(listInfo.get(), Qt::Key_Return);
  EXPECT_FALSE(listInfo->isVisible());
  runMenu->show();
  QApplication::processEvents();
  QTest::keyClick(runMenu.get(), Qt::Key_Escape);
  EXPECT_FALSE(runMenu->isVisible());
  EXPECT_TRUE(form1->isEnabled());
}

}  // namespace

namespace {

TEST_F(InstallationsPage, ARowsCheckBoxAndSpaceSwitchTheInstallationOffAndOn) {
  installAs("A", gign, "");
  page->EditMenuShow();
  QListWidget* list = installations();
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
  list->setCurrentRow(0);
  // A click on the box: the style tells where the box of the row is.
  QStyleOptionViewItem option;
  option.initFrom(list);
  option.rect = list->visualItemRect(list->item(0));
  option.features = QStyleOptionViewItem::HasCheckIndicator;
  const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
  EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_TRUE(fileExists(store("A/pack/gign.mdl")));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(readBytes(gign), "new gign.mdl");
}

}  // namespace
