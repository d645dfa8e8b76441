#include "service/console_presenter.h"

#include "app/program.h"
#include "service/texts.h"
#include "service/variables.h"

namespace service {

// The window as the interpreter sees it: this presenter's list, shown through the view.
class ConsolePresenter::Host final : public ConsoleHost {
 public:
  explicit Host(ConsolePresenter& presenter) : p_(presenter) {}
  void addLine(const std::string& line) override {
    p_.lines_.push_back(line);
    p_.view_.addLine(line);
  }
  void clearLines() override {
    p_.lines_.clear();
    p_.view_.clearLines();
  }
  std::optional<std::string> lastLine() const override {
    if (p_.lines_.empty()) return std::nullopt;
    return p_.lines_.back();
  }
  void showVariables() override { service::showVariables(p_.program_); }
  void closeConsole() override { p_.view_.closeWindow(); }
  void rerunStartUp() override { p_.view_.rerunStartUp(); }
  void closeMainWindow() override { p_.view_.closeMainWindow(); }

 private:
  ConsolePresenter& p_;
};

ConsolePresenter::ConsolePresenter(app::Program& program, ConsoleView& view)
    : program_(program), view_(view), host_(std::make_unique<Host>(*this)) {}

ConsolePresenter::~ConsolePresenter() = default;

void ConsolePresenter::FormShow() {
  program_.ui().setMainWindowEnabled(false);
  program_.ui().setStatusText(texts::kConsoleStatus);
  view_.focusCommandLine();
  view_.setCommandText("");
  host_->clearLines();
}

void ConsolePresenter::FormClose() {
  program_.ui().setMainWindowEnabled(true);
  program_.ui().setStatusText("");
}

void ConsolePresenter::Edit1Change(const std::string& text) {
  const std::string lower = lowerCaseCommand(text);
  if (lower != text) view_.setCommandText(lower);
}

void ConsolePresenter::Edit1KeyDown(int key) {
  if (key != kEnterKey) return;
  const std::string line = lowerCaseCommand(view_.commandText());
  struct EmptiedAfter {
    ConsoleView& view;
    ~EmptiedAfter() { view.setCommandText(""); }
  } emptied{view_};
  runCommand(line, program_, *host_);
}

}  // namespace service
