#include "catalogue/ui/FilesListPage.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "app/program.h"
#include "app/ui/TForm1.h"
#include "catalogue/texts.h"
#include "catalogue/ui/TListInfo.h"
#include "preview/ui/PreviewPane.h"
#include "sys/paths.h"

using app::ui::q;
using app::ui::s;

namespace {
// Beside the grid's 480 pixels of columns, in the main window's 658.
constexpr int kPaneWidth = 144;
}  // namespace

// ---- CatalogueModel ----

void CatalogueModel::reset() {
  beginResetModel();
  endResetModel();
}

QString CatalogueModel::text(int row, int column) const { return q(presenter_.cellText(row, column)); }

int CatalogueModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return presenter_.rowCount();
}
int CatalogueModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole) return text(index.row(), index.column());
  // A game file an installation replaced: bold (its number stays plain, to fit its narrow column), its
  // hint naming the installation.
  if (role == Qt::FontRole && index.column() != Number && presenter_.rowReplaced(index.row())) {
    QFont bold = QApplication::font();
    bold.setBold(true);
    return bold;
  }
  if (role == Qt::ToolTipRole) {
    const std::string hint = presenter_.rowHint(index.row());
    return hint.empty() ? QVariant() : QVariant(q(hint));
  }
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
  return q(catalogue::FilesListPresenter::columnTitle(section));
}

Qt::ItemFlags CatalogueModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.column() == Number) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// ---- FilesListPage ----

FilesListPage::FilesListPage(TForm1& main)
    : main_(main),
      presenter_(std::make_unique<catalogue::FilesListPresenter>(main.program(),
                                                                 static_cast<catalogue::FilesListView&>(*this))),
      SizingCol(presenter_->SizingCol) {
  setObjectName("FilesList");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);

  auto* search = new QHBoxLayout();
  search->setContentsMargins(4, 2, 4, 0);
  auto* searchLabel = new QLabel(q(catalogue::texts::kFilterLabel), this);
  SearchEdit = new QLineEdit(this);
  SearchEdit->setObjectName("SearchEdit");
  SearchEdit->setAccessibleName(q(catalogue::texts::kFilterLabel).remove(':'));
  SearchEdit->setClearButtonEnabled(true);
  searchLabel->setBuddy(SearchEdit);
  SearchEdit->installEventFilter(this);  // Esc clears it
  search->addWidget(searchLabel);
  search->addWidget(SearchEdit, 1);
  layout->addLayout(search);
  connect(SearchEdit, &QLineEdit::textChanged, this,
          [this](const QString& text) { main_.guard([this, text] { presenter_->FilterChange(s(text)); }); });

  Grid = new QTableView(this);
  Grid->setObjectName("Grid");
  Grid->setAccessibleName(q(catalogue::texts::kPageCaption));
  model_ = new CatalogueModel(*presenter_, this);
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
  // The grid keeps the width its columns need; the preview pane takes what is left beside it.
  auto* beside = new QHBoxLayout;
  beside->setSpacing(2);
  beside->addWidget(Grid, 1);
  pane_ = new preview::ui::PreviewPane(main.program().fs(), this);
  pane_->setFixedWidth(kPaneWidth);
  beside->addWidget(pane_);
  layout->addLayout(beside, 1);
  connect(Grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { main_.guard([this] { presenter_->GridSelectionChanged(); }); });

  QHeaderView* columns = header();
  columns->setSectionsClickable(false);  // a press on the header selects nothing
  columns->setSectionsMovable(true);
  columns->setFirstSectionMovable(false);
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setStretchLastSection(false);
  columns->setMinimumSectionSize(1);
  columns->setDefaultSectionSize(50);
  connect(columns, &QHeaderView::sectionMoved, this, [this] { main_.guard([this] { presenter_->GridColumnMoved(); }); });
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

FilesListPage::~FilesListPage() = default;

void FilesListPage::setUpGrid() {
  QHeaderView* columns = header();
  if (columns->viewport()->property("GridWindowProc").toBool() == false) {
    // Installed once, however often the start-up runs.
    columns->viewport()->installEventFilter(this);
    columns->viewport()->setProperty("GridWindowProc", true);
  }
  presenter_->setUpGrid();
}

void FilesListPage::FilesListShow() { presenter_->FilesListShow(); }

void FilesListPage::setFilterText(const std::string& text) {
  const QSignalBlocker quiet(SearchEdit);  // the presenter knows already
  SearchEdit->setText(q(text));
}

void FilesListPage::showSortMark(int column, bool descending) {
  header()->setSortIndicatorShown(column >= 0);
  header()->setSortIndicator(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}
void FilesListPage::FitColumn(int column) { presenter_->FitColumn(column); }
void FilesListPage::RedrawGrid() { presenter_->RedrawGrid(); }
void FilesListPage::GridDblClick() { presenter_->GridDblClick(); }
void FilesListPage::N8Click() { presenter_->N8Click(); }
void FilesListPage::N9Click() { presenter_->N9Click(); }
void FilesListPage::GridMouseMove() { presenter_->GridMouseMove(); }

// ---- the view ----

void FilesListPage::showRowCount(int) { model_->reset(); }

int FilesListPage::currentRow() const {
  int top = -1;
  for (const QModelIndex& index : Grid->selectionModel()->selectedIndexes()) {
    if (top < 0 || index.row() < top) top = index.row();
  }
  if (top >= 0) return top;
  const QModelIndex current = Grid->currentIndex();
  return current.isValid() ? current.row() : 0;
}

void FilesListPage::selectRow(int row) {
  Grid->selectionModel()->setCurrentIndex(model_->index(row, CatalogueModel::FileName),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int FilesListPage::columnCount() const { return header()->count(); }

int FilesListPage::columnWidth(int position) const {
  const int section = sectionAt(position);
  return header()->isSectionHidden(section) ? 0 : header()->sectionSize(section);
}

void FilesListPage::setColumnWidth(int position, int width) { header()->resizeSection(sectionAt(position), width); }

int FilesListPage::gridWidth() const { return Grid->viewport()->width(); }

int FilesListPage::columnPosition(int column) const { return header()->visualIndex(column); }

void FilesListPage::moveColumn(int from, int to) {
  const QSignalBlocker blocker(header());
  header()->moveSection(from, to);
}

void FilesListPage::showPopupMenu() { PopupMenu1->popup(popupAt_); }

preview::PreviewPanePresenter* FilesListPage::previewPane() { return pane_ ? &pane_->presenter() : nullptr; }

void FilesListPage::showFileInfo(const std::string& file, const std::string& path, const std::string& description) {
  if (TListInfo* info = main_.windows().listInfo) info->showFor(q(file), q(path), q(description));
}

// ---- the toolkit's events ----

bool FilesListPage::GridMouseDown(QMouseEvent* event) {
  const QModelIndex index = Grid->indexAt(event->position().toPoint());
  std::optional<int> row;
  if (index.isValid()) row = index.row();
  catalogue::FilesListPresenter::Button button = catalogue::FilesListPresenter::Button::Other;
  switch (event->button()) {
    case Qt::LeftButton: button = catalogue::FilesListPresenter::Button::Left; break;
    case Qt::RightButton: button = catalogue::FilesListPresenter::Button::Right; break;
    case Qt::MiddleButton: button = catalogue::FilesListPresenter::Button::Middle; break;
    default: break;
  }
  popupAt_ = event->globalPosition().toPoint();
  bool taken = button == catalogue::FilesListPresenter::Button::Right ||
               button == catalogue::FilesListPresenter::Button::Middle || !row;
  main_.guard([&] { taken = presenter_->GridMouseDown(row, button); });
  return taken;
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

bool FilesListPage::GridWindowProc(QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      const QPoint at = mouse->position().toPoint();
      headerPressAt_ = at;
      const int border = ColumnAtBorder(at.x(), at.y());
      headerPressOnBorder_ = border != -1;
      presenter_->GridBorderPressed(border);
    }
  } else if (event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      // The header has applied the widths while the mouse moved; the release only ends its drag.
      RedrawGrid();
      // A press and release on one column, away from its borders and without a drag, is a click.
      const QPoint at = mouse->position().toPoint();
      const int pressed = header()->logicalIndexAt(headerPressAt_);
      if (!headerPressOnBorder_ && pressed != -1 && pressed == header()->logicalIndexAt(at) &&
          (at - headerPressAt_).manhattanLength() < QApplication::startDragDistance()) {
        main_.guard([this, pressed] { presenter_->HeaderClick(pressed); });
      }
    }
  }
  return false;
}

bool FilesListPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == header()->viewport()) return GridWindowProc(event);
  if (watched == SearchEdit && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    main_.guard([this] { presenter_->FilterEscape(); });
    return true;
  }
  if (watched == Grid && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      // Enter on a row starts its file, as a double click does.
      main_.guard([this] { GridDblClick(); });
      return true;
    }
  }
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
        // The toolkit runs the filter for a disabled main window too; its busy state is not the pointer's
        // to end.
        if (isEnabled()) main_.guard([this] { GridMouseMove(); });
        break;
      case QEvent::Resize:
        presenter_->GridResize();
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}
