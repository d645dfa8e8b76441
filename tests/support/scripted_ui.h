#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ui.h"

namespace testing_support {

// A Ui that answers from a script. Each prompt must be expected, in order, with its exact caption and
// text; an unexpected prompt fails the test. Every prompt and status change is recorded.
class ScriptedUi : public app::Ui {
 public:
  struct Prompt {
    std::string kind;  // "message", "input", "files", "folder"
    std::string caption;
    std::string text;
  };

  ~ScriptedUi() override;

  // Expectations, answered in the order given.
  ScriptedUi& expectMessage(const std::string& caption, const std::string& text, app::Answer answer = app::Answer::Ok);
  ScriptedUi& expectError(const std::string& text) { return expectMessage("Ошибка", text); }
  ScriptedUi& expectAttention(const std::string& text, app::Answer answer = app::Answer::Ok) {
    return expectMessage("Внимание", text, answer);
  }
  // A box whose caption is known but whose text is the system's own (an I/O error); check it in prompts.
  ScriptedUi& expectAnyMessage(const std::string& caption);
  ScriptedUi& expectInput(const std::string& caption, const std::string& prompt, std::optional<std::string> answer);
  ScriptedUi& expectFiles(const std::string& title, std::vector<std::string> answer);
  ScriptedUi& expectFolder(const std::string& caption, std::optional<std::string> answer);
  // Called instead of answering a message (e.g. to change files while a box is open).
  ScriptedUi& onNextMessage(std::function<void()> action);

  bool allAnswered() const { return script_.empty(); }
  void verifyAllAnswered();

  app::Answer messageBox(const std::string& caption, const std::string& text, app::Icon icon,
                         app::Buttons buttons) override;
  std::optional<std::string> inputBox(const std::string& caption, const std::string& prompt,
                                      const std::string& value) override;
  std::vector<std::string> chooseFiles(const app::FileRequest& request) override;
  std::optional<std::string> chooseFolder(const std::string& caption, const std::string& prompt,
                                          const std::string& initialFolder) override;
  void processEvents() override {
    ++eventsProcessed;
    if (onProcessEvents) onProcessEvents();
  }
  void setStatusText(const std::string& text) override {
    statusText = text;
    statusHistory.push_back(text);
  }
  // The busy state and a hold keep the main window disabled each until its own owner ends it.
  void setBusy(bool isBusy) override {
    busy = isBusy;
    mainWindowEnabled = !busy && !held;
  }
  void setMainWindowEnabled(bool enabled) override {
    held = !enabled;
    mainWindowEnabled = !busy && !held;
  }
  void focusMainWindow() override { ++focusRequests; }

  std::vector<Prompt> prompts;           // every prompt shown, in order
  std::vector<std::string> inputDefaults;  // the pre-filled value of every input box
  std::vector<app::FileRequest> fileRequests;
  std::vector<std::string> folderRequests;  // the folder each folder chooser opened at
  std::vector<app::Icon> icons;          // the icon of every message box
  std::string statusText;
  std::vector<std::string> statusHistory;
  bool busy = false;
  bool held = false;
  bool mainWindowEnabled = true;
  int eventsProcessed = 0;
  int focusRequests = 0;
  std::function<void()> onProcessEvents;

 private:
  struct Step {
    Prompt prompt;
    app::Answer answer = app::Answer::Ok;
    std::optional<std::string> text;
    std::vector<std::string> files;
    std::function<void()> action;
    bool anyText = false;
  };
  Step take(const Prompt& prompt);
  std::deque<Step> script_;
  std::function<void()> nextMessageAction_;
};

}  // namespace testing_support
