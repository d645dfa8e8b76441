// The Win32 preview pane wired into the install dialog: a selected row shows its file as the presenter
// says, its picture goes into a DIB section, and the status line's second panel counts the warnings.
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "installs/texts.h"
#include "sys/paths.h"
#include "win32/controls.h"
#include "win32/install_dialog.h"
#include "win32/installations_page.h"
#include "win32/support/native_main_window.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"

namespace {

namespace drive = testing_support::win32;
using winui::InstallDialog;
using winui::PreviewPane;

preview::Preview redPicture(const std::string& gamePath, std::string_view, const preview::Companion&) {
  preview::Preview out;
  out.facts = {"Тестовое описание: " + gamePath};
  out.pictures = {{"red", 2, 2, {255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255}}};
  out.sound = preview::Sound{1, 1, 22050, 16, 800, 0};
  return out;
}
std::vector<std::string> twoWarnings(const std::string&, std::string_view, const preview::Companion&) {
  return {"a", "b"};
}

class Win32PreviewPane : public testing_support::NativeMainWindowFixture {
 protected:
  void SetUp() override {
    const std::string gign = gameFolder() + sys::kSep + testing_support::native("models/player/gign/gign.mdl");
    testing_support::writeBytes(gign, "old");
    fs.writeLines(programFolder() + "fileslist.dat", {gign});
    testing_support::writeBytes(temp / "new/gign.mdl", "new");
    storeSettings();
    createMainWindow();
    page = std::make_unique<winui::InstallationsPage>(*main);
    dialog = std::make_unique<InstallDialog>(*main, *page);
    winui::MainWindow::Windows windows;
    windows.install = dialog.get();
    main->setWindows(windows);
    main->showPage(winui::MainWindow::Page::EditMenu);
  }
  void TearDown() override {
    dialog.reset();
    page.reset();
  }
  std::string warningsPanel() {
    wchar_t text[128] = {};
    SendMessageW(dialog->control(InstallDialog::StatusBar1), SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    return winui::narrow(text);
  }
  // The selection changed the way the list box tells its dialog.
  void select(int row) {
    HWND list = dialog->control(InstallDialog::ListBox1);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(InstallDialog::ListBox1, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }

  std::unique_ptr<winui::InstallationsPage> page;
  std::unique_ptr<InstallDialog> dialog;
};

TEST_F(Win32PreviewPane, TheSelectedFileIsShownItsPictureDrawnAndTheWarningsCounted) {
  PreviewPane& pane = dialog->pane();
  pane.presenter().setReaders({redPicture, twoWarnings});
  drive::click(page->control(winui::InstallationsPage::Button1));
  ASSERT_TRUE(dialog->isVisible());
  ui.expectFiles("", {temp / "new/gign.mdl"});
  drive::command(dialog->hwnd(), InstallDialog::N3);
  EXPECT_EQ(warningsPanel(), "Предупреждений: 2");
  EXPECT_FALSE(IsWindowVisible(pane.control(PreviewPane::Play)));

  select(0);
  EXPECT_EQ(drive::text(pane.control(PreviewPane::Facts)), "Тестовое описание: models\\player\\gign\\gign.mdl");
  EXPECT_TRUE(IsWindowVisible(pane.control(PreviewPane::Play)));
  EXPECT_EQ(drive::text(pane.control(PreviewPane::Play)), "Воспроизвести");
  ASSERT_EQ(pane.bitmaps().size(), 1u);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(pane.bitmaps()[0], sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 2);
  const auto* pixel = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
  EXPECT_EQ((std::vector<int>{pixel[0], pixel[1], pixel[2]}), (std::vector<int>{0, 0, 255})) << "blue, green, red";

  select(-1);
  EXPECT_EQ(drive::text(pane.control(PreviewPane::Facts)), "");
  EXPECT_TRUE(pane.bitmaps().empty());
  EXPECT_FALSE(IsWindowVisible(pane.control(PreviewPane::Play)));
  EXPECT_EQ(warningsPanel(), "Предупреждений: 2") << "the count is of the list, not of the selection";
}

}  // namespace
