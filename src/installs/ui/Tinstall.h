#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/ui/ProgramWindow.h"
#include "installs/check.h"
#include "installs/dialog.h"
#include "installs/dialog_view.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

// The install dialog "Установка файлов": new files are gathered, matched to the game files they replace
// and installed under a name. The work is the core's (installs/dialog.h, installs/install.h); the dialog
// gathers what the person does and shows the outcome.
class Tinstall final : public app::ui::ProgramWindow, private installs::DialogView {
  Q_OBJECT

 public:
  explicit Tinstall(TForm1& main);
  // A program ended with the dialog open leaves no unpacked files either.
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
  void PopupMenu1Popup();
  void PM1Click();
  void PM2Click();
  void PM3Click();
  void PM4Click();

  const installs::ChosenFiles& chosenFiles() const { return chosen_; }

 protected:
  void FormShow() override;
  void FormClose() override;
  void FormHide() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Not while an add or an install runs: the work would go on behind a closed dialog.
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildMenu(QMenuBar* bar);
  QPushButton* addButton(const char* name, const QString& caption, const char* hint, void (Tinstall::*handler)());
  // Runs a handler through the main window's guard; afterwards the dialog takes input again and, while
  // it is open, the main window stays disabled.
  void run(const std::function<void()>& handler);
  void add(installs::AddMode mode);
  // Runs one add of the core, the list shown afresh afterwards.
  void addWith(const std::function<void()>& core);
  bool acceptsDrop(QEvent* event) const;
  void setDefaultMode(installs::AddMode mode);
  void showChosenFiles();
  std::optional<std::size_t> selectedIndex() const;

  void setProgressMaximum(int value) override;
  void setProgress(int value) override;
  void setStatus(const std::string& text) override;
  void setWorking(bool working) override;

  installs::ChosenFiles chosen_;
  installs::FileSearch search_;
  installs::UnpackFolders unpacked_;
  bool working_ = false;

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
  QMenu* PopupMenu1 = nullptr;
  QAction* PM1 = nullptr;
  QAction* PM2 = nullptr;
  QAction* PM3 = nullptr;
  QAction* PM4 = nullptr;
};
