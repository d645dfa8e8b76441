#pragma once

#include "app/ui/ProgramWindow.h"

class QLineEdit;
class QPushButton;

// The file info dialog "Информация": the name, path and description of the file list's current row,
// each readable in full in its field's hint, and a button that starts the file.
class TListInfo final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit TListInfo(TForm1& main);

  // Puts the row's three texts into the fields and shows the dialog.
  void showFor(const QString& file, const QString& path, const QString& description);

  void Button1Click();  // "OK": closes
  void Button2Click();  // "Запустить": starts the main grid's current-row file; the dialog stays
  void Edit1MouseMove();
  void Edit2MouseMove();
  void Edit3MouseMove();

  QLineEdit* Edit1 = nullptr;  // file name
  QLineEdit* Edit2 = nullptr;  // path
  QLineEdit* Edit3 = nullptr;  // description
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 protected:
  void FormShow() override;
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* addField(const char* name, const char* label, int top);
};
