#pragma once

#include <QAbstractTableModel>
#include <QWidget>

#include "catalogue/files_list.h"

class QAction;
class QHeaderView;
class QMenu;
class QMouseEvent;
class QTableView;
class TForm1;

// The catalogue as a table: the lines stay in memory and a row's texts are worked out only when the view
// asks for them. With no catalogue lines it holds one empty row, as the grid shows at start.
class CatalogueModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { Number = 0, FileName = 1, Path = 2, Description = 3 };
  using QAbstractTableModel::QAbstractTableModel;

  void setFilesList(catalogue::FilesList list);
  const catalogue::FilesList& filesList() const { return list_; }
  // A cell's text ("" on the empty row).
  QString text(int row, int column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  catalogue::FilesList list_;
};

// The page "Список файлов": the catalogue in the grid with numbers, names, paths and descriptions. From
// it a file is started, a description added for its extension, and the file info dialog opened. The
// columns always fill the grid: a dragged border moves width between a column and its right neighbour,
// and the last column takes what is left.
class FilesListPage final : public QWidget {
  Q_OBJECT

 public:
  explicit FilesListPage(TForm1& main);

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
  int currentRow() const;
  QTableView* grid() const { return Grid; }
  CatalogueModel* model() const { return model_; }
  QMenu* popupMenu() const { return PopupMenu1; }

  // Column-resize tracking: the position of the column whose right border the left button went down on
  // (-1: none), its width then, and its width plus its right neighbour's.
  int SizingCol = -1;
  int SizingColWidth = 0;
  int SizingPairWidth = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Watches the header: a left-button press records the column being resized, a release ends it. Every
  // event goes on to the header unchanged.
  bool GridWindowProc(QEvent* event);
  // Any button: the row under the pointer becomes current; the right button opens the menu, the middle
  // one the file info. False when the event is to go on to the grid.
  bool GridMouseDown(QMouseEvent* event);
  void buildPopupMenu();
  void keepNumberColumnFirst();
  QHeaderView* header() const;
  int sectionAt(int position) const;  // logical column at a position

  TForm1& main_;
  QTableView* Grid = nullptr;
  CatalogueModel* model_ = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* N7 = nullptr;
  QAction* N8 = nullptr;
  QAction* N9 = nullptr;
};
