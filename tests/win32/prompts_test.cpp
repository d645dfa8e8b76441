// The Ui of the Windows program: its real message box and its own input box, answered from inside their
// modal loops as a person would.
#include <gtest/gtest.h>

#include "win32/input_box.h"
#include "win32/support/window_driver.h"
#include "win32/text.h"
#include "win32/win32_ui.h"

namespace {

namespace drive = testing_support::win32;

TEST(Win32Prompts, MessageBoxCarriesCaptionTextAndAnswer) {
  winui::Win32Ui ui;
  std::string shownText;
  drive::whenModal([&] {
    HWND box = drive::topLevelWindow("Внимание");
    if (!box) return false;
    shownText = drive::text(GetDlgItem(box, 0xFFFF));
    SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
    return true;
  });
  const app::Answer answer = ui.messageBox("Внимание", "Восстановить файлы?", app::Icon::Warning, app::Buttons::YesNo);
  EXPECT_TRUE(drive::modalActionDone());
  EXPECT_EQ(answer, app::Answer::No);
  EXPECT_EQ(shownText, "Восстановить файлы?");
  EXPECT_FALSE(ui.promptOpen());
}

TEST(Win32Prompts, BoxFlagsFollowIconAndButtons) {
  const struct {
    app::Icon icon;
    app::Buttons buttons;
    UINT flags;
  } cases[] = {
      {app::Icon::Error, app::Buttons::Ok, MB_OK | MB_ICONERROR},
      {app::Icon::Warning, app::Buttons::YesNo, MB_YESNO | MB_ICONWARNING},
      {app::Icon::Information, app::Buttons::Ok, MB_OK | MB_ICONINFORMATION},
      {app::Icon::None, app::Buttons::Ok, MB_OK},
  };
  for (const auto& c : cases) EXPECT_EQ(winui::messageBoxFlags(c.icon, c.buttons), c.flags);
}

TEST(Win32Prompts, InputBoxAnswersTheTypedTextOrNothing) {
  const struct {
    const char* typed;
    int button;  // IDOK or IDCANCEL, or 0 for the close box
    std::optional<std::string> answer;
  } cases[] = {
      {"Модели CT", IDOK, "Модели CT"},
      {"", IDOK, ""},
      {"Модели CT", IDCANCEL, std::nullopt},
      {"Модели CT", 0, std::nullopt},
  };
  for (const auto& c : cases) {
    winui::Win32Ui ui;
    std::string caption, prompt, value;
    drive::whenModal([&] {
      HWND box = drive::topLevelWindow("Новая установка");
      if (!box) return false;
      prompt = drive::text(GetDlgItem(box, winui::InputBox::Prompt));
      value = drive::text(GetDlgItem(box, winui::InputBox::Field));
      SetWindowTextW(GetDlgItem(box, winui::InputBox::Field), winui::wide(c.typed).c_str());
      if (c.button) {
        SendMessageW(GetDlgItem(box, c.button), BM_CLICK, 0, 0);
      } else {
        SendMessageW(box, WM_CLOSE, 0, 0);
      }
      return true;
    });
    const auto answer = ui.inputBox("Новая установка", "Введите название установки", "Установка 1");
    EXPECT_TRUE(drive::modalActionDone());
    EXPECT_EQ(answer, c.answer) << c.typed << " " << c.button;
    EXPECT_EQ(prompt, "Введите название установки");
    EXPECT_EQ(value, "Установка 1");
  }
}

TEST(Win32Prompts, InputBoxGivesItsOwnerBackEnabled) {
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
  winui::InputBox box(owner, "Имя", "Имя:", "");
  drive::whenModal([&] {
    EXPECT_FALSE(IsWindowEnabled(owner));
    SendMessageW(GetDlgItem(box.hwnd(), IDOK), BM_CLICK, 0, 0);
    return true;
  });
  EXPECT_EQ(box.runModal(), std::optional<std::string>(""));
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

TEST(Win32Text, Utf8AndUtf16RoundTrip) {
  for (const std::string text : {std::string(""), std::string("Замена файлов"), std::string("C:\\Игры\\模型\\é.mdl"),
                                 std::string("\xF0\x9F\x8E\xAE")}) {
    EXPECT_EQ(winui::narrow(winui::wide(text)), text);
  }
  EXPECT_EQ(winui::wide("Ёж"), std::wstring(L"\u0401\u0436"));
}

}  // namespace
