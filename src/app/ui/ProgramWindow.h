#pragma once

#include <QWidget>

class TForm1;

namespace app::ui {

// A secondary window of the program: created once at start, shown non-modally and hidden again. While it
// is open it keeps the main window disabled itself (in FormShow), as a dialog would. FormShow runs at each
// showing, FormClose at every way of closing (close box, buttons, close()), FormHide after it is hidden.
class ProgramWindow : public QWidget {
  Q_OBJECT

 public:
  ProgramWindow(TForm1& main, const QString& caption);

  TForm1& main() { return main_; }

 protected:
  virtual void FormShow() {}
  virtual void FormClose() {}
  virtual void FormHide() {}

  // A fixed client size, centred on the screen.
  void setFixedClientSize(int width, int height);

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  TForm1& main_;
  bool closing_ = false;
};

}  // namespace app::ui
