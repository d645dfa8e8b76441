#pragma once

#include <QWidget>

class TForm1;

// The page "Замена файлов": the installations, their files, date and description, and the buttons that
// install, rename and restore.
class EditMenuPage final : public QWidget {
  Q_OBJECT

 public:
  explicit EditMenuPage(TForm1& main);
  void EditMenuShow();

 private:
  TForm1& main_;
};
