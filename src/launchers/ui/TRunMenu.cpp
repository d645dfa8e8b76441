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
  edit2Button1->setFocusPolicy(Qt::TabFocus);
  QWidget::setTabOrder(edit2, edit2Button1);  // Tab goes from the path to its button, then on
  const int buttonWidth = 22;
  edit2->setTextMargins(0, 0, buttonWidth, 0);
  edit2Button1->setFixedWidth(buttonWidth);

  Button1 = makeButton(this, "Button1", texts::kRunMenuDelete);
  Button2 = makeButton(this, "Button2", texts::kRunMenuStart);
  // "Помощь" stands left of "OK" and is made first, so Tab reaches it first.
  Button4 = makeButton(this, "Button4", texts::kRunMenuHelpButton);
  Button3 = makeButton(this, "Button3", texts::kRunMenuOk);
  setDefaultButton(Button3);
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

  presenter_ = std::make_unique<launchers::RunMenuEditorPresenter>(main.program(), static_cast<RunMenuEditorView&>(*this));
  using Field = launchers::RunMenuEditorView::Field;
  const auto forward = [this](auto event) { return [this, event] { guardedCall([&] { event(*presenter_); }); }; };
  const auto rowClick = [this] { guardedCall([this] { presenter_->ListBox1Click(selectedRow()); }); };
  connect(ListBox1, &QListWidget::itemSelectionChanged, this, rowClick);
  connect(ListBox1, &QListWidget::itemClicked, this, rowClick);
  for (Field which : {Field::Name, Field::Path, Field::Parameters}) {
    connect(field(which), &QLineEdit::textChanged, this, [this, which](const QString& text) {
      guardedCall([&] { presenter_->fieldChange(which, s(text)); });
    });
  }
  connect(edit2Button1, &QToolButton::clicked, this, forward([](auto& p) { p.edit2Button1Click(); }));
  connect(Button1, &QPushButton::clicked, this, forward([](auto& p) { p.Button1Click(); }));
  connect(Button2, &QPushButton::clicked, this, forward([](auto& p) { p.Button2Click(); }));
  connect(Button3, &QPushButton::clicked, this, forward([](auto& p) { p.Button3Click(); }));
  connect(Button4, &QPushButton::clicked, this, forward([](auto& p) { p.Button4Click(); }));
  // Clicks, leaving a field, and the path field's size (for its button) come through eventFilter.
  for (QLineEdit* edit : {Edit1, edit2, Edit3}) edit->installEventFilter(this);
}

TRunMenu::~TRunMenu() = default;

int TRunMenu::selectedRow() const {
  const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
  return selected.isEmpty() ? -1 : ListBox1->row(selected.first());
}

QLineEdit* TRunMenu::field(Field which) const {
  switch (which) {
    case Field::Name:
      return Edit1;
    case Field::Path:
      return edit2;
    case Field::Parameters:
      break;
  }
  return Edit3;
}

bool TRunMenu::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit2 && event->type() == QEvent::Resize) {
    const QRect inside = edit2->rect();
    edit2Button1->setGeometry(inside.right() - edit2Button1->width(), inside.top() + 1, edit2Button1->width(),
                              inside.height() - 2);
  }
  for (Field which : {Field::Name, Field::Path, Field::Parameters}) {
    if (watched != field(which)) continue;
    if (event->type() == QEvent::MouseButtonPress) main().guard([&] { presenter_->fieldClick(which); });
    if (event->type() == QEvent::FocusOut) main().guard([&] { presenter_->fieldExit(which); });
  }
  return ProgramWindow::eventFilter(watched, event);
}

void TRunMenu::FormShow() { presenter_->FormShow(); }

void TRunMenu::FormClose() { presenter_->FormClose(); }

void TRunMenu::showRows(const std::vector<std::string>& rows) {
  for (int k = 0; k < ListBox1->count() && k < static_cast<int>(rows.size()); ++k) {
    ListBox1->item(k)->setText(q(rows[static_cast<std::size_t>(k)]));
  }
}

void TRunMenu::setFieldText(Field which, const std::string& text) { field(which)->setText(q(text)); }

std::string TRunMenu::fieldText(Field which) { return s(field(which)->text()); }

void TRunMenu::setFieldReadOnly(Field which, bool readOnly) { field(which)->setReadOnly(readOnly); }

void TRunMenu::closeWindow() { close(); }

void TRunMenu::closeAfterShowing() { QTimer::singleShot(0, this, &QWidget::close); }
