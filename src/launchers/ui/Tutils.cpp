#include "launchers/ui/Tutils.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "app/ui/TForm1.h"
#include "launchers/texts.h"

using app::ui::q;
namespace texts = launchers::texts;

namespace {
QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  button->setAccessibleName(QString::fromUtf8(caption).remove('&'));
  return button;
}
}  // namespace

Tutils::Tutils(TForm1& main)
    : ProgramWindow(main, texts::kUtilsCaption),
      presenter_(std::make_unique<launchers::UtilitiesPresenter>(main.program(), static_cast<UtilitiesView&>(*this))) {
  setObjectName("Tutils");

  auto* group = new QGroupBox(texts::kUtilsListGroup, this);
  group->setObjectName("GroupBox1");
  auto* groupLayout = new QVBoxLayout(group);
  ListBox1 = new QListWidget(group);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setAccessibleName(texts::kUtilsListGroup);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListBox1->installEventFilter(this);
  groupLayout->addWidget(ListBox1);

  Button1 = makeButton(this, "Button1", texts::kUtilsAdd);
  Button2 = makeButton(this, "Button2", texts::kUtilsRemove);
  Button4 = makeButton(this, "Button4", texts::kUtilsDownload);
  Button3 = makeButton(this, "Button3", texts::kUtilsExit);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  buttons->addWidget(Button4);
  buttons->addStretch(1);
  buttons->addWidget(Button3);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  statusPanel_ = new QLabel(StatusBar1);  // no accessible name: what it shows is what it reads
  StatusBar1->addWidget(statusPanel_, 1);

  auto* body = new QHBoxLayout;
  body->addWidget(group, 1);
  body->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bodyHolder = new QWidget(this);
  bodyHolder->setLayout(body);
  layout->addWidget(bodyHolder, 1);
  layout->addWidget(StatusBar1);
  setFixedClientSize(380, 260);

  const auto forward = [this](auto event) { return [this, event] { guardedCall([&] { event(*presenter_); }); }; };
  connect(ListBox1, &QListWidget::itemSelectionChanged, this,
          [this] { guardedCall([this] { presenter_->ListBox1Click(selectedRow()); }); });
  connect(Button1, &QPushButton::clicked, this, forward([this](auto& p) {
            p.installTimeout = this->main().utilityTimeout;
            p.Button1Click();
          }));
  connect(Button2, &QPushButton::clicked, this, forward([](auto& p) { p.Button2Click(); }));
  connect(Button3, &QPushButton::clicked, this, forward([](auto& p) { p.Button3Click(); }));
  connect(Button4, &QPushButton::clicked, this, forward([](auto& p) { p.Button4Click(); }));
}

Tutils::~Tutils() = default;

QString Tutils::statusText() const { return statusPanel_->text(); }

int Tutils::selectedRow() const {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

void Tutils::FormShow() { presenter_->FormShow(); }

void Tutils::FormClose() { presenter_->FormClose(); }

void Tutils::closeEvent(QCloseEvent* event) {
  // The install waits for the utility with events handled; the manager stays until it has its answer.
  if (!presenter_->FormCloseQuery()) {
    event->ignore();
    return;
  }
  ProgramWindow::closeEvent(event);
}

void Tutils::showNames(const std::vector<std::string>& names) {
  ListBox1->clear();
  for (const auto& name : names) ListBox1->addItem(q(name));
}

void Tutils::addName(const std::string& name) { ListBox1->addItem(q(name)); }

void Tutils::removeRow(int row) {
  delete ListBox1->takeItem(row);
  ListBox1->setCurrentRow(-1);
  ListBox1->clearSelection();
}

void Tutils::setStatusText(const std::string& text) { statusPanel_->setText(q(text)); }

void Tutils::setManagerEnabled(bool enabled) { setEnabled(enabled); }

void Tutils::closeWindow() { close(); }

void Tutils::closeAfterShowing() { QTimer::singleShot(0, this, &QWidget::close); }

bool Tutils::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
    // The list's own key code for Delete is the one the presenter knows.
    const int key = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete ? launchers::kDeleteKey : 0;
    main().guard([this, key] { presenter_->ListBox1KeyDown(key); });
    if (key == launchers::kDeleteKey) return true;
  }
  return ProgramWindow::eventFilter(watched, event);
}
