#pragma once

#include <memory>

#include "app/options_presenter.h"
#include "app/ui/ProgramWindow.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

// The settings dialog "Настройки" (app::OptionsPresenter does what it does).
class TOptions final : public app::ui::ProgramWindow, private app::OptionsView {
  Q_OBJECT

 public:
  explicit TOptions(TForm1& main);
  ~TOptions() override;

  void Button1Click();  // "&OK": take the fields over, write the settings, close
  void Button2Click();  // "Обновить": close, show the file list page, scan, refill it
  void Button3Click();  // "&Выход": close without taking anything over
  void Button4Click();  // "Определить автоматически"
  void Button5Click();  // "Проверить"
  void AHMLookupEdit1Button1Click();  // browse for the game folder
  void AHMLookupEdit2Button1Click();  // browse for the launcher

  QLineEdit* AHMLookupEdit1 = nullptr;  // game folder
  QLineEdit* AHMLookupEdit2 = nullptr;  // launcher
  QLineEdit* Edit1 = nullptr;           // launcher parameters
  QToolButton* AHMLookupEdit1Button1 = nullptr;
  QToolButton* AHMLookupEdit2Button1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QPushButton* Button5 = nullptr;
  QRadioButton* Update1 = nullptr;
  QRadioButton* Update2 = nullptr;
  QRadioButton* Update3 = nullptr;
  QRadioButton* Update4 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;

 protected:
  void FormShow() override;
  void FormHide() override;
  void FormClose() override;

 private:
  void buildGameGroup();
  void buildListGroup();
  QLineEdit* addField(QGroupBox* group, const char* name, const char* label, int top, int width);
  QToolButton* addBrowseButton(QGroupBox* group, const char* name, const char* accessibleName, int top);
  QPushButton* addButton(QWidget* parent, const char* name, const char* caption, const QRect& geometry);
  // The view of the presenter.
  void setFieldText(Field field, const std::string& text) override;
  std::string fieldText(Field field) const override;
  void focusField(Field field) override;
  void setUpdateChoice(const std::string& choice) override;
  std::string updateChoice() const override;
  void setLastUpdateText(const std::string& text) override;
  void setRefreshHint(const std::string& text) override;
  void setRefreshEnabled(bool enabled) override;
  void closeWindow() override;
  void closeProgram() override;
  void holdActivation() override;
  void releaseActivation() override;
  void showFilesListPage() override;
  void refreshFilesList() override;
  QLineEdit* field(Field field) const;

  // The window handlers run through the main window's guard.
  void connectClick(QPushButton* button, void (TOptions::*handler)());

  QGroupBox* GroupBox1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  std::unique_ptr<app::OptionsPresenter> presenter_;
};
