#include <gtest/gtest.h>

#include "launchers/menus_presenter.h"
#include "launchers/utilities_presenter.h"
#include "support/program_fixture.h"
#include "sys/error.h"
#include "sys/paths.h"

namespace {

using namespace std::chrono_literals;
using testing_support::fileExists;
using testing_support::readBytes;
using testing_support::writeBytes;

// The manager's list as a plain list; a removed row leaves nothing selected, as the windows do.
class RecordingManager : public launchers::UtilitiesView {
 public:
  void showNames(const std::vector<std::string>& shown) override { names = shown; }
  void addName(const std::string& name) override { names.push_back(name); }
  void removeRow(int row) override { names.erase(names.begin() + row); }
  void setStatusText(const std::string& text) override { status = text; }
  void setManagerEnabled(bool isEnabled) override { enabled = isEnabled; }
  void closeWindow() override { ++closed; }
  void closeAfterShowing() override { ++closedAfterShowing; }

  std::vector<std::string> names;
  std::string status;
  bool enabled = true;
  int closed = 0;
  int closedAfterShowing = 0;
};

class UtilitiesPresenter : public testing_support::ProgramFixture {
 protected:
  UtilitiesPresenter() {
    configure();
    manager.installTimeout = 300ms;
  }
  std::string utility(const std::string& name) {
    const std::string path = programFolder() + "utilities" + sys::kSep + name + sys::kSep + "prog";
    writeBytes(path, "x");
    return path;
  }
  void open(const std::string& list) {
    writeBytes(programFolder() + "utilities.dat", list);
    manager.FormShow();
  }

  RecordingManager view;
  launchers::UtilitiesPresenter manager{*program, view};
};

TEST_F(UtilitiesPresenter, OpeningListsTheSlotsWithAPathFromTheFileAndHoldsTheMainWindow) {
  open("One\r\n/u/one\r\nNo path\r\nempty\r\nДва\r\n/u/two\r\n");
  EXPECT_EQ(view.names, (std::vector<std::string>{"One", "Два"}));
  EXPECT_EQ(manager.names(), view.names);
  EXPECT_EQ(manager.selectedRow(), -1);
  EXPECT_FALSE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.statusText, "настройка утилит...");
  manager.Button3Click();
  EXPECT_EQ(view.closed, 1);
  manager.FormClose();
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.statusText, "");
}

TEST_F(UtilitiesPresenter, AnUnreadableListEndsTheOpeningWithTheWindowClosingAgain) {
  testing_support::makeFolder(programFolder() + "utilities.dat");
  EXPECT_THROW(manager.FormShow(), sys::IoError);
  EXPECT_EQ(view.closedAfterShowing, 1);
  EXPECT_TRUE(view.names.empty());
}

// Delete removes like the button; any other key nothing; afterwards no row is selected, so a second
// Delete asks for a row instead of removing the next utility.
TEST_F(UtilitiesPresenter, DeleteRemovesTheSelectedUtilityOnlyOnce) {
  const std::string a = utility("a");
  const std::string b = utility("b");
  open("A\r\n" + a + "\r\nB\r\n" + b + "\r\n");
  manager.ListBox1Click(1);
  manager.ListBox1KeyDown(65);
  EXPECT_EQ(view.names.size(), 2u);
  ui.expectAttention("Утилита удалена");
  manager.ListBox1KeyDown(launchers::kDeleteKey);
  EXPECT_EQ(view.names, std::vector<std::string>{"A"});
  EXPECT_FALSE(fileExists(b));
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "A\r\n" + a + "\r\n");
  EXPECT_EQ(manager.selectedRow(), -1);
  ui.expectAttention("Укажите утилиту");
  manager.ListBox1KeyDown(launchers::kDeleteKey);
  EXPECT_TRUE(fileExists(a));
  manager.ListBox1Click(5);  // a row the list does not have selects nothing
  EXPECT_EQ(manager.selectedRow(), -1);
}

TEST_F(UtilitiesPresenter, TheWindowCannotCloseWhileAnInstallWaitsAndCanAfterEveryEnd) {
  open("");
  const std::string picked = temp / "download/tool";
  writeBytes(picked, "program");
  bool closableDuringWait = true;
  bool enabledDuringWait = true;
  shell.onOpen = [&](const auto&) {
    closableDuringWait = manager.FormCloseQuery();
    enabledDuringWait = view.enabled;
    writeBytes(temp / "download/setup.dat", "Tool\r\ntool\r\n");
  };
  ui.expectFiles("Открыть", {picked});
  ui.expectAttention("Новая утилита \"Tool\" была успешно установлена");
  manager.Button1Click();
  EXPECT_FALSE(closableDuringWait);
  EXPECT_FALSE(enabledDuringWait);
  EXPECT_TRUE(manager.FormCloseQuery());
  EXPECT_TRUE(view.enabled);
  EXPECT_EQ(view.names, std::vector<std::string>{"Tool"});

  // One that fails with an I/O error: the "utilities" folder is a file, so no utility's folder can be made.
  std::filesystem::remove_all(sys::toPath(programFolder() + "utilities"));
  writeBytes(programFolder() + "utilities", "");
  shell.onOpen = [&](const auto&) { writeBytes(temp / "download/setup.dat", "Other\r\nother\r\n"); };
  ui.expectFiles("Открыть", {picked});
  EXPECT_THROW(manager.Button1Click(), sys::IoError);
  EXPECT_TRUE(manager.FormCloseQuery());
  EXPECT_TRUE(view.enabled);
}

// The main window's two menus.
class RecordingMenus : public launchers::MenusView {
 public:
  void showMenuItem(Menu menu, int item, bool visible, const std::string& caption) override {
    (menu == Menu::Run ? run : utilities)[static_cast<std::size_t>(item - 1)] = visible ? caption : "(hidden)";
  }
  void showRunMenuEditor() override { shown.push_back("run menu editor"); }
  void showUtilitiesManager() override { shown.push_back("utilities manager"); }
  std::array<std::string, 10> run;
  std::array<std::string, 10> utilities;
  std::vector<std::string> shown;
};

class Menus : public testing_support::ProgramFixture {
 protected:
  Menus() { configure(); }
  RecordingMenus view;
  launchers::MenusPresenter menus{*program, view};
};

TEST_F(Menus, OnlyTheExactWordEmptyHidesAnItemAndTheUtilitiesComeFromTheFile) {
  program->runMenu[0] = {"Empty", "/a", ""};
  program->runMenu[1] = {" empty", "/b", ""};
  program->runMenu[2] = {"empty", "/c", ""};
  program->runMenu[3] = {"", "/d", ""};
  for (std::size_t k = 4; k < 10; ++k) program->runMenu[k] = {"empty", "empty", "empty"};
  program->utilities[5] = {"In memory only", "/u/x"};
  writeBytes(programFolder() + "utilities.dat", "Config\r\n/u/config\r\nempty\r\n/u/free\r\n");
  menus.MainMenu1Change();
  EXPECT_EQ(view.run[0], "Empty");
  EXPECT_EQ(view.run[1], " empty");
  EXPECT_EQ(view.run[2], "(hidden)");
  EXPECT_EQ(view.run[3], "") << "an empty name is an item with an empty caption";
  EXPECT_EQ(view.run[4], "(hidden)");
  EXPECT_EQ(view.utilities[0], "Config");
  EXPECT_EQ(view.utilities[1], "(hidden)");
  EXPECT_EQ(view.utilities[5], "(hidden)") << "reloaded from the file";
}

TEST_F(Menus, WithoutAProgramFolderTheUtilitiesAreNotReloaded) {
  program->settings.FilePath.clear();
  program->utilities[0] = {"Kept", "/u/kept"};
  menus.MainMenu1Change();
  EXPECT_EQ(view.utilities[0], "Kept") << "a reload would have freed every slot";
}

TEST_F(Menus, ItemsStartTheirEntryAndTheSettingsItemsShowTheirWindows) {
  const std::string tool = temp / "apps/tool";
  writeBytes(tool, "x");
  program->runMenu[2] = {"Tool", tool, "empty"};
  menus.RunClick(3);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, tool);
  EXPECT_EQ(shell.calls[0].params, "") << "the marker alone passes no parameters";
  ui.expectError("Не могу запустить утилиту. Файл не найден");
  menus.RunUtil(1, 100ms);
  EXPECT_TRUE(ui.mainWindowEnabled);
  menus.N15Click();
  menus.N13Click();
  EXPECT_EQ(view.shown, (std::vector<std::string>{"run menu editor", "utilities manager"}));
}

}  // namespace
