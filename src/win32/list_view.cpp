#include "win32/list_view.h"

#include <commctrl.h>

#include "win32/text.h"

namespace winui {

VirtualListView::VirtualListView(Window& parent, const Box& box, int id, std::vector<Column> columns,
                                 CellText cellText)
    : columns_(std::move(columns)), cellText_(std::move(cellText)) {
  initCommonControls();
  list_ = createControl(parent.hwnd(), WC_LISTVIEWW, "",
                        WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS, box, id,
                        WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP |
                                               LVS_EX_DOUBLEBUFFER);
  for (std::size_t index = 0; index < columns_.size(); ++index) {
    std::wstring caption = wide(columns_[index].caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = caption.data();
    column.cx = scaled(parent.hwnd(), columns_[index].width);
    column.iSubItem = static_cast<int>(index);
    SendMessageW(list_, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
  }
  parent.onNotify(id, [this](NMHDR& header) { return notify(header); });
}

HWND VirtualListView::header() const { return ListView_GetHeader(list_); }

void VirtualListView::setRowCount(int rows) {
  // The view keeps its scroll position where it can; a new catalogue starts at its top anyway.
  SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), LVSICF_NOINVALIDATEALL);
  InvalidateRect(list_, nullptr, TRUE);
}

int VirtualListView::rowCount() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

int VirtualListView::currentRow() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void VirtualListView::selectRow(int row) {
  // One row at most is selected; clearing all rows of an owner-data view would visit every one.
  const int current = currentRow();
  if (current >= 0) ListView_SetItemState(list_, current, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (row < 0) return;
  ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list_, row, FALSE);
}

int VirtualListView::columnWidth(int column) const { return ListView_GetColumnWidth(list_, column); }

void VirtualListView::setColumnWidth(int column, int width) { ListView_SetColumnWidth(list_, column, width); }

LRESULT VirtualListView::notify(NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
      if (info.item.mask & LVIF_TEXT) {
        buffer_ = wide(cellText_(info.item.iItem, info.item.iSubItem));
        info.item.pszText = buffer_.data();
      }
      return 0;
    }
    case NM_DBLCLK: {
      const auto& item = reinterpret_cast<NMITEMACTIVATE&>(header);
      if (item.iItem >= 0 && activate_) activate_(item.iItem);
      return 0;
    }
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<NMLVKEYDOWN&>(header);
      if (key.wVKey == VK_RETURN && currentRow() >= 0 && activate_) activate_(currentRow());
      return 0;
    }
    case NM_RCLICK: {
      const auto& item = reinterpret_cast<NMITEMACTIVATE&>(header);
      if (item.iItem < 0 || !contextMenu_) return 0;
      selectRow(item.iItem);
      POINT screen = item.ptAction;
      ClientToScreen(list_, &screen);
      contextMenu_(item.iItem, screen);
      return 0;
    }
    default:
      return 0;
  }
}

int showPopupMenu(HWND owner, const std::vector<PopupItem>& items, POINT screen) {
  HMENU menu = CreatePopupMenu();
  for (const PopupItem& item : items) {
    if (item.caption.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING | (item.enabled ? 0 : MF_GRAYED), static_cast<UINT_PTR>(item.id),
                  wide(item.caption).c_str());
    }
  }
  // The owner must be in the foreground, or the menu does not go away when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const int chosen = static_cast<int>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  return chosen;
}

}  // namespace winui
