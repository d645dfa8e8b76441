// The install dialog's archive mode and dropping on its list, through the window.
#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "installs/support/archive_maker.h"
#include "installs/texts.h"
#include "installs/ui/EditMenuPage.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::folderExists;
using testing_support::readBytes;

class ArchiveDialog : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    go = gameFile("sound/radio/go.wav", "old go");
    fs.writeLines(programFolder() + "fileslist.dat", {gign, go});
    testing_support::makeFolder(temp / "downloads");
    archive_testing::makeArchive(temp / "downloads/skins.zip", archive_testing::Format::Zip,
                                 {archive_testing::file("skins/gign.mdl", "zip gign"),
                                  archive_testing::file("skins/unknown.mdl", "u")});
    storeSettings();
  }
  void open() {
    createWindows();
    form1->editMenuPage()->EditMenuShow();
    QTest::mouseClick(form1->editMenuPage()->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    ASSERT_TRUE(install->isVisible());
  }
  QListWidget* list() { return install->findChild<QListWidget*>("ListBox1"); }
  QStringList items() {
    QStringList out;
    for (int i = 0; i < list()->count(); ++i) out << list()->item(i)->text();
    return out;
  }
  // Drops the paths on the list as a file manager would, and lets the add that follows run.
  Qt::DropAction drop(const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    const QPoint at = list()->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list()->viewport(), &enter);
    if (!enter.isAccepted()) return Qt::IgnoreAction;
    QDropEvent dropped(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list()->viewport(), &dropped);
    QApplication::processEvents();
    return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
  }
  std::string unpackRoot() const { return programFolder() + "unpacked.tmp"; }
  std::string gign, go;
};

TEST_F(ArchiveDialog, TheFourthModeIsChosenFromTheMenusAddsFromAnArchiveAndClosingRemovesTheUnpackedFiles) {
  open();
  auto* n9 = install->findChild<QAction*>("N9");
  auto* pm4 = install->findChild<QAction*>("PM4");
  ASSERT_TRUE(n9 && pm4);
  EXPECT_EQ(n9->text(), "Из архива");
  EXPECT_EQ(pm4->text(), "Из архива");
  const QList<QAction*> popup = install->findChild<QMenu*>("PopupMenu1")->actions();
  ASSERT_EQ(popup.size(), 4);
  EXPECT_EQ(popup[3], pm4) << "after PM3";
  pm4->trigger();
  EXPECT_EQ(registry->readValues(app::kProgramKey, {"AddFilesType"})->at(0), "4");
  install->PopupMenu1Popup();
  EXPECT_TRUE(pm4->font().bold());
  EXPECT_FALSE(install->findChild<QAction*>("PM3")->font().bold());

  ui.expectFiles("Укажите архив", {temp / "downloads/skins.zip"});
  QTest::mouseClick(install->findChild<QPushButton*>("Button3"), Qt::LeftButton);
  EXPECT_EQ(items(), QStringList{"skins.zip/skins/gign.mdl"});
  EXPECT_TRUE(install->findChild<QPushButton*>("Button1")->isEnabled());
  EXPECT_TRUE(folderExists(unpackRoot()));
  QTest::mouseClick(install->findChild<QPushButton*>("Button2"), Qt::LeftButton);
  EXPECT_FALSE(folderExists(unpackRoot()));
  EXPECT_EQ(readBytes(gign), "old gign");
}

TEST_F(ArchiveDialog, FilesFoldersAndArchivesDroppedOnTheListAreAddedAndInstalled) {
  open();
  testing_support::writeBytes(temp / "loose/sub/go.wav", "loose go");
  EXPECT_EQ(drop({QString::fromStdString(temp / "downloads/skins.zip"), QString::fromStdString(temp / "loose")}),
            Qt::CopyAction);
  EXPECT_EQ(items(), (QStringList{"skins.zip/skins/gign.mdl", QString::fromStdString(temp / "loose/sub/go.wav")}));
  EXPECT_TRUE(install->isEnabled());
  ui.expectInput("Внимание", "Введите название установки", "Брошенные");
  ui.expectAttention(installs::texts::kStartGameQuestion, app::Answer::No);
  QTest::mouseClick(install->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  EXPECT_EQ(readBytes(gign), "zip gign");
  EXPECT_EQ(readBytes(go), "loose go");
  EXPECT_FALSE(folderExists(unpackRoot())) << "the dialog closed after the install";
  EXPECT_EQ(drop({QString::fromStdString(temp / "loose")}), Qt::IgnoreAction) << "a closed dialog takes nothing";
}

TEST_F(ArchiveDialog, FilesLeftUnpackedByAnEarlierRunAreRemovedAtStart) {
  testing_support::writeBytes(unpackRoot() + "/1/files/gign.mdl", "left over");
  createWindows();
  EXPECT_FALSE(folderExists(unpackRoot()));
}

}  // namespace
