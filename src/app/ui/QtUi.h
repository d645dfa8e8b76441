#pragma once

#include <QString>
#include <functional>

#include "app/main_window_state.h"
#include "app/ui.h"

class QLabel;
class QWidget;

namespace app::ui {

inline QString q(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string s(const QString& text) { return text.toStdString(); }

// The Ui of the real program: Qt message boxes, input boxes and choosers, the main window's status line
// and its busy state.
class QtUi final : public Ui {
 public:
  QtUi() = default;
  void attach(QWidget* mainWindow, QLabel* statusLine);
  // Boxes and choosers go to prompts instead of Qt dialogs (tests script them); the status line and
  // the busy state stay real.
  void setPrompts(Ui* prompts) { prompts_ = prompts; }

  Answer messageBox(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) override;
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  std::vector<std::string> chooseFiles(const FileRequest& request) override;
  std::optional<std::string> chooseFolder(const std::string& caption, const std::string& prompt,
                                          const std::string& initialFolder) override;
  void processEvents() override;
  void setStatusText(const std::string& text) override;
  void setBusy(bool busy) override;
  void setMainWindowEnabled(bool enabled) override;
  void focusMainWindow() override;

  bool busy() const { return state_.busy(); }
  bool held() const { return state_.held(); }
  // A third owner of the disabled main window: open dialogs, asked each time the state is worked out.
  void setDialogsOpen(std::function<bool()> dialogsOpen) { dialogsOpen_ = std::move(dialogsOpen); }
  // After an error has ended a handler: neither busy nor held; only an open dialog still disables.
  void releaseMainWindow();
  // Applies the state to the window: enabled when no owner keeps it disabled.
  void updateMainWindow();

 private:
  QWidget* dialogParent() const;
  static void showHourglass(bool on);
  Ui* prompts_ = nullptr;
  QWidget* mainWindow_ = nullptr;
  QLabel* statusLine_ = nullptr;
  std::function<bool()> dialogsOpen_;
  MainWindowState state_;
};

}  // namespace app::ui
