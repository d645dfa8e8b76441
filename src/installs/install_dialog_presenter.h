#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "installs/check.h"
#include "installs/dialog.h"
#include "installs/dialog_view.h"
#include "preview/preview_pane_presenter.h"

namespace app {
class Program;
}

namespace installs {

// What the install dialog "Установка файлов" shows, told by its presenter: beside the progress bar, the
// status panel and the working state (DialogView), the file list, the buttons' states and the default
// add mode of the popup menu.
class InstallDialogView : public DialogView {
 public:
  enum class Control { Install };

  // The chosen files as shown, and their destinations (kept beside them, never shown).
  virtual void showChosenFiles(const std::vector<std::string>& shown, const std::vector<std::string>& destinations) = 0;
  virtual void setEnabled(Control control, bool enabled) = 0;
  virtual void setDescription(const std::string& text) = 0;
  // The add mode offered where archives can be read only.
  virtual void setArchiveModeOffered(bool offered) = 0;
  // The popup menu marks the default add mode.
  virtual void markDefaultMode(AddMode mode) = 0;
  // The main window's hint pauses.
  virtual void setHintTiming(int pauseMs, int hidePauseMs) = 0;
  virtual void closeWindow() = 0;
  // The installations page is filled afresh (after an install).
  virtual void refreshInstallations() = 0;

  virtual std::string description() const = 0;
  // The selected row of the file list.
  virtual std::optional<std::size_t> selectedFile() const = 0;
  virtual bool mainWindowShown() const = 0;

  // The preview pane beside the list, if the window has one.
  virtual preview::PreviewPanePresenter* previewPane() { return nullptr; }
  // The status line's second panel: how many warnings the chosen files give ("" for an empty list).
  virtual void setWarningsText(const std::string&) {}
};

// The install dialog: gathers new files in four ways and from drops, removes and clears them, describes
// one, installs them under a name, and removes what it unpacked from archives when it closes. The
// handlers may throw sys::IoError; the binding runs each inside the main window's guard and calls
// EventEnded() after it, whatever way it ended.
class InstallDialogPresenter : private DialogView {
 public:
  InstallDialogPresenter(app::Program& program, InstallDialogView& view);
  // A program ended with the dialog open leaves no unpacked files either.
  ~InstallDialogPresenter() override;
  InstallDialogPresenter(const InstallDialogPresenter&) = delete;
  InstallDialogPresenter& operator=(const InstallDialogPresenter&) = delete;

  void FormCreate();  // once, when the window is made
  void FormShow();
  void FormClose();  // every way of closing
  void FormHide();
  // False while an add or an install runs: the work would go on behind a closed dialog.
  bool FormCloseQuery() const { return !working_; }
  // After every event, also one that failed: the open dialog keeps the main window disabled.
  void EventEnded();

  void AddFiles1();  // "Файлы выборочно"
  void AddFiles2();  // "Файлы только из папки"
  void AddFiles3();  // "Из папки, включая вложенные папки"
  void AddFiles4();  // "Из архива", where archives are read
  // Files, folders and archives dropped on the list; taken only while acceptsDrops().
  void ListBox1DragDrop(const std::vector<std::string>& paths);
  bool acceptsDrops() const { return open_ && !working_; }

  void Button1Click();      // "&Установить"
  void Button2Click();      // "&Выход"
  void Button3Click();      // "&Добавить" in the default mode
  void Button4Click();      // "&Удалить", "Выделенный файл", the Delete key
  void Button5Click();      // "&Очистить", "Все файлы"
  void ListBox1DblClick();  // also "&Информация"
  void ListBox1MouseMove();
  // The selected row changed (mouse or keys): the preview pane shows its file.
  void ListBox1Click();
  void PopupMenu1Popup();
  void PM1Click();
  void PM2Click();
  void PM3Click();
  void PM4Click();

  const ChosenFiles& chosenFiles() const { return chosen_; }
  bool isOpen() const { return open_; }
  bool isWorking() const { return working_; }

 private:
  void add(AddMode mode);
  void setDefault(AddMode mode);
  void showChosenFiles();
  preview::PaneFile paneFile(std::size_t index) const;

  // The core's work reports through the presenter, which keeps the working state.
  void setProgressMaximum(int value) override;
  void setProgress(int value) override;
  void setStatus(const std::string& text) override;
  void setWorking(bool working) override;

  app::Program& program_;
  InstallDialogView& view_;
  ChosenFiles chosen_;
  FileSearch search_;
  UnpackFolders unpacked_;
  bool open_ = false;
  bool working_ = false;
};

}  // namespace installs
