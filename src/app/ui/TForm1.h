#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/main_window_presenter.h"
#include "app/program.h"
#include "app/ui/QtUi.h"

class QAction;
class QLabel;
class QMenu;
class QTabWidget;

class TOptions;
class TListInfo;
class TRunMenu;
class Tinstall;
class Tcommand;
class Tutils;
class THelp;
class EditMenuPage;
class FilesListPage;

namespace app::ui {
class ProgramWindow;
}

// The platform pieces the main window works with; main() hands in the real ones, tests their own.
struct Platform {
  sys::FileSystem& fs;
  sys::Registry& registry;
  sys::Shell& shell;
  sys::WindowFinder& windows;
  sys::Clock& clock;
  std::string executableFolder;
  app::Ui* prompts = nullptr;  // tests: scripted boxes and choosers instead of Qt's
};

// The main window. It owns the program-wide state (app::Program: settings, run menu, utility table) and
// every other window, and holds the two pages and the main menu; what it does is its presenter's.
class TForm1 final : public QMainWindow, private app::MainWindowView {
  Q_OBJECT

 public:
  explicit TForm1(const Platform& platform);
  ~TForm1() override;

  app::Program& program() { return *program_; }
  app::ui::QtUi& ui() { return ui_; }
  app::MainWindowPresenter& presenter() { return *presenter_; }

  // The other windows, created after the main window in their fixed order (see main.cpp).
  struct Windows {
    TOptions* options = nullptr;
    TListInfo* listInfo = nullptr;
    TRunMenu* runMenu = nullptr;
    Tinstall* install = nullptr;
    Tcommand* command = nullptr;
    Tutils* utils = nullptr;
    THelp* help = nullptr;
  };
  void setWindows(const Windows& windows) { windows_ = windows; }
  const Windows& windows() const { return windows_; }

  EditMenuPage* editMenuPage() { return editMenu_; }
  FilesListPage* filesListPage() { return filesList_; }
  QTabWidget* pages() { return Pages; }

  // Runs an event handler inside the presenter's boundary (app::MainWindowPresenter::guard).
  void guard(const std::function<void()>& handler);
  void reportIoError(const std::string& systemText);
  void reportUnexpectedError(const std::string& detail);

  // Secondary windows report here; the main window's activation step runs when they are hidden.
  void registerSecondaryWindow(app::ui::ProgramWindow* window);
  void unregisterSecondaryWindow(app::ui::ProgramWindow* window);
  // While held, a secondary window closing does not run the activation step (the settings dialog's
  // "Обновить" scans itself right after closing; the activation must not start a second scan first).
  class ActivationHold {
   public:
    explicit ActivationHold(TForm1& form) : form_(form) { form_.presenter_->holdActivation(); }
    ~ActivationHold() { form_.presenter_->releaseActivation(); }
    ActivationHold(const ActivationHold&) = delete;
    ActivationHold& operator=(const ActivationHold&) = delete;

   private:
    TForm1& form_;
  };
  void secondaryWindowHidden(QWidget* window);
  bool anySecondaryWindowOpen() const override;
  // An open secondary window that keeps the main window disabled (every one but the help window).
  bool anyDialogOpen() const;

  // Start-up (FormCreate) and the activation step (FormActivate).
  void FormCreate();
  void FormActivate();
  // Shown again in the status line when the mouse moves over the bare window.
  void FormMouseMove();
  void PagesMouseMove();
  void FormResize();
  // FormShow / FormHide of the main window: the hint pauses while it is shown and when it is hidden.
  void setHintTiming(int pauseMs, int hidePauseMs) override;
  void N4Click();  // "&Настройки"
  void N5Click();  // "&Выход"
  void Log1Click();

  // Run menu and utilities.
  void RunClick(int entry);  // Run1Click..Run10Click, entry 1..10
  void RunUtil(int slot);    // util1Click..util10Click, slot 1..10
  void N13Click();           // utilities manager
  void N15Click();           // run-menu editor
  void MainMenu1Change();    // refreshes both menus before a drop-down opens

  // Service menu.
  void N18Click();  // command console
  void N19Click();  // variables view
  void N21Click();  // note on the service menu

  // Help, links, about.
  void N34Click();     // help window
  void Button4Click(); // help at "Установка файлов" (installations page)
  void N27Click();     // about box
  void N26Click();     // links notice
  void N29Click();     // visit the home page
  void N31Click();     // letter to the author
  void N30Click();     // update check
  void openWebAddress(const std::string& address);

  std::array<QAction*, 10> Run{};
  std::array<QAction*, 10> util{};

  // Test hooks: how long the utility waits last (15 s in the program).
  std::chrono::milliseconds utilityTimeout{15000};
  std::chrono::milliseconds updateCheckStep{50};

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The view of the presenter.
  void setCaption(const std::string& caption) override;
  void postActivation(int delayMs) override;
  void updateEnabledState() override;
  bool windowShown() const override;
  bool windowEnabled() const override;
  bool modalBoxOpen() const override;
  void showInstallationsPage() override;
  void showFilesListPage() override;
  void setUpFilesGrid() override;
  void fitFilesGrid() override;
  app::WindowPlace windowPlace() const override;
  std::vector<app::ScreenArea> screenAreas() const override;
  void placeWindow(const app::WindowPlace& place) override;
  void showSettings() override;
  void closeWindow() override;
  void hideSecondaryWindows() override;

  void buildMenu();
  void buildFileMenu(QMenu* menu);
  void buildUtilitiesMenu(QMenu* menu);
  void buildRunMenu(QMenu* menu);
  void buildLinksMenu(QMenu* menu);
  void buildHelpMenu(QMenu* menu);
  QAction* addItem(QMenu* menu, const char* name, const QString& caption, void (TForm1::*handler)());

  app::ui::QtUi ui_;
  std::unique_ptr<app::Services> services_;
  std::unique_ptr<app::Program> program_;
  std::unique_ptr<app::MainWindowPresenter> presenter_;
  Windows windows_;
  std::vector<app::ui::ProgramWindow*> secondaryWindows_;
  QTabWidget* Pages = nullptr;
  EditMenuPage* editMenu_ = nullptr;
  FilesListPage* filesList_ = nullptr;
  QLabel* statusbar_ = nullptr;
};
