#include "support/scripted_ui.h"

#include <gtest/gtest.h>

namespace testing_support {

ScriptedUi::~ScriptedUi() { verifyAllAnswered(); }

void ScriptedUi::verifyAllAnswered() {
  for (const auto& step : script_) {
    ADD_FAILURE() << "expected " << step.prompt.kind << " \"" << step.prompt.caption << "\" / \"" << step.prompt.text
                  << "\" was never shown";
  }
  script_.clear();
}

ScriptedUi& ScriptedUi::expectMessage(const std::string& caption, const std::string& text, app::Answer answer) {
  script_.push_back(Step{{"message", caption, text}, answer, {}, {}, {}});
  return *this;
}

ScriptedUi& ScriptedUi::expectAnyMessage(const std::string& caption) {
  script_.push_back(Step{{"message", caption, "(any text)"}, app::Answer::Ok, {}, {}, {}, true});
  return *this;
}

ScriptedUi& ScriptedUi::expectInput(const std::string& caption, const std::string& prompt,
                                    std::optional<std::string> answer) {
  script_.push_back(Step{{"input", caption, prompt}, app::Answer::Ok, std::move(answer), {}, {}});
  return *this;
}

ScriptedUi& ScriptedUi::expectFiles(const std::string& title, std::vector<std::string> answer) {
  script_.push_back(Step{{"files", title, ""}, app::Answer::Ok, {}, std::move(answer), {}});
  return *this;
}

ScriptedUi& ScriptedUi::expectFolder(const std::string& caption, std::optional<std::string> answer) {
  script_.push_back(Step{{"folder", caption, ""}, app::Answer::Ok, std::move(answer), {}, {}});
  return *this;
}

ScriptedUi& ScriptedUi::onNextMessage(std::function<void()> action) {
  if (!script_.empty()) script_.back().action = std::move(action);
  return *this;
}

ScriptedUi::Step ScriptedUi::take(const Prompt& prompt) {
  prompts.push_back(prompt);
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected " << prompt.kind << " \"" << prompt.caption << "\" / \"" << prompt.text << "\"";
    return Step{prompt, prompt.kind == "message" ? app::Answer::No : app::Answer::Ok, std::nullopt, {}, {}};
  }
  Step step = script_.front();
  script_.pop_front();
  EXPECT_EQ(step.prompt.kind, prompt.kind);
  EXPECT_EQ(step.prompt.caption, prompt.caption);
  if ((prompt.kind == "message" || prompt.kind == "input") && !step.anyText) {
    EXPECT_EQ(step.prompt.text, prompt.text);
  }
  if (step.action) step.action();
  return step;
}

app::Answer ScriptedUi::messageBox(const std::string& caption, const std::string& text, app::Icon icon,
                                   app::Buttons buttons) {
  icons.push_back(icon);
  const Step step = take({"message", caption, text});
  if (buttons == app::Buttons::Ok) return app::Answer::Ok;
  return step.answer == app::Answer::Ok ? app::Answer::No : step.answer;
}

std::optional<std::string> ScriptedUi::inputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& value) {
  inputDefaults.push_back(value);
  return take({"input", caption, prompt}).text;
}

std::vector<std::string> ScriptedUi::chooseFiles(const app::FileRequest& request) {
  fileRequests.push_back(request);
  return take({"files", request.title, ""}).files;
}

std::optional<std::string> ScriptedUi::chooseFolder(const std::string& caption, const std::string& prompt,
                                                    const std::string& initialFolder) {
  folderRequests.push_back(initialFolder);
  return take({"folder", caption, prompt}).text;
}

}  // namespace testing_support
