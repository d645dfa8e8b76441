#include "catalogue/ui/TListInfo.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/ui/TForm1.h"
#include "catalogue/texts.h"
#include "catalogue/ui/FilesListPage.h"

using app::ui::q;
namespace texts = catalogue::texts;

TListInfo::TListInfo(TForm1& main) : ProgramWindow(main, q(texts::kInfoCaption)) {
  setObjectName("TListInfo");
  Edit1 = addField("Edit1", texts::kInfoFile, 8);
  Edit2 = addField("Edit2", texts::kInfoPath, 34);
  Edit3 = addField("Edit3", texts::kInfoDescription, 60);
  Button1 = new QPushButton(q(texts::kInfoOk), this);
  Button1->setObjectName("Button1");
  Button1->setAccessibleName(q(texts::kInfoOk));
  Button1->setGeometry(140, 90, 75, 25);
  Button1->setDefault(true);
  Button2 = new QPushButton(q(texts::kInfoRun), this);
  Button2->setObjectName("Button2");
  Button2->setAccessibleName(q(texts::kInfoRun));
  Button2->setGeometry(221, 90, 75, 25);
  connect(Button1, &QPushButton::clicked, this, guarded(&TListInfo::Button1Click));
  connect(Button2, &QPushButton::clicked, this, guarded(&TListInfo::Button2Click));
  setFixedClientSize(304, 121);
}

QLineEdit* TListInfo::addField(const char* name, const char* label, int top) {
  auto* caption = new QLabel(q(label), this);
  caption->setGeometry(8, top + 3, 72, 16);
  auto* field = new QLineEdit(this);
  field->setObjectName(name);
  field->setReadOnly(true);
  field->setAccessibleName(q(label).remove(':'));
  field->setGeometry(82, top, 214, 22);
  field->setMouseTracking(true);
  field->installEventFilter(this);
  caption->setBuddy(field);
  return field;
}

void TListInfo::showFor(const QString& file, const QString& path, const QString& description) {
  Edit1->setText(file);
  Edit2->setText(path);
  Edit3->setText(description);
  for (QLineEdit* field : {Edit1, Edit2, Edit3}) field->setCursorPosition(0);
  show();
}

void TListInfo::FormShow() { main().ui().setMainWindowEnabled(false); }

void TListInfo::FormClose() { main().ui().setMainWindowEnabled(true); }

void TListInfo::Button1Click() { close(); }

void TListInfo::Button2Click() { main().filesListPage()->GridDblClick(); }

void TListInfo::Edit1MouseMove() { Edit1->setToolTip(Edit1->text()); }
void TListInfo::Edit2MouseMove() { Edit2->setToolTip(Edit2->text()); }
void TListInfo::Edit3MouseMove() { Edit3->setToolTip(Edit3->text()); }

bool TListInfo::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    if (watched == Edit1) Edit1MouseMove();
    if (watched == Edit2) Edit2MouseMove();
    if (watched == Edit3) Edit3MouseMove();
  }
  return ProgramWindow::eventFilter(watched, event);
}
