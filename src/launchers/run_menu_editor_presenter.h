#pragma once

#include <string>
#include <vector>

#include "launchers/run_menu.h"

namespace app {
class Program;
}

namespace launchers {

// The run-menu editor "Меню запуска" as its presenter sees it: ten rows, three fields, the window itself.
class RunMenuEditorView {
 public:
  enum class Field { Name, Path, Parameters };

  virtual ~RunMenuEditorView() = default;
  // Row k shows the given text; the selected row stays selected.
  virtual void showRows(const std::vector<std::string>& rows) = 0;
  virtual void setFieldText(Field field, const std::string& text) = 0;
  virtual std::string fieldText(Field field) = 0;
  virtual void setFieldReadOnly(Field field, bool readOnly) = 0;
  virtual void closeWindow() = 0;
  // Closes the window as soon as its showing has ended (an opening that failed half-way).
  virtual void closeAfterShowing() = 0;
};

// What the editor does. The table it edits is the main window's own, changed in place keystroke by
// keystroke; only "&OK" writes "runmenu.dat". The selected row, the fields and their read-only states stay
// from one opening to the next.
//
// The main window's "Настройка" under "&Запуск" shows the window; the binding calls FormShow at each
// showing and FormClose at every way of closing.
class RunMenuEditorPresenter {
 public:
  RunMenuEditorPresenter(app::Program& program, RunMenuEditorView& view);

  void FormShow();   // reloads the table from the file; throws sys::IoError (the window then closes again)
  void FormClose();  // nothing is saved
  void RunList();
  // The list's selection changed or a row was clicked: row 0..9, or -1 when none is selected.
  void ListBox1Click(int row);
  // A field's text changed, typed or set by the binding.
  void fieldChange(RunMenuEditorView::Field field, const std::string& text);
  void fieldClick(RunMenuEditorView::Field field);
  void fieldExit(RunMenuEditorView::Field field);
  void edit2Button1Click();  // the browse button inside the path field
  void Button1Click();       // "Удалить"
  void Button2Click();       // "Запустить"
  void Button3Click();       // "&OK"; throws sys::IoError (the editor then stays open)
  void Button4Click();       // "Помощь"

  int selectedRow() const { return selected_; }

 private:
  RunMenuEntry& entry() { return table()[static_cast<std::size_t>(selected_)]; }
  RunMenuTable& table();
  // Shows text in a field without taking the echo of the change back into the table.
  void showField(RunMenuEditorView::Field field, const std::string& text);

  app::Program& program_;
  RunMenuEditorView& view_;
  int selected_ = -1;
  bool filling_ = false;
};

}  // namespace launchers
