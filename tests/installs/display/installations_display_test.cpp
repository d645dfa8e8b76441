// The installations page on the X display: a real pointer clicks a row's check box.
#include <QApplication>
#include <QListWidget>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include "installs/install.h"
#include "installs/ui/EditMenuPage.h"
#include "launchers/display/display_support.h"
#include "support/display/x_display.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::fileExists;
using testing_support::readBytes;

class InstallationsOnTheDisplay : public testing_support::MainWindowFixture {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    fs.writeLines(programFolder() + "fileslist.dat", {gign});
    storeSettings();
    createWindows();
    // An installation made as the install dialog makes it.
    const std::string source = temp / "new/gign.mdl";
    testing_support::writeBytes(source, "new gign");
    installs::ChosenFiles chosen;
    chosen.add(source, gign);
    installs::DialogView view;
    ui.expectInput("Внимание", "Введите название установки", "Скины");
    installs::Install(form1->program(), chosen, "", view);
    form1->move(0, 0);
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
    form1->editMenuPage()->EditMenuShow();
  }

  std::string gign;
};

TEST_F(InstallationsOnTheDisplay, APointerClickOnARowsBoxSwitchesTheInstallationOffAndOn) {
  auto* list = form1->editMenuPage()->findChild<QListWidget*>("ListBox1");
  ASSERT_TRUE(list && list->count() == 1);
  QStyleOptionViewItem option;
  option.initFrom(list);
  option.rect = list->visualItemRect(list->item(0));
  option.features = QStyleOptionViewItem::HasCheckIndicator;
  const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
  const QPoint at = list->viewport()->mapToGlobal(box.center());
  const std::string pack = programFolder() + "files" + sys::kSep + "Скины" + sys::kSep + "pack" + sys::kSep + "gign.mdl";

  testing_support::clickPointerAt(at);
  EXPECT_TRUE(QTest::qWaitFor([&] { return readBytes(gign) == "old gign"; }, 5000)) << "the original is back";
  EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
  EXPECT_EQ(fileExists(pack) ? readBytes(pack) : "", "new gign") << "the pack's file is kept in the store";

  // A second click as a person's, not the second half of a double click.
  QTest::qWait(QApplication::doubleClickInterval() + 100);
  testing_support::clickPointerAt(at);
  EXPECT_TRUE(QTest::qWaitFor([&] { return readBytes(gign) == "new gign"; }, 5000)) << "the pack's file is back";
  EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
  EXPECT_FALSE(fileExists(pack));
  ui.verifyAllAnswered();
}

}  // namespace
