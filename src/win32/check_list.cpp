#include "win32/check_list.h"

#include <commctrl.h>

#include "win32/text.h"

namespace winui {

namespace {

// The state images of a list view with check boxes: 1 an empty box, 2 a checked one.
UINT checkState(bool checked) { return INDEXTOSTATEIMAGEMASK(checked ? 2 : 1); }

// The one column as wide as the list, so no row scrolls sideways (a long name is shortened with "...").
void fitColumn(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  ListView_SetColumnWidth(list, 0, client.right - client.left);
}

}  // namespace

HWND createCheckList(HWND parent, std::string_view name, const Box& box, int id) {
  HWND list = createControl(parent, WC_LISTVIEWW, name,
                            WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS, box,
                            id, WS_EX_CLIENTEDGE);
  if (!list) return nullptr;
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  ListView_InsertColumn(list, 0, &column);
  fitColumn(list);
  return list;
}

void setCheckListItems(HWND list, const std::vector<std::string>& items, const std::vector<bool>& checked) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  for (std::size_t row = 0; row < items.size(); ++row) {
    std::wstring text = wide(items[row]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(row);
    item.pszText = text.data();
    const int at = ListView_InsertItem(list, &item);
    ListView_SetItemState(list, at, checkState(row >= checked.size() || checked[row]), LVIS_STATEIMAGEMASK);
  }
  fitColumn(list);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

std::vector<std::string> checkListItems(HWND list) {
  std::vector<std::string> items;
  const int count = ListView_GetItemCount(list);
  for (int row = 0; row < count; ++row) {
    // LVM_GETITEMTEXT gives as much as fits and says how much it gave: grow until it falls short.
    std::wstring text(64, L'\0');
    for (;;) {
      LVITEMW item{};
      item.iSubItem = 0;
      item.pszText = text.data();
      item.cchTextMax = static_cast<int>(text.size());
      const auto copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
      if (copied < static_cast<LRESULT>(text.size()) - 1) {
        text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
        break;
      }
      text.assign(text.size() * 2, L'\0');
    }
    items.push_back(narrow(text));
  }
  return items;
}

void setCheckListItemText(HWND list, int row, const std::string& text) {
  std::wstring wideText = wide(text);
  ListView_SetItemText(list, row, 0, wideText.data());
}

bool isRowChecked(HWND list, int row) {
  return (ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == checkState(true);
}

void setRowChecked(HWND list, int row, bool checked) {
  ListView_SetItemState(list, row, checkState(checked), LVIS_STATEIMAGEMASK);
}

int checkListSelection(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

void selectCheckListRow(HWND list, int row) {
  if (row < 0) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    return;
  }
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetSelectionMark(list, row);
  ListView_EnsureVisible(list, row, FALSE);
}

int checkListRowAt(HWND list, POINT client) {
  LVHITTESTINFO hit{};
  hit.pt = client;
  const int row = ListView_HitTest(list, &hit);
  return (hit.flags & LVHT_ONITEM) ? row : -1;
}

RECT checkBoxRect(HWND list, int row) {
  // The box is the row's state image, drawn just before its (empty) icon.
  RECT icon{};
  ListView_GetItemRect(list, row, &icon, LVIR_ICON);
  int width = 0;
  int height = 0;
  ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_STATE), &width, &height);
  const int top = icon.top + (icon.bottom - icon.top - height) / 2;
  return {icon.left - width, top, icon.left, top + height};
}

}  // namespace winui
