#pragma once

#include <string>

#include "app/ui/ProgramWindow.h"
#include "launchers/run_menu.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

// The run-menu editor "Меню запуска": the ten entries of the Run menu in a list, the selected one in three
// fields. Every change of a field goes straight into the main window's table; only "&OK" writes the file.
// The selected row, the fields and their read-only states stay as they are from one opening to the next.
class TRunMenu final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit TRunMenu(TForm1& main);

  void RunList();
  void ListBox1Click();
  void Edit1Change();
  void edit2Change();
  void Edit3Change();
  void Edit1Click();
  void edit2Click();
  void Edit3Click();
  void Edit1Exit();
  void edit2Exit();
  void Edit3Exit();
  void edit2Button1Click();  // the browse button inside the path field
  void Button1Click();       // "Удалить"
  void Button2Click();       // "Запустить"
  void Button3Click();       // "&OK"
  void Button4Click();       // "Помощь"

  QListWidget* ListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QToolButton* edit2Button1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;

 protected:
  void FormShow() override;
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int selectedRow() const;  // -1 when no row is selected
  void fieldChange(QLineEdit* field, std::string launchers::RunMenuEntry::*member);
  void fieldClick(QLineEdit* field);
  launchers::RunMenuTable& table();
};
