#pragma once

#include <QWidget>
#include <functional>

class QPushButton;
class TForm1;

namespace app::ui {

// A secondary window of the program: created once at start, shown non-modally and hidden again. While it
// is open it keeps the main window disabled (as a dialog would) unless holdsMainWindow() says otherwise.
// FormShow runs at each showing, FormClose at every way of closing (close box, buttons, close()), FormHide
// after it is hidden. From the keyboard, Esc closes it as its close box does, and Enter presses its default
// button where it has one (a field that takes Enter itself keeps it).
class ProgramWindow : public QWidget {
  Q_OBJECT

 public:
  ProgramWindow(TForm1& main, const QString& caption);
  ~ProgramWindow() override;

  TForm1& main() { return main_; }
  // Whether the main window stays disabled while this window is open.
  virtual bool holdsMainWindow() const { return true; }

  // A slot that runs one of this window's handlers through the main window's guard (I/O errors shown,
  // the main window never left busy).
  template <class Window>
  auto guarded(void (Window::*handler)()) {
    return [this, handler] { guardedCall([this, handler] { (static_cast<Window*>(this)->*handler)(); }); };
  }

 protected:
  virtual void FormShow() {}
  virtual void FormClose() {}
  virtual void FormHide() {}

  // The button Enter presses (none: Enter does nothing here).
  void setDefaultButton(QPushButton* button);

  // A fixed client size, centred on the screen.
  void setFixedClientSize(int width, int height);
  void guardedCall(const std::function<void()>& handler);

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* defaultButton_ = nullptr;
  TForm1& main_;
  bool closing_ = false;
};

}  // namespace app::ui
