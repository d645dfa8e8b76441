// A pack installed and restored end to end through the real Win32 windows: the installations page opens
// the install dialog, a folder of new files is added, "&Установить" replaces the game files, and
// "Восстановить файлы" on the page puts the originals back.
#include <windows.h>

#include <memory>

#include "installs/texts.h"
#include "sys/paths.h"
#include "win32/check_list.h"
#include "win32/controls.h"
#include "win32/install_dialog.h"
#include "win32/installations_page.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"

namespace {

namespace drive = testing_support::win32;
namespace texts = installs::texts;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::readBytes;
using testing_support::writeBytes;
using winui::InstallDialog;
using winui::InstallationsPage;

class Win32InstallAndRestore : public testing_support::NativeMainWindowFixture {
 protected:
  std::string gameFile(const std::string& relative, const std::string& bytes) {
    const std::string path = gameFolder() + sys::kSep + testing_support::native(relative);
    writeBytes(path, bytes);
    return path;
  }
};

TEST_F(Win32InstallAndRestore, APackReplacesItsGameFilesAndTheRestorePutsTheOriginalsBack) {
  const std::string gign = gameFile("models/player/gign/gign.mdl", "old gign");
  const std::string go = gameFile("sound/radio/go.wav", "old go");
  const std::string kept = gameFile("maps/de_dust.bsp", "old map");
  fs.writeLines(programFolder() + "fileslist.dat", {gign, go, kept});
  writeBytes(temp / "pack/gign.mdl", "new gign");
  writeBytes(temp / "pack/sounds/go.wav", "new go");
  writeBytes(temp / "pack/readme.txt", "not a game file");
  storeSettings();
  createMainWindow();
  InstallationsPage page(*main);
  InstallDialog dialog(*main, page);
  winui::MainWindow::Windows windows;
  windows.install = &dialog;
  main->setWindows(windows);
  main->showPage(winui::MainWindow::Page::EditMenu);

  drive::click(page.control(InstallationsPage::Button1));
  ASSERT_TRUE(dialog.isVisible());
  ui.expectFolder(texts::kFolderChooserCaption, temp / "pack");
  drive::command(dialog.hwnd(), InstallDialog::N5);
  ui.expectInput("Внимание", texts::kNamePrompt, "Скины");
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::No);
  drive::click(dialog.control(InstallDialog::Button1));
  ui.verifyAllAnswered();

  EXPECT_EQ(readBytes(gign), "new gign");
  EXPECT_EQ(readBytes(go), "new go");
  EXPECT_EQ(readBytes(kept), "old map");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(IsWindowEnabled(main->hwnd()));
  EXPECT_EQ(winui::checkListItems(page.control(InstallationsPage::ListBox1)), std::vector<std::string>{"Скины"});

  drive::selectListViewRow(page.control(InstallationsPage::ListBox1), 0);
  EXPECT_EQ(winui::listItems(page.control(InstallationsPage::ListBox2)).size(), 2u);
  ui.expectAttention(texts::kRestored);
  drive::click(page.control(InstallationsPage::Button2));
  ui.verifyAllAnswered();

  EXPECT_EQ(readBytes(gign), "old gign");
  EXPECT_EQ(readBytes(go), "old go");
  EXPECT_TRUE(winui::checkListItems(page.control(InstallationsPage::ListBox1)).empty());
  EXPECT_FALSE(folderExists(programFolder() + "files\\Скины"));
  EXPECT_FALSE(fileExists(programFolder() + "errors.txt"));
  main->setWindows({});
}

}  // namespace
