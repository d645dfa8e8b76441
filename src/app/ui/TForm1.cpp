#include "app/ui/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QGuiApplication>
#include <QScreen>
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
  presenter_ = std::make_unique<app::MainWindowPresenter>(*program_, static_cast<app::MainWindowView&>(*this));

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

  connect(Pages, &QTabWidget::currentChanged, this, [this](int index) { presenter_->PagesChange(index); });

  FormCreate();
}

TForm1::~TForm1() = default;

app::WindowPlace TForm1::windowPlace() const {
  const QRect frame = frameGeometry();
  return {frame.x(), frame.y(), frame.width(), frame.height()};
}

std::vector<app::ScreenArea> TForm1::screenAreas() const {
  std::vector<app::ScreenArea> areas;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect area = screen->availableGeometry();
    areas.push_back({area.x(), area.y(), area.width(), area.height()});
  }
  return areas;
}

void TForm1::placeWindow(const app::WindowPlace& place) { move(place.left, place.top); }

void TForm1::FormCreate() { presenter_->FormCreate(); }

void TForm1::guard(const std::function<void()>& handler) { presenter_->guard(handler); }

void TForm1::reportIoError(const std::string& systemText) { presenter_->reportIoError(systemText); }

void TForm1::reportUnexpectedError(const std::string& detail) { presenter_->reportUnexpectedError(detail); }

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

void TForm1::secondaryWindowHidden(QWidget*) { presenter_->secondaryWindowHidden(); }

void TForm1::postActivation(int delayMs) {
  QTimer::singleShot(delayMs, this, [this] { presenter_->ActivationDue(); });
}

void TForm1::updateEnabledState() { ui_.updateMainWindow(); }

bool TForm1::windowShown() const { return isVisible(); }

bool TForm1::windowEnabled() const { return isEnabled(); }

bool TForm1::modalBoxOpen() const { return QApplication::activeModalWidget() != nullptr; }

void TForm1::setCaption(const std::string& caption) { setWindowTitle(q(caption)); }

void TForm1::showInstallationsPage() { editMenu_->EditMenuShow(); }

void TForm1::showFilesListPage() { filesList_->FilesListShow(); }

void TForm1::setUpFilesGrid() { filesList_->setUpGrid(); }

void TForm1::fitFilesGrid() {
  if (filesList_) filesList_->FitColumn(-1);
}

void TForm1::showSettings() {
  if (windows_.options) windows_.options->show();
}

void TForm1::closeWindow() { close(); }

void TForm1::hideSecondaryWindows() {
  for (QWidget* window : secondaryWindows_) window->hide();
}

void TForm1::setHintTiming(int pauseMs, int hidePauseMs) { app::ui::HintTiming::install().set(pauseMs, hidePauseMs); }

void TForm1::hideEvent(QHideEvent* event) {
  QMainWindow::hideEvent(event);
  presenter_->FormHide();
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  presenter_->FormShow();
}

void TForm1::FormActivate() { presenter_->FormActivate(); }

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TForm1::FormResize() { presenter_->FormResize(); }

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    if (watched == Pages) PagesMouseMove();
    if (watched == centralWidget()) FormMouseMove();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::FormMouseMove() { presenter_->FormMouseMove(); }

void TForm1::PagesMouseMove() { presenter_->PagesMouseMove(); }

void TForm1::N4Click() { presenter_->N4Click(); }

void TForm1::N5Click() { presenter_->N5Click(); }

void TForm1::Log1Click() { presenter_->Log1Click(); }

void TForm1::closeEvent(QCloseEvent* event) {
  presenter_->FormClose();
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
