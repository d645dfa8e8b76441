// The file list as a player searches and sorts it, and the rows an installation replaced.
#include <gtest/gtest.h>

#include "catalogue/files_list_presenter.h"
#include "catalogue/texts.h"
#include "installs/store.h"
#include "support/program_fixture.h"

namespace {

using catalogue::FilesListPresenter;

// The grid as the presenter drives it: rows, selection, the filter field and the sort mark.
class RecordingGrid : public catalogue::FilesListView {
 public:
  void showRowCount(int count) override { rows = count; }
  int currentRow() const override { return current; }
  void selectRow(int row) override { current = row; }
  int columnCount() const override { return 4; }
  int columnWidth(int) const override { return 50; }
  void setColumnWidth(int, int) override {}
  int gridWidth() const override { return 600; }
  int columnPosition(int column) const override { return column; }
  void moveColumn(int, int) override {}
  void setFilterText(const std::string& text) override { filterField = text; }
  void showSortMark(int column, bool down) override {
    markedColumn = column;
    descending = down;
  }
  void showPopupMenu() override {}
  void showFileInfo(const std::string&, const std::string&, const std::string&) override {}

  int rows = 0;
  int current = 0;
  std::string filterField = "typed";
  int markedColumn = -1;
  bool descending = false;
};

class FilesListSearch : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gign = gameFile("models/player/gign/Gign.mdl");
    go = gameFile("sound/radio/go.wav");
    arctic = gameFile("models/player/arctic/arctic.mdl");
    fs.writeLines(program->settings.FilesListDir, {gign, go, arctic});
    presenter.FilesListShow();
  }

  std::vector<std::string> column(int which) const {
    std::vector<std::string> texts;
    for (int row = 0; row < presenter.rowCount(); ++row) texts.push_back(presenter.cellText(row, which));
    return texts;
  }

  std::string gign, go, arctic;
  RecordingGrid grid;
  FilesListPresenter presenter{*program, grid};
};

TEST_F(FilesListSearch, TypingNarrowsTheRowsWhichKeepTheirNumbersAndEscClearsTheField) {
  presenter.FilterChange("PLAYER");
  EXPECT_EQ(grid.rows, 2);
  EXPECT_EQ(column(FilesListPresenter::Number), (std::vector<std::string>{"1", "3"}));
  presenter.FilterChange("RADIO");
  EXPECT_EQ(column(FilesListPresenter::FileName), (std::vector<std::string>{"go.wav"}));
  EXPECT_EQ(column(FilesListPresenter::Number), (std::vector<std::string>{"2"}));

  presenter.FilterChange("nothing like it");
  EXPECT_EQ(grid.rows, 0);
  EXPECT_EQ(presenter.cellText(0, FilesListPresenter::Path), "");
  presenter.N8Click();  // no row shown: nothing to describe, no prompt (the scripted Ui fails on one)

  presenter.FilterEscape();
  EXPECT_EQ(grid.filterField, "");
  EXPECT_EQ(column(FilesListPresenter::Number), (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(FilesListSearch, AHeaderSortsAgainReversesNumberRestoresAndBothSurviveARefill) {
  presenter.HeaderClick(FilesListPresenter::FileName);
  EXPECT_EQ(column(FilesListPresenter::FileName), (std::vector<std::string>{"arctic.mdl", "Gign.mdl", "go.wav"}));
  EXPECT_EQ(grid.markedColumn, FilesListPresenter::FileName);
  presenter.HeaderClick(FilesListPresenter::FileName);
  EXPECT_TRUE(grid.descending);
  EXPECT_EQ(column(FilesListPresenter::Number), (std::vector<std::string>{"2", "1", "3"}));

  presenter.FilterChange("mdl");
  presenter.FilesListShow();
  EXPECT_EQ(column(FilesListPresenter::FileName), (std::vector<std::string>{"Gign.mdl", "arctic.mdl"}));

  presenter.HeaderClick(FilesListPresenter::Number);
  EXPECT_EQ(grid.markedColumn, -1);
  EXPECT_EQ(column(FilesListPresenter::Number), (std::vector<std::string>{"1", "3"}));
}

TEST_F(FilesListSearch, ARowAnInstallationReplacedIsMarkedAndNamesItAfterTheNextFill) {
  EXPECT_FALSE(presenter.rowReplaced(0));
  installs::Store store(fs, program->settings.FilePath);
  store.openList();
  store.ensureInstallation("Зимние модели");
  store.saveList({"Зимние модели"});
  store.recordInstalledFile("Зимние модели", arctic);

  presenter.FilesListShow();
  EXPECT_FALSE(presenter.rowReplaced(0));
  EXPECT_TRUE(presenter.rowReplaced(2));
  EXPECT_EQ(presenter.rowHint(2), "Заменён установкой \"Зимние модели\"");
  EXPECT_EQ(presenter.rowHint(1), "");
  presenter.FilterChange("arctic");  // the mark goes with the row, not with its place
  EXPECT_TRUE(presenter.rowReplaced(0));
}

}  // namespace
