#pragma once

#include "app/ui/ProgramWindow.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// The settings dialog "Настройки": the game folder, its launcher and parameters, the catalogue schedule
// and a rescan at once. Closing it while the stored game folder is not valid ends the program.
class TOptions final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit TOptions(TForm1& main);

  void Button1Click();  // "&OK": take the fields over, write the settings, close
  void Button2Click();  // "Обновить": close, show the file list page, scan, refill it
  void Button3Click();  // "&Выход": close without taking anything over
  void Button4Click();  // "Определить автоматически"
  void Button5Click();  // "Проверить"
  void AHMLookupEdit1Button1Click();  // browse for the game folder
  void AHMLookupEdit2Button1Click();  // browse for the launcher

  QLineEdit* AHMLookupEdit1 = nullptr;  // game folder
  QLineEdit* AHMLookupEdit2 = nullptr;  // launcher
  QLineEdit* Edit1 = nullptr;           // launcher parameters
  QToolButton* AHMLookupEdit1Button1 = nullptr;
  QToolButton* AHMLookupEdit2Button1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QRadioButton* Update1 = nullptr;
  QRadioButton* Update2 = nullptr;
  QRadioButton* Update3 = nullptr;
  QRadioButton* Update4 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;

 protected:
  void FormShow() override;
  void FormHide() override;
  void FormClose() override;

 private:
  void buildGameGroup();
  void buildListGroup();
  QLineEdit* addField(QGroupBox* group, const char* name, const char* label, int top, int width);
  QToolButton* addBrowseButton(QGroupBox* group, const char* name, const char* accessibleName, int top);
  QPushButton* addButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry);
  bool gameFolderIsValid();
  // The window handlers run through the main window's guard.
  void connectClick(QPushButton* button, void (TOptions::*handler)());

  QGroupBox* GroupBox1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
};
