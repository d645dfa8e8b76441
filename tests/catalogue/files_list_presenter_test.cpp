#include <gtest/gtest.h>

#include <numeric>

#include "catalogue/files_list_presenter.h"
#include "catalogue/list_info_presenter.h"
#include "support/program_fixture.h"

namespace {

using catalogue::FilesListPresenter;
using testing_support::ProgramFixture;
using testing_support::readBytes;
using testing_support::writeBytes;
using Button = FilesListPresenter::Button;

// A grid of plain values: its columns by position, each with a logical column and a width.
class RecordingGrid final : public catalogue::FilesListView {
 public:
  void showRowCount(int count) override { rowCounts.push_back(count); }
  int currentRow() const override { return current; }
  void selectRow(int row) override { current = row; }
  int columnCount() const override { return static_cast<int>(widths.size()); }
  int columnWidth(int position) const override { return widths.at(position); }
  void setColumnWidth(int position, int width) override { widths.at(position) = width; }
  int gridWidth() const override { return width; }
  int columnPosition(int column) const override {
    return static_cast<int>(std::find(order.begin(), order.end(), column) - order.begin());
  }
  void moveColumn(int from, int to) override {
    const int column = order[from];
    order.erase(order.begin() + from);
    order.insert(order.begin() + to, column);
    const int w = widths[from];
    widths.erase(widths.begin() + from);
    widths.insert(widths.begin() + to, w);
  }
  void setFilterText(const std::string&) override {}
  void showSortMark(int, bool) override {}
  void showPopupMenu() override { ++popups; }
  void showFileInfo(const std::string& file, const std::string& path, const std::string& description) override {
    info = {file, path, description};
  }
  int total() const { return std::accumulate(widths.begin(), widths.end(), 0); }

  std::vector<int> rowCounts;
  int current = 0;
  std::vector<int> widths{50, 50, 50, 50};
  std::vector<int> order{0, 1, 2, 3};
  int width = 640;
  int popups = 0;
  std::vector<std::string> info;
};

class FilesListPresenterTest : public ProgramFixture {
 protected:
  void SetUp() override { configure(); }
  void writeCatalogue(const std::vector<std::string>& relative) {
    std::vector<std::string> lines;
    for (const auto& r : relative) lines.push_back(gameFolder() + sys::kSep + testing_support::native(r));
    fs.writeLines(program->settings.FilesListDir, lines);
  }
  RecordingGrid grid;
  FilesListPresenter presenter{*program, grid};
};

TEST_F(FilesListPresenterTest, ABigCatalogueIsCountedNotCopiedAndEachCellIsWorkedOutWhenAsked) {
  std::vector<std::string> lines(100000);
  for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = gameFolder() + "/sound/s" + std::to_string(i) + ".wav";
  fs.writeLines(program->settings.FilesListDir, lines);
  fs.writeLines(program->settings.FilesInfoDir, {".wav", "звук"});
  presenter.FilesListShow();
  EXPECT_EQ(grid.rowCounts, std::vector<int>{100000}) << "one reset of the grid, no row handed over";
  EXPECT_EQ(presenter.cellText(99999, FilesListPresenter::Number), "100000");
  EXPECT_EQ(presenter.cellText(99999, FilesListPresenter::FileName), "s99999.wav");
  EXPECT_EQ(presenter.cellText(99999, FilesListPresenter::Path), lines.back());
  EXPECT_EQ(presenter.cellText(0, FilesListPresenter::Description), "звук");
  EXPECT_EQ(presenter.cellText(100000, FilesListPresenter::Path), "") << "outside the grid";
  EXPECT_EQ(ui.statusHistory, (std::vector<std::string>{"обновление списка файлов...", ""}));
  EXPECT_FALSE(ui.busy);
}

TEST_F(FilesListPresenterTest, RefillKeepsTheCurrentRowWhereItStillExists) {
  struct Case {
    int current;
    std::vector<std::string> catalogue;
    int rows;
    int selected;
  };
  const Case cases[] = {
      {2, {"a.wav", "b.wav", "c.wav", "d.wav"}, 4, 2},
      {3, {"a.wav", "b.wav"}, 2, 1},
      {1, {}, 1, 0},  // no lines: the one empty row
  };
  for (const Case& c : cases) {
    writeCatalogue(c.catalogue);
    grid.current = c.current;
    presenter.FilesListShow();
    EXPECT_EQ(presenter.rowCount(), c.rows);
    EXPECT_EQ(grid.current, c.selected);
  }
  EXPECT_EQ(presenter.cellText(0, FilesListPresenter::Path), "");
}

TEST_F(FilesListPresenterTest, ABorderDragMovesWidthBetweenTheColumnAndItsRightNeighbourOnly) {
  struct Case {
    const char* name;
    int border;              // the column whose right border is pressed (-1: none)
    int draggedTo;           // its width when the button comes up
    std::vector<int> widths; // afterwards
  };
  // Set up: 30, 100, 350 and the last filling 640.
  const Case cases[] = {
      {"wider: the neighbour gives", 1, 160, {30, 160, 290, 160}},
      {"narrower: the neighbour takes", 2, 300, {30, 100, 300, 210}},
      {"swallowing the neighbour is undone", 1, 450, {30, 100, 350, 160}},
      {"the last border: the last column is fitted again", 3, 500, {30, 100, 350, 160}},
      {"pressed on no border", -1, 0, {30, 100, 350, 160}},
  };
  for (const Case& c : cases) {
    RecordingGrid view;
    FilesListPresenter fresh(*program, view);
    fresh.setUpGrid();
    ASSERT_EQ(view.widths, (std::vector<int>{30, 100, 350, 160}));
    fresh.GridBorderPressed(c.border);
    if (c.border >= 0) view.widths[c.border] = c.draggedTo;  // the header applies the drag itself
    fresh.RedrawGrid();
    EXPECT_EQ(view.widths, c.widths) << c.name;
    EXPECT_EQ(fresh.SizingCol, -1) << c.name;
    EXPECT_EQ(view.total(), view.width) << c.name;
  }
}

TEST_F(FilesListPresenterTest, MovedColumnsKeepTheNumbersFirstAndTheGridFilled) {
  presenter.setUpGrid();
  grid.moveColumn(0, 2);  // the person drags the numbers between the others
  presenter.GridColumnMoved();
  EXPECT_EQ(grid.order, (std::vector<int>{0, 1, 2, 3}));
  grid.moveColumn(3, 1);
  presenter.GridColumnMoved();
  EXPECT_EQ(grid.order, (std::vector<int>{0, 3, 1, 2}));
  EXPECT_EQ(grid.total(), grid.width);
  grid.width = 100;  // narrower than the other columns: the last keeps its width
  const auto before = grid.widths;
  presenter.GridResize();
  EXPECT_EQ(grid.widths, before);
}

TEST_F(FilesListPresenterTest, PressesSelectOpenTheMenuOrTheInfoAndSayWhetherTheyAreTaken) {
  writeCatalogue({"models/a.mdl", "sound/b.wav"});
  presenter.FilesListShow();
  struct Case {
    const char* name;
    std::optional<int> row;
    Button button;
    bool taken;
    int current;
    int popups;
    bool info;
  };
  const Case cases[] = {
      {"left on a row goes on to the grid", 1, Button::Left, false, 1, 0, false},
      {"left below the rows keeps the current row", std::nullopt, Button::Left, true, 0, 0, false},
      {"right opens the menu over the row", 1, Button::Right, true, 1, 1, false},
      {"middle shows the row's information", 1, Button::Middle, true, 1, 0, true},
  };
  for (const Case& c : cases) {
    grid.current = 0;
    grid.popups = 0;
    grid.info.clear();
    EXPECT_EQ(presenter.GridMouseDown(c.row, c.button), c.taken) << c.name;
    EXPECT_EQ(grid.current, c.current) << c.name;
    EXPECT_EQ(grid.popups, c.popups) << c.name;
    EXPECT_EQ(!grid.info.empty(), c.info) << c.name;
  }
  EXPECT_EQ(grid.info, (std::vector<std::string>{"b.wav", gameFolder() + sys::kSep + testing_support::native("sound/b.wav"),
                                                 "информации нет"}));
}

TEST_F(FilesListPresenterTest, LaunchAndDescriptionEditWorkOnTheCurrentRow) {
  writeCatalogue({"models/a.mdl", "sound/b.wav"});
  presenter.FilesListShow();
  grid.current = 1;
  presenter.N7Click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, presenter.cellText(1, FilesListPresenter::Path));
  EXPECT_EQ(shell.calls[0].workFolder, gameFolder() + sys::kSep + "sound");

  ui.expectInput("Varnikit", "Введите описание для файлов \".wav\"", std::nullopt);
  presenter.N8Click();
  EXPECT_EQ(grid.rowCounts.size(), 1u) << "a cancelled box changes nothing";
  ui.expectInput("Varnikit", "Введите описание для файлов \".wav\"", "звук");
  presenter.N8Click();
  ui.verifyAllAnswered();
  EXPECT_EQ(ui.inputDefaults.back(), "информации нет");
  EXPECT_EQ(readBytes(program->settings.FilesInfoDir), ".wav\r\n\xE7\xE2\xF3\xEA\r\n") << "cp1251, CR LF";
  EXPECT_EQ(presenter.cellText(1, FilesListPresenter::Description), "звук") << "refilled";
  EXPECT_EQ(grid.current, 1);
}

// The file info dialog.
class RecordingInfo final : public catalogue::ListInfoView {
 public:
  void setFieldText(Field field, const std::string& text) override { texts[static_cast<int>(field)] = text; }
  std::string fieldText(Field field) const override { return texts[static_cast<int>(field)]; }
  void setFieldHint(Field field, const std::string& hint) override { hints[static_cast<int>(field)] = hint; }
  void showWindow() override { calls.push_back("show"); }
  void closeWindow() override { calls.push_back("close"); }
  void launchCurrentFile() override { calls.push_back("launch"); }
  std::string texts[3], hints[3];
  std::vector<std::string> calls;
};

TEST_F(FilesListPresenterTest, InfoDialogShowsTheRowHintsEachFieldInFullAndHoldsTheMainWindow) {
  RecordingInfo view;
  catalogue::ListInfoPresenter info(*program, view);
  info.showFor("b.wav", "C:\\game\\sound\\b.wav", "звук");
  info.FormShow();
  EXPECT_FALSE(ui.mainWindowEnabled);
  info.Edit2MouseMove();
  EXPECT_EQ(view.hints[1], "C:\\game\\sound\\b.wav");
  EXPECT_EQ(view.hints[0], "") << "only the field under the mouse";
  info.Button2Click();
  info.Button1Click();
  info.FormClose();
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(view.calls, (std::vector<std::string>{"show", "launch", "close"}));
}

}  // namespace
