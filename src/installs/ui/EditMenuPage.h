#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "installs/installations_page_presenter.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TForm1;

// The page "Замена файлов": the installations, the files, date and description of the selected one, and
// the buttons that install, rename and restore. What it does is its presenter's
// (installs/installations_page_presenter.h); the page makes the controls and shows what it is told.
class EditMenuPage final : public QWidget, private installs::InstallationsPageView {
  Q_OBJECT

 public:
  explicit EditMenuPage(TForm1& main);
  using QWidget::setEnabled;

  void EditMenuShow();
  void ListBox1Click();
  void Button1Click();  // "Установить файлы"
  void Button2Click();  // "Восстановить файлы"
  void Button3Click();  // "Переименовать"
  void Button3MouseMove();
  void ListBox1Switch(int row);  // a row's check box, Space on it, or its menu item

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void forward(void (installs::InstallationsPagePresenter::*handler)());

  // installs::InstallationsPageView
  void showInstallations(const std::vector<std::string>& names, const std::vector<bool>& on) override;
  void setSwitchedOn(std::size_t row, bool on) override;
  void showSharing(const std::vector<std::string>& names) override;
  void ListBox1ContextMenu(const QPoint& at);
  void setInstallationName(std::size_t row, const std::string& name) override;
  void showFiles(const std::vector<std::string>& gamePaths) override;
  void setDate(const std::string& text) override;
  void setDescription(const std::string& text) override;
  void setEnabled(Control control, bool enabled) override;
  void focusInstallationList() override;
  void setRenameHint(const std::string& text) override;
  int selectedRow() const override;
  void openInstallDialog() override;
  void openHelp() override;

  TForm1& main_;
  installs::InstallationsPagePresenter presenter_;

  QListWidget* ListBox1 = nullptr;
  QListWidget* ListBox2 = nullptr;
  QListWidget* ListBox3 = nullptr;  // the installations sharing files with the selected one
  QLineEdit* Edit1 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
};
