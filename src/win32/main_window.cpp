#include "win32/main_window.h"

#include <commctrl.h>

#include "app/texts.h"
#include "help/links.h"
#include "help/texts.h"
#include "help/update_check.h"
#include "launchers/run_menu.h"
#include "launchers/utilities.h"
#include "service/variables.h"
#include "sys/error.h"
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
}  // namespace

MainWindow::MainWindow(const Platform& platform) {
  initCommonControls();
  services_ = std::make_unique<app::Services>(app::Services{ui_, platform.fs, platform.registry, platform.shell,
                                                            platform.windows, platform.clock,
                                                            platform.executableFolder});
  program_ = std::make_unique<app::Program>(*services_);

  registerClass(L"VarnikitMainWindow");
  create(L"VarnikitMainWindow", wide(app::mainWindowCaption()), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
         WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT, 700, 450, nullptr);
  buildMenu();

  toolBar_ = createControl(hwnd(), L"STATIC", "", 0, {0, 0, kClientWidth, kStripHeight}, ToolBar1);
  pages_ = createControl(hwnd(), WC_TABCONTROLW, "", WS_CLIPSIBLINGS | WS_TABSTOP | TCS_BUTTONS, {0, kStripHeight, kClientWidth, 200}, Pages);
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
    if (header.code == TCN_SELCHANGE) showPage(currentPage());
    return 0;
  });

  ui_.attach(hwnd(), statusBar_);
  ui_.setDialogsOpen([this] { return anyDialogOpen(); });
  ui_.setPrompts(platform.prompts);

  FormCreate();
  MainMenu1Change();
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

  HMENU links = appendPopup(menu_, "&Ссылки");
  appendItem(links, CounterStrike2, "Официальный сайт Counter-Strike");
  // The first letter of this caption is the Cyrillic С.
  HMENU fanSites = appendPopup(links, "Сounter-strike в России");
  appendItem(fanSites, FanSite1, help::kFanSite1Caption);
  appendItem(fanSites, FanSite2, help::kFanSite2Caption);
  appendItem(fanSites, FanSite3, help::kFanSite3Caption);
  HMENU bots = appendPopup(links, "Боты для Counter-Strike");
  appendItem(bots, PODBot1, "PODBot");
  appendItem(bots, Waypoints1, "Waypoints");
  appendItem(bots, PODBot2, "PODBot в России");
  appendSeparator(links);
  appendItem(links, N24, "Страничка этой программы");
  appendSeparator(links);
  appendItem(links, N26, "Информация");

  HMENU helpMenu = appendPopup(menu_, "&?");
  appendItem(helpMenu, N34, "&Помощь");
  appendItem(helpMenu, N27, "О Программе");
  appendSeparator(helpMenu);
  appendItem(helpMenu, N29, "Посетить сайт");
  appendItem(helpMenu, N31, "Написать письмо");
  appendSeparator(helpMenu);
  appendItem(helpMenu, N30, "Поиск обновлений");
  SetMenu(hwnd(), menu_);

  const auto handle = [this](int command, void (MainWindow::*handler)()) {
    onMenu(command, [this, handler] { (this->*handler)(); });
  };
  handle(N4, &MainWindow::N4Click);
  handle(N18, &MainWindow::N18Click);
  handle(N19, &MainWindow::N19Click);
  handle(Log1, &MainWindow::Log1Click);
  handle(N21, &MainWindow::N21Click);
  handle(N5, &MainWindow::N5Click);
  handle(N13, &MainWindow::N13Click);
  handle(N15, &MainWindow::N15Click);
  handle(N26, &MainWindow::N26Click);
  handle(N34, &MainWindow::N34Click);
  handle(N27, &MainWindow::N27Click);
  handle(N29, &MainWindow::N29Click);
  handle(N31, &MainWindow::N31Click);
  handle(N30, &MainWindow::N30Click);
  const std::pair<int, const char*> addresses[] = {
      {CounterStrike2, help::kOfficialSite}, {FanSite1, help::kFanSite1},         {FanSite2, help::kFanSite2},
      {FanSite3, help::kFanSite3},           {PODBot1, help::kPodBotSite},        {Waypoints1, help::kWaypointsDownload},
      {PODBot2, help::kPodBotRussianPage},   {N24, help::kProgramPage}};
  for (const auto& [command, address] : addresses) {
    onMenu(command, [this, address = std::string(address)] { openWebAddress(address); });
  }
  for (int k = 1; k <= 10; ++k) {
    onMenu(Run1 + k - 1, [this, k] { RunClick(k); });
    onMenu(util1 + k - 1, [this, k] { RunUtil(k); });
  }
}

void MainWindow::onMenu(int command, std::function<void()> handler) {
  onCommand(command, [this, handler = std::move(handler)](int) { guard(handler); });
}

bool MainWindow::unhandledCommand(int, int) { return false; }

Panel& MainWindow::page(Page which) { return *panels_[static_cast<int>(which)]; }

MainWindow::Page MainWindow::currentPage() const {
  return SendMessageW(pages_, TCM_GETCURSEL, 0, 0) == 1 ? Page::FilesList : Page::EditMenu;
}

void MainWindow::onPageShow(Page which, std::function<void()> handler) {
  pageShow_[static_cast<int>(which)] = std::move(handler);
}

void MainWindow::showPage(Page which) {
  const int index = static_cast<int>(which);
  SendMessageW(pages_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  ShowWindow(panels_[index]->hwnd(), SW_SHOW);
  ShowWindow(panels_[1 - index]->hwnd(), SW_HIDE);
  if (pageShow_[index]) guard(pageShow_[index]);
}

void MainWindow::FormCreate() {
  guard([this] { program_->startUp(); });
  SetWindowTextW(hwnd(), wide(app::mainWindowCaption()).c_str());
}

void MainWindow::guard(const std::function<void()>& handler) {
  // Nothing may leave a handler: an exception through a window procedure ends the program.
  struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
  } depth(guardDepth_);
  try {
    handler();
  } catch (const sys::IoError& error) {
    reportIoError(error.what());
  } catch (const std::exception& error) {
    reportUnexpectedError(error.what());
  } catch (...) {
    reportUnexpectedError("");
  }
}

void MainWindow::endHandlerState() {
  // A handler run from inside another one's wait did not own the state of the main window; the outer
  // handler ends it itself, on every way out.
  if (guardDepth_ > 1) return;
  ui_.releaseMainWindow();
  ui_.setStatusText("");
}

void MainWindow::reportIoError(const std::string& systemText) {
  endHandlerState();
  ui_.messageBox(app::kApplicationTitle, systemText, app::Icon::Error, app::Buttons::Ok);
}

void MainWindow::reportUnexpectedError(const std::string& detail) {
  endHandlerState();
  std::string logText = app::texts::kUnexpectedErrorLog;
  if (!detail.empty()) logText += ": " + detail;
  for (char& c : logText) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  try {
    program_->ErrorMsg(app::texts::kUnexpectedError, logText);
  } catch (const sys::IoError& error) {
    ui_.messageBox(app::kApplicationTitle, error.what(), app::Icon::Error, app::Buttons::Ok);
  } catch (...) {
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

void MainWindow::secondaryWindowHidden(SecondaryWindow*) {
  ui_.updateMainWindow();
  if (closing_ || activationPosted_ || activationHolds_ > 0) return;
  // The main window becomes the active one again once the other window is gone.
  activationPosted_ = true;
  postActivation(0);
}

void MainWindow::postActivation(UINT delayMs) {
  if (!hwnd()) return;
  if (delayMs == 0) {
    PostMessageW(hwnd(), kActivationMessage, 0, 0);
  } else {
    SetTimer(hwnd(), kActivationTimer, delayMs, nullptr);
  }
}

void MainWindow::activationDue() {
  // A box still open holds the main window back: the activation step runs once it has been answered.
  if (ui_.promptOpen() && !closing_) {
    postActivation(50);
    return;
  }
  // Nor while the main window is busy or held by an operation (a utility running, the update check).
  const bool visible = IsWindowVisible(hwnd()) != FALSE;
  if (!closing_ && visible && !IsWindowEnabled(hwnd()) && !anySecondaryWindowOpen()) {
    postActivation(50);
    return;
  }
  activationPosted_ = false;
  if (!closing_ && activationHolds_ == 0 && visible && !anySecondaryWindowOpen()) FormActivate();
}

void MainWindow::FormActivate() {
  guard([this] {
    if (program_->activate() == app::Program::Activation::ShowSettings) N4Click();
  });
}

void MainWindow::show(int showCommand) {
  ShowWindow(hwnd(), showCommand);
  UpdateWindow(hwnd());
  if (!firstShow_) return;
  firstShow_ = false;
  showPage(Page::EditMenu);
  activationPosted_ = true;
  postActivation(0);
}

void MainWindow::close() {
  if (hwnd()) SendMessageW(hwnd(), WM_CLOSE, 0, 0);
}

void MainWindow::FormMouseMove() { ui_.setStatusText(sys::shortDate(program_->services().clock.now().date)); }

void MainWindow::PagesMouseMove() { program_->Status("", 0); }

LRESULT CALLBACK MainWindow::mouseWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
  auto* self = reinterpret_cast<MainWindow*>(data);
  // A disabled main window takes no input: the mouse must not end the busy state or a dialog's hold.
  if (message == WM_MOUSEMOVE && IsWindowEnabled(self->hwnd())) self->guard([self] { self->PagesMouseMove(); });
  return DefSubclassProc(window, message, wParam, lParam);
}

void MainWindow::N4Click() {
  if (windows_.options) windows_.options->show();
}

void MainWindow::N5Click() { close(); }

void MainWindow::Log1Click() { program_->Log1Click(); }

void MainWindow::fillLauncherMenu(HMENU popup, int firstCommand, const std::vector<std::string>& names,
                                  int settingsCommand) {
  while (GetMenuItemCount(popup) > 0) DeleteMenu(popup, 0, MF_BYPOSITION);
  bool any = false;
  for (int k = 0; k < 10; ++k) {
    if (names[k] == launchers::kEmpty) continue;
    appendItem(popup, firstCommand + k, names[k]);
    any = true;
  }
  if (any) appendSeparator(popup);
  appendItem(popup, settingsCommand, "Настройка");
}

void MainWindow::MainMenu1Change() {
  auto& program = *program_;
  if (!program.settings.FilePath.empty()) program.LoadUtilList();
  std::vector<std::string> runNames;
  std::vector<std::string> utilityNames;
  for (int k = 0; k < 10; ++k) {
    runNames.push_back(program.runMenu[k].name);
    utilityNames.push_back(program.utilities[k].name);
  }
  fillLauncherMenu(runMenu_, Run1, runNames, N15);
  fillLauncherMenu(utilitiesMenu_, util1, utilityNames, N13);
}

std::vector<std::string> MainWindow::runMenuItems() const { return itemTexts(runMenu_, Run1); }

std::vector<std::string> MainWindow::utilityMenuItems() const { return itemTexts(utilitiesMenu_, util1); }

void MainWindow::RunClick(int entry) { launchers::startRunMenuEntry(*program_, entry); }

void MainWindow::RunUtil(int slot) { launchers::RunUtil(*program_, slot, utilityTimeout); }

void MainWindow::N13Click() {
  if (windows_.utils) windows_.utils->show();
}

void MainWindow::N15Click() {
  if (windows_.runMenu) windows_.runMenu->show();
}

void MainWindow::N18Click() {
  if (windows_.command) windows_.command->show();
}

void MainWindow::N19Click() {
  ui_.messageBox(service::kVariablesCaption, service::variablesText(program_->settings), app::Icon::None,
                 app::Buttons::Ok);
}

void MainWindow::N21Click() { app::showAttention(ui_, service::kServiceMenuNote); }

void MainWindow::N34Click() {
  if (!windows_.help) return;
  windows_.help->show();
}

void MainWindow::N27Click() {
  ui_.messageBox(help::kAboutCaption, help::aboutText(), app::Icon::Information, app::Buttons::Ok);
}

void MainWindow::N26Click() {
  ui_.messageBox(help::kLinksNoticeCaption, help::linksNotice(), app::Icon::Information, app::Buttons::Ok);
}

void MainWindow::N29Click() { openWebAddress(help::kProgramPage); }

void MainWindow::N31Click() { openWebAddress(std::string("mailto:") + help::kAuthorEmail); }

void MainWindow::N30Click() { help::checkForUpdates(*program_, updateCheckStep); }

void MainWindow::openWebAddress(const std::string& address) {
  program_->services().shell.open(address, "", "", sys::ShowCommand::Show);
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kActivationMessage:
      activationDue();
      return 0;
    case WM_TIMER:
      if (wParam == kActivationTimer) {
        KillTimer(hwnd(), kActivationTimer);
        activationDue();
        return 0;
      }
      break;
    case WM_INITMENUPOPUP: {
      const auto popup = reinterpret_cast<HMENU>(wParam);
      if (popup == runMenu_ || popup == utilitiesMenu_) guard([this] { MainMenu1Change(); });
      return 0;
    }
    case WM_MOUSEMOVE:
      if (IsWindowEnabled(hwnd())) guard([this] { FormMouseMove(); });
      return 0;
    case WM_SETCURSOR:
      if (ui_.busy()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_SHOWWINDOW:
      // FormShow / FormHide: the hint pauses while the main window is shown and when it is hidden.
      if (wParam) {
        Hints::setTiming(300, 5000);
      } else {
        Hints::setTiming(500, 2500);
      }
      break;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      if (closing_) return 0;
      closing_ = true;
      guard([this] {
        try {
          program_->saveUtilitiesAtClose();
        } catch (const sys::IoError& error) {
          // The program still ends; the failure is on record.
          program_->ErrorMsg(error.what(), std::string("Не удалось записать utilities.dat: ") + error.what());
        }
      });
      for (SecondaryWindow* window : secondaryWindows_) {
        if (window->hwnd()) ShowWindow(window->hwnd(), SW_HIDE);
      }
      Hints::setTiming(500, 2500);
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
