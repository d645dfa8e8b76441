#include "win32/install_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "installs/texts.h"
#include "win32/controls.h"
#include "win32/list_item_hint.h"
#include "win32/installations_page.h"
#include "win32/main_window.h"
#include "win32/text.h"

namespace winui {

namespace texts = installs::texts;
using Presenter = installs::InstallDialogPresenter;

namespace {

// The dialog's own 289 pixels, and the preview pane's column beside them.
constexpr int kPaneWidth = 262;
constexpr int kClientWidth = 289 + kPaneWidth;
constexpr int kClientHeight = 418;
constexpr UINT_PTR kListWatchId = 3;

std::string withCrLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// The description as the core keeps it: lines separated by "\n".
std::string withoutCr(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

void appendItem(HMENU menu, int command, std::string_view caption) {
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), wide(caption).c_str());
}

}  // namespace

InstallDialog::InstallDialog(MainWindow& main, InstallationsPage& page)
    : SecondaryWindow(main, texts::kInstallCaption, kClientWidth, kClientHeight),
      page_(page),
      presenter_(main.program(), *this) {
  buildMenus();
  buildControls();
  setClientSize(hwnd(), kClientWidth, kClientHeight);
  centreOnScreen(hwnd());
  SendMessageW(control(StatusBar1), WM_SIZE, 0, 0);
  // Two panels: what the dialog is doing, and how many warnings its files give.
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int parts[2] = {client.right - scaled(hwnd(), 130), -1};
  SendMessageW(control(StatusBar1), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  presenter_.FormCreate();
}

InstallDialog::~InstallDialog() {
  if (HWND list = control(ListBox1)) {
    RemoveWindowSubclass(list, &InstallDialog::listWatch, kListWatchId);
    unwatchClippedItems(list);
  }
  if (popup_) DestroyMenu(popup_);
}

void InstallDialog::buildMenus() {
  menu_ = CreateMenu();
  appendItem(menu_, N1, texts::kInformationMenu);
  addMenu_ = CreatePopupMenu();
  appendItem(addMenu_, N3, texts::kFilesMode);
  appendItem(addMenu_, N4, texts::kFolderMode);
  appendItem(addMenu_, N5, texts::kFolderTreeMode);
  appendItem(addMenu_, N9, texts::kArchiveMode);
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(addMenu_), wide(texts::kAddMenu).c_str());
  HMENU removeMenu = CreatePopupMenu();
  appendItem(removeMenu, N6, texts::kRemoveSelectedItem);
  appendItem(removeMenu, N7, texts::kRemoveAllItem);
  AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(removeMenu), wide(texts::kRemoveMenu).c_str());
  SetMenu(hwnd(), menu_);

  popup_ = CreatePopupMenu();
  appendItem(popup_, PM1, texts::kFilesMode);
  appendItem(popup_, PM2, texts::kFolderMode);
  appendItem(popup_, PM3, texts::kFolderTreeMode);
  appendItem(popup_, PM4, texts::kArchiveMode);

  forwardOn(N1, &Presenter::ListBox1DblClick);
  forwardOn(N3, &Presenter::AddFiles1);
  forwardOn(N4, &Presenter::AddFiles2);
  forwardOn(N5, &Presenter::AddFiles3);
  forwardOn(N9, &Presenter::AddFiles4);
  forwardOn(N6, &Presenter::Button4Click);
  forwardOn(N7, &Presenter::Button5Click);
  forwardOn(PM1, &Presenter::PM1Click);
  forwardOn(PM2, &Presenter::PM2Click);
  forwardOn(PM3, &Presenter::PM3Click);
  forwardOn(PM4, &Presenter::PM4Click);
}

void InstallDialog::buildControls() {
  HWND window = hwnd();
  // The group boxes paint no inside of their own: the window paints under them.
  SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CLIPCHILDREN));
  createGroupBox(window, texts::kFilesGroup, {4, 2, 281, 224});
  // The Delete key comes to the dialog as WM_VKEYTOITEM.
  HWND list = createListBox(window, {12, 20, 265, 198}, ListBox1, WS_HSCROLL | LBS_WANTKEYBOARDINPUT);
  DragAcceptFiles(list, TRUE);
  SetWindowSubclass(list, &InstallDialog::listWatch, kListWatchId, reinterpret_cast<DWORD_PTR>(this));
  watchClippedItems(list, hints());

  createButton(window, texts::kAddButton, {4, 230, 91, 24}, Button3);
  createButton(window, texts::kRemoveButton, {99, 230, 91, 24}, Button4);
  createButton(window, texts::kClearButton, {194, 230, 91, 24}, Button5);
  createGroupBox(window, texts::kDescriptionGroup, {4, 258, 281, 80});
  createMemo(window, "", {12, 276, 265, 56}, Memo1, false);
  createButton(window, texts::kInstallButton, {4, 342, 139, 24}, Button1);
  createButton(window, texts::kExitButton, {146, 342, 139, 24}, Button2);
  createProgressBar(window, {4, 372, 281, 12}, ProgressBar1);
  SendMessageW(control(ProgressBar1), PBM_SETRANGE32, 0, 100);
  HWND status = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(StatusBar1)), instance(), nullptr);
  useMessageFont(status);
  // Made last, so Tab reaches its button after the dialog's own controls.
  pane_ = std::make_unique<PreviewPane>(*this, main().program().fs(), Box{289, 2, kPaneWidth - 4, 382});

  const std::pair<Id, const char*> hintsOf[] = {{Button3, texts::kAddHint},         {Button4, texts::kRemoveHint},
                                                {Button5, texts::kClearHint},       {Memo1, texts::kDescriptionHint},
                                                {Button1, texts::kInstallHint},     {Button2, texts::kExitHint}};
  for (const auto& [id, hint] : hintsOf) hints().add(control(id), hint);

  forwardOn(Button1, &Presenter::Button1Click, BN_CLICKED);
  forwardOn(Button2, &Presenter::Button2Click, BN_CLICKED);
  forwardOn(Button3, &Presenter::Button3Click, BN_CLICKED);
  forwardOn(Button4, &Presenter::Button4Click, BN_CLICKED);
  forwardOn(Button5, &Presenter::Button5Click, BN_CLICKED);
  onCommand(ListBox1, [this](int code) {
    if (code == LBN_DBLCLK) run([this] { presenter_.ListBox1DblClick(); });
    if (code == LBN_SELCHANGE) run([this] { presenter_.ListBox1Click(); });
  });
  // Escape (IDCANCEL from the dialog keys) is the close box.
  onCommand(IDCANCEL, [this](int) { SendMessageW(hwnd(), WM_CLOSE, 0, 0); });
}

HWND InstallDialog::control(Id id) const { return GetDlgItem(hwnd(), id); }

void InstallDialog::run(const std::function<void()>& handler) {
  guarded(handler);
  presenter_.EventEnded();
}

void InstallDialog::forwardOn(int id, void (Presenter::*handler)(), int code) {
  onCommand(id, [this, handler, code](int arrived) {
    if (code >= 0 && arrived != code) return;
    run([this, handler] { (presenter_.*handler)(); });
  });
}

void InstallDialog::FormShow() { presenter_.FormShow(); }
void InstallDialog::FormClose() { presenter_.FormClose(); }
void InstallDialog::FormHide() { presenter_.FormHide(); }

void InstallDialog::PopupMenu1Popup() {
  run([this] { presenter_.PopupMenu1Popup(); });
}

void InstallDialog::showPopupMenu(POINT at) {
  PopupMenu1Popup();
  // The chosen item arrives as WM_COMMAND, as a menu item does.
  TrackPopupMenu(popup_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

void InstallDialog::dropped(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT k = 0; k < count; ++k) {
    const UINT length = DragQueryFileW(drop, k, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, k, path.data(), length + 1);
    path.resize(length);
    paths.push_back(narrow(path));
  }
  DragFinish(drop);
  if (!presenter_.acceptsDrops()) return;
  run([this, &paths] { presenter_.ListBox1DragDrop(paths); });
}

LRESULT CALLBACK InstallDialog::listWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
  auto* self = reinterpret_cast<InstallDialog*>(data);
  switch (message) {
    case WM_MOUSEMOVE: self->presenter_.ListBox1MouseMove(); break;
    case WM_DROPFILES: self->dropped(reinterpret_cast<HDROP>(wParam)); return 0;
    default: break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT InstallDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // Not while an add or an install runs: the work would go on behind a closed dialog.
      if (!presenter_.FormCloseQuery()) return 0;
      break;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == control(Button3)) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (at.x == -1 && at.y == -1) {  // from the keyboard: below the button
          RECT box{};
          GetWindowRect(control(Button3), &box);
          at = {box.left, box.bottom};
        }
        showPopupMenu(at);
        return 0;
      }
      break;
    case WM_VKEYTOITEM:
      if (reinterpret_cast<HWND>(lParam) == control(ListBox1) && LOWORD(wParam) == VK_DELETE) {
        run([this] { presenter_.Button4Click(); });
        return -2;  // handled: the list box does nothing more
      }
      return -1;
    default:
      break;
  }
  return SecondaryWindow::handleMessage(message, wParam, lParam);
}

void InstallDialog::setProgressMaximum(int value) {
  SendMessageW(control(ProgressBar1), PBM_SETRANGE32, 0, value);
}
void InstallDialog::setProgress(int value) { SendMessageW(control(ProgressBar1), PBM_SETPOS, value, 0); }

void InstallDialog::setStatus(const std::string& text) {
  const std::wstring wideText = wide(text);
  SendMessageW(control(StatusBar1), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(wideText.c_str()));
}

void InstallDialog::setWarningsText(const std::string& text) {
  const std::wstring wideText = wide(text);
  SendMessageW(control(StatusBar1), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(wideText.c_str()));
}

preview::PreviewPanePresenter* InstallDialog::previewPane() { return pane_ ? &pane_->presenter() : nullptr; }

void InstallDialog::setWorking(bool working) { EnableWindow(hwnd(), working ? FALSE : TRUE); }

void InstallDialog::showChosenFiles(const std::vector<std::string>& shown, const std::vector<std::string>&) {
  // The destinations stay with the presenter; the list shows the files.
  setListItems(control(ListBox1), shown);
}

void InstallDialog::setEnabled(Control, bool enabled) { EnableWindow(control(Button1), enabled ? TRUE : FALSE); }

void InstallDialog::setDescription(const std::string& text) { setWindowText(control(Memo1), withCrLf(text)); }

void InstallDialog::setArchiveModeOffered(bool offered) {
  if (offered) return;
  DeleteMenu(addMenu_, N9, MF_BYCOMMAND);
  DeleteMenu(popup_, PM4, MF_BYCOMMAND);
  DrawMenuBar(hwnd());
}

void InstallDialog::markDefaultMode(installs::AddMode mode) {
  // The default item of a menu is drawn in bold.
  SetMenuDefaultItem(popup_, static_cast<UINT>(PM1 + static_cast<int>(mode) - 1), FALSE);
}

void InstallDialog::setHintTiming(int pauseMs, int hidePauseMs) { Hints::setTiming(pauseMs, hidePauseMs); }

void InstallDialog::closeWindow() { close(); }

void InstallDialog::refreshInstallations() { page_.EditMenuShow(); }

std::string InstallDialog::description() const { return withoutCr(windowTextUtf8(control(Memo1))); }

std::optional<std::size_t> InstallDialog::selectedFile() const {
  const int row = listSelection(control(ListBox1));
  if (row < 0) return std::nullopt;
  return static_cast<std::size_t>(row);
}

bool InstallDialog::mainWindowShown() const {
  return IsWindowVisible(const_cast<InstallDialog*>(this)->main().hwnd()) != FALSE;
}

}  // namespace winui
