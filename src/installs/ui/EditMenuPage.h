#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "installs/heal.h"
#include "installs/restore.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TForm1;

// The page "Замена файлов": the installations, the files, date and description of the selected one, and
// the buttons that install, rename and restore. The store's work is the core's (installs/restore.h).
class EditMenuPage final : public QWidget {
  Q_OBJECT

 public:
  explicit EditMenuPage(TForm1& main);

  void EditMenuShow();
  void ListBox1Click();
  void Button1Click();  // "Установить файлы"
  void Button2Click();  // "Восстановить файлы"
  void Button3Click();  // "Переименовать"
  void Button3MouseMove();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showNames();
  void clearInformation();
  void nothingSelected();
  int selectedRow() const;
  // Runs a handler that changes the list; whatever way it ends, the rows and names_ are "list.dat" again.
  void changeList(const std::function<void()>& handler);
  void refillFromDisk();

  TForm1& main_;
  std::vector<std::string> names_;  // the installation list as last read, in ListBox1's order
  installs::HealNotes healNotes_;
  installs::ChangeCheck changes_;   // game files hashed already, so a second look costs no reading

  QListWidget* ListBox1 = nullptr;
  QListWidget* ListBox2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
};
