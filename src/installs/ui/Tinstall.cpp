#include "installs/ui/Tinstall.h"

#include <algorithm>

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ui/ListItemHint.h"
#include "app/ui/TForm1.h"
#include "installs/install.h"
#include "installs/texts.h"
#include "installs/ui/EditMenuPage.h"
#include "installs/ui/hints.h"

using app::ui::q;
using app::ui::s;
namespace texts = installs::texts;

Tinstall::Tinstall(TForm1& main) : ProgramWindow(main, texts::kInstallCaption) {
  setObjectName("Tinstall");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 0);
  layout->setSpacing(4);

  auto* bar = new QMenuBar(this);
  bar->setObjectName("MainMenu1");
  buildMenu(bar);
  layout->setMenuBar(bar);

  auto* filesGroup = new QGroupBox("Список файлов", this);
  auto* filesLayout = new QVBoxLayout(filesGroup);
  ListBox1 = new QListWidget(filesGroup);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setAccessibleName("Список файлов");
  ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListBox1->viewport()->setMouseTracking(true);
  ListBox1->viewport()->installEventFilter(this);
  ListBox1->viewport()->setAcceptDrops(true);
  ListBox1->installEventFilter(this);
  app::ui::ListItemHint::install(ListBox1);
  filesLayout->addWidget(ListBox1);
  layout->addWidget(filesGroup, 1);
  ListBox2 = new QListWidget(this);
  ListBox2->setObjectName("ListBox2");
  ListBox2->setVisible(false);

  auto* listButtons = new QHBoxLayout;
  Button3 = addButton("Button3", "&Добавить", texts::kAddHint, &Tinstall::Button3Click);
  Button3->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Button3, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    run([this] { PopupMenu1Popup(); });
    PopupMenu1->popup(Button3->mapToGlobal(at));
  });
  Button4 = addButton("Button4", "&Удалить", texts::kRemoveHint, &Tinstall::Button4Click);
  Button5 = addButton("Button5", "&Очистить", texts::kClearHint, &Tinstall::Button5Click);
  for (QPushButton* button : {Button3, Button4, Button5}) listButtons->addWidget(button);
  layout->addLayout(listButtons);

  auto* descriptionGroup = new QGroupBox("Описание", this);
  auto* descriptionLayout = new QVBoxLayout(descriptionGroup);
  Memo1 = new QPlainTextEdit(descriptionGroup);
  Memo1->setObjectName("Memo1");
  Memo1->setAccessibleName("Описание");
  Memo1->setToolTip(installs::ui::hint(texts::kDescriptionHint));
  Memo1->setFixedHeight(64);
  descriptionLayout->addWidget(Memo1);
  layout->addWidget(descriptionGroup);

  auto* actionButtons = new QHBoxLayout;
  Button1 = addButton("Button1", "&Установить", texts::kInstallHint, &Tinstall::Button1Click);
  Button2 = addButton("Button2", "&Выход", texts::kExitHint, &Tinstall::Button2Click);
  actionButtons->addWidget(Button1);
  actionButtons->addWidget(Button2);
  layout->addLayout(actionButtons);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setAccessibleName("Ход работы");
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setFixedHeight(14);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  layout->addWidget(ProgressBar1);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  statusPanel_ = new QLabel(StatusBar1);
  statusPanel_->setObjectName("StatusBar1Panel");  // no accessible name: what it shows is what it reads
  StatusBar1->addWidget(statusPanel_, 1);
  layout->addWidget(StatusBar1);

  Button1->setEnabled(false);
  setFixedClientSize(289, 418 + bar->sizeHint().height());

  // Files unpacked by a run that ended with the dialog open.
  installs::removeLeftoverUnpackFolder(main.program().settings.FilePath);
}

Tinstall::~Tinstall() { unpacked_.removeAll(); }

QPushButton* Tinstall::addButton(const char* name, const QString& caption, const char* hint,
                                 void (Tinstall::*handler)()) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAccessibleName(QString(caption).remove('&'));
  button->setToolTip(installs::ui::hint(hint));
  connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
  return button;
}

void Tinstall::buildMenu(QMenuBar* bar) {
  QAction* information = bar->addAction("&Информация");
  information->setObjectName("N1");
  connect(information, &QAction::triggered, this, [this] { ListBox1DblClick(); });

  QMenu* addMenu = bar->addMenu("&Добавить");
  addMenu->menuAction()->setObjectName("N2");
  const auto item = [this](QMenu* menu, const char* name, const char* caption, const std::function<void()>& action) {
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(name);
    connect(entry, &QAction::triggered, this, action);
    return entry;
  };
  item(addMenu, "N3", "Файлы выборочно", [this] { AddFiles1(); });
  item(addMenu, "N4", "Файлы только из папки", [this] { AddFiles2(); });
  item(addMenu, "N5", "Из папки, включая вложенные папки", [this] { AddFiles3(); });
  item(addMenu, "N9", texts::kArchiveMode, [this] { AddFiles4(); })->setVisible(installs::archivesSupported());

  QMenu* removeMenu = bar->addMenu("&Удалить");
  removeMenu->menuAction()->setObjectName("N8");
  item(removeMenu, "N6", "Выделенный файл", [this] { Button4Click(); });
  item(removeMenu, "N7", "Все файлы", [this] { Button5Click(); });

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  PM1 = item(PopupMenu1, "PM1", "Файлы выборочно", [this] { PM1Click(); });
  PM2 = item(PopupMenu1, "PM2", "Файлы только из папки", [this] { PM2Click(); });
  PM3 = item(PopupMenu1, "PM3", "Из папки, включая вложенные папки", [this] { PM3Click(); });
  PM4 = item(PopupMenu1, "PM4", texts::kArchiveMode, [this] { PM4Click(); });
  PM4->setVisible(installs::archivesSupported());
}

void Tinstall::run(const std::function<void()>& handler) {
  main().guard(handler);
  setEnabled(true);
  // An error report ends the busy state of the main window; the open dialog still keeps it disabled.
  if (isVisible()) main().ui().setMainWindowEnabled(false);
}

void Tinstall::FormShow() {
  main().ui().setMainWindowEnabled(false);
  main().ui().setStatusText(texts::kInstallStatus);
  main().setHintTiming(300, 5000);
  Button1->setEnabled(false);
  chosen_.clear();
  showChosenFiles();
  Memo1->clear();
  ProgressBar1->setValue(0);
  statusPanel_->clear();
}

void Tinstall::FormClose() {
  // The files unpacked from archives are not needed once the dialog is closed: installed or not.
  unpacked_.removeAll();
  main().ui().setMainWindowEnabled(true);
  main().ui().setStatusText("");
}

// The main window's own timing comes back while it is still shown.
void Tinstall::FormHide() {
  if (main().isVisible()) {
    main().setHintTiming(300, 5000);
  } else {
    main().setHintTiming(500, 2500);
  }
}

void Tinstall::addWith(const std::function<void()>& core) {
  run([this, &core] {
    struct Refresh {
      Tinstall* dialog;
      ~Refresh() { dialog->showChosenFiles(); }
    } refresh{this};
    core();
  });
  Button1->setEnabled(!chosen_.empty());
}

void Tinstall::add(installs::AddMode mode) {
  addWith([this, mode] { installs::AddFiles(main().program(), mode, chosen_, search_, unpacked_, *this); });
}

void Tinstall::AddFiles1() { add(installs::AddMode::Files); }
void Tinstall::AddFiles2() { add(installs::AddMode::Folder); }
void Tinstall::AddFiles3() { add(installs::AddMode::FolderTree); }
void Tinstall::AddFiles4() {
  if (installs::archivesSupported()) add(installs::AddMode::Archive);
}

void Tinstall::ListBox1DragDrop(const std::vector<std::string>& paths) {
  if (working_ || !isVisible()) return;
  addWith([this, &paths] { installs::AddDropped(main().program(), paths, chosen_, search_, unpacked_, *this); });
}

void Tinstall::Button3Click() {
  if (const auto mode = installs::modeOf(main().program().settings.AddFilesType)) add(*mode);
}

void Tinstall::Button1Click() {
  bool installed = false;
  run([this, &installed] {
    struct Refresh {
      Tinstall* dialog;
      ~Refresh() { dialog->showChosenFiles(); }
    } refresh{this};
    installed = installs::Install(main().program(), chosen_, s(Memo1->toPlainText()), *this) ==
                installs::InstallResult::Installed;
  });
  if (chosen_.empty()) Button1->setEnabled(false);
  if (!installed) return;
  close();
  main().guard([this] {
    if (EditMenuPage* page = main().editMenuPage()) page->EditMenuShow();
    installs::offerGameStart(main().program());
  });
}

void Tinstall::Button2Click() { close(); }

void Tinstall::Button4Click() {
  run([this] { installs::removeSelected(main().program(), chosen_, selectedIndex()); });
  showChosenFiles();
  if (chosen_.empty()) Button1->setEnabled(false);
}

void Tinstall::Button5Click() {
  run([this] { installs::clearAll(main().program(), chosen_); });
  showChosenFiles();
  Button1->setEnabled(!chosen_.empty());
}

void Tinstall::ListBox1DblClick() {
  run([this] { installs::showFileInformation(main().program(), chosen_, selectedIndex()); });
}

void Tinstall::ListBox1MouseMove() { statusPanel_->setText(texts::kDoubleClickHint); }

void Tinstall::PopupMenu1Popup() {
  const auto mode = installs::modeOf(main().program().settings.AddFilesType);
  if (!mode) return;
  const std::pair<QAction*, installs::AddMode> items[] = {{PM1, installs::AddMode::Files},
                                                         {PM2, installs::AddMode::Folder},
                                                         {PM3, installs::AddMode::FolderTree},
                                                         {PM4, installs::AddMode::Archive}};
  for (const auto& [action, itsMode] : items) {
    QFont font = action->font();
    font.setBold(itsMode == *mode);
    action->setFont(font);
  }
  PopupMenu1->setDefaultAction(items[static_cast<int>(*mode) - 1].first);
}

void Tinstall::setDefaultMode(installs::AddMode mode) {
  run([this, mode] { installs::setDefaultMode(main().program(), mode); });
}

void Tinstall::PM1Click() { setDefaultMode(installs::AddMode::Files); }
void Tinstall::PM2Click() { setDefaultMode(installs::AddMode::Folder); }
void Tinstall::PM3Click() { setDefaultMode(installs::AddMode::FolderTree); }
void Tinstall::PM4Click() {
  if (installs::archivesSupported()) setDefaultMode(installs::AddMode::Archive);
}

void Tinstall::showChosenFiles() {
  const auto fill = [](QListWidget* list, const std::vector<std::string>& lines) {
    list->clear();
    for (const auto& line : lines) list->addItem(q(line));
  };
  fill(ListBox1, chosen_.shown());
  fill(ListBox2, chosen_.destinations());
}

std::optional<std::size_t> Tinstall::selectedIndex() const {
  const auto selected = ListBox1->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(ListBox1->row(selected.front()));
}

// Only local files, folders and archives, and only while the dialog is not busy with an add or an install.
bool Tinstall::acceptsDrop(QEvent* event) const {
  const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
  if (working_ || !isVisible() || data == nullptr || !data->hasUrls()) return false;
  const QList<QUrl> urls = data->urls();
  return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

bool Tinstall::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1->viewport()) {
    if (event->type() == QEvent::MouseMove) ListBox1MouseMove();
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (acceptsDrop(event)) {
        drag->setDropAction(Qt::CopyAction);
        drag->accept();
      } else {
        drag->ignore();
      }
      return true;
    }
    if (event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!acceptsDrop(event)) {
        drop->ignore();
        return true;
      }
      std::vector<std::string> paths;
      for (const QUrl& url : drop->mimeData()->urls()) {
        if (url.isLocalFile()) paths.push_back(s(QDir::toNativeSeparators(url.toLocalFile())));
      }
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      // The add runs after the drop is answered: the program the files came from is not kept waiting
      // through the boxes an add may show.
      QTimer::singleShot(0, this, [this, paths] { ListBox1DragDrop(paths); });
      return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
      ListBox1DblClick();
      return true;
    }
  }
  if (watched == ListBox1 && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    Button4Click();
    return true;
  }
  return ProgramWindow::eventFilter(watched, event);
}

void Tinstall::setProgressMaximum(int value) { ProgressBar1->setMaximum(value > 0 ? value : 1); }
void Tinstall::setProgress(int value) { ProgressBar1->setValue(value); }
void Tinstall::setStatus(const std::string& text) { statusPanel_->setText(q(text)); }
void Tinstall::setWorking(bool working) {
  working_ = working;
  setEnabled(!working);
}

void Tinstall::closeEvent(QCloseEvent* event) {
  if (working_) {
    event->ignore();
    return;
  }
  ProgramWindow::closeEvent(event);
}
