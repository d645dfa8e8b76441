// The installations page's behaviour through its presenter, with a view that records what it is told.
#include <gtest/gtest.h>

#include <filesystem>

#include "installs/install.h"
#include "installs/installations_page_presenter.h"
#include "installs/installs_support.h"
#include "installs/texts.h"
#include "support/program_fixture.h"

namespace {

using Control = installs::InstallationsPageView::Control;
namespace texts = installs::texts;
using testing_support::readBytes;

struct RecordingPage : installs::InstallationsPageView {
  void showInstallations(const std::vector<std::string>& names, const std::vector<bool>& onRows) override {
    rows = names;
    on = onRows;
    selected = -1;
  }
  void setSwitchedOn(std::size_t row, bool value) override { on.at(row) = value; }
  void showSharing(const std::vector<std::string>& names) override { sharing = names; }
  void setInstallationName(std::size_t row, const std::string& name) override { rows.at(row) = name; }
  void showFiles(const std::vector<std::string>& paths) override { files = paths; }
  void setDate(const std::string& text) override { date = text; }
  void setDescription(const std::string& text) override { description = text; }
  void setEnabled(Control control, bool on) override { (control == Control::Rename ? rename : restore) = on; }
  void focusInstallationList() override { ++listFocused; }
  void setRenameHint(const std::string& text) override { renameHint = text; }
  int selectedRow() const override { return selected; }
  void openInstallDialog() override { ++installDialogs; }
  void openHelp() override { ++helps; }

  std::vector<std::string> rows, files, sharing;
  std::vector<bool> on;
  std::string date = "?", description = "?", renameHint;
  bool rename = true, restore = true;
  int selected = -1, installDialogs = 0, helps = 0, listFocused = 0;
};

class PagePresenter : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    go = gameFile("sound/radio/go.wav", "old go");
  }
  void installAs(const std::string& name, const std::string& gamePath, const std::string& description = "") {
    const std::string source = temp / ("new/" + name + "/" + sys::bareName(gamePath));
    testing_support::writeBytes(source, "new " + name);
    installs::ChosenFiles chosen;
    chosen.add(source, gamePath);
    installs::DialogView silent;
    ui.expectInput("Внимание", texts::kNamePrompt, name);
    installs::Install(*program, chosen, description, silent);
  }
  std::string store(const std::string& relative) const { return programFolder() + "files" + sys::kSep + relative; }
  void select(int row) {
    view.selected = row;
    page.ListBox1Click();
  }

  RecordingPage view;
  installs::InstallationsPagePresenter page{*program, view};
  std::string gign, go;
};

TEST_F(PagePresenter, ActingWithNothingSelectedReportsAndDisablesBothButtons) {
  installAs("A", gign);
  page.FormCreate();
  EXPECT_FALSE(view.rename);
  EXPECT_FALSE(view.restore);
  page.EditMenuShow();
  EXPECT_EQ(view.rows, std::vector<std::string>{"A"});
  page.Button3MouseMove();
  EXPECT_EQ(view.renameHint, texts::kRenameNothingSelectedHint);
  select(0);
  page.Button3MouseMove();
  EXPECT_EQ(view.renameHint, "Хотите переименовать \"A\"?");

  const std::pair<const char*, void (installs::InstallationsPagePresenter::*)()> handlers[] = {
      {"restore", &installs::InstallationsPagePresenter::Button2Click},
      {"rename", &installs::InstallationsPagePresenter::Button3Click}};
  for (const auto& [what, handler] : handlers) {
    select(0);
    ASSERT_TRUE(view.rename && view.restore) << what;
    view.selected = -1;
    ui.expectError(texts::kSelectInstallation);
    (page.*handler)();
    EXPECT_FALSE(view.rename) << what;
    EXPECT_FALSE(view.restore) << what;
    EXPECT_EQ(view.listFocused, 1) << what << ": the focus leaves the disabled button for the list";
    view.listFocused = 0;
    EXPECT_TRUE(ui.allAnswered()) << what;
  }
  EXPECT_EQ(readBytes(gign), "new A") << "nothing was restored";
}

TEST_F(PagePresenter, SelectingShowsTheInstallationAndCountsGameFilesChangedSinceInStatus) {
  installAs("A", gign, "Модели\nигроков");
  installAs("B", go);
  page.EditMenuShow();
  EXPECT_EQ(view.rows, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(view.date, "");
  select(0);
  EXPECT_EQ(view.files, std::vector<std::string>{gign});
  EXPECT_EQ(view.description, "Модели\nигроков");
  EXPECT_EQ(view.date, "07.03.2003 14:05:09");
  EXPECT_EQ(ui.statusText, "");
  testing_support::writeBytes(go, "a game update");
  select(1);
  EXPECT_EQ(view.description, "") << "B's empty description replaces A's";
  EXPECT_EQ(ui.statusText, texts::changedFilesStatus(1));
  select(0);
  EXPECT_EQ(ui.statusText, "");
  view.selected = 5;  // a row the page does not have
  page.ListBox1Click();
  EXPECT_EQ(view.files, std::vector<std::string>{gign}) << "nothing changes";
}

TEST_F(PagePresenter, ARowTheListNoLongerHasIsShownAfreshInsteadOfActedOn) {
  installAs("A", gign);
  installAs("B", go);
  page.EditMenuShow();
  testing_support::writeBytes(store("list.dat"), "B\r\nA\r\n");  // changed behind the page's back
  for (auto handler : {&installs::InstallationsPagePresenter::Button2Click,
                       &installs::InstallationsPagePresenter::Button3Click}) {
    view.selected = 2;  // a row beyond the page's list
    (page.*handler)();
    EXPECT_EQ(view.rows, (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(view.selected, -1);
  }
  EXPECT_EQ(readBytes(gign), "new A");
  EXPECT_EQ(readBytes(go), "new B");
}

TEST_F(PagePresenter, AnEntryThatLeavesTheListTakesItsInformationAlong) {
  struct Case {
    const char* what;
    bool folderGone;
    const char* box;
    const char* caption;
  };
  const Case cases[] = {
      {"restored", false, texts::kRestored, "Внимание"},
      {"folder gone after selection", true, texts::kFilesNotFound, "Ошибка"},
  };
  for (const auto& c : cases) {
    installAs("A", gign, "описание");
    page.EditMenuShow();
    select(0);
    ASSERT_EQ(view.files.size(), 1u) << c.what;
    if (c.folderGone) std::filesystem::remove_all(sys::toPath(store("A")));
    ui.expectMessage(c.caption, c.box);
    page.Button2Click();
    EXPECT_TRUE(view.rows.empty()) << c.what;
    EXPECT_TRUE(view.files.empty()) << c.what;
    EXPECT_EQ(view.description, "") << c.what;
    EXPECT_EQ(view.date, "") << c.what;
    EXPECT_EQ(readBytes(store("list.dat")), "") << c.what;
    EXPECT_TRUE(view.restore) << c.what << ": stays enabled with nothing selected";
    testing_support::writeBytes(gign, "old gign");
  }
}

TEST_F(PagePresenter, RenameChangesTheRowInPlaceOnlyWhenTheFolderWasRenamed) {
  installAs("A", gign);
  installAs("B", go);
  page.EditMenuShow();
  select(0);
  ui.inputDefaults.clear();
  ui.expectInput("Varnikit", texts::kNewNamePrompt, "C");
  page.Button3Click();
  EXPECT_EQ(view.rows, (std::vector<std::string>{"C", "B"}));
  EXPECT_EQ(view.selected, 0);
  ui.expectInput("Varnikit", texts::kNewNamePrompt, "B");
  ui.expectError(texts::kRenameFailed);
  page.Button3Click();
  EXPECT_EQ(view.rows, (std::vector<std::string>{"C", "B"}));
  EXPECT_EQ(ui.inputDefaults, (std::vector<std::string>{"A", "C"})) << "the current name pre-filled";
}

TEST_F(PagePresenter, AListThatCannotBeWrittenLeavesTheRowsAsTheFileHasThem) {
  installAs("A", gign);
  installAs("B", go);
  page.EditMenuShow();
  select(1);
  testing_support::makeFolder(store("list.dat.new"));  // the list's rewrite fails, for root too
  EXPECT_THROW(page.Button2Click(), sys::IoError);
  EXPECT_EQ(readBytes(go), "old go") << "B's originals came back before the list failed";
  EXPECT_EQ(view.rows, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(view.selected, -1);
  EXPECT_TRUE(view.files.empty());
}

TEST_F(PagePresenter, ARowsBoxSwitchesItsInstallationAndTheRowsShowWhoHoldsTheSharedFile) {
  installAs("A", gign);
  page.EditMenuShow();
  select(0);
  EXPECT_EQ(page.switchItemText(0), texts::kSwitchOffItem);
  page.ListBox1Switch(0);
  EXPECT_EQ(view.on, std::vector<bool>{false});
  EXPECT_EQ(page.switchItemText(0), texts::kSwitchOnItem);
  EXPECT_EQ(readBytes(gign), "old gign");
  installAs("B", gign);  // free while A is off
  page.EditMenuShow();
  EXPECT_EQ(view.on, (std::vector<bool>{false, true}));
  select(0);
  EXPECT_EQ(view.sharing, std::vector<std::string>{"B"});
  EXPECT_EQ(ui.statusHistory.back(), texts::sharingStatus(1));
  // Switching A on asks to switch B off; both rows change, and A stays the one shown.
  ui.expectAttention(texts::heldByAnother("gign.mdl", "B"), app::Answer::Yes);
  page.ListBox1Switch(0);
  EXPECT_EQ(view.on, (std::vector<bool>{true, false}));
  EXPECT_EQ(view.selected, 0);
  EXPECT_EQ(view.files, std::vector<std::string>{gign});
  EXPECT_EQ(readBytes(gign), "new A");
  // No leaves the boxes as the store has them, though the binding had turned the clicked one.
  view.on[1] = true;
  ui.expectAttention(texts::heldByAnother("gign.mdl", "A"), app::Answer::No);
  page.ListBox1Switch(1);
  EXPECT_EQ(view.on, (std::vector<bool>{true, false}));
  EXPECT_EQ(page.switchItemText(-1), "");
}

TEST_F(PagePresenter, InstallAndHelpOpenTheirWindows) {
  page.Button1Click();
  page.Button4Click();
  EXPECT_EQ(view.installDialogs, 1);
  EXPECT_EQ(view.helps, 1);
}

}  // namespace
