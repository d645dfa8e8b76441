#pragma once

#include <string>
#include <vector>

#include "installs/changes.h"
#include "installs/heal.h"

namespace app {
class Program;
}

namespace installs {

// What the installations page "Замена файлов" shows, told by its presenter. The toolkit's window
// implements it; the presenter decides every text, row and enabled state.
class InstallationsPageView {
 public:
  enum class Control { Rename, Restore };

  virtual ~InstallationsPageView() = default;
  // The installation list afresh, each row with its check box (on: its files are in the game), nothing
  // selected afterwards.
  virtual void showInstallations(const std::vector<std::string>& names, const std::vector<bool>& on) = 0;
  // One row's check box; the row keeps its place and its selection.
  virtual void setSwitchedOn(std::size_t row, bool on) = 0;
  // The other installations that share game files with the selected one.
  virtual void showSharing(const std::vector<std::string>& names) = 0;
  // One row's new text; the row keeps its place and its selection.
  virtual void setInstallationName(std::size_t row, const std::string& name) = 0;
  // The selected installation: its game paths, its date and its description.
  virtual void showFiles(const std::vector<std::string>& gamePaths) = 0;
  virtual void setDate(const std::string& text) = 0;
  virtual void setDescription(const std::string& text) = 0;
  virtual void setEnabled(Control control, bool enabled) = 0;
  // The keyboard focus to the installation list (F2 there renames).
  virtual void focusInstallationList() = 0;
  // The hint of "Переименовать" (line breaks as CR LF).
  virtual void setRenameHint(const std::string& text) = 0;
  // The selected row of the installation list, -1 when none.
  virtual int selectedRow() const = 0;
  // The install dialog and the help window are other windows: the binding opens them.
  virtual void openInstallDialog() = 0;
  virtual void openHelp() = 0;
};

// The installations page: fills it from the store, shows the selected installation, renames and
// restores. Every handler may throw sys::IoError; the binding runs it inside the main window's guard.
class InstallationsPagePresenter {
 public:
  InstallationsPagePresenter(app::Program& program, InstallationsPageView& view);

  void FormCreate();     // the buttons' state of a page not filled yet
  void EditMenuShow();   // the page shown, and after every install
  void ListBox1Click();  // a click or a change of selection in the installation list
  void Button1Click();   // "Установить файлы"
  void Button2Click();   // "Восстановить файлы"
  void Button3Click();   // "Переименовать"
  void Button3MouseMove();
  void Button4Click();   // "&Помощь"
  // The check box of a row clicked, Space on the selected row, or the row's menu item: switches that
  // installation off when it is on, on when it is off. The rows then show every installation's state
  // (switching one on may have switched another off).
  void ListBox1Switch(int row);
  // The text of the row's menu item: "Отключить" for an installation that is on, "Включить" for one
  // that is off; empty for no row.
  std::string switchItemText(int row) const;

  // The installation list as last read, in the rows' order, and which of them are on.
  const std::vector<std::string>& names() const { return names_; }
  const std::vector<bool>& switchedOn() const { return on_; }

 private:
  // The selected row when it is one of names_; otherwise reports or refills and gives -1.
  int rowToActOn();
  void showNames();
  void readSwitches();
  void clearInformation();
  void nothingSelected();
  // After a change of the list that failed: the rows and names_ are "list.dat" again.
  void refillFromDisk();

  app::Program& program_;
  InstallationsPageView& view_;
  std::vector<std::string> names_;
  std::vector<bool> on_;
  HealNotes healNotes_;
  ChangeCheck changes_;  // game files hashed already, so a second look costs no reading
};

}  // namespace installs
