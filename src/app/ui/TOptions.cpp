#include "app/ui/TOptions.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include "app/detect.h"
#include "app/options_texts.h"
#include "app/ui/TForm1.h"
#include "catalogue/scan.h"
#include "catalogue/ui/FilesListPage.h"
#include "sys/paths.h"
#include "sys/shell.h"

using app::ui::q;
using app::ui::s;
namespace texts = app::options_texts;

TOptions::TOptions(TForm1& main) : ProgramWindow(main, texts::kCaption) {
  setObjectName("TOptions");
  buildGameGroup();
  buildListGroup();
  Button1 = addButton(this, "Button1", texts::kOk, QRect(166, 298, 80, 25));
  Button3 = addButton(this, "Button3", texts::kExit, QRect(250, 298, 80, 25));
  Button1->setDefault(true);
  connectClick(Button1, &TOptions::Button1Click);
  connectClick(Button3, &TOptions::Button3Click);
  setFixedClientSize(338, 330);
}

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

bool TOptions::gameFolderIsValid() {
  const std::string& folder = main().program().settings.CSDir;
  return !folder.empty() && main().program().fs().isFolder(folder);
}

void TOptions::FormShow() {
  app::Program& program = main().program();
  main().ui().setMainWindowEnabled(false);
  if (!gameFolderIsValid()) app::showAttention(program.ui(), texts::kNoFolderAtShow);
  program.ReadRegistry();
  const app::Settings& settings = program.settings;
  AHMLookupEdit1->setText(q(settings.CSDir));
  AHMLookupEdit2->setText(q(settings.CSFile));
  Edit1->setText(q(settings.RunParam));
  Button2->setToolTip(q(texts::kLastUpdate + settings.FilesListDate));
  if (settings.ListUpdate == "1") Update1->setChecked(true);
  if (settings.ListUpdate == "2") Update2->setChecked(true);
  if (settings.ListUpdate == "3") Update3->setChecked(true);
  if (settings.ListUpdate == "4") Update4->setChecked(true);
  main().ui().setStatusText(texts::kStatusOpen);
  Label5->setText(q(settings.FilesListDate.empty() ? std::string(texts::kUnknownDate) : settings.FilesListDate));
  Button2->setEnabled(gameFolderIsValid());
}

void TOptions::FormHide() {
  if (gameFolderIsValid()) main().ui().setMainWindowEnabled(true);
  main().ui().setStatusText("");
}

void TOptions::FormClose() {
  if (gameFolderIsValid()) return;
  app::showError(main().program().ui(), texts::kFolderInvalid);
  main().close();
}

void TOptions::Button1Click() {
  app::Program& program = main().program();
  app::Settings& settings = program.settings;
  settings.CSDir = sys::withoutTrailingSeparators(s(AHMLookupEdit1->text()));
  settings.CSFile = s(AHMLookupEdit2->text());
  settings.RunParam = s(Edit1->text());
  if (Update1->isChecked()) settings.ListUpdate = "1";
  if (Update2->isChecked()) settings.ListUpdate = "2";
  if (Update3->isChecked()) settings.ListUpdate = "3";
  if (Update4->isChecked()) settings.ListUpdate = "4";
  program.WriteRegistry();
  close();
}

void TOptions::Button3Click() { close(); }

void TOptions::Button2Click() {
  app::Program& program = main().program();
  if (program.settings.CSDir.empty()) {
    app::showError(program.ui(), texts::kRefreshWithoutFolder);
    return;
  }
  // This scan stands for the activation step's: no second scan, no "needs a scan" notice before it.
  TForm1::ActivationHold hold(main());
  close();
  if (!gameFolderIsValid()) return;  // the program is ending
  program.ui().processEvents();
  main().pages()->setCurrentIndex(1);
  sys::sleepMs(50);
  program.ui().processEvents();
  catalogue::FindFilesList(program);
  program.ListUpdatePending = false;  // the schedule asks for a scan per run at most; this was it
  program.ui().processEvents();
  main().filesListPage()->FilesListShow();
}

void TOptions::Button4Click() {
  app::Program& program = main().program();
  const app::DetectedGame found =
      app::detectGame(program.services().registry, program.fs(), sys::homeFolder());
  if (!found.folder.empty()) AHMLookupEdit1->setText(q(found.folder));
  if (!found.launcher.empty()) {
    AHMLookupEdit2->setText(q(found.launcher));
    Edit1->setText(q(app::kDetectedRunParam));
  }
  app::showAttention(program.ui(), app::detectionReport(found));
}

void TOptions::Button5Click() {
  app::Program& program = main().program();
  switch (app::checkGameFields(program.fs(), s(AHMLookupEdit1->text()), s(AHMLookupEdit2->text()))) {
    case app::FieldCheck::FolderInvalid:
      app::showError(program.ui(), texts::kFolderInvalid);
      AHMLookupEdit1->setFocus();
      break;
    case app::FieldCheck::LauncherInvalid:
      app::showError(program.ui(), texts::kLauncherInvalid);
      AHMLookupEdit2->setFocus();
      break;
    case app::FieldCheck::Correct:
      app::showAttention(program.ui(), texts::kAllCorrect);
      break;
  }
}

void TOptions::AHMLookupEdit1Button1Click() {
  if (const auto folder = main().ui().chooseFolder(texts::kChooseFolder, "")) AHMLookupEdit1->setText(q(*folder));
}

void TOptions::AHMLookupEdit2Button1Click() {
  app::FileRequest request;
  request.title = texts::kChooseLauncher;
  request.filters = app::launcherFilters();
  request.initialFolder = s(AHMLookupEdit1->text());
  const auto files = main().ui().chooseFiles(request);
  if (!files.empty()) AHMLookupEdit2->setText(q(files.front()));
}
