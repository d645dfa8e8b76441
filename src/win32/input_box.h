#pragma once

#include <optional>
#include <string>

#include "win32/window.h"

namespace winui {

// The program's one-line input box: caption, prompt, an edit field holding the value, "OK" and "Отмена".
// Enter answers OK, Escape and the close box cancel. Built in code, owned by the window that asks.
class InputBox final : public Window {
 public:
  enum Control { Prompt = 100, Field = 101 };  // OK and Отмена are IDOK and IDCANCEL

  InputBox(HWND owner, const std::string& caption, const std::string& prompt, const std::string& value);
  ~InputBox() override;

  // Shows the box with its owner disabled and waits for the answer: the typed text, or nothing.
  std::optional<std::string> runModal();
  // The answer so far (set once OK or a cancel has ended the box).
  bool answered() const { return answered_; }
  const std::optional<std::string>& answer() const { return answer_; }

 protected:
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void finish(bool accepted);
  HWND owner_;
  HWND field_ = nullptr;
  bool answered_ = false;
  std::optional<std::string> answer_;
};

}  // namespace winui
