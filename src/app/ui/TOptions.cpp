#include "app/ui/TOptions.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "app/options_texts.h"
#include "app/ui/TForm1.h"
#include "catalogue/ui/FilesListPage.h"

using app::ui::q;
using app::ui::s;
namespace texts = app::options_texts;

TOptions::TOptions(TForm1& main) : ProgramWindow(main, texts::kCaption) {
  setObjectName("TOptions");
  presenter_ = std::make_unique<app::OptionsPresenter>(main.program(), static_cast<app::OptionsView&>(*this));
  buildGameGroup();
  buildListGroup();
  Button1 = addButton(this, "Button1", texts::kOk, QRect(166, 298, 80, 25));
  Button3 = addButton(this, "Button3", texts::kExit, QRect(250, 298, 80, 25));
  setDefaultButton(Button1);
  Button1->setDefault(true);
  connectClick(Button1, &TOptions::Button1Click);
  connectClick(Button3, &TOptions::Button3Click);
  setFixedClientSize(338, 330);
}

TOptions::~TOptions() = default;

void TOptions::connectClick(QPushButton* button, void (TOptions::*handler)()) {
  connect(button, &QPushButton::clicked, this, guarded(handler));
}

QPushButton* TOptions::addButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry) {
  auto* button = new QPushButton(q(caption), parent);
  button->setObjectName(name);
  button->setAccessibleName(q(caption).remove('&'));
  button->setGeometry(geometry);
  return button;
}

QLineEdit* TOptions::addField(QGroupBox* group, const char* name, const char* label, int top, int width) {
  auto* caption = new QLabel(q(label), group);
  caption->setGeometry(10, top, 200, 16);
  auto* field = new QLineEdit(group);
  field->setObjectName(name);
  field->setAccessibleName(q(label));
  field->setGeometry(10, top + 16, width, 22);
  caption->setBuddy(field);
  return field;
}

QToolButton* TOptions::addBrowseButton(QGroupBox* group, const char* name, const char* accessibleName, int top) {
  auto* button = new QToolButton(group);
  button->setObjectName(name);
  button->setText("...");
  button->setAccessibleName(q(accessibleName));
  button->setToolTip(q(accessibleName));
  button->setGeometry(290, top + 16, 22, 22);
  return button;
}

void TOptions::buildGameGroup() {
  GroupBox1 = new QGroupBox(q(texts::kGameGroup), this);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setGeometry(8, 4, 322, 176);
  AHMLookupEdit1 = addField(GroupBox1, "AHMLookupEdit1", texts::kFolderLabel, 18, 278);
  AHMLookupEdit1Button1 = addBrowseButton(GroupBox1, "AHMLookupEdit1Button1", texts::kBrowseFolder, 18);
  AHMLookupEdit2 = addField(GroupBox1, "AHMLookupEdit2", texts::kLauncherLabel, 58, 278);
  AHMLookupEdit2Button1 = addBrowseButton(GroupBox1, "AHMLookupEdit2Button1", texts::kBrowseLauncher, 58);
  Edit1 = addField(GroupBox1, "Edit1", texts::kParamsLabel, 98, 302);
  Button4 = addButton(GroupBox1, "Button4", texts::kDetect, QRect(10, 142, 190, 25));
  Button4->setToolTip(q(texts::kDetectHint));
  Button5 = addButton(GroupBox1, "Button5", texts::kCheck, QRect(206, 142, 106, 25));
  Button5->setToolTip(q(texts::kCheckHint));
  connectClick(Button4, &TOptions::Button4Click);
  connectClick(Button5, &TOptions::Button5Click);
  connect(AHMLookupEdit1Button1, &QToolButton::clicked, this,
          guarded(&TOptions::AHMLookupEdit1Button1Click));
  connect(AHMLookupEdit2Button1, &QToolButton::clicked, this,
          guarded(&TOptions::AHMLookupEdit2Button1Click));
}

void TOptions::buildListGroup() {
  GroupBox2 = new QGroupBox(q(texts::kListGroup), this);
  GroupBox2->setObjectName("GroupBox2");
  GroupBox2->setGeometry(8, 184, 322, 108);
  const char* names[] = {"Update1", "Update2", "Update3", "Update4"};
  const char* captions[] = {texts::kUpdate1, texts::kUpdate2, texts::kUpdate3, texts::kUpdate4};
  QRadioButton* buttons[4];
  for (int i = 0; i < 4; ++i) {
    buttons[i] = new QRadioButton(q(captions[i]), GroupBox2);
    buttons[i]->setObjectName(names[i]);
    buttons[i]->setAccessibleName(q(captions[i]));
    buttons[i]->setGeometry(10, 18 + 18 * i, 210, 18);
  }
  Update1 = buttons[0];
  Update2 = buttons[1];
  Update3 = buttons[2];
  Update4 = buttons[3];
  Update2->setChecked(true);
  Label4 = new QLabel(q(texts::kLastUpdate), GroupBox2);
  Label4->setObjectName("Label4");
  const int labelWidth = Label4->fontMetrics().horizontalAdvance(Label4->text()) + 4;
  Label4->setGeometry(10, 88, labelWidth, 16);
  Label5 = new QLabel(GroupBox2);
  Label5->setObjectName("Label5");
  Label5->setGeometry(10 + labelWidth, 88, 300 - labelWidth, 16);
  // The value reads as itself (no accessible name of its own); the caption is tied to it.
  Label4->setBuddy(Label5);
  Button2 = addButton(GroupBox2, "Button2", texts::kRefresh, QRect(230, 18, 82, 25));
  connectClick(Button2, &TOptions::Button2Click);
}

void TOptions::FormShow() { presenter_->FormShow(); }
void TOptions::FormHide() { presenter_->FormHide(); }
void TOptions::FormClose() { presenter_->FormClose(); }
void TOptions::Button1Click() { presenter_->Button1Click(); }
void TOptions::Button2Click() { presenter_->Button2Click(); }
void TOptions::Button3Click() { presenter_->Button3Click(); }
void TOptions::Button4Click() { presenter_->Button4Click(); }
void TOptions::Button5Click() { presenter_->Button5Click(); }
void TOptions::AHMLookupEdit1Button1Click() { presenter_->AHMLookupEdit1Button1Click(); }
void TOptions::AHMLookupEdit2Button1Click() { presenter_->AHMLookupEdit2Button1Click(); }

QLineEdit* TOptions::field(Field field) const {
  switch (field) {
    case Field::Folder: return AHMLookupEdit1;
    case Field::Launcher: return AHMLookupEdit2;
    case Field::Params: return Edit1;
  }
  return nullptr;
}

void TOptions::setFieldText(Field which, const std::string& text) { field(which)->setText(q(text)); }

std::string TOptions::fieldText(Field which) const { return s(field(which)->text()); }

void TOptions::focusField(Field which) { field(which)->setFocus(); }

void TOptions::setUpdateChoice(const std::string& choice) {
  if (choice == "1") Update1->setChecked(true);
  if (choice == "2") Update2->setChecked(true);
  if (choice == "3") Update3->setChecked(true);
  if (choice == "4") Update4->setChecked(true);
}

std::string TOptions::updateChoice() const {
  if (Update1->isChecked()) return "1";
  if (Update2->isChecked()) return "2";
  if (Update3->isChecked()) return "3";
  if (Update4->isChecked()) return "4";
  return "";
}

void TOptions::setLastUpdateText(const std::string& text) { Label5->setText(q(text)); }

void TOptions::setRefreshHint(const std::string& text) { Button2->setToolTip(q(text)); }

void TOptions::setRefreshEnabled(bool enabled) { Button2->setEnabled(enabled); }

void TOptions::closeWindow() { close(); }

void TOptions::closeProgram() { main().close(); }

void TOptions::holdActivation() { main().presenter().holdActivation(); }

void TOptions::releaseActivation() { main().presenter().releaseActivation(); }

void TOptions::showFilesListPage() { main().pages()->setCurrentIndex(1); }

void TOptions::refreshFilesList() { main().filesListPage()->FilesListShow(); }
