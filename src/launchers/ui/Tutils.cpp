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
#include "help/links.h"
#include "launchers/texts.h"
#include "launchers/utilities.h"
#include "sys/error.h"

using app::ui::q;
using app::ui::s;
namespace texts = launchers::texts;

// The manager as the install and the removal see it.
class Tutils::View final : public launchers::UtilityManagerView {
 public:
  explicit View(Tutils& window) : window_(window) {}
  int count() override { return window_.ListBox1->count(); }
  std::optional<std::string> selectedName() override {
    const QList<QListWidgetItem*> selected = window_.ListBox1->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return s(selected.first()->text());
  }
  void addName(const std::string& name) override { window_.ListBox1->addItem(q(name)); }
  void removeSelectedName() override {
    qDeleteAll(window_.ListBox1->selectedItems());
    // The list would select the next row, and a second Delete would remove a utility nobody chose.
    window_.ListBox1->setCurrentRow(-1);
    window_.ListBox1->clearSelection();
  }
  void setStatusText(const std::string& text) override { window_.statusPanel_->setText(q(text)); }
  void setEnabled(bool enabled) override { window_.setEnabled(enabled); }

 private:
  Tutils& window_;
};

namespace {
QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  button->setAccessibleName(QString::fromUtf8(caption).remove('&'));
  return button;
}
}  // namespace

Tutils::Tutils(TForm1& main) : ProgramWindow(main, texts::kUtilsCaption), view_(std::make_unique<View>(*this)) {
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

  connect(Button1, &QPushButton::clicked, this, guarded(&Tutils::Button1Click));
  connect(Button2, &QPushButton::clicked, this, guarded(&Tutils::Button2Click));
  connect(Button3, &QPushButton::clicked, this, guarded(&Tutils::Button3Click));
  connect(Button4, &QPushButton::clicked, this, guarded(&Tutils::Button4Click));
}

Tutils::~Tutils() = default;

QString Tutils::statusText() const { return statusPanel_->text(); }

void Tutils::FormShow() {
  auto& program = main().program();
  ListBox1->clear();
  program.ui().setMainWindowEnabled(false);
  program.ui().setStatusText(texts::kUtilsOpenStatus);
  try {
    program.LoadUtilList();
  } catch (const sys::IoError&) {
    // Without its table the manager could only install into the wrong slots: it closes again, and
    // closing gives the main window back.
    QTimer::singleShot(0, this, &QWidget::close);
    throw;
  }
  for (const auto& slot : program.utilities) {
    if (slot.path != launchers::kEmpty) ListBox1->addItem(q(slot.name));
  }
}

void Tutils::FormClose() {
  app::Ui& ui = main().program().ui();
  ui.setMainWindowEnabled(true);
  ui.setStatusText("");
}

void Tutils::closeEvent(QCloseEvent* event) {
  // The install waits for the utility with events handled; the manager stays until it has its answer.
  if (installing_) {
    event->ignore();
    return;
  }
  ProgramWindow::closeEvent(event);
}

void Tutils::Button1Click() {
  installing_ = true;
  try {
    launchers::installUtility(main().program(), *view_, main().utilityTimeout);
  } catch (...) {
    installing_ = false;
    throw;
  }
  installing_ = false;
}

void Tutils::Button2Click() { launchers::removeUtility(main().program(), *view_); }

void Tutils::Button3Click() { close(); }

void Tutils::Button4Click() {
  main().program().services().shell.open(help::kUtilitiesPage, "", "", sys::ShowCommand::Show);
}

void Tutils::ListBox1KeyDown(int key) {
  if (key == Qt::Key_Delete) Button2Click();
}

bool Tutils::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    main().guard([this, key] { ListBox1KeyDown(key); });
    if (key == Qt::Key_Delete) return true;
  }
  return ProgramWindow::eventFilter(watched, event);
}
