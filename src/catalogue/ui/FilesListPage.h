#pragma once

#include <QAbstractTableModel>
#include <QPoint>
#include <QWidget>

#include <memory>

#include "catalogue/files_list_presenter.h"

class QAction;
class QHeaderView;
class QLineEdit;
class QMenu;
class QMouseEvent;
class QTableView;
class TForm1;
namespace preview::ui {
class PreviewPane;
}

// The catalogue as a table: the presenter holds the lines, and a row's texts are asked of it only when the
// view draws them.
class CatalogueModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  using Column = catalogue::FilesListPresenter::Column;
  static constexpr Column Number = catalogue::FilesListPresenter::Number;
  static constexpr Column FileName = catalogue::FilesListPresenter::FileName;
  static constexpr Column Path = catalogue::FilesListPresenter::Path;
  static constexpr Column Description = catalogue::FilesListPresenter::Description;
  CatalogueModel(const catalogue::FilesListPresenter& presenter, QObject* parent)
      : QAbstractTableModel(parent), presenter_(presenter) {}

  // The presenter's rows changed: every text is asked for again.
  void reset();
  // A cell's text ("" on the empty row).
  QString text(int row, int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  const catalogue::FilesListPresenter& presenter_;
};

// The page "Список файлов" (catalogue::FilesListPresenter does what it does): a table view over the
// presenter's rows, its header reporting the border a drag starts on.
class FilesListPage final : public QWidget, private catalogue::FilesListView {
  Q_OBJECT

  // Made before anything that refers to it.
  TForm1& main_;
  std::unique_ptr<catalogue::FilesListPresenter> presenter_;

 public:
  explicit FilesListPage(TForm1& main);
  ~FilesListPage() override;
  catalogue::FilesListPresenter& presenter() { return *presenter_; }

  // Fills the grid from the catalogue and the descriptions file.
  void FilesListShow();
  // Header texts, column widths and the resize tracking, done while the main window is created.
  void setUpGrid();
  // Stretches the column at a position (-1: the last) over the width left in the grid.
  void FitColumn(int column);
  // The position of the column whose right border is under a point of the header (header
  // coordinates), or -1.
  int ColumnAtBorder(int x, int y) const;
  // Ends a tracked column resize: the right neighbour gives or takes the difference, or the drag is
  // undone; then the last column is fitted again.
  void RedrawGrid();

  void GridDblClick();  // launches the current row's file (also "запустить")
  void N7Click() { GridDblClick(); }
  void N8Click();       // adds a description for the current row's extension
  void N9Click();       // the file info dialog for the current row
  void GridMouseMove();

  // The top row of the selection (0-based model row).
  int currentRow() const override;
  QTableView* grid() const { return Grid; }
  CatalogueModel* model() const { return model_; }
  QMenu* popupMenu() const { return PopupMenu1; }
  QLineEdit* searchEdit() const { return SearchEdit; }
  preview::ui::PreviewPane* pane() const { return pane_; }

  // Column-resize tracking, the presenter's (catalogue::FilesListPresenter::SizingCol).
  const int& SizingCol;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The view of the presenter.
  void showRowCount(int rows) override;
  void selectRow(int row) override;
  int columnCount() const override;
  int columnWidth(int position) const override;
  void setColumnWidth(int position, int width) override;
  int gridWidth() const override;
  int columnPosition(int column) const override;
  void moveColumn(int from, int to) override;
  void setFilterText(const std::string& text) override;
  void showSortMark(int column, bool descending) override;
  void showPopupMenu() override;
  void showFileInfo(const std::string& file, const std::string& path, const std::string& description) override;
  preview::PreviewPanePresenter* previewPane() override;

  // Watches the header: a left-button press records the column being resized, a release ends it. Every
  // event goes on to the header unchanged.
  bool GridWindowProc(QEvent* event);
  // Any button: the row under the pointer becomes current; the right button opens the menu, the middle
  // one the file info. False when the event is to go on to the grid.
  bool GridMouseDown(QMouseEvent* event);
  void buildPopupMenu();
  QHeaderView* header() const;
  int sectionAt(int position) const;  // logical column at a position

  QPoint popupAt_;
  // Where the left button went down on the header, and whether on a border (a resize, not a click).
  QPoint headerPressAt_;
  bool headerPressOnBorder_ = false;
  QLineEdit* SearchEdit = nullptr;
  QTableView* Grid = nullptr;
  preview::ui::PreviewPane* pane_ = nullptr;
  CatalogueModel* model_ = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* N7 = nullptr;
  QAction* N8 = nullptr;
  QAction* N9 = nullptr;
};
