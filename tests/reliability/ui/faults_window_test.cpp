// A store file that cannot be written, met by a restore started from the installations page: the box
// says what the system said, the main window is usable again, nothing is lost, and once the disk is in
// order the same restore finishes.
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "installs/install.h"
#include "installs/texts.h"
#include "installs/ui/EditMenuPage.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::readBytes;
namespace texts = installs::texts;

class PageFaults : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    storeSettings();
    createWindows();
  }
  std::string store(const std::string& relative) { return programFolder() + "files" + sys::kSep + relative; }
  std::string gign;
};

TEST_F(PageFaults, ARegisterThatCannotBeWrittenStopsTheRestoreBeforeAnythingMovesAndARetryFinishes) {
  const std::string source = temp / "new/gign.mdl";
  testing_support::writeBytes(source, "new gign");
  installs::ChosenFiles chosen;
  chosen.add(source, gign);
  installs::DialogView view;
  ui.expectInput("Внимание", "Введите название установки", "A");
  installs::Install(form1->program(), chosen, "", view);
  // A folder where the register belongs: no permission involved, so it holds for root too.
  std::filesystem::remove(sys::toPath(store("files.dat")));
  testing_support::makeFolder(store("files.dat"));
  auto* page = form1->editMenuPage();
  page->EditMenuShow();
  auto* list = page->findChild<QListWidget*>("ListBox1");
  auto* restore = page->findChild<QPushButton*>("Button2");
  ASSERT_TRUE(list && restore);
  list->setCurrentRow(0);
  ui.expectAnyMessage("Varnikit");
  QTest::mouseClick(restore, Qt::LeftButton);
  ASSERT_FALSE(ui.prompts.empty());
  EXPECT_EQ(ui.prompts.back().text.rfind("Is a directory: " + store("files.dat"), 0), 0u) << ui.prompts.back().text;
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_FALSE(form1->ui().busy());
  EXPECT_EQ(statusText(), "");
  EXPECT_EQ(readBytes(gign), "new gign");
  EXPECT_EQ(readBytes(store("A/gign.mdl")), "old gign") << "the only copy of the original stays";
  EXPECT_EQ(list->count(), 1);

  std::filesystem::remove(sys::toPath(store("files.dat")));
  list->setCurrentRow(0);
  ui.expectAttention(texts::kRestored);
  QTest::mouseClick(restore, Qt::LeftButton);
  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(list->count(), 0);
  EXPECT_TRUE(form1->isEnabled());
}

}  // namespace
