#include "installs/ui/EditMenuPage.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

EditMenuPage::EditMenuPage(TForm1& main) : main_(main) {
  setObjectName("EditMenu");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);

  auto* listGroup = new QGroupBox("Список установок", this);
  auto* listLayout = new QVBoxLayout(listGroup);
  ListBox1 = makeList(listGroup, "ListBox1", "Список установок");
  listLayout->addWidget(ListBox1);
  layout->addWidget(listGroup, 3);

  auto* infoGroup = new QGroupBox("Информация", this);
  auto* infoLayout = new QVBoxLayout(infoGroup);
  infoLayout->setSpacing(2);
  ListBox2 = makeList(infoGroup, "ListBox2", "Входящие файлы");
  Edit1 = new QLineEdit(infoGroup);
  Edit1->setObjectName("Edit1");
  Edit1->setReadOnly(true);
  Memo1 = new QPlainTextEdit(infoGroup);
  Memo1->setObjectName("Memo1");
  Memo1->setReadOnly(true);
  infoLayout->addWidget(makeLabel("Входящие файлы:", ListBox2, infoGroup));
  infoLayout->addWidget(ListBox2, 3);
  infoLayout->addWidget(makeLabel("Дата и время установки:", Edit1, infoGroup));
  infoLayout->addWidget(Edit1);
  infoLayout->addWidget(makeLabel("Описание:", Memo1, infoGroup));
  infoLayout->addWidget(Memo1, 2);
  layout->addWidget(infoGroup, 5);

  auto* panel = new QGroupBox("Панель управления", this);
  auto* panelLayout = new QVBoxLayout(panel);
  const auto button = [&](const char* name, const QString& caption, void (EditMenuPage::*handler)()) {
    auto* b = new QPushButton(caption, panel);
    b->setObjectName(name);
    b->setAccessibleName(QString(caption).remove('&'));
    connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    panelLayout->addWidget(b);
    return b;
  };
  Button1 = button("Button1", "Установить файлы", &EditMenuPage::Button1Click);
  Button1->setToolTip(installs::ui::hint(texts::kInstallButtonHint));
  Button3 = button("Button3", "Переименовать", &EditMenuPage::Button3Click);
  Button3->setEnabled(false);
  Button3->setMouseTracking(true);
  Button3->installEventFilter(this);
  Button2 = button("Button2", "Восстановить файлы", &EditMenuPage::Button2Click);
  Button2->setEnabled(false);
  Button4 = new QPushButton("&Помощь", panel);
  Button4->setObjectName("Button4");
  Button4->setAccessibleName("Помощь");
  connect(Button4, &QPushButton::clicked, this, [this] { main_.Button4Click(); });
  panelLayout->addWidget(Button4);
  panelLayout->addStretch(1);
  layout->addWidget(panel, 2);

  connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(); });
  connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
}

void EditMenuPage::EditMenuShow() {
  main_.guard([this] {
    installs::healStore(main_.program(), healNotes_);
    names_ = installs::openInstallationList(main_.program());
    showNames();
    clearInformation();
  });
}

void EditMenuPage::changeList(const std::function<void()>& handler) {
  main_.guard([&] {
    try {
      handler();
    } catch (...) {
      refillFromDisk();
      throw;
    }
  });
}

void EditMenuPage::refillFromDisk() {
  try {
    names_ = installs::openInstallationList(main_.program());
  } catch (...) {
    names_.clear();  // no list to be read: no row to act on
  }
  showNames();
  clearInformation();
}

void EditMenuPage::showNames() {
  const QSignalBlocker blocker(ListBox1);
  ListBox1->clear();
  for (const auto& name : names_) ListBox1->addItem(q(name));
  ListBox1->setCurrentRow(-1);
}

void EditMenuPage::clearInformation() {
  ListBox2->clear();
  Edit1->clear();
  Memo1->clear();
}

int EditMenuPage::selectedRow() const {
  const auto selected = ListBox1->selectedItems();
  return selected.isEmpty() ? -1 : ListBox1->row(selected.front());
}

void EditMenuPage::nothingSelected() {
  app::showError(main_.ui(), texts::kSelectInstallation);
  Button3->setEnabled(false);
  Button2->setEnabled(false);
}

void EditMenuPage::ListBox1Click() {
  const int row = selectedRow();
  if (row < 0 || row >= static_cast<int>(names_.size())) return;
  Button3->setEnabled(true);
  Button2->setEnabled(true);
  main_.guard([this, row] {
    const auto installation =
        installs::showInstallation(main_.program(), names_[static_cast<std::size_t>(row)], &changes_);
    ListBox2->clear();
    for (const auto& path : installation.files) ListBox2->addItem(q(path));
    Memo1->setPlainText(q(installation.description));
    Edit1->setText(q(installation.time));
    // Only the text: the busy state and the window's being enabled are not this page's to change.
    main_.ui().setStatusText(installation.changedFiles == 0 ? std::string()
                                                            : texts::changedFilesStatus(installation.changedFiles));
  });
}

void EditMenuPage::Button1Click() {
  if (Tinstall* dialog = main_.windows().install) dialog->show();
}

void EditMenuPage::Button3Click() {
  const int row = selectedRow();
  if (row < 0) {
    nothingSelected();
    return;
  }
  if (row >= static_cast<int>(names_.size())) {
    refillFromDisk();
    return;
  }
  changeList([this, row] {
    if (installs::Rename(main_.program(), names_, static_cast<std::size_t>(row)) == installs::RenameResult::Renamed) {
      ListBox1->item(row)->setText(q(names_[static_cast<std::size_t>(row)]));
    }
  });
}

void EditMenuPage::Button3MouseMove() {
  const int row = selectedRow();
  Button3->setToolTip(row < 0 ? QString(texts::kRenameNothingSelectedHint)
                              : installs::ui::hint(texts::renameHint(ListBox1->item(row)->text().toStdString())));
}

void EditMenuPage::Button2Click() {
  const int row = selectedRow();
  if (row < 0) {
    nothingSelected();
    return;
  }
  if (row >= static_cast<int>(names_.size())) {
    refillFromDisk();
    return;
  }
  changeList([this, row] {
    const auto result = installs::Restore(main_.program(), names_, static_cast<std::size_t>(row),
                                          [this](installs::RestoreResult outcome) {
                                            showNames();
                                            if (outcome == installs::RestoreResult::Restored) clearInformation();
                                          });
    if (result == installs::RestoreResult::Incomplete) ListBox1Click();  // the files still to come back
  });
}

bool EditMenuPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Button3 && (event->type() == QEvent::MouseMove || event->type() == QEvent::ToolTip)) {
    Button3MouseMove();
  }
  return QWidget::eventFilter(watched, event);
}
