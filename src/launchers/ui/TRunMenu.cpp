#include "launchers/ui/TRunMenu.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ui/TForm1.h"
#include "launchers/texts.h"
#include "sys/error.h"

using app::ui::q;
using app::ui::s;
namespace texts = launchers::texts;

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(name);
  button->setAccessibleName(QString::fromUtf8(caption).remove('&'));
  return button;
}

QLineEdit* makeField(QWidget* parent, QGridLayout* grid, int row, const char* name, const char* label) {
  auto* caption = new QLabel(QString::fromUtf8(label), parent);
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  field->setAccessibleName(QString::fromUtf8(label).remove(':'));
  caption->setBuddy(field);
  grid->addWidget(caption, row * 2, 0);
  grid->addWidget(field, row * 2 + 1, 0);
  return field;
}

}  // namespace

TRunMenu::TRunMenu(TForm1& main) : ProgramWindow(main, texts::kRunMenuCaption) {
  setObjectName("TRunMenu");

  auto* listGroup = new QGroupBox(texts::kRunMenuListGroup, this);
  listGroup->setObjectName("GroupBox1");
  auto* listLayout = new QVBoxLayout(listGroup);
  ListBox1 = new QListWidget(listGroup);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setAccessibleName(texts::kRunMenuListGroup);
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  for (int k = 0; k < 10; ++k) ListBox1->addItem(QString());
  listLayout->addWidget(ListBox1);

  auto* infoGroup = new QGroupBox(texts::kRunMenuInfoGroup, this);
  infoGroup->setObjectName("GroupBox2");
  auto* grid = new QGridLayout(infoGroup);
  Edit1 = makeField(infoGroup, grid, 0, "Edit1", texts::kRunMenuNameLabel);
  edit2 = makeField(infoGroup, grid, 1, "edit2", texts::kRunMenuPathLabel);
  Edit3 = makeField(infoGroup, grid, 2, "Edit3", texts::kRunMenuParamsLabel);
  grid->setRowStretch(6, 1);

  // The browse button sits inside the right end of the path field.
  edit2Button1 = new QToolButton(edit2);
  edit2Button1->setObjectName("edit2Button1");
  edit2Button1->setText("...");
  edit2Button1->setAccessibleName("Выбрать файл");
  edit2Button1->setCursor(Qt::ArrowCursor);
  edit2Button1->setFocusPolicy(Qt::NoFocus);
  const int buttonWidth = 22;
  edit2->setTextMargins(0, 0, buttonWidth, 0);
  edit2Button1->setFixedWidth(buttonWidth);

  Button1 = makeButton(this, "Button1", texts::kRunMenuDelete);
  Button2 = makeButton(this, "Button2", texts::kRunMenuStart);
  Button3 = makeButton(this, "Button3", texts::kRunMenuOk);
  Button4 = makeButton(this, "Button4", texts::kRunMenuHelpButton);
  Button3->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  buttons->addStretch(1);
  buttons->addWidget(Button4);
  buttons->addWidget(Button3);
  auto* groups = new QHBoxLayout;
  groups->addWidget(listGroup, 1);
  groups->addWidget(infoGroup, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups, 1);
  layout->addLayout(buttons);
  setFixedClientSize(480, 300);

  connect(ListBox1, &QListWidget::itemSelectionChanged, this, guarded(&TRunMenu::ListBox1Click));
  connect(ListBox1, &QListWidget::itemClicked, this, guarded(&TRunMenu::ListBox1Click));
  connect(Edit1, &QLineEdit::textChanged, this, guarded(&TRunMenu::Edit1Change));
  connect(edit2, &QLineEdit::textChanged, this, guarded(&TRunMenu::edit2Change));
  connect(Edit3, &QLineEdit::textChanged, this, guarded(&TRunMenu::Edit3Change));
  connect(edit2Button1, &QToolButton::clicked, this, guarded(&TRunMenu::edit2Button1Click));
  connect(Button1, &QPushButton::clicked, this, guarded(&TRunMenu::Button1Click));
  connect(Button2, &QPushButton::clicked, this, guarded(&TRunMenu::Button2Click));
  connect(Button3, &QPushButton::clicked, this, guarded(&TRunMenu::Button3Click));
  connect(Button4, &QPushButton::clicked, this, guarded(&TRunMenu::Button4Click));
  // Clicks, leaving a field, and the path field's size (for its button) come through eventFilter.
  for (QLineEdit* field : {Edit1, edit2, Edit3}) field->installEventFilter(this);
}

launchers::RunMenuTable& TRunMenu::table() { return main().program().runMenu; }

int TRunMenu::selectedRow() const {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

bool TRunMenu::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit2 && event->type() == QEvent::Resize) {
    const QRect inside = edit2->rect();
    edit2Button1->setGeometry(inside.right() - edit2Button1->width(), inside.top() + 1, edit2Button1->width(),
                              inside.height() - 2);
  }
  const auto handle = [&](void (TRunMenu::*click)(), void (TRunMenu::*exit)()) {
    if (event->type() == QEvent::MouseButtonPress) main().guard([&] { (this->*click)(); });
    if (event->type() == QEvent::FocusOut) main().guard([&] { (this->*exit)(); });
  };
  if (watched == Edit1) handle(&TRunMenu::Edit1Click, &TRunMenu::Edit1Exit);
  if (watched == edit2) handle(&TRunMenu::edit2Click, &TRunMenu::edit2Exit);
  if (watched == Edit3) handle(&TRunMenu::Edit3Click, &TRunMenu::Edit3Exit);
  return ProgramWindow::eventFilter(watched, event);
}

void TRunMenu::FormShow() {
  app::Ui& ui = main().program().ui();
  ui.setMainWindowEnabled(false);
  ui.setStatusText(texts::kRunMenuOpenStatus);
  try {
    auto& program = main().program();
    launchers::readRunMenu(program.fs(), program.settings.FilePath + launchers::kRunMenuFile, table());
  } catch (const sys::IoError&) {
    // An editor over a table it could not read would only write it back wrong: it closes again, and
    // closing gives the main window back.
    QTimer::singleShot(0, this, &QWidget::close);
    throw;
  }
  RunList();
}

void TRunMenu::FormClose() {
  app::Ui& ui = main().program().ui();
  ui.setMainWindowEnabled(true);
  ui.setStatusText("");
}

void TRunMenu::RunList() {
  for (int k = 0; k < 10; ++k) ListBox1->item(k)->setText(q(table()[static_cast<std::size_t>(k)].name));
}

void TRunMenu::ListBox1Click() {
  const int row = selectedRow();
  if (row < 0) return;
  const launchers::RunMenuEntry entry = table()[static_cast<std::size_t>(row)];
  Edit1->setText(q(launchers::editorText(entry.name)));
  edit2->setText(q(launchers::editorText(entry.path)));
  Edit3->setText(q(launchers::editorText(entry.parameters)));
  for (QLineEdit* field : {Edit1, edit2, Edit3}) field->setReadOnly(false);
}

void TRunMenu::fieldChange(QLineEdit* field, std::string launchers::RunMenuEntry::*member) {
  const int row = selectedRow();
  if (row < 0) {
    // Nothing to store into: the field does not keep what was typed.
    if (!field->text().isEmpty()) field->clear();
    return;
  }
  table()[static_cast<std::size_t>(row)].*member = s(field->text());
}

void TRunMenu::Edit1Change() { fieldChange(Edit1, &launchers::RunMenuEntry::name); }
void TRunMenu::edit2Change() { fieldChange(edit2, &launchers::RunMenuEntry::path); }
void TRunMenu::Edit3Change() { fieldChange(Edit3, &launchers::RunMenuEntry::parameters); }

void TRunMenu::fieldClick(QLineEdit* field) {
  if (selectedRow() < 0) field->setReadOnly(true);
}

void TRunMenu::Edit1Click() { fieldClick(Edit1); }
void TRunMenu::edit2Click() { fieldClick(edit2); }
void TRunMenu::Edit3Click() { fieldClick(Edit3); }

void TRunMenu::Edit1Exit() { RunList(); }
void TRunMenu::edit2Exit() { RunList(); }
void TRunMenu::Edit3Exit() { RunList(); }

void TRunMenu::edit2Button1Click() {
  if (selectedRow() < 0) return;
  const std::vector<std::string> chosen = main().program().ui().chooseFiles(launchers::anyFileRequest());
  if (!chosen.empty()) edit2->setText(q(chosen.front()));
}

void TRunMenu::Button1Click() {
  if (selectedRow() < 0) {
    app::showError(main().program().ui(), texts::kSelectMenuItem);
    return;
  }
  // The fields are cleared first: each cleared field stores what it holds, the marker is stored after.
  for (QLineEdit* field : {Edit1, edit2, Edit3}) field->clear();
  launchers::freeEntry(table()[static_cast<std::size_t>(selectedRow())]);
  RunList();
}

void TRunMenu::Button2Click() {
  launchers::startFromEditor(main().program(), selectedRow() >= 0, s(edit2->text()), s(Edit3->text()));
}

void TRunMenu::Button3Click() {
  auto& program = main().program();
  launchers::writeRunMenu(program.fs(), program.settings.FilePath + launchers::kRunMenuFile, table());
  close();
}

void TRunMenu::Button4Click() { app::showInformation(main().program().ui(), texts::kRunMenuHelp); }
