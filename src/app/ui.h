#pragma once

#include <optional>
#include <string>
#include <vector>

// Everything the core asks of the person at the screen goes through Ui: the windows implement it with
// Qt, tests with a script of expected prompts and answers.
namespace app {

enum class Icon { None, Information, Question, Warning, Error };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct FileRequest {
  std::string title;
  // Filter entries as (name, pattern), e.g. ("exe", "*.exe"). Empty means all files.
  std::vector<std::pair<std::string, std::string>> filters;
  std::string initialFolder;
  bool multiple = false;
};

class Ui {
 public:
  virtual ~Ui() = default;
  virtual Answer messageBox(const std::string& caption, const std::string& text, Icon icon, Buttons buttons) = 0;
  // The typed text, or nothing when the person cancelled.
  virtual std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                              const std::string& value) = 0;
  // Full paths of the chosen files; empty when cancelled.
  virtual std::vector<std::string> chooseFiles(const FileRequest& request) = 0;
  // A real folder, or nothing when cancelled. The chooser opens at initialFolder (none: where it likes).
  virtual std::optional<std::string> chooseFolder(const std::string& caption, const std::string& prompt,
                                                  const std::string& initialFolder) = 0;
  // Lets pending window messages be handled, so windows repaint during long operations.
  virtual void processEvents() = 0;
  // The main window's status line (text only).
  virtual void setStatusText(const std::string& text) = 0;
  // The main window has owners of its disabled state, and each ends only its own: the busy state (the
  // hourglass for the whole program, set and undone by setBusy) and a hold (setMainWindowEnabled(false)
  // until setMainWindowEnabled(true): an open dialog, a utility being started). The window is enabled
  // only when neither is on, so ending the busy state never gives back a window a dialog still holds.
  virtual void setBusy(bool busy) = 0;
  virtual void setMainWindowEnabled(bool enabled) = 0;
  virtual void focusMainWindow() = 0;
};

// The program's standard boxes.
inline constexpr const char* kErrorCaption = "Ошибка";
inline constexpr const char* kAttentionCaption = "Внимание";
inline constexpr const char* kInformationCaption = "Информация";

inline void showError(Ui& ui, const std::string& text) {
  ui.messageBox(kErrorCaption, text, Icon::Error, Buttons::Ok);
}
// A notice under "Внимание": it tells, it does not warn.
inline void showAttention(Ui& ui, const std::string& text) {
  ui.messageBox(kAttentionCaption, text, Icon::Information, Buttons::Ok);
}
inline void showInformation(Ui& ui, const std::string& text) {
  ui.messageBox(kInformationCaption, text, Icon::Information, Buttons::Ok);
}
// A Yes/No question under "Внимание"; true for Yes.
inline bool askAttention(Ui& ui, const std::string& text) {
  return ui.messageBox(kAttentionCaption, text, Icon::Question, Buttons::YesNo) == Answer::Yes;
}

}  // namespace app
