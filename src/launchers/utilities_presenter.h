#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "launchers/utilities.h"

namespace app {
class Program;
}

namespace launchers {

// The utilities manager "Утилиты" as its presenter sees it: the list of names, its own status line, the
// window.
class UtilitiesView {
 public:
  virtual ~UtilitiesView() = default;
  // The list holds exactly these names, no row selected.
  virtual void showNames(const std::vector<std::string>& names) = 0;
  virtual void addName(const std::string& name) = 0;
  // Takes the row out and leaves no row selected.
  virtual void removeRow(int row) = 0;
  virtual void setStatusText(const std::string& text) = 0;
  // The whole manager takes input, or not (while an install waits).
  virtual void setManagerEnabled(bool enabled) = 0;
  virtual void closeWindow() = 0;
  // Closes the window as soon as its showing has ended (an opening that failed half-way).
  virtual void closeAfterShowing() = 0;
};

// The key code of Delete, as the list's key event passes it.
inline constexpr int kDeleteKey = 46;

// What the manager does: it lists the utilities of the main window's table, installs one through the
// handshake, removes one, and opens the download page.
//
// The main window's "Настройка" under "&Утилиты" shows the window; the binding calls FormShow at each
// showing and FormClose at every way of closing, and asks FormCloseQuery before it lets the window close.
class UtilitiesPresenter {
 public:
  UtilitiesPresenter(app::Program& program, UtilitiesView& view);
  ~UtilitiesPresenter();
  UtilitiesPresenter(const UtilitiesPresenter&) = delete;
  UtilitiesPresenter& operator=(const UtilitiesPresenter&) = delete;

  void FormShow();  // reloads "utilities.dat"; throws sys::IoError (the window then closes again)
  void FormClose();
  // Whether the window may close now: not while an install waits for its answer.
  bool FormCloseQuery() const { return !installing_; }
  // The list's selection changed: row, or -1 when none is selected.
  void ListBox1Click(int row);
  void ListBox1KeyDown(int key);  // Delete (kDeleteKey), whatever the shift state, removes
  void Button1Click();            // "&Добавить": install; throws sys::IoError
  void Button2Click();            // "&Удалить": remove; throws sys::IoError
  void Button3Click();            // "&Выход"
  void Button4Click();            // "Скачать из интернета"

  const std::vector<std::string>& names() const { return names_; }
  int selectedRow() const { return selected_; }

  // How long the install waits for a utility's answer (tests shorten it).
  std::chrono::milliseconds installTimeout = kUtilityTimeout;

 private:
  class Manager;

  app::Program& program_;
  UtilitiesView& view_;
  std::vector<std::string> names_;
  int selected_ = -1;
  bool installing_ = false;
};

}  // namespace launchers
