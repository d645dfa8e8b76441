#pragma once

#include <optional>
#include <string>

#include "app/program.h"
#include "catalogue/files_list.h"
#include "catalogue/row_order.h"
#include "installs/replaced.h"
#include "preview/preview_pane_presenter.h"

namespace catalogue {

// The file list page's grid as its presenter sees it: a virtual grid that is told how many rows it has and
// asks FilesListPresenter::cellText for what it draws, and whose columns are counted by their position
// from the left as shown.
class FilesListView {
 public:
  virtual ~FilesListView() = default;
  // The grid now has rows rows; every text is asked for again.
  virtual void showRowCount(int rows) = 0;
  // The top selected row, else the current one, else 0.
  virtual int currentRow() const = 0;
  virtual void selectRow(int row) = 0;

  virtual int columnCount() const = 0;
  virtual int columnWidth(int position) const = 0;
  virtual void setColumnWidth(int position, int width) = 0;
  // The width the columns have to fill (the grid's inside, without its scroll bar).
  virtual int gridWidth() const = 0;
  // Where a column (FilesListPresenter::Column) stands now, and moving it to another position.
  virtual int columnPosition(int column) const = 0;
  virtual void moveColumn(int from, int to) = 0;

  // The filter field above the grid shows text (it is cleared from the keyboard).
  virtual void setFilterText(const std::string& text) = 0;
  // The sort mark in the header: over a column (Column), or on none (-1) in the catalogue's order.
  virtual void showSortMark(int column, bool descending) = 0;

  // The popup menu at the pointer (or over the current row, from the keyboard).
  virtual void showPopupMenu() = 0;
  // The file info dialog with one row's texts.
  virtual void showFileInfo(const std::string& file, const std::string& path, const std::string& description) = 0;
  // The preview pane beside the grid, if the page has one.
  virtual preview::PreviewPanePresenter* previewPane() { return nullptr; }
};

// The page "Список файлов": the catalogue in the grid with numbers, names, paths and descriptions. From it
// a file is started, a description added for its extension, and the file info dialog opened. The columns
// always fill the grid: a dragged border moves width between a column and its right neighbour, and the last
// column takes what is left.
class FilesListPresenter {
 public:
  enum Column { Number = 0, FileName = 1, Path = 2, Description = 3, ColumnCount = 4 };
  enum class Button { Left, Right, Middle, Other };

  FilesListPresenter(app::Program& program, FilesListView& view) : program_(program), view_(view) {}

  // The grid: one empty row while there are no catalogue lines, as it shows at start; otherwise the rows
  // the filter lets through, in the order of the sorted column.
  int rowCount() const { return list_.empty() ? 1 : static_cast<int>(order_.size()); }
  // A cell's text ("" on the empty row and outside the grid). The number column keeps the catalogue's
  // line number whatever the filter and the order.
  std::string cellText(int row, int column) const;
  // A game file an installation replaced: its row is marked (bold) and its hint names the installation
  // ("" for every other row).
  bool rowReplaced(int row) const { return replacedBy(row) != nullptr; }
  std::string rowHint(int row) const;
  static std::string columnTitle(int column);
  const FilesList& filesList() const { return list_; }

  // Header texts' widths and the resize tracking, done while the main window is created.
  void setUpGrid();
  // Fills the grid from the catalogue and the descriptions file, keeping the current row where it can.
  void FilesListShow();
  // Stretches the column at a position (-1: the last) over the width left in the grid.
  void FitColumn(int position);
  // The grid was resized.
  void GridResize() { FitColumn(-1); }
  // A column was dragged to another place: the number column stays first, the last fills the rest.
  void GridColumnMoved();
  // The left button went down on the right border of the column at position (-1: on none): its width and
  // its right neighbour's are noted.
  void GridBorderPressed(int position);
  // The button came up: the right neighbour gives or takes the difference, or the drag is undone when it
  // would swallow the neighbour; then the last column is fitted again.
  void RedrawGrid();

  void GridDblClick();  // launches the current row's file
  void N7Click() { GridDblClick(); }  // "запустить"
  void N8Click();       // "изменить описание": a description for the current row's extension
  void N9Click();       // "показать информацию": the file info dialog for the current row
  void GridMouseMove();
  // The current row changed: the preview pane shows its game file (only that one is read).
  void GridSelectionChanged();
  // The filter field: typing narrows the rows to those whose name or path holds the text, letter case
  // ignored; Esc in the field clears it.
  void FilterChange(const std::string& text);
  void FilterEscape();
  // A click on a column's header sorts by it, again reverses; the number column gives back the
  // catalogue's order. The current file stays current.
  void HeaderClick(int column);
  // A press of any button on a row (none: below the last row) makes the row current; the right button opens
  // the menu, the middle one the file info. True when the press is taken here and goes no further.
  bool GridMouseDown(std::optional<int> row, Button button);

  // Column-resize tracking: the position of the column whose right border the left button went down on
  // (-1: none), its width then, and its width plus its right neighbour's.
  int SizingCol = -1;
  int SizingColWidth = 0;
  int SizingPairWidth = 0;

  // The widths setUpGrid gives the first three columns.
  static constexpr int kNumberWidth = 30, kFileWidth = 100, kPathWidth = 350;

 private:
  app::Program& program_;
  FilesListView& view_;
  const std::string* replacedBy(int row) const;
  // The catalogue row of the current row, if a file is shown there.
  std::optional<std::size_t> currentFile() const;
  // Shows the rows anew after the filter or the order changed: the file that was current stays current
  // where it is still shown, else the first row becomes current.
  void showRows(std::optional<std::size_t> keep);

  FilesList list_;
  RowOrder order_;
  installs::ReplacedFiles replaced_;
};

}  // namespace catalogue
