#pragma once

#include <string>

#include "app/program.h"

namespace catalogue {

// The file info dialog as its presenter sees it.
class ListInfoView {
 public:
  enum class Field { File, Path, Description };

  virtual ~ListInfoView() = default;
  // The field shows the text from its start.
  virtual void setFieldText(Field field, const std::string& text) = 0;
  virtual std::string fieldText(Field field) const = 0;
  virtual void setFieldHint(Field field, const std::string& hint) = 0;
  virtual void showWindow() = 0;
  virtual void closeWindow() = 0;
  // Starts the file of the file list's current row, as its double click does.
  virtual void launchCurrentFile() = 0;
};

// The file info dialog "Информация": the name, path and description of the file list's current row, each
// readable in full in its field's hint, and a button that starts the file.
class ListInfoPresenter {
 public:
  using Field = ListInfoView::Field;

  ListInfoPresenter(app::Program& program, ListInfoView& view) : program_(program), view_(view) {}

  // Puts the row's three texts into the fields and shows the dialog.
  void showFor(const std::string& file, const std::string& path, const std::string& description);

  void FormShow();      // keeps the main window disabled while open
  void FormClose();
  void Button1Click();  // "OK": closes
  void Button2Click();  // "Запустить": the file list's current-row file; the dialog stays
  // The mouse over a field: its hint becomes its whole text.
  void EditMouseMove(Field field);
  void Edit1MouseMove() { EditMouseMove(Field::File); }
  void Edit2MouseMove() { EditMouseMove(Field::Path); }
  void Edit3MouseMove() { EditMouseMove(Field::Description); }

 private:
  app::Program& program_;
  ListInfoView& view_;
};

}  // namespace catalogue
