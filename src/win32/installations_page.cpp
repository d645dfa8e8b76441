#include "win32/installations_page.h"

#include <commctrl.h>

#include "installs/texts.h"
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
  createListBox(panel_, {14, 20, 160, 266}, ListBox1, WS_HSCROLL);

  createGroupBox(panel_, texts::kInformationGroup, {188, 2, 298, 292});
  createLabel(panel_, texts::kFilesLabel, {196, 20, 282, 16});
  createListBox(panel_, {196, 36, 282, 108}, ListBox2, WS_HSCROLL);
  createLabel(panel_, texts::kDateLabel, {196, 148, 282, 16});
  createEdit(panel_, "", {196, 164, 282, 22}, Edit1, ES_READONLY);
  createLabel(panel_, texts::kDescriptionLabel, {196, 190, 282, 16});
  createMemo(panel_, "", {196, 206, 282, 80}, Memo1, true);

  createGroupBox(panel_, texts::kPanelGroup, {492, 2, 156, 292});
  createButton(panel_, texts::kInstallFilesButton, {500, 22, 140, 26}, Button1);
  createButton(panel_, texts::kRenameButton, {500, 54, 140, 26}, Button3);
  createButton(panel_, texts::kRestoreButton, {500, 86, 140, 26}, Button2);
  createButton(panel_, texts::kHelpButton, {500, 118, 140, 26}, Button4);
  main_.hints().add(control(Button1), texts::kInstallButtonHint);
  // Long names and game paths can be read in full over their rows.
  for (Id list : {ListBox1, ListBox2}) watchClippedItems(control(list), main_.hints());
  // The hint of "Переименовать" follows the selection whenever the mouse moves over it.
  SetWindowSubclass(control(Button3), &InstallationsPage::renameButtonWatch, kRenameWatchId,
                    reinterpret_cast<DWORD_PTR>(this));
  // F2 on the installation list renames, as "Переименовать" does.
  SetWindowSubclass(control(ListBox1), &InstallationsPage::listWatch, kListWatchId, reinterpret_cast<DWORD_PTR>(this));

  Panel& panel = main_.page(MainWindow::Page::EditMenu);
  panel.onCommand(ListBox1, [this](int code) {
    if (code == LBN_SELCHANGE) forward(&installs::InstallationsPagePresenter::ListBox1Click);
  });
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
  for (Id list : {ListBox1, ListBox2}) unwatchClippedItems(control(list));
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

LRESULT CALLBACK InstallationsPage::listWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR data) {
  if (message == WM_KEYDOWN && wParam == VK_F2) {
    reinterpret_cast<InstallationsPage*>(data)->forward(&installs::InstallationsPagePresenter::Button3Click);
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK InstallationsPage::renameButtonWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                      UINT_PTR, DWORD_PTR data) {
  if (message == WM_MOUSEMOVE) reinterpret_cast<InstallationsPage*>(data)->presenter_.Button3MouseMove();
  return DefSubclassProc(window, message, wParam, lParam);
}

void InstallationsPage::showInstallations(const std::vector<std::string>& names, const std::vector<bool>&) {
  setListItems(control(ListBox1), names);
  selectListItem(control(ListBox1), -1);
}

void InstallationsPage::setSwitchedOn(std::size_t, bool) {}

void InstallationsPage::showSharing(const std::vector<std::string>&) {}

void InstallationsPage::setInstallationName(std::size_t row, const std::string& name) {
  HWND list = control(ListBox1);
  const bool selected = listSelection(list) == static_cast<int>(row);
  const std::wstring text = wide(name);
  SendMessageW(list, LB_DELETESTRING, row, 0);
  SendMessageW(list, LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(text.c_str()));
  if (selected) selectListItem(list, static_cast<int>(row));
}

void InstallationsPage::showFiles(const std::vector<std::string>& gamePaths) {
  setListItems(control(ListBox2), gamePaths);
}

void InstallationsPage::setDate(const std::string& text) { setWindowText(control(Edit1), text); }

void InstallationsPage::setDescription(const std::string& text) { setWindowText(control(Memo1), withCrLf(text)); }

void InstallationsPage::setEnabled(Control which, bool enabled) {
  EnableWindow(control(which == Control::Rename ? Button3 : Button2), enabled ? TRUE : FALSE);
}

void InstallationsPage::setRenameHint(const std::string& text) { main_.hints().add(control(Button3), text); }

int InstallationsPage::selectedRow() const { return listSelection(control(ListBox1)); }

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
