#include "app/ui/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/texts.h"
#include "app/ui/HintTiming.h"
#include "app/ui/ProgramWindow.h"
#include "app/ui/TOptions.h"
#include "catalogue/ui/FilesListPage.h"
#include "installs/ui/EditMenuPage.h"
#include "sys/error.h"

using app::ui::q;

TForm1::TForm1(const Platform& platform) {
  setObjectName("Form1");
  services_ = std::make_unique<app::Services>(app::Services{ui_, platform.fs, platform.registry, platform.shell,
                                                            platform.windows, platform.clock,
                                                            platform.executableFolder});
  program_ = std::make_unique<app::Program>(*services_);

  setWindowTitle(q(app::mainWindowCaption()));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* toolBar = new QWidget(central);  // the 9-pixel strip along the top
  toolBar->setObjectName("ToolBar1");
  toolBar->setFixedHeight(9);
  layout->addWidget(toolBar);

  Pages = new QTabWidget(central);
  Pages->setObjectName("Pages");
  Pages->setDocumentMode(true);
  Pages->setAccessibleName("Страницы");
  editMenu_ = new EditMenuPage(*this);
  filesList_ = new FilesListPage(*this);
  Pages->addTab(editMenu_, "Замена файлов");
  Pages->addTab(filesList_, "Список файлов");
  Pages->installEventFilter(this);
  Pages->setMouseTracking(true);
  layout->addWidget(Pages, 1);
  setCentralWidget(central);
  central->setMouseTracking(true);
  central->installEventFilter(this);

  statusbar_ = new QLabel(this);
  statusbar_->setObjectName("statusbar");  // no accessible name: what it shows is what it reads
  statusBar()->setObjectName("statusbarPanel");
  statusBar()->setSizeGripEnabled(false);
  statusBar()->addWidget(statusbar_, 1);
  statusBar()->setFixedHeight(20);

  ui_.attach(this, statusbar_);
  ui_.setDialogsOpen([this] { return anyDialogOpen(); });
  ui_.setPrompts(platform.prompts);
  buildMenu();

  // Client area 658 x 361 below the menu; not resizable.
  setFixedSize(658, 361 + menuBar()->sizeHint().height());

  connect(Pages, &QTabWidget::currentChanged, this, [this](int index) {
    guard([this, index] {
      if (index == 0) editMenu_->EditMenuShow();
      if (index == 1) filesList_->FilesListShow();
    });
  });

  FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  guard([this] { program_->startUp(); });
  setWindowTitle(q(app::mainWindowCaption()));
  filesList_->setUpGrid();
}

void TForm1::guard(const std::function<void()>& handler) {
  // Nothing may leave a handler: an exception through the toolkit's event dispatch ends the program.
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

void TForm1::endHandlerState() {
  // A handler run from inside another one's wait (the help window's, while a utility runs) did not own
  // the state of the main window; the outer handler ends it itself, on every way out.
  if (guardDepth_ > 1) return;
  // The handler has ended: its busy state and its hold end with it. A dialog that is still open keeps
  // the main window disabled, as it did before the error.
  ui_.releaseMainWindow();
  ui_.setStatusText("");
}

void TForm1::reportIoError(const std::string& systemText) {
  endHandlerState();
  ui_.messageBox(app::kApplicationTitle, systemText, app::Icon::Error, app::Buttons::Ok);
}

void TForm1::reportUnexpectedError(const std::string& detail) {
  endHandlerState();
  std::string logText = app::texts::kUnexpectedErrorLog;
  if (!detail.empty()) logText += ": " + detail;
  // One line of the log, whatever the text holds.
  for (char& c : logText) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  try {
    program_->ErrorMsg(app::texts::kUnexpectedError, logText);
  } catch (const sys::IoError& error) {
    // The box has been shown; the line could not be written.
    ui_.messageBox(app::kApplicationTitle, error.what(), app::Icon::Error, app::Buttons::Ok);
  } catch (...) {
    // The report itself failed; the program still goes on.
  }
}

void TForm1::registerSecondaryWindow(app::ui::ProgramWindow* window) { secondaryWindows_.push_back(window); }

void TForm1::unregisterSecondaryWindow(app::ui::ProgramWindow* window) {
  std::erase(secondaryWindows_, window);
}

bool TForm1::anySecondaryWindowOpen() const {
  for (const QWidget* window : secondaryWindows_) {
    if (window->isVisible()) return true;
  }
  return false;
}

bool TForm1::anyDialogOpen() const {
  for (const app::ui::ProgramWindow* window : secondaryWindows_) {
    if (window->isVisible() && window->holdsMainWindow()) return true;
  }
  return false;
}

void TForm1::secondaryWindowHidden(QWidget*) {
  // The window no longer keeps the main window disabled; whether another owner still does is worked out.
  ui_.updateMainWindow();
  if (closing_ || activationPosted_ || activationHolds_ > 0) return;
  // The main window becomes the active one again once the other window is gone.
  activationPosted_ = true;
  postActivation(0);
}

void TForm1::postActivation(int delayMs) {
  QTimer::singleShot(delayMs, this, [this] {
    // A box still open (the install's closing question, a report) holds the main window back: the
    // activation step runs once it has been answered, never underneath it.
    if (QApplication::activeModalWidget() && !closing_) {
      postActivation(50);
      return;
    }
    // Nor while the main window is busy or held by an operation (a utility running, the update check):
    // a disabled window is not activated, and the step's own scan would end the operation's busy state.
    if (!closing_ && isVisible() && !isEnabled() && !anySecondaryWindowOpen()) {
      postActivation(50);
      return;
    }
    activationPosted_ = false;
    if (!closing_ && activationHolds_ == 0 && isVisible() && !anySecondaryWindowOpen()) FormActivate();
  });
}

void TForm1::setHintTiming(int pauseMs, int hidePauseMs) { app::ui::HintTiming::install().set(pauseMs, hidePauseMs); }

void TForm1::hideEvent(QHideEvent* event) {
  QMainWindow::hideEvent(event);
  setHintTiming(500, 2500);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  setHintTiming(300, 5000);
  if (!firstShow_) return;
  firstShow_ = false;
  guard([this] { editMenu_->EditMenuShow(); });
  QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TForm1::FormActivate() {
  guard([this] {
    if (program_->activate() == app::Program::Activation::ShowSettings) N4Click();
  });
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  guard([this] { FormResize(); });
}

void TForm1::FormResize() {
  if (filesList_) filesList_->FitColumn(-1);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  // The toolkit runs event filters for disabled widgets too. A disabled main window takes no input: the
  // mouse moving over it must not end the busy state or a dialog's hold, nor overwrite their status text.
  if (event->type() == QEvent::MouseMove && isEnabled()) {
    if (watched == Pages) guard([this] { PagesMouseMove(); });
    if (watched == centralWidget()) guard([this] { FormMouseMove(); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormMouseMove() {
  ui_.setStatusText(sys::shortDate(program_->services().clock.now().date));
}

void TForm1::PagesMouseMove() { program_->Status("", 0); }

void TForm1::N4Click() {
  if (windows_.options) windows_.options->show();
}

void TForm1::N5Click() { close(); }

void TForm1::Log1Click() {
  guard([this] { program_->Log1Click(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
  closing_ = true;
  guard([this] {
    try {
      program_->saveUtilitiesAtClose();
    } catch (const sys::IoError& error) {
      // The program still ends; the failure is on record.
      program_->ErrorMsg(error.what(), std::string("Не удалось записать utilities.dat: ") + error.what());
    }
  });
  for (QWidget* window : secondaryWindows_) window->hide();
  event->accept();
  QApplication::quit();
}

QAction* TForm1::addItem(QMenu* menu, const char* name, const QString& caption, void (TForm1::*handler)()) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  if (handler) connect(action, &QAction::triggered, this, [this, handler] { guard([this, handler] { (this->*handler)(); }); });
  return action;
}

void TForm1::buildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  QMenu* file = bar->addMenu("&Файл");
  buildFileMenu(file);
  QMenu* utilities = bar->addMenu("&Утилиты");
  buildUtilitiesMenu(utilities);
  QMenu* run = bar->addMenu("&Запуск");
  buildRunMenu(run);
  QMenu* links = bar->addMenu("&Ссылки");
  buildLinksMenu(links);
  QMenu* help = bar->addMenu("&?");
  buildHelpMenu(help);
  for (QMenu* menu : {utilities, run}) {
    connect(menu, &QMenu::aboutToShow, this, [this] { guard([this] { MainMenu1Change(); }); });
  }
  MainMenu1Change();
}

void TForm1::buildFileMenu(QMenu* menu) {
  addItem(menu, "N4", "&Настройки", &TForm1::N4Click);
  menu->addSeparator()->setObjectName("N6");
  QMenu* service = menu->addMenu("&Служебные");
  service->menuAction()->setObjectName("N17");
  addItem(service, "N18", "&Командная строка", &TForm1::N18Click);
  addItem(service, "N19", "&Значения переменных", &TForm1::N19Click);
  addItem(service, "Log1", "Log ошибок", &TForm1::Log1Click);
  service->addSeparator()->setObjectName("N20");
  addItem(service, "N21", "Информация", &TForm1::N21Click);
  menu->addSeparator()->setObjectName("N22");
  addItem(menu, "N5", "&Выход", &TForm1::N5Click);
}
