#include "win32/installations_page.h"

#include <commctrl.h>
#include <windowsx.h>

#include "installs/texts.h"
#include "win32/check_list.h"
#include "win32/controls.h"
#include "win32/help.h"
#include "win32/list_item_hint.h"
#include "win32/main_window.h"
#include "win32/secondary_window.h"
#include "win32/text.h"

namespace winui {

namespace texts = installs::texts;

namespace {

constexpr UINT_PTR kRenameWatchId = 2;
constexpr UINT_PTR kListWatchId = 3;
// Posted to the installation list when the person turned a row's box: wParam the row, lParam the
// filling of the rows it belongs to. The switch runs once the list view has finished with the click or key.
constexpr UINT kSwitchMessage = WM_APP + 1;

// Marks what the list view reports while the program sets its rows as not the person's doing.
class SettingRows {
 public:
  explicit SettingRows(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~SettingRows() { flag_ = was_; }
  SettingRows(const SettingRows&) = delete;
  SettingRows& operator=(const SettingRows&) = delete;

 private:
  bool& flag_;
  bool was_;
};

// An edit control breaks lines at CR LF only.
std::string withCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

}  // namespace

InstallationsPage::InstallationsPage(MainWindow& main)
    : main_(main), presenter_(main.program(), *this), panel_(main.page(MainWindow::Page::EditMenu).hwnd()) {
  // Positions in pixels at 96 dpi inside the page: three groups side by side, as on the other system.
  createGroupBox(panel_, texts::kInstallationsGroup, {6, 2, 176, 292});
  createCheckList(panel_, texts::kInstallationsGroup, {14, 20, 160, 266}, ListBox1);

  createGroupBox(panel_, texts::kInformationGroup, {188, 2, 298, 292});
  createLabel(panel_, texts::kFilesLabel, {196, 20, 282, 16});
  createListBox(panel_, {196, 36, 282, 76}, ListBox2, WS_HSCROLL);
  createLabel(panel_, texts::kSharingLabel, {196, 114, 282, 16});
  createListBox(panel_, {196, 130, 282, 36}, ListBox3);
  createLabel(panel_, texts::kDateLabel, {196, 168, 282, 16});
  createEdit(panel_, "", {196, 184, 282, 22}, Edit1, ES_READONLY);
  createLabel(panel_, texts::kDescriptionLabel, {196, 208, 282, 16});
  createMemo(panel_, "", {196, 224, 282, 62}, Memo1, true);

  createGroupBox(panel_, texts::kPanelGroup, {492, 2, 156, 292});
  createButton(panel_, texts::kInstallFilesButton, {500, 22, 140, 26}, Button1);
  createButton(panel_, texts::kRenameButton, {500, 54, 140, 26}, Button3);
  createButton(panel_, texts::kRestoreButton, {500, 86, 140, 26}, Button2);
  createButton(panel_, texts::kHelpButton, {500, 118, 140, 26}, Button4);
  main_.hints().add(control(Button1), texts::kInstallButtonHint);
  // Long names and game paths can be read in full over their rows.
  for (Id list : {ListBox1, ListBox2, ListBox3}) watchClippedItems(control(list), main_.hints());
  // The hint of "Переименовать" follows the selection whenever the mouse moves over it.
  SetWindowSubclass(control(Button3), &InstallationsPage::renameButtonWatch, kRenameWatchId,
                    reinterpret_cast<DWORD_PTR>(this));
  // F2 on the installation list renames, as "Переименовать" does; its menu and the switches of its boxes.
  SetWindowSubclass(control(ListBox1), &InstallationsPage::listWatch, kListWatchId, reinterpret_cast<DWORD_PTR>(this));

  Panel& panel = main_.page(MainWindow::Page::EditMenu);
  panel.onNotify(ListBox1, [this](NMHDR& header) { return ListBox1Notify(header); });
  const std::pair<Id, void (installs::InstallationsPagePresenter::*)()> buttons[] = {
      {Button1, &installs::InstallationsPagePresenter::Button1Click},
      {Button2, &installs::InstallationsPagePresenter::Button2Click},
      {Button3, &installs::InstallationsPagePresenter::Button3Click},
      {Button4, &installs::InstallationsPagePresenter::Button4Click}};
  for (const auto& [id, handler] : buttons) {
    panel.onCommand(id, [this, handler = handler](int code) {
      if (code == BN_CLICKED) forward(handler);
    });
  }
  main_.onPageShow(MainWindow::Page::EditMenu, [this] { presenter_.EditMenuShow(); });
  presenter_.FormCreate();
}

InstallationsPage::~InstallationsPage() {
  for (Id list : {ListBox1, ListBox2, ListBox3}) unwatchClippedItems(control(list));
  if (HWND button = control(Button3)) RemoveWindowSubclass(button, &InstallationsPage::renameButtonWatch, kRenameWatchId);
  if (HWND list = control(ListBox1)) RemoveWindowSubclass(list, &InstallationsPage::listWatch, kListWatchId);
}

HWND InstallationsPage::control(Id id) const { return GetDlgItem(panel_, id); }

void InstallationsPage::forward(void (installs::InstallationsPagePresenter::*handler)()) {
  // Opening another window is that window's to guard: its own handlers run at the main window's level.
  if (handler == &installs::InstallationsPagePresenter::Button1Click ||
      handler == &installs::InstallationsPagePresenter::Button4Click) {
    (presenter_.*handler)();
    return;
  }
  main_.guard([this, handler] { (presenter_.*handler)(); });
}

void InstallationsPage::EditMenuShow() { forward(&installs::InstallationsPagePresenter::EditMenuShow); }

LRESULT InstallationsPage::ListBox1Notify(NMHDR& header) {
  if (header.code != LVN_ITEMCHANGED || settingRows_) return 0;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (change.iItem < 0 || !(change.uChanged & LVIF_STATE)) return 0;
  const UINT turned = change.uNewState ^ change.uOldState;
  if ((turned & LVIS_SELECTED) && (change.uNewState & LVIS_SELECTED)) {
    forward(&installs::InstallationsPagePresenter::ListBox1Click);
  }
  // A box turned by a click on it or by Space (a row that had no box yet is only coming in).
  if ((turned & LVIS_STATEIMAGEMASK) && (change.uOldState & LVIS_STATEIMAGEMASK)) {
    PostMessageW(control(ListBox1), kSwitchMessage, static_cast<WPARAM>(change.iItem), static_cast<LPARAM>(filling_));
  }
  return 0;
}

void InstallationsPage::ListBox1Switch(int row) {
  main_.guard([this, row] { presenter_.ListBox1Switch(row); });
}

void InstallationsPage::ListBox1ContextMenu(POINT at) {
  HWND list = control(ListBox1);
  int row = -1;
  if (at.x == -1 && at.y == -1) {
    row = checkListSelection(list);
    RECT label{};
    if (row < 0 || !ListView_GetItemRect(list, row, &label, LVIR_LABEL)) return;
    at = {label.left + (label.right - label.left) / 4, (label.top + label.bottom) / 2};
    ClientToScreen(list, &at);
  } else {
    POINT client = at;
    ScreenToClient(list, &client);
    row = checkListRowAt(list, client);
    if (row < 0) return;
    // The row is selected as a click selects it, and the page shows it.
    if (checkListSelection(list) != row) selectCheckListRow(list, row);
  }
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, SwitchItem, wide(presenter_.switchItemText(row)).c_str());
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, main_.hwnd(),
                                    nullptr);
  DestroyMenu(menu);
  if (chosen == SwitchItem) ListBox1Switch(row);
}

LRESULT CALLBACK InstallationsPage::listWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data) {
  auto* page = reinterpret_cast<InstallationsPage*>(data);
  switch (message) {
    case WM_KEYDOWN:
      if (wParam != VK_F2) break;
      page->forward(&installs::InstallationsPagePresenter::Button3Click);
      return 0;
    case WM_CONTEXTMENU:
      page->ListBox1ContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case kSwitchMessage:
      // A box of rows shown since then is no longer the one the person turned.
      if (static_cast<unsigned>(lParam) == page->filling_) page->ListBox1Switch(static_cast<int>(wParam));
      return 0;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK InstallationsPage::renameButtonWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                      UINT_PTR, DWORD_PTR data) {
  if (message == WM_MOUSEMOVE) reinterpret_cast<InstallationsPage*>(data)->presenter_.Button3MouseMove();
  return DefSubclassProc(window, message, wParam, lParam);
}

void InstallationsPage::showInstallations(const std::vector<std::string>& names, const std::vector<bool>& on) {
  const SettingRows setting(settingRows_);
  ++filling_;
  setCheckListItems(control(ListBox1), names, on);
  selectCheckListRow(control(ListBox1), -1);
}

void InstallationsPage::setSwitchedOn(std::size_t row, bool on) {
  const SettingRows setting(settingRows_);
  setRowChecked(control(ListBox1), static_cast<int>(row), on);
}

void InstallationsPage::showSharing(const std::vector<std::string>& names) { setListItems(control(ListBox3), names); }

void InstallationsPage::setInstallationName(std::size_t row, const std::string& name) {
  const SettingRows setting(settingRows_);  // a new text is no switch
  setCheckListItemText(control(ListBox1), static_cast<int>(row), name);
}

void InstallationsPage::showFiles(const std::vector<std::string>& gamePaths) {
  setListItems(control(ListBox2), gamePaths);
}

void InstallationsPage::setDate(const std::string& text) { setWindowText(control(Edit1), text); }

void InstallationsPage::setDescription(const std::string& text) { setWindowText(control(Memo1), withCrLf(text)); }

void InstallationsPage::setEnabled(Control which, bool enabled) {
  EnableWindow(control(which == Control::Rename ? Button3 : Button2), enabled ? TRUE : FALSE);
}

void InstallationsPage::focusInstallationList() { SetFocus(control(ListBox1)); }

void InstallationsPage::setRenameHint(const std::string& text) { main_.hints().add(control(Button3), text); }

int InstallationsPage::selectedRow() const { return checkListSelection(control(ListBox1)); }

void InstallationsPage::openInstallDialog() {
  if (SecondaryWindow* dialog = main_.windows().install) dialog->show();
}

// The help window, at the topic on installing.
void InstallationsPage::openHelp() {
  main_.guard([this] {
    if (auto* help = dynamic_cast<HelpWindow*>(main_.windows().help)) help->presenter().Button4Click();
  });
}

}  // namespace winui
