#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/ui/ProgramWindow.h"
#include "installs/install_dialog_presenter.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;
namespace preview::ui {
class PreviewPane;
}

// The install dialog "Установка файлов": new files are gathered, matched to the game files they replace
// and installed under a name. What it does is its presenter's (installs/install_dialog_presenter.h);
// the window makes the controls, hands each event on and shows what it is told.
class Tinstall final : public app::ui::ProgramWindow, private installs::InstallDialogView {
  Q_OBJECT

 public:
  explicit Tinstall(TForm1& main);
  using QWidget::setEnabled;
  ~Tinstall() override;

  // The add modes ("Файлы выборочно", "Файлы только из папки", "Из папки, включая вложенные папки",
  // "Из архива"; the last only where archives are read).
  void AddFiles1();
  void AddFiles2();
  void AddFiles3();
  void AddFiles4();
  // Files, folders and archives dropped on the list.
  void ListBox1DragDrop(const std::vector<std::string>& paths);

  void Button1Click();  // "&Установить"
  void Button2Click();  // "&Выход"
  void Button3Click();  // "&Добавить" in the default mode
  void Button4Click();  // "&Удалить"
  void Button5Click();  // "&Очистить"
  void ListBox1DblClick();  // also "&Информация"
  void ListBox1MouseMove();
  void ListBox1Click();  // the selected row changed
  void PopupMenu1Popup();
  void PM1Click();
  void PM2Click();
  void PM3Click();
  void PM4Click();

  const installs::ChosenFiles& chosenFiles() const { return presenter_.chosenFiles(); }
  preview::ui::PreviewPane* pane() const { return pane_; }

 protected:
  void FormShow() override;
  void FormClose() override;
  void FormHide() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenu(QMenuBar* bar);
  QPushButton* addButton(const char* name, const QString& caption, const char* hint,
                         void (installs::InstallDialogPresenter::*handler)());
  // Hands one event to the presenter inside the main window's guard.
  void run(const std::function<void()>& handler);
  void forward(void (installs::InstallDialogPresenter::*handler)());
  bool acceptsDrop(QEvent* event) const;

  // installs::InstallDialogView
  void setProgressMaximum(int value) override;
  void setProgress(int value) override;
  void setStatus(const std::string& text) override;
  void setWorking(bool working) override;
  void showChosenFiles(const std::vector<std::string>& shown, const std::vector<std::string>& destinations) override;
  void setEnabled(Control control, bool enabled) override;
  void setDescription(const std::string& text) override;
  void setArchiveModeOffered(bool offered) override;
  void markDefaultMode(installs::AddMode mode) override;
  void setHintTiming(int pauseMs, int hidePauseMs) override;
  void closeWindow() override;
  void refreshInstallations() override;
  std::string description() const override;
  std::optional<std::size_t> selectedFile() const override;
  bool mainWindowShown() const override;
  preview::PreviewPanePresenter* previewPane() override;
  void setWarningsText(const std::string& text) override;

  installs::InstallDialogPresenter presenter_;

  QListWidget* ListBox1 = nullptr;
  QListWidget* ListBox2 = nullptr;  // the destinations, never shown
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* statusPanel_ = nullptr;
  QLabel* warningsPanel_ = nullptr;  // how many warnings the files give
  preview::ui::PreviewPane* pane_ = nullptr;
  QAction* N9 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* PM1 = nullptr;
  QAction* PM2 = nullptr;
  QAction* PM3 = nullptr;
  QAction* PM4 = nullptr;
};
