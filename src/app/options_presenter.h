#pragma once

#include <optional>
#include <set>
#include <string>

#include "app/program.h"

namespace app {

// The settings dialog as its presenter sees it.
class OptionsView {
 public:
  enum class Field { Folder, Launcher, Params };

  virtual ~OptionsView() = default;
  virtual void setFieldText(Field field, const std::string& text) = 0;
  virtual std::string fieldText(Field field) const = 0;
  virtual void focusField(Field field) = 0;
  // The catalogue schedule's choice, "1".."4" (Update1..Update4); "" when none is checked.
  virtual void setUpdateChoice(const std::string& choice) = 0;
  virtual std::string updateChoice() const = 0;
  // "Последнее обновление:" and its value, the hint of "Обновить", and whether it takes a click.
  virtual void setLastUpdateText(const std::string& text) = 0;
  virtual void setRefreshHint(const std::string& text) = 0;
  virtual void setRefreshEnabled(bool enabled) = 0;

  virtual void closeWindow() = 0;
  // Ends the program (closes the main window).
  virtual void closeProgram() = 0;
  // The main window's side of "Обновить": its activation is held while the dialog closes, the file list
  // page is brought forward and refilled.
  virtual void holdActivation() = 0;
  virtual void releaseActivation() = 0;
  virtual void showFilesListPage() = 0;
  virtual void refreshFilesList() = 0;
};

// The settings dialog "Настройки": the game folder, its launcher and parameters, the catalogue schedule
// and a rescan at once. Closing it while the stored game folder is not valid ends the program.
class OptionsPresenter {
 public:
  OptionsPresenter(Program& program, OptionsView& view) : program_(program), view_(view) {}

  void FormShow();
  void FormHide();
  void FormClose();
  void Button1Click();  // "&OK": take the fields over, write the settings, close
  void Button2Click();  // "Обновить": close, show the file list page, scan, refill it
  void Button3Click();  // "&Выход": close without taking anything over
  void Button4Click();  // "Определить автоматически"
  void Button5Click();  // "Проверить"
  void AHMLookupEdit1Button1Click();  // browse for the game folder
  void AHMLookupEdit2Button1Click();  // browse for the launcher

 private:
  bool gameFolderIsValid();
  // An existing folder without the game's "liblist.gam" is asked about, once while the dialog is open:
  // the folder to go on with (the one asked about, or the "cstrike" folder inside it that the question
  // offered), or nothing when the person goes back to the field.
  std::optional<std::string> confirmGameFolder(const std::string& folder);

  Program& program_;
  OptionsView& view_;
  std::set<std::string> confirmedFolders_;  // kept after a question, while the dialog is open
};

}  // namespace app
