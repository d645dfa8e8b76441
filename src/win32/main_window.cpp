#include "win32/main_window.h"

#include <commctrl.h>

#include "service/variables.h"
#include "win32/controls.h"
#include "win32/secondary_window.h"
#include "win32/text.h"

namespace winui {

namespace {
constexpr int kClientWidth = 658;
constexpr int kClientHeight = 361;
constexpr int kStripHeight = 9;
constexpr UINT kActivationMessage = WM_APP + 1;
constexpr UINT_PTR kActivationTimer = 1;
constexpr UINT_PTR kMouseWatchId = 1;

void appendItem(HMENU menu, int command, std::string_view caption) {
  AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), wide(caption).c_str());
}
void appendSeparator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }
HMENU appendPopup(HMENU menu, std::string_view caption) {
  HMENU popup = CreatePopupMenu();
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), wide(caption).c_str());
  return popup;
}

std::vector<std::string> itemTexts(HMENU popup, int firstCommand) {
  std::vector<std::string> texts;
  const int count = GetMenuItemCount(popup);
  for (int position = 0; position < count; ++position) {
    const UINT id = GetMenuItemID(popup, position);
    if (id < static_cast<UINT>(firstCommand) || id >= static_cast<UINT>(firstCommand + 10)) continue;
    wchar_t text[512] = {};
    GetMenuStringW(popup, position, text, 512, MF_BYPOSITION);
    texts.push_back(narrow(text));
  }
  return texts;
}

// The ids of the named items of the links and "?" menus.
int namedCommand(const std::string& name) {
  static const std::map<std::string, int> ids = {
      {"CounterStrike2", MainWindow::CounterStrike2}, {"FanSite1", MainWindow::FanSite1},
      {"FanSite2", MainWindow::FanSite2},             {"FanSite3", MainWindow::FanSite3},
      {"PODBot1", MainWindow::PODBot1},               {"Waypoints1", MainWindow::Waypoints1},
      {"PODBot2", MainWindow::PODBot2},               {"N24", MainWindow::N24},
      {"N26", MainWindow::N26},                       {"N34", MainWindow::N34},
      {"N27", MainWindow::N27},                       {"N29", MainWindow::N29},
      {"N31", MainWindow::N31},                       {"N30", MainWindow::N30}};
  const auto found = ids.find(name);
  return found == ids.end() ? 0 : found->second;
}
}  // namespace

MainWindow::MainWindow(const Platform& platform) {
  initCommonControls();
  services_ = std::make_unique<app::Services>(app::Services{ui_, platform.fs, platform.registry, platform.shell,
                                                            platform.windows, platform.clock,
                                                            platform.executableFolder});
  program_ = std::make_unique<app::Program>(*services_);
  presenter_ = std::make_unique<app::MainWindowPresenter>(*program_, static_cast<app::MainWindowView&>(*this));
  menus_ = std::make_unique<launchers::MenusPresenter>(*program_, static_cast<launchers::MenusView&>(*this));

  registerClass(L"VarnikitMainWindow");
  create(L"VarnikitMainWindow", wide(app::mainWindowCaption()),
         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
         CW_USEDEFAULT, CW_USEDEFAULT, 700, 450, nullptr);
  buildMenu();

  toolBar_ = createControl(hwnd(), L"STATIC", "", 0, {0, 0, kClientWidth, kStripHeight}, ToolBar1);
  pages_ = createControl(hwnd(), WC_TABCONTROLW, "", WS_CLIPSIBLINGS | WS_TABSTOP | TCS_BUTTONS,
                         {0, kStripHeight, kClientWidth, 200}, Pages);
  const char* captions[] = {"Замена файлов", "Список файлов"};
  for (int index = 0; index < 2; ++index) {
    std::wstring caption = wide(captions[index]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageW(pages_, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(statusbar)), instance(), nullptr);
  useMessageFont(statusBar_);
  SendMessageW(statusBar_, SB_SIMPLE, TRUE, 0);
  panels_[0] = std::make_unique<Panel>(hwnd(), 0, 0, 10, 10, EditMenuPanel);
  panels_[1] = std::make_unique<Panel>(hwnd(), 0, 0, 10, 10, FilesListPanel);
  hints_ = std::make_unique<Hints>(hwnd());

  // The client area is 658 x 361 below the menu; not resizable.
  setClientSize(hwnd(), kClientWidth, kClientHeight);
  centreOnScreen(hwnd());
  layOut();

  // Mouse moves over the page control and the pages (outside their controls) clear the status line.
  SetWindowSubclass(pages_, &MainWindow::mouseWatch, kMouseWatchId, reinterpret_cast<DWORD_PTR>(this));
  for (auto& panel : panels_) {
    SetWindowSubclass(panel->hwnd(), &MainWindow::mouseWatch, kMouseWatchId, reinterpret_cast<DWORD_PTR>(this));
  }
  onNotify(Pages, [this](NMHDR& header) -> LRESULT {
    if (header.code == TCN_SELCHANGE) presenter_->PagesChange(static_cast<int>(currentPage()));
    return 0;
  });

  ui_.attach(hwnd(), statusBar_);
  ui_.setDialogsOpen([this] { return anyDialogOpen(); });
  ui_.setPrompts(platform.prompts);

  presenter_->FormCreate();
  guard([this] { menus_->MainMenu1Change(); });
}

MainWindow::~MainWindow() {
  if (pages_) RemoveWindowSubclass(pages_, &MainWindow::mouseWatch, kMouseWatchId);
  for (auto& panel : panels_) {
    if (panel && panel->hwnd()) RemoveWindowSubclass(panel->hwnd(), &MainWindow::mouseWatch, kMouseWatchId);
  }
}

void MainWindow::layOut() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  SendMessageW(statusBar_, WM_SIZE, 0, 0);
  RECT status{};
  GetWindowRect(statusBar_, &status);
  const int statusHeight = status.bottom - status.top;
  const int strip = scaled(hwnd(), kStripHeight);
  MoveWindow(toolBar_, 0, 0, client.right, strip, TRUE);
  MoveWindow(pages_, 0, strip, client.right, client.bottom - strip - statusHeight, TRUE);
  RECT display{0, 0, client.right, client.bottom - strip - statusHeight};
  SendMessageW(pages_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  for (auto& panel : panels_) {
    MoveWindow(panel->hwnd(), display.left, strip + display.top, display.right - display.left,
               display.bottom - display.top, TRUE);
    SetWindowPos(panel->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void MainWindow::buildMenu() {
  menu_ = CreateMenu();
  HMENU file = appendPopup(menu_, "&Файл");
  appendItem(file, N4, "&Настройки");
  appendSeparator(file);
  HMENU service = appendPopup(file, "&Служебные");
  appendItem(service, N18, "&Командная строка");
  appendItem(service, N19, "&Значения переменных");
  appendItem(service, Log1, "Log ошибок");
  appendSeparator(service);
  appendItem(service, N21, "Информация");
  appendSeparator(file);
  appendItem(file, N5, "&Выход");

  utilitiesMenu_ = appendPopup(menu_, "&Утилиты");
  runMenu_ = appendPopup(menu_, "&Запуск");
  appendHelpItems(appendPopup(menu_, "&Ссылки"), help::linksMenu());
  appendHelpItems(appendPopup(menu_, "&?"), help::helpMenu());
  SetMenu(hwnd(), menu_);

  onMenu(N4, [this] { presenter_->N4Click(); });
  onMenu(N5, [this] { presenter_->N5Click(); });
  onMenu(Log1, [this] { presenter_->Log1Click(); });
  onMenu(N18, [this] {
    if (windows_.command) windows_.command->show();
  });
  onMenu(N19, [this] { service::showVariables(*program_); });
  onMenu(N21, [this] { service::showServiceMenuNote(ui_); });
  onMenu(N13, [this] { menus_->N13Click(); });
  onMenu(N15, [this] { menus_->N15Click(); });
  for (int k = 1; k <= 10; ++k) {
    onMenu(Run1 + k - 1, [this, k] { menus_->RunClick(k); });
    onMenu(util1 + k - 1, [this, k] { menus_->RunUtil(k, utilityTimeout); });
  }
}

void MainWindow::appendHelpItems(HMENU popup, const std::vector<help::MenuItem>& items) {
  using Kind = help::MenuItem::Kind;
  HMENU in = popup;
  for (const help::MenuItem& item : items) {
    switch (item.kind) {
      case Kind::Submenu:
        in = appendPopup(popup, item.caption);
        continue;
      case Kind::EndSubmenu:
        in = popup;
        continue;
      case Kind::Separator:
        appendSeparator(in);
        continue;
      case Kind::Link:
      case Kind::Command:
        break;
    }
    int command = namedCommand(item.name);
    if (command == 0) command = nextFreeCommand_++;
    appendItem(in, command, item.caption);
    if (!item.hint.empty()) menuHints_[command] = item.hint;
    if (item.kind == Kind::Link) {
      onMenu(command, [this, address = item.address] { help::openWebAddress(*program_, address); });
    } else {
      onMenu(command, [this, name = item.name] { runHelpCommand(name); });
    }
  }
}

void MainWindow::runHelpCommand(const std::string& name) {
  if (name == "N34" && windows_.help) windows_.help->show();
  if (name == "N26") help::N26Click(ui_);
  if (name == "N27") help::N27Click(ui_);
  if (name == "N29") help::N29Click(*program_);
  if (name == "N31") help::N31Click(*program_);
  if (name == "N30") help::N30Click(*program_, updateCheckStep);
}

void MainWindow::onMenu(int command, std::function<void()> handler) {
  onCommand(command, [this, handler = std::move(handler)](int) { guard(handler); });
}

Panel& MainWindow::page(Page which) { return *panels_[static_cast<int>(which)]; }

MainWindow::Page MainWindow::currentPage() const {
  return SendMessageW(pages_, TCM_GETCURSEL, 0, 0) == 1 ? Page::FilesList : Page::EditMenu;
}

void MainWindow::onPageShow(Page which, std::function<void()> handler) {
  pageShow_[static_cast<int>(which)] = std::move(handler);
}

void MainWindow::onFilesGrid(std::function<void()> setUp, std::function<void()> fit) {
  setUpGrid_ = std::move(setUp);
  fitGrid_ = std::move(fit);
}

void MainWindow::showPage(Page which) {
  const int index = static_cast<int>(which);
  SendMessageW(pages_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  // Filled while still hidden, then shown once: a list view that takes 100,000 rows or gives them back
  // in sight lays out its scroll bars and repaints on the spot.
  if (pageShow_[index]) pageShow_[index]();
  ShowWindow(panels_[index]->hwnd(), SW_SHOW);
  ShowWindow(panels_[1 - index]->hwnd(), SW_HIDE);
}

void MainWindow::showInstallationsPage() { showPage(Page::EditMenu); }
void MainWindow::showFilesListPage() { showPage(Page::FilesList); }

void MainWindow::setUpFilesGrid() {
  if (setUpGrid_) setUpGrid_();
}

void MainWindow::fitFilesGrid() {
  if (fitGrid_) fitGrid_();
}

void MainWindow::setCaption(const std::string& caption) { SetWindowTextW(hwnd(), wide(caption).c_str()); }

void MainWindow::setHintTiming(int pauseMs, int hidePauseMs) { Hints::setTiming(pauseMs, hidePauseMs); }

void MainWindow::postActivation(int delayMs) {
  if (!hwnd()) return;
  if (delayMs <= 0) {
    PostMessageW(hwnd(), kActivationMessage, 0, 0);
  } else {
    SetTimer(hwnd(), kActivationTimer, static_cast<UINT>(delayMs), nullptr);
  }
}

void MainWindow::updateEnabledState() { ui_.updateMainWindow(); }
bool MainWindow::windowShown() const { return hwnd() && IsWindowVisible(hwnd()); }
bool MainWindow::windowEnabled() const { return hwnd() && IsWindowEnabled(hwnd()); }
bool MainWindow::modalBoxOpen() const { return ui_.promptOpen(); }

app::WindowPlace MainWindow::windowPlace() const {
  // Where the window stands when it is not minimised or maximised, so a window closed minimised comes back
  // where it was.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(hwnd(), &placement);
  const RECT& r = placement.rcNormalPosition;
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

namespace {

BOOL CALLBACK addScreenArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    const RECT& r = info.rcWork;
    reinterpret_cast<std::vector<app::ScreenArea>*>(data)->push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
  }
  return TRUE;
}

}  // namespace

std::vector<app::ScreenArea> MainWindow::screenAreas() const {
  std::vector<app::ScreenArea> areas;
  EnumDisplayMonitors(nullptr, nullptr, &addScreenArea, reinterpret_cast<LPARAM>(&areas));
  return areas;
}

void MainWindow::placeWindow(const app::WindowPlace& place) {
  SetWindowPos(hwnd(), nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::showSettings() {
  if (windows_.options) windows_.options->show();
}

void MainWindow::closeWindow() { close(); }

void MainWindow::hideSecondaryWindows() {
  for (SecondaryWindow* window : secondaryWindows_) {
    if (window->hwnd()) ShowWindow(window->hwnd(), SW_HIDE);
  }
}

void MainWindow::registerSecondaryWindow(SecondaryWindow* window) { secondaryWindows_.push_back(window); }

void MainWindow::unregisterSecondaryWindow(SecondaryWindow* window) { std::erase(secondaryWindows_, window); }

bool MainWindow::anySecondaryWindowOpen() const {
  for (const SecondaryWindow* window : secondaryWindows_) {
    if (window->isVisible()) return true;
  }
  return false;
}

bool MainWindow::anyDialogOpen() const {
  for (const SecondaryWindow* window : secondaryWindows_) {
    if (window->isVisible() && window->holdsMainWindow()) return true;
  }
  return false;
}

void MainWindow::secondaryWindowHidden(SecondaryWindow*) { presenter_->secondaryWindowHidden(); }

void MainWindow::show(int showCommand) {
  ShowWindow(hwnd(), showCommand);
  UpdateWindow(hwnd());
}

void MainWindow::close() {
  if (hwnd()) SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT CALLBACK MainWindow::mouseWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
  if (message == WM_MOUSEMOVE) reinterpret_cast<MainWindow*>(data)->presenter_->PagesMouseMove();
  return DefSubclassProc(window, message, wParam, lParam);
}

void MainWindow::showMenuItem(Menu menu, int item, bool visible, const std::string& caption) {
  auto& items = menu == Menu::Run ? runItems_ : utilityItems_;
  if (item < 1 || item > 10) return;
  items[static_cast<std::size_t>(item - 1)] = {visible, visible ? caption : std::string()};
  refreshLauncherMenus();
}

void MainWindow::showRunMenuEditor() {
  if (windows_.runMenu) windows_.runMenu->show();
}

void MainWindow::showUtilitiesManager() {
  if (windows_.utils) windows_.utils->show();
}

void MainWindow::refreshLauncherMenus() {
  // A Win32 menu has no hidden items: the drop-downs are filled again with the visible ones.
  const auto fill = [](HMENU popup, int firstCommand, const std::array<LauncherItem, 10>& items, int settings) {
    while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
    bool any = false;
    for (int k = 0; k < 10; ++k) {
      if (!items[static_cast<std::size_t>(k)].visible) continue;
      appendItem(popup, firstCommand + k, items[static_cast<std::size_t>(k)].caption);
      any = true;
    }
    if (any) appendSeparator(popup);
    appendItem(popup, settings, "Настройка");
  };
  fill(runMenu_, Run1, runItems_, N15);
  fill(utilitiesMenu_, util1, utilityItems_, N13);
}

std::vector<std::string> MainWindow::runMenuItems() const { return itemTexts(runMenu_, Run1); }

std::vector<std::string> MainWindow::utilityMenuItems() const { return itemTexts(utilitiesMenu_, util1); }

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kActivationMessage:
      presenter_->ActivationDue();
      return 0;
    case WM_TIMER:
      if (wParam == kActivationTimer) {
        KillTimer(hwnd(), kActivationTimer);
        presenter_->ActivationDue();
        return 0;
      }
      break;
    case WM_INITMENUPOPUP: {
      const auto popup = reinterpret_cast<HMENU>(wParam);
      if (popup == runMenu_ || popup == utilitiesMenu_) guard([this] { menus_->MainMenu1Change(); });
      return 0;
    }
    case WM_ENTERMENULOOP:
      statusBeforeMenu_ = ui_.statusText();
      break;
    case WM_MENUSELECT: {
      // An item with a hint (a web item: its address) shows it in the status line while highlighted.
      const bool closed = HIWORD(wParam) == 0xFFFF && lParam == 0;
      const auto hint = menuHints_.find(LOWORD(wParam));
      ui_.setStatusText(!closed && hint != menuHints_.end() ? hint->second : statusBeforeMenu_);
      return 0;
    }
    case WM_EXITMENULOOP:
      ui_.setStatusText(statusBeforeMenu_);
      break;
    case WM_MOUSEMOVE:
      presenter_->FormMouseMove();
      return 0;
    case WM_SETCURSOR:
      if (ui_.busy()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_SHOWWINDOW:
      if (wParam) {
        presenter_->FormShow();
      } else {
        presenter_->FormHide();
      }
      break;
    case WM_CLOSE:
      if (presenter_->closing()) return 0;
      presenter_->FormClose();
      presenter_->FormHide();
      DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      closed_ = true;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return Window::handleMessage(message, wParam, lParam);
}

int runMessageLoop(MainWindow& main) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    HWND active = GetActiveWindow();
    if (active && IsDialogMessageW(active, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return main.closed() ? 0 : static_cast<int>(message.wParam);
}

}  // namespace winui
