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
  presenter_ = std::make_unique<catalogue::ListInfoPresenter>(main.program(), static_cast<catalogue::ListInfoView&>(*this));
  Edit1 = addField("Edit1", texts::kInfoFile, 8);
  Edit2 = addField("Edit2", texts::kInfoPath, 34);
  Edit3 = addField("Edit3", texts::kInfoDescription, 60);
  Button1 = new QPushButton(q(texts::kInfoOk), this);
  Button1->setObjectName("Button1");
  Button1->setAccessibleName(q(texts::kInfoOk));
  setDefaultButton(Button1);
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

TListInfo::~TListInfo() = default;

void TListInfo::showFor(const QString& file, const QString& path, const QString& description) {
  presenter_->showFor(app::ui::s(file), app::ui::s(path), app::ui::s(description));
}

void TListInfo::FormShow() { presenter_->FormShow(); }
void TListInfo::FormClose() { presenter_->FormClose(); }
void TListInfo::Button1Click() { presenter_->Button1Click(); }
void TListInfo::Button2Click() { presenter_->Button2Click(); }
void TListInfo::Edit1MouseMove() { presenter_->Edit1MouseMove(); }
void TListInfo::Edit2MouseMove() { presenter_->Edit2MouseMove(); }
void TListInfo::Edit3MouseMove() { presenter_->Edit3MouseMove(); }

QLineEdit* TListInfo::field(Field which) const {
  switch (which) {
    case Field::File: return Edit1;
    case Field::Path: return Edit2;
    case Field::Description: return Edit3;
  }
  return nullptr;
}

void TListInfo::setFieldText(Field which, const std::string& text) {
  field(which)->setText(q(text));
  field(which)->setCursorPosition(0);
}

std::string TListInfo::fieldText(Field which) const { return app::ui::s(field(which)->text()); }

void TListInfo::setFieldHint(Field which, const std::string& hint) { field(which)->setToolTip(q(hint)); }

void TListInfo::showWindow() { show(); }

void TListInfo::closeWindow() { close(); }

void TListInfo::launchCurrentFile() { main().filesListPage()->GridDblClick(); }

bool TListInfo::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseMove) {
    if (watched == Edit1) Edit1MouseMove();
    if (watched == Edit2) Edit2MouseMove();
    if (watched == Edit3) Edit3MouseMove();
  }
  return ProgramWindow::eventFilter(watched, event);
}
