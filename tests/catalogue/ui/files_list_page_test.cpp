#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <cstring>

#include "catalogue/ui/FilesListPage.h"
#include "installs/store.h"
#include "support/ui/main_window_fixture.h"
#include "sys/paths.h"

namespace {

using testing_support::MainWindowFixture;
using testing_support::readBytes;
using testing_support::writeBytes;

class FilesListPageTest : public MainWindowFixture {
 protected:
  std::string catalogueFile() const { return programFolder() + "fileslist.dat"; }
  std::string descriptionsFile() const { return programFolder() + "filesinfo.dat"; }
  std::string path(const std::string& relative) const { return gameFolder() + sys::kSep + testing_support::native(relative); }

  // The configured program with a catalogue of the given game paths, the main window shown on page 1.
  void openPage(const std::vector<std::string>& relativePaths) {
    storeSettings();
    writeCatalogue(relativePaths);
    createWindows();
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
    QApplication::processEvents();  // the activation step
    form1->pages()->setCurrentIndex(1);
    QApplication::processEvents();
    page = form1->filesListPage();
    grid = page->grid();
    header = grid->horizontalHeader();
  }
  void writeCatalogue(const std::vector<std::string>& relativePaths) {
    std::vector<std::string> lines;
    for (const auto& relative : relativePaths) lines.push_back(path(relative));
    fs.writeLines(catalogueFile(), lines);
  }
  QString cell(int row, int column) const { return page->model()->text(row, column); }
  QStringList column(int c) const {
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount(); ++row) texts << grid->model()->index(row, c).data().toString();
    return texts;
  }
  int width(int position) const { return header->sectionSize(header->logicalIndex(position)); }
  int totalWidth() const {
    int total = 0;
    for (int position = 0; position < header->count(); ++position) total += width(position);
    return total;
  }
  int rightBorder(int position) const {
    return header->sectionViewportPosition(header->logicalIndex(position)) + width(position);
  }
  QPoint rowPoint(int row) const { return grid->visualRect(grid->model()->index(row, 2)).center(); }
  // What the system sends for a double click: a click, then the second press as a double click.
  void doubleClick(const QPoint& at) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
  }
  // A drag of the border right of the column at position, by dx pixels, on the header.
  void dragBorder(int position, int dx) {
    const int y = header->height() / 2;
    const QPoint from(rightBorder(position) - 1, y);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(header->viewport(), from + QPoint(dx / 2, 0));
    QTest::mouseMove(header->viewport(), from + QPoint(dx, 0));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, from + QPoint(dx, 0));
  }

  FilesListPage* page = nullptr;
  QTableView* grid = nullptr;
  QHeaderView* header = nullptr;
};

TEST_F(FilesListPageTest, HeaderWidthsAndTheLastColumnFillingTheGrid) {
  openPage({});
  EXPECT_EQ(grid->objectName(), "Grid");
  QStringList headers;
  for (int c = 0; c < 4; ++c) headers << grid->model()->headerData(c, Qt::Horizontal).toString();
  EXPECT_EQ(headers, (QStringList{"", "Файл", "Путь", "Описание"}));
  EXPECT_EQ(width(0), 30);
  EXPECT_EQ(width(1), 100);
  EXPECT_EQ(width(2), 350);
  EXPECT_EQ(totalWidth(), grid->viewport()->width());
  EXPECT_EQ(grid->model()->rowCount(), 1) << "no catalogue: the one empty row";
  EXPECT_EQ(cell(0, 0), "");
  EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 17);
}

TEST_F(FilesListPageTest, RowsAreNumberedAndAShrunkCatalogueLeavesOnlyItsRows) {
  openPage({"a.wav", "models/b.mdl", "c.txt", "d.txt", "e.txt"});
  EXPECT_EQ(column(0), (QStringList{"1", "2", "3", "4", "5"}));
  EXPECT_EQ(cell(1, 1), "b.mdl");
  EXPECT_EQ(cell(1, 2).toStdString(), path("models/b.mdl"));
  writeCatalogue({"x.wav", "y.wav"});
  form1->filesListPage()->FilesListShow();
  EXPECT_EQ(column(0), (QStringList{"1", "2"}));
  EXPECT_EQ(column(1), (QStringList{"x.wav", "y.wav"}));
  EXPECT_FALSE(form1->ui().busy());
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(FilesListPageTest, CatalogueGoneAfterARescanLeavesTheEmptyRow) {
  openPage({"a.wav", "b.wav"});
  std::filesystem::remove(sys::toPath(catalogueFile()));
  page->FilesListShow();
  EXPECT_EQ(grid->model()->rowCount(), 1);
  EXPECT_EQ(cell(0, 2), "");
}

TEST_F(FilesListPageTest, DescriptionsMatchAnywhereAndAreAddedPerExtension) {
  writeBytes(programFolder() + "filesinfo.dat", "");
  openPage({"sound/go.wav", "sound/go.wav.bak", "maps/de_dust.bsp", "sound/hi.wav"});
  EXPECT_EQ(column(3), (QStringList{"информации нет", "информации нет", "информации нет", "информации нет"}));

  grid->selectRow(0);
  ui.expectInput("Varnikit", "Введите описание для файлов \".wav\"", "A");
  page->N8Click();
  EXPECT_EQ(ui.inputDefaults.back(), "информации нет");
  EXPECT_EQ(column(3), (QStringList{"A", "A", "информации нет", "A"})) << ".wav inside a path applies too";

  grid->selectRow(3);
  ui.expectInput("Varnikit", "Введите описание для файлов \".wav\"", "B");
  page->N8Click();
  EXPECT_EQ(ui.inputDefaults.back(), "A");
  EXPECT_EQ(cell(0, 3), "B") << "an edit replaces the description, it does not add a second one";
  EXPECT_EQ(page->currentRow(), 3) << "the row stays current across the refill";
  EXPECT_EQ(readBytes(descriptionsFile()), ".wav\r\nB\r\n");

  grid->selectRow(2);
  ui.expectInput("Varnikit", "Введите описание для файлов \".bsp\"", std::nullopt);
  page->N8Click();
  EXPECT_EQ(readBytes(descriptionsFile()), ".wav\r\nB\r\n") << "Cancel changes nothing";
  EXPECT_EQ(cell(2, 3), "информации нет");
}

TEST_F(FilesListPageTest, DescriptionOnTheEmptyRowHasAnEmptyKeyThatAppliesToNothing) {
  writeBytes(descriptionsFile(), "");
  openPage({});
  ui.expectInput("Varnikit", "Введите описание для файлов \"\"", "всё");
  page->N8Click();
  EXPECT_EQ(ui.inputDefaults.back(), "");
  EXPECT_EQ(readBytes(descriptionsFile()), "\r\n\xE2\xF1\xB8\r\n");
  writeCatalogue({"a.wav"});
  page->FilesListShow();
  EXPECT_EQ(cell(0, 3), "информации нет");
}

TEST_F(FilesListPageTest, DescriptionsThatCannotBeWrittenAreReportedAndTheWindowStaysUsable) {
  openPage({"a.wav"});
  const std::string unwritable = temp / "missing-folder/filesinfo.dat";
  form1->program().settings.FilesInfoDir = unwritable;
  ui.expectInput("Varnikit", "Введите описание для файлов \".wav\"", "A");
  ui.expectMessage("Varnikit", std::string(std::strerror(ENOENT)) + ": " + unwritable);
  form1->findChild<QAction*>("N8")->trigger();
  EXPECT_FALSE(form1->ui().busy());
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(statusText(), "");

  // The fill itself creates a missing descriptions file: that failure ends the fill the same way.
  form1->pages()->setCurrentIndex(0);
  ui.expectMessage("Varnikit", std::string(std::strerror(ENOENT)) + ": " + unwritable);
  form1->pages()->setCurrentIndex(1);
  EXPECT_FALSE(form1->ui().busy());
  EXPECT_TRUE(form1->isEnabled());
  EXPECT_EQ(cell(0, 2).toStdString(), path("a.wav")) << "the grid keeps what it showed";
}

TEST_F(FilesListPageTest, LaunchingStartsTheCurrentRowInItsFolder) {
  openPage({"a.txt", "models/readme.txt"});
  doubleClick(rowPoint(1));
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, path("models/readme.txt"));
  EXPECT_EQ(shell.calls[0].params, "");
  EXPECT_EQ(shell.calls[0].workFolder, path("models"));
  EXPECT_EQ(shell.calls[0].show, sys::ShowCommand::Show);
  grid->selectRow(0);
  form1->findChild<QAction*>("N7")->trigger();
  ASSERT_EQ(shell.calls.size(), 2u);
  EXPECT_EQ(shell.calls[1].file, path("a.txt"));
}

TEST_F(FilesListPageTest, RightPressSelectsTheRowAndOpensTheMenu) {
  openPage({"a.txt", "b.txt", "c.txt"});
  QMenu* menu = page->popupMenu();
  EXPECT_EQ(menu->objectName(), "PopupMenu1");
  QStringList items;
  for (QAction* action : menu->actions()) items << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(items, (QStringList{"запустить", "-", "изменить описание", "показать информацию"}));
  EXPECT_EQ(menu->defaultAction()->objectName(), "N7");
  EXPECT_TRUE(menu->defaultAction()->font().bold());

  QTest::mousePress(grid->viewport(), Qt::RightButton, {}, rowPoint(2));
  EXPECT_EQ(page->currentRow(), 2);
  EXPECT_TRUE(menu->isVisible());
  EXPECT_TRUE(menu->geometry().contains(grid->viewport()->mapToGlobal(rowPoint(2)) + QPoint(1, 1)) ||
              menu->pos() == grid->viewport()->mapToGlobal(rowPoint(2)))
      << "at the mouse";
  menu->hide();

  grid->selectRow(1);
  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), grid->mapToGlobal(QPoint(0, 0)));
  QApplication::sendEvent(grid, &key);
  EXPECT_TRUE(menu->isVisible()) << "the menu key opens it too";
  EXPECT_EQ(page->currentRow(), 1);
  menu->hide();
}

TEST_F(FilesListPageTest, PressesBelowTheRowsOrOnTheHeaderKeepTheCurrentRow) {
  openPage({"a.txt", "b.txt"});
  grid->selectRow(1);
  const QPoint below(rowPoint(1).x(), rowPoint(1).y() + 60);
  ASSERT_FALSE(grid->indexAt(below).isValid());
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
    QTest::mousePress(grid->viewport(), button, {}, below);
    QTest::mouseRelease(grid->viewport(), button, {}, below);
    EXPECT_EQ(page->currentRow(), 1);
    page->popupMenu()->hide();
  }
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(rightBorder(1) + 20, header->height() / 2));
  EXPECT_EQ(page->currentRow(), 1);
  EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), 3) << "still the whole row, no column selected";
}

TEST_F(FilesListPageTest, MiddlePressShowsTheRowsInfoAndTheDialogStartsItsFile) {
  writeBytes(programFolder() + "filesinfo.dat", ".mdl\r\nМодель\r\n");
  openPage({"a.txt", "models/player/gign/gign.mdl"});
  QTest::mousePress(grid->viewport(), Qt::MiddleButton, {}, rowPoint(1));
  ASSERT_TRUE(listInfo->isVisible());
  EXPECT_EQ(listInfo->windowTitle(), "Информация");
  EXPECT_EQ(listInfo->size(), QSize(304, 121));
  EXPECT_EQ(listInfo->Edit1->text(), "gign.mdl");
  EXPECT_EQ(listInfo->Edit2->text().toStdString(), path("models/player/gign/gign.mdl"));
  EXPECT_EQ(listInfo->Edit3->text(), "Модель");
  EXPECT_TRUE(listInfo->Edit2->isReadOnly());
  EXPECT_FALSE(form1->isEnabled());

  QTest::mouseMove(listInfo->Edit2, QPoint(5, 5));
  QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), listInfo->Edit2->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(listInfo->Edit2, &move);
  EXPECT_EQ(listInfo->Edit2->toolTip(), listInfo->Edit2->text()) << "the full path in the hint";

  listInfo->Button2->click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, path("models/player/gign/gign.mdl"));
  EXPECT_TRUE(listInfo->isVisible()) << "starting leaves the dialog open";
  listInfo->Button1->click();
  EXPECT_FALSE(listInfo->isVisible());
  EXPECT_TRUE(form1->isEnabled());
}

TEST_F(FilesListPageTest, MouseOverTheGridExplainsItInTheStatusLine) {
  openPage({"a.txt"});
  QMouseEvent move(QEvent::MouseMove, QPointF(rowPoint(0)), grid->viewport()->mapToGlobal(QPointF(rowPoint(0))),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(grid->viewport(), &move);
  EXPECT_EQ(statusText(),
            "двойной щелчок - запуск файла......для появления меню щёлкните правой кнопкой мыши....... ");
}

TEST_F(FilesListPageTest, DraggingABorderMovesWidthToTheRightNeighbour) {
  openPage({"a.txt"});
  const int fill = width(3);
  dragBorder(1, 40);
  EXPECT_EQ(width(1), 140);
  EXPECT_EQ(width(2), 310);
  EXPECT_EQ(width(3), fill);
  EXPECT_EQ(page->SizingCol, -1);

  dragBorder(1, 330);  // further than the neighbour is wide
  EXPECT_EQ(width(1), 140) << "the drag is undone";
  EXPECT_EQ(width(2), 310);
  EXPECT_EQ(totalWidth(), grid->viewport()->width());

  dragBorder(0, -10);
  EXPECT_EQ(width(0), 20);
  EXPECT_EQ(width(1), 150);
}

TEST_F(FilesListPageTest, TheLastBorderAndWindowChangesKeepTheColumnsFillingTheGrid) {
  openPage({"a.txt"});
  const int fill = width(3);
  dragBorder(3, -60);
  EXPECT_EQ(width(3), fill);
  EXPECT_EQ(totalWidth(), grid->viewport()->width());

  // So many rows that the vertical scroll bar takes its share of the width.
  std::vector<std::string> many;
  for (int i = 0; i < 200; ++i) many.push_back("f" + std::to_string(i) + ".txt");
  writeCatalogue(many);
  page->FilesListShow();
  QApplication::processEvents();
  ASSERT_TRUE(grid->verticalScrollBar()->isVisible());
  EXPECT_EQ(totalWidth(), grid->viewport()->width());
  EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
}

TEST_F(FilesListPageTest, ColumnsMayBeMovedButTheNumbersStayFirst) {
  openPage({"a.txt"});
  header->moveSection(header->visualIndex(1), 2);  // "Файл" after "Путь"
  EXPECT_EQ(header->logicalIndex(1), 2);
  EXPECT_EQ(header->logicalIndex(2), 1);
  header->moveSection(header->visualIndex(3), 0);  // nothing goes before the numbers
  EXPECT_EQ(header->logicalIndex(0), 0);
  EXPECT_EQ(totalWidth(), grid->viewport()->width());
  doubleClick(grid->visualRect(grid->model()->index(0, 1)).center());
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, path("a.txt")) << "the path, wherever its column stands";
}

}  // namespace

namespace {

// The page's own wiring of the search field, the header click and the marked rows; what they do is the
// presenter's (tests/catalogue/files_list_presenter_test.cpp).
TEST_F(FilesListPageTest, TheSearchFieldNarrowsEscClearsAHeaderClickSortsAndReplacedRowsAreBold) {
  openPage({"sound/b.wav", "models/a.mdl", "sound/c.wav"});
  QLineEdit* search = page->searchEdit();
  ASSERT_NE(search, nullptr);
  QTest::keyClicks(search, "SOUND");
  EXPECT_EQ(column(CatalogueModel::Number), (QStringList{"1", "3"}));
  QTest::keyClick(search, Qt::Key_Escape);
  EXPECT_EQ(search->text(), "");
  EXPECT_EQ(column(CatalogueModel::Number), (QStringList{"1", "2", "3"}));

  const int y = header->height() / 2;
  const int nameMiddle = header->sectionViewportPosition(CatalogueModel::FileName) + 20;
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(nameMiddle, y));
  EXPECT_EQ(column(CatalogueModel::FileName), (QStringList{"a.mdl", "b.wav", "c.wav"}));
  EXPECT_EQ(header->sortIndicatorSection(), CatalogueModel::FileName);

  installs::Store store(fs, programFolder());
  store.openList();
  store.ensureInstallation("Пак");
  store.saveList({"Пак"});
  store.recordInstalledFile("Пак", path("sound/c.wav"));
  form1->pages()->setCurrentIndex(0);
  form1->pages()->setCurrentIndex(1);
  QApplication::processEvents();
  const QModelIndex replaced = grid->model()->index(2, CatalogueModel::Path);
  EXPECT_TRUE(replaced.data(Qt::FontRole).value<QFont>().bold());
  EXPECT_EQ(replaced.data(Qt::ToolTipRole).toString(), "Заменён установкой \"Пак\"");
  EXPECT_FALSE(grid->model()->index(0, CatalogueModel::Path).data(Qt::FontRole).value<QFont>().bold());
}

}  // namespace
