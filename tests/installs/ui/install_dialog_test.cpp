#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "installs/texts.h"
#include "installs/ui/EditMenuPage.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::readBytes;
using testing_support::writeBytes;
namespace texts = installs::texts;

class InstallDialog : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    ak = gameFile("models/v_ak47.mdl", "old ak");
    go = gameFile("sound/radio/go.wav", "old go");
    fs.writeLines(programFolder() + "fileslist.dat", {gign, ak, go, gameFolder() + sys::kSep + "readme.txt"});
    fs.writeLines(programFolder() + "filesinfo.dat", {".mdl", "Модель", ".MDL", "игрока"});
    for (const char* name : {"gign.mdl", "readme.txt", "unknown.mdl", "sub/go.wav"}) {
      writeBytes(temp / ("replacements/" + std::string(name)), std::string("new ") + name);
    }
    storeSettings();
    createWindows();
    form1->editMenuPage()->EditMenuShow();
  }
  template <typename T>
  T* child(const char* name) {
    T* found = install->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QListWidget* list() { return child<QListWidget>("ListBox1"); }
  void click(const char* button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
  void open() {
    QTest::mouseClick(form1->editMenuPage()->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    ASSERT_TRUE(install->isVisible());
  }
  QStringList items(QListWidget* widget) {
    QStringList out;
    for (int i = 0; i < widget->count(); ++i) out << widget->item(i)->text();
    return out;
  }

  std::string gign, ak, go;
};

TEST_F(InstallDialog, OpensOverADisabledMainWindowWithItsTextsAndHints) {
  open();
  EXPECT_EQ(install->windowTitle(), "Установка файлов");
  EXPECT_FALSE(form1->isEnabled());
  EXPECT_EQ(statusText(), "установка файлов...");
  EXPECT_FALSE(child<QPushButton>("Button1")->isEnabled());
  EXPECT_EQ(child<QPushButton>("Button3")->toolTip(),
            "Добавить новые файлы в список.\nЩёлкните правой кнопкой для появления меню");
  EXPECT_EQ(child<QPushButton>("Button1")->toolTip(), "Заменить файлы игры\nна файлы из списка");
  EXPECT_EQ(child<QPlainTextEdit>("Memo1")->toolTip(), "Введите описание установки\n(не обязательно)");
  for (const char* name : {"N1", "N3", "N4", "N5", "N6", "N7", "PM1", "PM2", "PM3"}) child<QAction>(name);
  EXPECT_EQ(child<QAction>("N5")->text(), "Из папки, включая вложенные папки");
  click("Button2");
  EXPECT_FALSE(install->isVisible());
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");
}

TEST_F(InstallDialog, FolderTreeAddThenInstallReplacesTheGameFilesAndRefreshesThePage) {
  open();
  form1->program().settings.AddFilesType = "3";
  ui.expectFolder("Обзор папок", temp / "replacements");
  click("Button3");
  EXPECT_EQ(items(list()), (QStringList{QString::fromStdString(temp / "replacements/gign.mdl"),
                                        QString::fromStdString(temp / "replacements/sub/go.wav")}));
  EXPECT_EQ(items(child<QListWidget>("ListBox2")), (QStringList{QString::fromStdString(gign), QString::fromStdString(go)}));
  EXPECT_TRUE(child<QPushButton>("Button1")->isEnabled());
  EXPECT_TRUE(install->isEnabled());
  child<QPlainTextEdit>("Memo1")->setPlainText("Новые модели");
  ui.expectInput("Внимание", "Введите название установки", "Скины");
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::No);
  click("Button1");
  EXPECT_FALSE(install->isVisible());
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(readBytes(gign), "new gign.mdl");
  EXPECT_EQ(readBytes(go), "new sub/go.wav");
  EXPECT_EQ(readBytes(programFolder() + "files/Скины/gign.mdl"), "old gign");
  auto* installations = form1->editMenuPage()->findChild<QListWidget*>("ListBox1");
  ASSERT_EQ(installations->count(), 1);
  EXPECT_EQ(installations->item(0)->text(), "Скины");
  EXPECT_EQ(child<QProgressBar>("ProgressBar1")->value(), 0);
}

TEST_F(InstallDialog, RightClickMenuMarksAndStoresTheDefaultMode) {
  open();
  install->PopupMenu1Popup();
  EXPECT_TRUE(child<QAction>("PM2")->font().bold());
  EXPECT_FALSE(child<QAction>("PM1")->font().bold());
  child<QAction>("PM1")->trigger();
  EXPECT_EQ(form1->program().settings.AddFilesType, "1");
  EXPECT_EQ(registry->readValues(app::kProgramKey, {"AddFilesType"})->at(0), "1");
  install->PopupMenu1Popup();
  EXPECT_TRUE(child<QAction>("PM1")->font().bold());
  EXPECT_FALSE(child<QAction>("PM2")->font().bold());
  EXPECT_TRUE(list()->count() == 0) << "choosing a mode adds nothing";
  ui.expectFiles("", {temp / "replacements/gign.mdl", temp / "replacements/readme.txt"});
  click("Button3");
  EXPECT_EQ(list()->count(), 1);
}

TEST_F(InstallDialog, DeleteKeyRemovesTheSelectedFileAndInformationDescribesIt) {
  open();
  ui.expectFiles("", {temp / "replacements/gign.mdl", temp / "replacements/sub/go.wav"});
  child<QAction>("N3")->trigger();
  ASSERT_EQ(list()->count(), 2);
  list()->setCurrentRow(0);
  const QPoint center = list()->visualItemRect(list()->item(0)).center();
  ui.expectMessage("Установка", "Файл: gign.mdl\r\nИнформация: Модель / игрока");
  QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, center);
  QMouseEvent move(QEvent::MouseMove, center, list()->viewport()->mapToGlobal(center), Qt::NoButton, {}, {});
  QApplication::sendEvent(list()->viewport(), &move);
  EXPECT_EQ(child<QLabel>("StatusBar1Panel")->text(), "Двойной щелчок - информацию о файле");
  QTest::keyClick(list(), Qt::Key_Delete);
  EXPECT_EQ(items(child<QListWidget>("ListBox2")), QStringList{QString::fromStdString(go)});
  EXPECT_TRUE(child<QPushButton>("Button1")->isEnabled());
  ui.expectError("Файл не выделен");
  click("Button4");
  click("Button5");
  EXPECT_EQ(list()->count(), 0);
  EXPECT_FALSE(child<QPushButton>("Button1")->isEnabled());
  ui.expectError("Список пуст");
  child<QAction>("N7")->trigger();
}

TEST_F(InstallDialog, AnInstallationThatCannotBeCreatedLeavesTheDialogUsable) {
  open();
  ui.expectFiles("", {temp / "replacements/gign.mdl"});
  child<QAction>("N3")->trigger();
  const std::string longName(300, 'x');  // a name no file system takes
  ui.expectInput("Внимание", "Введите название установки", longName);
  ui.expectMessage("Varnikit", "File name too long: " + programFolder() + "files" + sys::kSep + longName);
  click("Button1");
  EXPECT_TRUE(install->isVisible());
  EXPECT_TRUE(install->isEnabled());
  EXPECT_FALSE(form1->isEnabled()) << "the open dialog keeps the main window disabled";
  EXPECT_EQ(readBytes(programFolder() + "files/list.dat"), "");
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(list()->count(), 1);
  EXPECT_EQ(child<QLabel>("StatusBar1Panel")->text(), "");
}

}  // namespace
