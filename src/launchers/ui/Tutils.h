#pragma once

#include <memory>

#include "app/ui/ProgramWindow.h"

class QLabel;
class QListWidget;
class QPushButton;
class QStatusBar;

namespace launchers {
class UtilityManagerView;
}

// The utilities manager "Утилиты": the installed utilities by name, installing one through its handshake,
// removing one, and the download page. It has its own status line for the install wait.
class Tutils final : public app::ui::ProgramWindow {
  Q_OBJECT

 public:
  explicit Tutils(TForm1& main);
  ~Tutils() override;

  void Button1Click();  // "&Добавить": install
  void Button2Click();  // "&Удалить": remove
  void Button3Click();  // "&Выход"
  void Button4Click();  // "Скачать из интернета"
  void ListBox1KeyDown(int key);

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
  class View;
  std::unique_ptr<View> view_;
  QLabel* statusPanel_ = nullptr;
  bool installing_ = false;
};
