#pragma once

#include <memory>

#include "app/ui/ProgramWindow.h"
#include "launchers/utilities_presenter.h"

class QLabel;
class QListWidget;
class QPushButton;
class QStatusBar;

// The utilities manager "Утилиты": the installed utilities by name, installing one through its handshake,
// removing one, and the download page. It has its own status line for the install wait. The controls and
// their wiring; what the manager does is launchers::UtilitiesPresenter's.
class Tutils final : public app::ui::ProgramWindow, private launchers::UtilitiesView {
  Q_OBJECT

 public:
  explicit Tutils(TForm1& main);
  ~Tutils() override;

  launchers::UtilitiesPresenter& presenter() { return *presenter_; }
  QString statusText() const;

  QListWidget* ListBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QStatusBar* StatusBar1 = nullptr;

 protected:
  void FormShow() override;
  void FormClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  int selectedRow() const;  // -1 when no row is selected
  void showNames(const std::vector<std::string>& names) override;
  void addName(const std::string& name) override;
  void removeRow(int row) override;
  void setStatusText(const std::string& text) override;
  void setManagerEnabled(bool enabled) override;
  void closeWindow() override;
  void closeAfterShowing() override;

  std::unique_ptr<launchers::UtilitiesPresenter> presenter_;
  QLabel* statusPanel_ = nullptr;
};
