#include "win32/files_list_page.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "catalogue/texts.h"
#include "win32/controls.h"
#include "win32/list_info.h"
#include "win32/text.h"

namespace winui {

namespace {

constexpr UINT_PTR kGridWatchId = 0x4752;    // the grid's subclass
constexpr UINT_PTR kSearchWatchId = 0x5345;  // the search field's subclass
// The search row above the grid, in 96-dpi pixels.
constexpr int kSearchRowHeight = 26;
// The preview pane beside the grid's 480 pixels of columns, in 96-dpi pixels.
constexpr int kPaneWidth = 144;

using Presenter = catalogue::FilesListPresenter;

}  // namespace

FilesListPage::FilesListPage(MainWindow& main) : main_(main) {
  presenter_ = std::make_unique<Presenter>(main.program(), static_cast<catalogue::FilesListView&>(*this));
  Panel& page = main.page(MainWindow::Page::FilesList);
  RECT area{};
  GetClientRect(page.hwnd(), &area);
  const int pageWidth = MulDiv(area.right, 96, static_cast<int>(dpiOf(page.hwnd())));
  createLabel(page.hwnd(), catalogue::texts::kFilterLabel, {4, 6, 44, 16});
  search_ = createEdit(page.hwnd(), "", {50, 3, pageWidth - 54, 21}, Search);
  SetWindowSubclass(search_, &FilesListPage::searchProcedure, kSearchWatchId, reinterpret_cast<DWORD_PTR>(this));
  page.onCommand(Search, [this](int code) {
    if (code == EN_CHANGE) main_.guard([this] { presenter_->FilterChange(windowTextUtf8(search_)); });
  });
  const int top = scaled(page.hwnd(), kSearchRowHeight);
  const int paneWidth = scaled(page.hwnd(), kPaneWidth);
  grid_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                              LVS_SHOWSELALWAYS,
                          0, top, area.right - paneWidth, area.bottom - top, page.hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(Grid)), instance(), nullptr);
  useMessageFont(grid_);
  SetWindowTextW(grid_, wide(catalogue::texts::kPageCaption).c_str());  // its accessible name
  ListView_SetExtendedListViewStyle(grid_,
                                    LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
  LOGFONTW bold{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(grid_, WM_GETFONT, 0, 0)), sizeof bold, &bold);
  bold.lfWeight = FW_BOLD;
  boldFont_ = CreateFontIndirectW(&bold);
  for (int column = 0; column < Presenter::ColumnCount; ++column) {
    std::wstring title = wide(Presenter::columnTitle(column));
    LVCOLUMNW item{};
    item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    item.pszText = title.data();
    item.cx = scaled(grid_, 50);
    item.iSubItem = column;
    ListView_InsertColumn(grid_, column, &item);
  }
  SetWindowSubclass(grid_, &FilesListPage::gridProcedure, kGridWatchId, reinterpret_cast<DWORD_PTR>(this));
  page.onNotify(Grid, [this](NMHDR& header) { return GridNotify(header); });

  const int pageHeight = MulDiv(area.bottom, 96, static_cast<int>(dpiOf(page.hwnd())));
  pane_ = std::make_unique<PreviewPane>(page, main.program().fs(),
                                        Box{pageWidth - kPaneWidth + 2, kSearchRowHeight - 2, kPaneWidth - 4,
                                            pageHeight - kSearchRowHeight});

  popup_ = CreatePopupMenu();
  AppendMenuW(popup_, MF_STRING, N7, wide(catalogue::texts::kRun).c_str());
  AppendMenuW(popup_, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(popup_, MF_STRING, N8, wide(catalogue::texts::kEditDescription).c_str());
  AppendMenuW(popup_, MF_STRING, N9, wide(catalogue::texts::kShowInformation).c_str());
  SetMenuDefaultItem(popup_, N7, FALSE);  // drawn in bold, as the double click's

  main.onPageShow(MainWindow::Page::FilesList, [this] { presenter_->FilesListShow(); });
  showRowCount(presenter_->rowCount());
  main.guard([this] { presenter_->setUpGrid(); });
}

FilesListPage::~FilesListPage() {
  if (grid_) RemoveWindowSubclass(grid_, &FilesListPage::gridProcedure, kGridWatchId);
  if (search_) RemoveWindowSubclass(search_, &FilesListPage::searchProcedure, kSearchWatchId);
  if (boldFont_) DeleteObject(boldFont_);
  if (popup_) DestroyMenu(popup_);
}

// ---- the view ----

void FilesListPage::showRowCount(int rows) {
  ListView_SetItemCountEx(grid_, rows, 0);
  InvalidateRect(grid_, nullptr, FALSE);
}

int FilesListPage::currentRow() const {
  int row = ListView_GetNextItem(grid_, -1, LVNI_SELECTED);
  if (row < 0) row = ListView_GetNextItem(grid_, -1, LVNI_FOCUSED);
  return row < 0 ? 0 : row;
}

void FilesListPage::selectRow(int row) {
  // One row at most is selected: only it is cleared (clearing "all" walks every one of 100,000 rows).
  for (const UINT which : {LVNI_SELECTED, LVNI_FOCUSED}) {
    const int old = ListView_GetNextItem(grid_, -1, which);
    if (old >= 0 && old != row) ListView_SetItemState(grid_, old, 0, LVIS_SELECTED | LVIS_FOCUSED);
  }
  ListView_SetItemState(grid_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetSelectionMark(grid_, row);
  ListView_EnsureVisible(grid_, row, FALSE);
}

int FilesListPage::columnCount() const {
  return Header_GetItemCount(ListView_GetHeader(grid_));
}

namespace {

std::vector<int> columnOrder(HWND grid) {
  std::vector<int> order(static_cast<std::size_t>(Header_GetItemCount(ListView_GetHeader(grid))));
  if (!order.empty()) ListView_GetColumnOrderArray(grid, static_cast<int>(order.size()), order.data());
  return order;
}

}  // namespace

// The presenter's widths are pixels at 96 dpi, as every position of the program's windows.
int FilesListPage::columnWidth(int position) const {
  const int width = ListView_GetColumnWidth(grid_, columnOrder(grid_).at(static_cast<std::size_t>(position)));
  return MulDiv(width, 96, static_cast<int>(dpiOf(grid_)));
}

void FilesListPage::setColumnWidth(int position, int width) {
  ListView_SetColumnWidth(grid_, columnOrder(grid_).at(static_cast<std::size_t>(position)), scaled(grid_, width));
}

int FilesListPage::gridWidth() const {
  RECT client{};
  GetClientRect(grid_, &client);  // without the vertical scroll bar
  return MulDiv(client.right, 96, static_cast<int>(dpiOf(grid_)));
}

int FilesListPage::columnPosition(int column) const {
  const auto order = columnOrder(grid_);
  return static_cast<int>(std::find(order.begin(), order.end(), column) - order.begin());
}

void FilesListPage::moveColumn(int from, int to) {
  auto order = columnOrder(grid_);
  const int column = order.at(static_cast<std::size_t>(from));
  order.erase(order.begin() + from);
  order.insert(order.begin() + to, column);
  ListView_SetColumnOrderArray(grid_, static_cast<int>(order.size()), order.data());
  InvalidateRect(grid_, nullptr, TRUE);
}

void FilesListPage::setFilterText(const std::string& text) {
  // The presenter takes the change this makes as the text it has already.
  SetWindowTextW(search_, wide(text).c_str());
}

void FilesListPage::showSortMark(int column, bool descending) {
  HWND header = ListView_GetHeader(grid_);
  for (int item = 0; item < Header_GetItemCount(header); ++item) {
    HDITEMW format{};
    format.mask = HDI_FORMAT;
    Header_GetItem(header, item, &format);
    format.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (item == column) format.fmt |= descending ? HDF_SORTDOWN : HDF_SORTUP;
    Header_SetItem(header, item, &format);
  }
}

void FilesListPage::showPopupMenu() {
  const int command = TrackPopupMenu(popup_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, popupAt_.x,
                                     popupAt_.y, 0, main_.hwnd(), nullptr);
  if (command) runPopupCommand(command);
}

void FilesListPage::runPopupCommand(int command) {
  switch (command) {
    case N7: presenter_->N7Click(); break;
    case N8: presenter_->N8Click(); break;
    case N9: presenter_->N9Click(); break;
    default: break;
  }
}

preview::PreviewPanePresenter* FilesListPage::previewPane() { return pane_ ? &pane_->presenter() : nullptr; }

void FilesListPage::showFileInfo(const std::string& file, const std::string& path, const std::string& description) {
  if (auto* info = dynamic_cast<ListInfo*>(main_.windows().listInfo)) info->showFor(file, path, description);
}

// ---- the list view's notifications ----

void FilesListPage::fillCell(NMLVDISPINFOW& info) {
  if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
  cellBuffer_ = wide(presenter_->cellText(info.item.iItem, info.item.iSubItem));
  const std::size_t room = static_cast<std::size_t>(info.item.cchTextMax) - 1;
  const std::size_t length = std::min(cellBuffer_.size(), room);
  std::copy_n(cellBuffer_.data(), length, info.item.pszText);
  info.item.pszText[length] = L'\0';
}

LRESULT FilesListPage::drawRow(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      // A replaced row's cells are drawn one by one: its number stays in the plain font, to fit.
      return boldFont_ && presenter_->rowReplaced(static_cast<int>(draw.nmcd.dwItemSpec)) ? CDRF_NOTIFYSUBITEMDRAW
                                                                                            : CDRF_DODEFAULT;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      SelectObject(draw.nmcd.hdc, draw.iSubItem == Presenter::Number
                                      ? reinterpret_cast<HFONT>(SendMessageW(grid_, WM_GETFONT, 0, 0))
                                      : boldFont_);
      return CDRF_NEWFONT;
    default:
      return CDRF_DODEFAULT;
  }
}

void FilesListPage::fillHint(NMLVGETINFOTIPW& tip) {
  if (!tip.pszText || tip.cchTextMax <= 0) return;
  const std::wstring hint = wide(presenter_->rowHint(tip.iItem));
  // Rows no installation replaced keep the list view's own hint of a clipped text.
  if (hint.empty()) return;
  const std::size_t length = std::min(hint.size(), static_cast<std::size_t>(tip.cchTextMax) - 1);
  std::copy_n(hint.data(), length, tip.pszText);
  tip.pszText[length] = L'\0';
}

LRESULT FilesListPage::GridNotify(NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW:
      fillCell(reinterpret_cast<NMLVDISPINFOW&>(header));
      return 0;
    case NM_CUSTOMDRAW:
      return drawRow(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    case NM_RETURN:
      // Enter on a row starts its file, as a double click does.
      GridDblClick();
      return 0;
    case LVN_GETINFOTIPW:
      fillHint(reinterpret_cast<NMLVGETINFOTIPW&>(header));
      return 0;
    case LVN_ITEMCHANGED: {
      // A row newly selected or made current: the pane shows its file.
      const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      const UINT arrived = change.uNewState & ~change.uOldState;
      if ((change.uChanged & LVIF_STATE) && (arrived & (LVIS_SELECTED | LVIS_FOCUSED))) {
        main_.guard([this] { presenter_->GridSelectionChanged(); });
      }
      return 0;
    }
    case LVN_COLUMNCLICK: {
      const int column = reinterpret_cast<NMLISTVIEW&>(header).iSubItem;
      main_.guard([this, column] { presenter_->HeaderClick(column); });
      return 0;
    }
    case NM_DBLCLK: {
      const auto& activate = reinterpret_cast<NMITEMACTIVATE&>(header);
      // A double click below the last row starts the current row's file, as a click there keeps it.
      if (activate.iItem >= 0) selectRow(activate.iItem);
      GridDblClick();
      return 0;
    }
    case NM_RCLICK: {
      const auto& activate = reinterpret_cast<NMITEMACTIVATE&>(header);
      GetCursorPos(&popupAt_);
      std::optional<int> row;
      if (activate.iItem >= 0) row = activate.iItem;
      main_.guard([this, row] { presenter_->GridMouseDown(row, Presenter::Button::Right); });
      return 1;
    }
    default:
      return 0;
  }
}

int FilesListPage::rowAt(POINT client) const {
  LVHITTESTINFO hit{};
  hit.pt = client;
  return ListView_SubItemHitTest(grid_, &hit);
}

LRESULT CALLBACK FilesListPage::searchProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR data) {
  auto* page = reinterpret_cast<FilesListPage*>(data);
  // Esc in the field clears it; its character is not typed (no beep).
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    page->main_.guard([page] { page->presenter_->FilterEscape(); });
    return 0;
  }
  if (message == WM_CHAR && wParam == VK_ESCAPE) return 0;
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK FilesListPage::gridProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data) {
  auto* page = reinterpret_cast<FilesListPage*>(data);
  switch (message) {
    case WM_NOTIFY: {
      // The header's notifications come to the grid, its parent.
      const auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom != ListView_GetHeader(window)) break;
      const auto* item = reinterpret_cast<const NMHEADERW*>(lParam);
      if (header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA) {
        const int position = page->columnPosition(item->iItem);
        page->main_.guard([page, position] { page->presenter_->GridBorderPressed(position); });
      } else if (header->code == HDN_ENDTRACKW || header->code == HDN_ENDTRACKA) {
        // The header applies the final width after this notification; it is applied here first, so the
        // presenter sees the pair as the person left it.
        if (item->pitem && (item->pitem->mask & HDI_WIDTH)) ListView_SetColumnWidth(window, item->iItem, item->pitem->cxy);
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        page->main_.guard([page] { page->presenter_->RedrawGrid(); });
        return result;
      }
      break;
    }
    case WM_MBUTTONDOWN: {
      const int row = page->rowAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      std::optional<int> at;
      if (row >= 0) at = row;
      page->main_.guard([page, at] { page->presenter_->GridMouseDown(at, Presenter::Button::Middle); });
      return 0;
    }
    case WM_CONTEXTMENU:
      if (GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1) {
        // From the keyboard the menu opens over the current row.
        RECT row{};
        row.left = LVIR_BOUNDS;
        POINT at{0, 0};
        if (ListView_GetItemRect(window, page->currentRow(), &row, LVIR_BOUNDS)) {
          at = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
        }
        ClientToScreen(window, &at);
        page->popupAt_ = at;
        page->main_.guard([page] { page->showPopupMenu(); });
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      page->main_.guard([page] { page->presenter_->GridMouseMove(); });
      break;
    case WM_SIZE: {
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      page->main_.guard([page] { page->presenter_->GridResize(); });
      return result;
    }
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace winui
