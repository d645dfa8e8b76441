#include "catalogue/ui/FilesListPage.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "app/program.h"
#include "app/ui/TForm1.h"
#include "catalogue/texts.h"
#include "catalogue/ui/TListInfo.h"
#include "sys/paths.h"

using app::ui::q;
using app::ui::s;

// ---- CatalogueModel ----

void CatalogueModel::setFilesList(catalogue::FilesList list) {
  beginResetModel();
  list_ = std::move(list);
  endResetModel();
}

QString CatalogueModel::text(int row, int column) const {
  if (row < 0 || static_cast<std::size_t>(row) >= list_.size()) return {};
  const auto at = static_cast<std::size_t>(row);
  switch (column) {
    case Number: return q(list_.number(at));
    case FileName: return q(list_.name(at));
    case Path: return q(list_.path(at));
    case Description: return q(list_.description(at));
    default: return {};
  }
}

int CatalogueModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return list_.empty() ? 1 : static_cast<int>(list_.size());
}

int CatalogueModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return text(index.row(), index.column());
  if (index.column() == Number) {
    // The number column looks like the header it continues.
    if (role == Qt::BackgroundRole) return QApplication::palette().button();
    if (role == Qt::ForegroundRole) return QApplication::palette().buttonText();
  }
  return {};
}

QVariant CatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  switch (section) {
    case FileName: return q(catalogue::texts::kFileHeader);
    case Path: return q(catalogue::texts::kPathHeader);
    case Description: return q(catalogue::texts::kDescriptionHeader);
    default: return QString();
  }
}

Qt::ItemFlags CatalogueModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.column() == Number) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---- FilesListPage ----

FilesListPage::FilesListPage(TForm1& main) : main_(main) {
  setObjectName("FilesList");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  Grid = new QTableView(this);
  Grid->setObjectName("Grid");
  Grid->setAccessibleName(q(catalogue::texts::kPageCaption));
  model_ = new CatalogueModel(this);
  Grid->setModel(model_);
  Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  Grid->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid->setShowGrid(true);
  Grid->setWordWrap(false);
  Grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  Grid->verticalHeader()->hide();
  Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  Grid->verticalHeader()->setMinimumSectionSize(1);
  Grid->verticalHeader()->setDefaultSectionSize(17);
  Grid->viewport()->setMouseTracking(true);
  Grid->viewport()->installEventFilter(this);
  Grid->installEventFilter(this);  // the menu key
  layout->addWidget(Grid);

  QHeaderView* columns = header();
  columns->setSectionsClickable(false);  // a press on the header selects nothing
  columns->setSectionsMovable(true);
  columns->setFirstSectionMovable(false);
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setStretchLastSection(false);
  columns->setMinimumSectionSize(1);
  columns->setDefaultSectionSize(50);
  connect(columns, &QHeaderView::sectionMoved, this, [this] {
    main_.guard([this] {
      keepNumberColumnFirst();
      FitColumn(-1);
    });
  });
  connect(Grid, &QTableView::doubleClicked, this, [this] { main_.guard([this] { GridDblClick(); }); });
  buildPopupMenu();
}

void FilesListPage::buildPopupMenu() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  N7 = PopupMenu1->addAction(q(catalogue::texts::kRun));
  N7->setObjectName("N7");
  QFont bold = N7->font();
  bold.setBold(true);
  N7->setFont(bold);
  PopupMenu1->setDefaultAction(N7);
  PopupMenu1->addSeparator()->setObjectName("N10");
  N8 = PopupMenu1->addAction(q(catalogue::texts::kEditDescription));
  N8->setObjectName("N8");
  N9 = PopupMenu1->addAction(q(catalogue::texts::kShowInformation));
  N9->setObjectName("N9");
  connect(N7, &QAction::triggered, this, [this] { main_.guard([this] { N7Click(); }); });
  connect(N8, &QAction::triggered, this, [this] { main_.guard([this] { N8Click(); }); });
  connect(N9, &QAction::triggered, this, [this] { main_.guard([this] { N9Click(); }); });
}

QHeaderView* FilesListPage::header() const { return Grid->horizontalHeader(); }

int FilesListPage::sectionAt(int position) const { return header()->logicalIndex(position); }

void FilesListPage::setUpGrid() {
  QHeaderView* columns = header();
  if (columns->viewport()->property("GridWindowProc").toBool() == false) {
    // Installed once, however often the start-up runs.
    columns->viewport()->installEventFilter(this);
    columns->viewport()->setProperty("GridWindowProc", true);
  }
  columns->resizeSection(sectionAt(0), 30);
  columns->resizeSection(sectionAt(1), 100);
  columns->resizeSection(sectionAt(2), 350);
  SizingCol = -1;
  SizingColWidth = 0;
  SizingPairWidth = 0;
  FitColumn(-1);
}

void FilesListPage::keepNumberColumnFirst() {
  QHeaderView* columns = header();
  const int at = columns->visualIndex(CatalogueModel::Number);
  if (at == 0) return;
  const QSignalBlocker blocker(columns);
  columns->moveSection(at, 0);
}

void FilesListPage::FilesListShow() {
  app::Program& program = main_.program();
  const int keep = currentRow();
  {
    app::BusyScope busy(program, catalogue::texts::kFilling);
    catalogue::FilesList list =
        catalogue::FilesList::read(program.fs(), program.settings.FilesListDir, program.settings.FilesInfoDir);
    model_->setFilesList(std::move(list));
  }
  const int row = std::clamp(keep, 0, model_->rowCount() - 1);
  Grid->selectionModel()->setCurrentIndex(model_->index(row, CatalogueModel::FileName),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int FilesListPage::currentRow() const {
  int top = -1;
  for (const QModelIndex& index : Grid->selectionModel()->selectedIndexes()) {
    if (top < 0 || index.row() < top) top = index.row();
  }
  if (top >= 0) return top;
  const QModelIndex current = Grid->currentIndex();
  return current.isValid() ? current.row() : 0;
}

void FilesListPage::GridDblClick() {
  catalogue::launchFile(main_.program().services().shell, s(model_->text(currentRow(), CatalogueModel::Path)));
}

void FilesListPage::N8Click() {
  app::Program& program = main_.program();
  const int row = currentRow();
  const std::string current = s(model_->text(row, CatalogueModel::Description));
  const std::string extension = sys::extension(s(model_->text(row, CatalogueModel::Path)));
  const auto text =
      program.ui().inputBox(app::kApplicationTitle, catalogue::texts::descriptionPrompt(extension), current);
  if (!text) return;  // a cancelled box changes nothing
  catalogue::replaceDescription(program.fs(), program.settings.FilesInfoDir, extension, *text);
  FilesListShow();
}

void FilesListPage::N9Click() {
  TListInfo* info = main_.windows().listInfo;
  if (!info) return;
  const int row = currentRow();
  info->showFor(model_->text(row, CatalogueModel::FileName), model_->text(row, CatalogueModel::Path),
                model_->text(row, CatalogueModel::Description));
}

void FilesListPage::GridMouseMove() { main_.program().Status(catalogue::texts::kGridHint, 0); }

bool FilesListPage::GridMouseDown(QMouseEvent* event) {
  const QModelIndex index = Grid->indexAt(event->position().toPoint());
  if (index.isValid()) {
    Grid->selectionModel()->setCurrentIndex(model_->index(index.row(), CatalogueModel::FileName),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  switch (event->button()) {
    case Qt::RightButton:
      PopupMenu1->popup(event->globalPosition().toPoint());
      return true;
    case Qt::MiddleButton:
      main_.guard([this] { N9Click(); });
      return true;
    default:
      // Below the last row the current row stays as it is.
      return !index.isValid();
  }
}

int FilesListPage::ColumnAtBorder(int x, int y) const {
  QHeaderView* columns = header();
  if (y < 0 || y >= columns->height()) return -1;
  const int position = columns->visualIndexAt(x);
  if (position < 0) return -1;
  // The zone the header itself resizes in: a few pixels either side of a border.
  const int grip = columns->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, columns);
  const int left = columns->sectionViewportPosition(sectionAt(position));
  const int right = left + columns->sectionSize(sectionAt(position));
  int result = -1;
  if (x < left + grip) {
    result = position - 1;
  } else if (x > right - grip) {
    result = position;
  }
  if (result < 0 || columns->sectionResizeMode(sectionAt(result)) != QHeaderView::Interactive) return -1;
  return result;
}

void FilesListPage::RedrawGrid() {
  if (SizingCol == -1) return;
  QHeaderView* columns = header();
  const int last = columns->count() - 1;
  if (SizingCol < last) {
    const int rest = SizingPairWidth - columns->sectionSize(sectionAt(SizingCol));
    if (rest > 0) {
      columns->resizeSection(sectionAt(SizingCol + 1), rest);
    } else {
      columns->resizeSection(sectionAt(SizingCol), SizingColWidth);  // it would swallow the neighbour
    }
  }
  FitColumn(-1);
  SizingCol = -1;
}

void FilesListPage::FitColumn(int column) {
  QHeaderView* columns = header();
  const int position = column < 0 ? columns->count() - 1 : column;
  if (position < 0 || position >= columns->count()) return;
  int width = Grid->viewport()->width();
  for (int other = 0; other < columns->count(); ++other) {
    if (other != position && !columns->isSectionHidden(sectionAt(other))) width -= columns->sectionSize(sectionAt(other));
  }
  if (width >= 0) columns->resizeSection(sectionAt(position), width);
}

bool FilesListPage::GridWindowProc(QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      const QPoint at = mouse->position().toPoint();
      SizingCol = ColumnAtBorder(at.x(), at.y());
      if (SizingCol >= 0) {
        QHeaderView* columns = header();
        SizingColWidth = columns->sectionSize(sectionAt(SizingCol));
        SizingPairWidth = SizingColWidth;
        if (SizingCol + 1 < columns->count()) SizingPairWidth += columns->sectionSize(sectionAt(SizingCol + 1));
      }
    }
  } else if (event->type() == QEvent::MouseButtonRelease) {
    // The header has applied the widths while the mouse moved; the release only ends its drag.
    if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) RedrawGrid();
  }
  return false;
}

bool FilesListPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == header()->viewport()) return GridWindowProc(event);
  if (watched == Grid && event->type() == QEvent::ContextMenu &&
      static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
    // From the keyboard the menu opens over the current row.
    const QRect row = Grid->visualRect(model_->index(currentRow(), CatalogueModel::FileName));
    PopupMenu1->popup(Grid->viewport()->mapToGlobal(row.isValid() ? row.center() : QPoint(0, 0)));
    return true;
  }
  if (watched == Grid->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
        return GridMouseDown(static_cast<QMouseEvent*>(event));
      case QEvent::MouseButtonDblClick:
        // A second press of a button other than the left one is another press, not a launch.
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
          return GridMouseDown(static_cast<QMouseEvent*>(event));
        }
        break;
      case QEvent::MouseMove:
        // The filter runs for a disabled main window too; its busy state is not the pointer's to end.
        if (isEnabled()) main_.guard([this] { GridMouseMove(); });
        break;
      case QEvent::Resize:
        FitColumn(-1);
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}
