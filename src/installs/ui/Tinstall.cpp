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
#include <QSignalBlocker>
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
#include "preview/pane_texts.h"
#include "preview/ui/PreviewPane.h"

using app::ui::q;
using app::ui::s;
namespace texts = installs::texts;

namespace {
// The preview pane's column beside the dialog's own 289 pixels.
constexpr int kPaneWidth = 262;
}  // namespace

Tinstall::Tinstall(TForm1& main) : ProgramWindow(main, texts::kInstallCaption), presenter_(main.program(), *this) {
  setObjectName("Tinstall");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 0);
  layout->setSpacing(4);

  auto* bar = new QMenuBar(this);
  bar->setObjectName("MainMenu1");
  buildMenu(bar);
  layout->setMenuBar(bar);

  // The controls of the list on the left, the preview pane beside them.
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->setSpacing(4);
  columns->addLayout(left);
  layout->addLayout(columns, 1);

  auto* filesGroup = new QGroupBox(texts::kFilesGroup, this);
  auto* filesLayout = new QVBoxLayout(filesGroup);
  ListBox1 = new QListWidget(filesGroup);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setAccessibleName(texts::kFilesGroup);
  ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListBox1->viewport()->setMouseTracking(true);
  ListBox1->viewport()->installEventFilter(this);
  ListBox1->viewport()->setAcceptDrops(true);
  ListBox1->installEventFilter(this);
  app::ui::ListItemHint::install(ListBox1);
  filesLayout->addWidget(ListBox1);
  left->addWidget(filesGroup, 1);
  ListBox2 = new QListWidget(this);
  ListBox2->setObjectName("ListBox2");
  ListBox2->setVisible(false);

  auto* listButtons = new QHBoxLayout;
  Button3 = addButton("Button3", texts::kAddButton, texts::kAddHint, &installs::InstallDialogPresenter::Button3Click);
  Button3->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Button3, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenu1Popup();
    PopupMenu1->popup(Button3->mapToGlobal(at));
  });
  Button4 = addButton("Button4", texts::kRemoveButton, texts::kRemoveHint, &installs::InstallDialogPresenter::Button4Click);
  Button5 = addButton("Button5", texts::kClearButton, texts::kClearHint, &installs::InstallDialogPresenter::Button5Click);
  for (QPushButton* button : {Button3, Button4, Button5}) listButtons->addWidget(button);
  left->addLayout(listButtons);

  auto* descriptionGroup = new QGroupBox(texts::kDescriptionGroup, this);
  auto* descriptionLayout = new QVBoxLayout(descriptionGroup);
  Memo1 = new QPlainTextEdit(descriptionGroup);
  Memo1->setObjectName("Memo1");
  Memo1->setAccessibleName(texts::kDescriptionGroup);
  Memo1->setToolTip(installs::ui::hint(texts::kDescriptionHint));
  Memo1->setFixedHeight(64);
  descriptionLayout->addWidget(Memo1);
  left->addWidget(descriptionGroup);

  auto* actionButtons = new QHBoxLayout;
  Button1 = addButton("Button1", texts::kInstallButton, texts::kInstallHint, &installs::InstallDialogPresenter::Button1Click);
  Button2 = addButton("Button2", texts::kExitButton, texts::kExitHint, &installs::InstallDialogPresenter::Button2Click);
  actionButtons->addWidget(Button1);
  actionButtons->addWidget(Button2);
  left->addLayout(actionButtons);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName("ProgressBar1");
  ProgressBar1->setAccessibleName(texts::kProgressName);
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
  warningsPanel_ = new QLabel(StatusBar1);
  warningsPanel_->setObjectName("StatusBar1Warnings");
  // Room for the count from the start: the status line does not widen a panel for a text set later.
  warningsPanel_->setMinimumWidth(warningsPanel_->fontMetrics().horizontalAdvance(q(preview::texts::warningsCount(99999))));
  StatusBar1->addPermanentWidget(warningsPanel_);
  layout->addWidget(StatusBar1);

  // Made last, so Tab reaches its button after the dialog's own controls.
  pane_ = new preview::ui::PreviewPane(main.program().fs(), this);
  pane_->setFixedWidth(kPaneWidth - 6);
  columns->addWidget(pane_);
  connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(); });

  setFixedClientSize(289 + kPaneWidth, 418 + bar->sizeHint().height());
  presenter_.FormCreate();
}

// The presenter, a member, removes what was unpacked.
Tinstall::~Tinstall() = default;

QPushButton* Tinstall::addButton(const char* name, const QString& caption, const char* hint,
                                 void (installs::InstallDialogPresenter::*handler)()) {
  auto* button = new QPushButton(caption, this);
  button->setObjectName(name);
  button->setAccessibleName(QString(caption).remove('&'));
  button->setToolTip(installs::ui::hint(hint));
  connect(button, &QPushButton::clicked, this, [this, handler] { forward(handler); });
  return button;
}

void Tinstall::buildMenu(QMenuBar* bar) {
  QAction* information = bar->addAction(texts::kInformationMenu);
  information->setObjectName("N1");
  connect(information, &QAction::triggered, this, [this] { ListBox1DblClick(); });

  QMenu* addMenu = bar->addMenu(texts::kAddMenu);
  addMenu->menuAction()->setObjectName("N2");
  const auto item = [this](QMenu* menu, const char* name, const char* caption, const std::function<void()>& action) {
    QAction* entry = menu->addAction(caption);
    entry->setObjectName(name);
    connect(entry, &QAction::triggered, this, action);
    return entry;
  };
  item(addMenu, "N3", texts::kFilesMode, [this] { AddFiles1(); });
  item(addMenu, "N4", texts::kFolderMode, [this] { AddFiles2(); });
  item(addMenu, "N5", texts::kFolderTreeMode, [this] { AddFiles3(); });
  N9 = item(addMenu, "N9", texts::kArchiveMode, [this] { AddFiles4(); });

  QMenu* removeMenu = bar->addMenu(texts::kRemoveMenu);
  removeMenu->menuAction()->setObjectName("N8");
  item(removeMenu, "N6", texts::kRemoveSelectedItem, [this] { Button4Click(); });
  item(removeMenu, "N7", texts::kRemoveAllItem, [this] { Button5Click(); });

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  PM1 = item(PopupMenu1, "PM1", texts::kFilesMode, [this] { PM1Click(); });
  PM2 = item(PopupMenu1, "PM2", texts::kFolderMode, [this] { PM2Click(); });
  PM3 = item(PopupMenu1, "PM3", texts::kFolderTreeMode, [this] { PM3Click(); });
  PM4 = item(PopupMenu1, "PM4", texts::kArchiveMode, [this] { PM4Click(); });
}

void Tinstall::run(const std::function<void()>& handler) {
  main().guard(handler);
  presenter_.EventEnded();
}

void Tinstall::forward(void (installs::InstallDialogPresenter::*handler)()) {
  run([this, handler] { (presenter_.*handler)(); });
}

void Tinstall::FormShow() { presenter_.FormShow(); }
void Tinstall::FormClose() { presenter_.FormClose(); }
void Tinstall::FormHide() { presenter_.FormHide(); }

void Tinstall::AddFiles1() { forward(&installs::InstallDialogPresenter::AddFiles1); }
void Tinstall::AddFiles2() { forward(&installs::InstallDialogPresenter::AddFiles2); }
void Tinstall::AddFiles3() { forward(&installs::InstallDialogPresenter::AddFiles3); }
void Tinstall::AddFiles4() { forward(&installs::InstallDialogPresenter::AddFiles4); }
void Tinstall::ListBox1DragDrop(const std::vector<std::string>& paths) {
  run([this, &paths] { presenter_.ListBox1DragDrop(paths); });
}
void Tinstall::Button1Click() { forward(&installs::InstallDialogPresenter::Button1Click); }
void Tinstall::Button2Click() { forward(&installs::InstallDialogPresenter::Button2Click); }
void Tinstall::Button3Click() { forward(&installs::InstallDialogPresenter::Button3Click); }
void Tinstall::Button4Click() { forward(&installs::InstallDialogPresenter::Button4Click); }
void Tinstall::Button5Click() { forward(&installs::InstallDialogPresenter::Button5Click); }
void Tinstall::ListBox1DblClick() { forward(&installs::InstallDialogPresenter::ListBox1DblClick); }
void Tinstall::ListBox1MouseMove() { presenter_.ListBox1MouseMove(); }
void Tinstall::ListBox1Click() { forward(&installs::InstallDialogPresenter::ListBox1Click); }
void Tinstall::PopupMenu1Popup() { forward(&installs::InstallDialogPresenter::PopupMenu1Popup); }
void Tinstall::PM1Click() { forward(&installs::InstallDialogPresenter::PM1Click); }
void Tinstall::PM2Click() { forward(&installs::InstallDialogPresenter::PM2Click); }
void Tinstall::PM3Click() { forward(&installs::InstallDialogPresenter::PM3Click); }
void Tinstall::PM4Click() { forward(&installs::InstallDialogPresenter::PM4Click); }

// Only local files, folders and archives, and only while the dialog is not busy with an add or an install.
bool Tinstall::acceptsDrop(QEvent* event) const {
  const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
  if (!presenter_.acceptsDrops() || !isVisible() || data == nullptr || !data->hasUrls()) return false;
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

void Tinstall::setProgressMaximum(int value) { ProgressBar1->setMaximum(value); }
void Tinstall::setProgress(int value) { ProgressBar1->setValue(value); }
void Tinstall::setStatus(const std::string& text) { statusPanel_->setText(q(text)); }
void Tinstall::setWorking(bool working) { QWidget::setEnabled(!working); }

void Tinstall::showChosenFiles(const std::vector<std::string>& shown, const std::vector<std::string>& destinations) {
  const auto fill = [](QListWidget* list, const std::vector<std::string>& lines) {
    list->clear();
    for (const auto& line : lines) list->addItem(q(line));
  };
  // The presenter knows the list is new: no selection event for its filling.
  const QSignalBlocker quiet(ListBox1);
  fill(ListBox1, shown);
  fill(ListBox2, destinations);
}

void Tinstall::setWarningsText(const std::string& text) { warningsPanel_->setText(q(text)); }

preview::PreviewPanePresenter* Tinstall::previewPane() { return pane_ ? &pane_->presenter() : nullptr; }

void Tinstall::setEnabled(Control control, bool enabled) {
  switch (control) {
    case Control::Install: Button1->setEnabled(enabled); break;
  }
}

void Tinstall::setDescription(const std::string& text) { Memo1->setPlainText(q(text)); }

void Tinstall::setArchiveModeOffered(bool offered) {
  N9->setVisible(offered);
  PM4->setVisible(offered);
}

void Tinstall::markDefaultMode(installs::AddMode mode) {
  const std::pair<QAction*, installs::AddMode> items[] = {{PM1, installs::AddMode::Files},
                                                         {PM2, installs::AddMode::Folder},
                                                         {PM3, installs::AddMode::FolderTree},
                                                         {PM4, installs::AddMode::Archive}};
  for (const auto& [action, itsMode] : items) {
    QFont font = action->font();
    font.setBold(itsMode == mode);
    action->setFont(font);
    if (itsMode == mode) PopupMenu1->setDefaultAction(action);
  }
}

void Tinstall::setHintTiming(int pauseMs, int hidePauseMs) { main().setHintTiming(pauseMs, hidePauseMs); }

void Tinstall::closeWindow() { close(); }

void Tinstall::refreshInstallations() {
  if (EditMenuPage* page = main().editMenuPage()) page->EditMenuShow();
}

std::string Tinstall::description() const { return s(Memo1->toPlainText()); }

std::optional<std::size_t> Tinstall::selectedFile() const {
  const auto selected = ListBox1->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(ListBox1->row(selected.front()));
}

bool Tinstall::mainWindowShown() const { return const_cast<Tinstall*>(this)->main().isVisible(); }

void Tinstall::closeEvent(QCloseEvent* event) {
  if (!presenter_.FormCloseQuery()) {
    event->ignore();
    return;
  }
  ProgramWindow::closeEvent(event);
}
