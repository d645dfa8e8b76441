#pragma once

#include <QWidget>

class TForm1;

// The page "Список файлов": the catalogue in a grid with numbers, names, paths and descriptions.
class FilesListPage final : public QWidget {
  Q_OBJECT

 public:
  explicit FilesListPage(TForm1& main);
  void FilesListShow();
  // Header texts and column widths, done while the main window is created.
  void setUpGrid();
  // Stretches a column (-1: the last) over the width left in the grid.
  void FitColumn(int column);

 private:
  TForm1& main_;
};
