#include "installs/ui/EditMenuPage.h"

#include <QEvent>
#include <QKeyEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/ui/ListItemHint.h"
#include "app/ui/TForm1.h"
#include "installs/texts.h"
#include "installs/ui/Tinstall.h"
#include "installs/ui/hints.h"

using app::ui::q;
namespace texts = installs::texts;

namespace {

QListWidget* makeList(QWidget* parent, const char* name, const QString& accessibleName) {
  auto* list = new QListWidget(parent);
  list->setObjectName(name);
  list->setAccessibleName(accessibleName);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  app::ui::ListItemHint::install(list);
  return list;
}

QLabel* makeLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  buddy->setAccessibleName(QString(text).remove(':'));
  return label;
}

}  // namespace

EditMenuPage::EditMenuPage(TForm1& main) : main_(main), presenter_(main.program(), *this) {
  setObjectName("EditMenu");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);

  auto* listGroup = new QGroupBox(texts::kInstallationsGroup, this);
  auto* listLayout = new QVBoxLayout(listGroup);
  ListBox1 = makeList(listGroup, "ListBox1", texts::kInstallationsGroup);
  ListBox1->installEventFilter(this);  // F2 renames
  listLayout->addWidget(ListBox1);
  layout->addWidget(listGroup, 3);

  auto* infoGroup = new QGroupBox(texts::kInformationGroup, this);
  auto* infoLayout = new QVBoxLayout(infoGroup);
  infoLayout->setSpacing(2);
  // Made in reading order, which is the order Tab visits them in.
  ListBox2 = makeList(infoGroup, "ListBox2", QString(texts::kFilesLabel).remove(':'));
  ListBox3 = makeList(infoGroup, "ListBox3", QString(texts::kSharingLabel).remove(':'));
  Edit1 = new QLineEdit(infoGroup);
  Edit1->setObjectName("Edit1");
  Edit1->setReadOnly(true);
  Memo1 = new QPlainTextEdit(infoGroup);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  Memo1->setTabChangesFocus(true);  // read only: Tab goes on to the next control
  infoLayout->addWidget(makeLabel(texts::kFilesLabel, ListBox2, infoGroup));
  infoLayout->addWidget(ListBox2, 3);
  ListBox3->setMaximumHeight(ListBox3->fontMetrics().height() * 4);
  infoLayout->addWidget(makeLabel(texts::kSharingLabel, ListBox3, infoGroup));
  infoLayout->addWidget(ListBox3, 1);
  infoLayout->addWidget(makeLabel(texts::kDateLabel, Edit1, infoGroup));
  infoLayout->addWidget(Edit1);
  infoLayout->addWidget(makeLabel(texts::kDescriptionLabel, Memo1, infoGroup));
  infoLayout->addWidget(Memo1, 2);
  layout->addWidget(infoGroup, 5);

  auto* panel = new QGroupBox(texts::kPanelGroup, this);
  auto* panelLayout = new QVBoxLayout(panel);
  const auto button = [&](const char* name, const QString& caption,
                          void (installs::InstallationsPagePresenter::*handler)()) {
    auto* b = new QPushButton(caption, panel);
    b->setObjectName(name);
    b->setAccessibleName(QString(caption).remove('&'));
    connect(b, &QPushButton::clicked, this, [this, handler] { forward(handler); });
    panelLayout->addWidget(b);
    return b;
  };
  Button1 = button("Button1", texts::kInstallFilesButton, &installs::InstallationsPagePresenter::Button1Click);
  Button1->setToolTip(installs::ui::hint(texts::kInstallButtonHint));
  Button3 = button("Button3", texts::kRenameButton, &installs::InstallationsPagePresenter::Button3Click);
  Button3->setMouseTracking(true);
  Button3->installEventFilter(this);
  Button2 = button("Button2", texts::kRestoreButton, &installs::InstallationsPagePresenter::Button2Click);
  Button4 = button("Button4", texts::kHelpButton, &installs::InstallationsPagePresenter::Button4Click);
  panelLayout->addStretch(1);
  layout->addWidget(panel, 2);

  connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(); });
  // A click on a row's check box, or Space on the selected row, turns its box at once: the presenter
  // sets it to what the store has afterwards.
  connect(ListBox1, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) { ListBox1Switch(ListBox1->row(item)); });
  ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(ListBox1, &QListWidget::customContextMenuRequested, this, &EditMenuPage::ListBox1ContextMenu);
  connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
  presenter_.FormCreate();
}

void EditMenuPage::forward(void (installs::InstallationsPagePresenter::*handler)()) {
  // Opening another window is that window's to guard: its own handlers run at the main window's level.
  if (handler == &installs::InstallationsPagePresenter::Button1Click ||
      handler == &installs::InstallationsPagePresenter::Button4Click) {
    (presenter_.*handler)();
    return;
  }
  main_.guard([this, handler] { (presenter_.*handler)(); });
}

void EditMenuPage::EditMenuShow() { forward(&installs::InstallationsPagePresenter::EditMenuShow); }
void EditMenuPage::ListBox1Click() { forward(&installs::InstallationsPagePresenter::ListBox1Click); }
void EditMenuPage::Button1Click() { forward(&installs::InstallationsPagePresenter::Button1Click); }
void EditMenuPage::Button2Click() { forward(&installs::InstallationsPagePresenter::Button2Click); }
void EditMenuPage::Button3Click() { forward(&installs::InstallationsPagePresenter::Button3Click); }
void EditMenuPage::Button3MouseMove() { presenter_.Button3MouseMove(); }

void EditMenuPage::ListBox1Switch(int row) {
  main_.guard([this, row] { presenter_.ListBox1Switch(row); });
}

void EditMenuPage::ListBox1ContextMenu(const QPoint& at) {
  QListWidgetItem* item = ListBox1->itemAt(at);
  if (!item) return;
  ListBox1->setCurrentItem(item);
  const int row = ListBox1->row(item);
  QMenu menu(this);
  QAction* toggle = menu.addAction(q(presenter_.switchItemText(row)));
  if (menu.exec(ListBox1->viewport()->mapToGlobal(at)) == toggle) ListBox1Switch(row);
}

void EditMenuPage::showInstallations(const std::vector<std::string>& names, const std::vector<bool>& on) {
  const QSignalBlocker blocker(ListBox1);
  ListBox1->clear();
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto* item = new QListWidgetItem(q(names[i]), ListBox1);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(i < on.size() && !on[i] ? Qt::Unchecked : Qt::Checked);
  }
  ListBox1->setCurrentRow(-1);
}

void EditMenuPage::setSwitchedOn(std::size_t row, bool on) {
  const QSignalBlocker blocker(ListBox1);
  if (QListWidgetItem* item = ListBox1->item(static_cast<int>(row))) item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void EditMenuPage::showSharing(const std::vector<std::string>& names) {
  ListBox3->clear();
  for (const auto& name : names) ListBox3->addItem(q(name));
}

void EditMenuPage::setInstallationName(std::size_t row, const std::string& name) {
  const QSignalBlocker blocker(ListBox1);  // a new text is no switch
  if (QListWidgetItem* item = ListBox1->item(static_cast<int>(row))) item->setText(q(name));
}

void EditMenuPage::showFiles(const std::vector<std::string>& gamePaths) {
  ListBox2->clear();
  for (const auto& path : gamePaths) ListBox2->addItem(q(path));
}

void EditMenuPage::setDate(const std::string& text) { Edit1->setText(q(text)); }
void EditMenuPage::setDescription(const std::string& text) { Memo1->setPlainText(q(text)); }

void EditMenuPage::setEnabled(Control control, bool enabled) {
  switch (control) {
    case Control::Rename: Button3->setEnabled(enabled); break;
    case Control::Restore: Button2->setEnabled(enabled); break;
  }
}

void EditMenuPage::focusInstallationList() { ListBox1->setFocus(); }

void EditMenuPage::setRenameHint(const std::string& text) { Button3->setToolTip(installs::ui::hint(text)); }

int EditMenuPage::selectedRow() const {
  const auto selected = ListBox1->selectedItems();
  return selected.isEmpty() ? -1 : ListBox1->row(selected.front());
}

void EditMenuPage::openInstallDialog() {
  if (Tinstall* dialog = main_.windows().install) dialog->show();
}

void EditMenuPage::openHelp() { main_.Button4Click(); }

bool EditMenuPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1 && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2) {
    // F2 on the list renames, as "Переименовать" does.
    main_.guard([this] { presenter_.Button3Click(); });
    return true;
  }
  if (watched == Button3 && (event->type() == QEvent::MouseMove || event->type() == QEvent::ToolTip)) {
    Button3MouseMove();
  }
  return QWidget::eventFilter(watched, event);
}
