#pragma once

#include <memory>
#include <string>

#include "app/ui/ProgramWindow.h"
#include "launchers/run_menu_editor_presenter.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

// The run-menu editor "Меню запуска": the ten entries of the Run menu in a list, the selected one in three
// fields. The controls and their wiring; what the editor does is launchers::RunMenuEditorPresenter's.
class TRunMenu final : public app::ui::ProgramWindow, private launchers::RunMenuEditorView {
  Q_OBJECT

 public:
  explicit TRunMenu(TForm1& main);
  ~TRunMenu() override;

  launchers::RunMenuEditorPresenter& presenter() { return *presenter_; }

  QListWidget* ListBox1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* edit2 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QToolButton* edit2Button1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;

 protected:
  void FormShow() override;
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int selectedRow() const;  // -1 when no row is selected
  QLineEdit* field(Field which) const;

  void showRows(const std::vector<std::string>& rows) override;
  void setFieldText(Field field, const std::string& text) override;
  std::string fieldText(Field field) override;
  void setFieldReadOnly(Field field, bool readOnly) override;
  void closeWindow() override;
  void closeAfterShowing() override;

  std::unique_ptr<launchers::RunMenuEditorPresenter> presenter_;
};
