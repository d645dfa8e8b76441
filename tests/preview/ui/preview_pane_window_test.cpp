// The Qt preview pane wired into the install dialog and the file list page: a selected row shows its file
// as the presenter says, the pictures are drawn, the play button and the status line's count are there.
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "catalogue/ui/FilesListPage.h"
#include "installs/ui/EditMenuPage.h"
#include "preview/ui/PreviewPane.h"
#include "support/ui/main_window_fixture.h"

namespace {

using testing_support::writeBytes;

// A test's own reader: a texture of pure red beside a larger one drawn in a gradient, a sound, a warning.
preview::Preview generated(const std::string& gamePath, std::string_view bytes, const preview::Companion&) {
  preview::Preview out;
  out.kind = preview::Kind::Model;
  out.facts = {"Тестовое описание: " + gamePath, std::to_string(bytes.size()) + " байт, 2 рисунка"};
  preview::Picture red{"red", 16, 16, {}};
  for (int k = 0; k < 16 * 16; ++k) red.rgba.insert(red.rgba.end(), {255, 0, 0, 255});
  preview::Picture gradient{"gradient", 64, 64, {}};
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const auto light = static_cast<std::uint8_t>(x * 4), shade = static_cast<std::uint8_t>(y * 4);
      gradient.rgba.insert(gradient.rgba.end(), {light, shade, static_cast<std::uint8_t>(255 - light), 255});
    }
  }
  out.pictures = {red, gradient};
  out.sound = preview::Sound{1, 1, 22050, 16, 800, 0};
  out.warnings = {"Тестовое предупреждение"};
  return out;
}
std::vector<std::string> oneWarning(const std::string&, std::string_view, const preview::Companion&) {
  return {"Тестовое предупреждение"};
}

class PreviewPaneWindows : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    fs.writeLines(programFolder() + "fileslist.dat", {gign});
    writeBytes(temp / "replacements/gign.mdl", "new gign");
    storeSettings();
    createWindows();
    form1->editMenuPage()->EditMenuShow();
  }
  // Keeps a picture of a window for the eye when VARNIKIT_SHOTS names a folder.
  static void keepPicture(QWidget* window, const char* name) {
    const QByteArray folder = qgetenv("VARNIKIT_SHOTS");
    if (!folder.isEmpty()) window->grab().save(QString::fromUtf8(folder) + "/" + name);
  }
  std::string gign;
};

TEST_F(PreviewPaneWindows, TheSelectedNewFileIsShownDrawnAndCountedInTheStatusLine) {
  preview::ui::PreviewPane* pane = install->pane();
  ASSERT_NE(pane, nullptr);
  pane->presenter().setReaders({generated, oneWarning});
  QTest::mouseClick(form1->editMenuPage()->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  ASSERT_TRUE(install->isVisible());
  ui.expectFiles("", {temp / "replacements/gign.mdl"});
  install->AddFiles1();
  auto* count = install->findChild<QLabel*>("StatusBar1Warnings");
  EXPECT_EQ(count->text(), "Предупреждений: 1");
  auto* facts = pane->findChild<QLabel*>("PreviewFacts");
  auto* play = pane->findChild<QPushButton*>("PlayButton");
  EXPECT_EQ(facts->text(), "");
  EXPECT_FALSE(play->isVisible());

  install->findChild<QListWidget*>("ListBox1")->setCurrentRow(0);
  EXPECT_EQ(facts->text().remove(QChar(0x200B)), "Тестовое описание: models\\player\\gign\\gign.mdl\n8 байт, 2 рисунка");
  EXPECT_EQ(pane->findChild<QLabel*>("PreviewWarnings")->text(), "Тестовое предупреждение");
  ASSERT_TRUE(play->isVisible());
  EXPECT_EQ(play->text(), "Воспроизвести");

  // The pictures side by side at one scale: the red one's middle is red.
  auto* picture = pane->findChild<QWidget*>("PreviewPicture");
  const QImage drawn = picture->grab().toImage();
  const auto placed = preview::layoutPictures({{16, 16}, {64, 64}}, picture->width(), picture->height());
  const QPoint redMiddle(placed[0].x + placed[0].width / 2, placed[0].y + placed[0].height / 2);
  EXPECT_EQ(drawn.pixelColor(redMiddle * drawn.devicePixelRatio()), QColor(255, 0, 0));
  keepPicture(install.get(), "install-dialog-pane-qt.png");

  QTest::mouseClick(play, Qt::LeftButton);
  EXPECT_EQ(play->text(), "Стоп");
  QTest::mouseClick(play, Qt::LeftButton);
  EXPECT_EQ(play->text(), "Воспроизвести");
  install->close();
}

TEST_F(PreviewPaneWindows, TheFileListShowsTheSelectedGameFile) {
  FilesListPage* page = form1->filesListPage();
  page->pane()->presenter().setReaders({generated, oneWarning});
  form1->show();
  form1->pages()->setCurrentIndex(1);
  page->FilesListShow();
  QApplication::processEvents();
  page->grid()->selectRow(0);
  EXPECT_EQ(page->pane()->findChild<QLabel*>("PreviewFacts")->text().remove(QChar(0x200B)).section('\n', 0, 0),
            "Тестовое описание: models\\player\\gign\\gign.mdl");
  keepPicture(form1.get(), "file-list-pane-qt.png");
}

}  // namespace
