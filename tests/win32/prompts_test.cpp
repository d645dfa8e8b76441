// The Ui of the Windows program: its real message box and its own input box, answered from inside their
// modal loops as a person would.
#include <gtest/gtest.h>

#include <functional>

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
      {app::Icon::Question, app::Buttons::YesNo, MB_YESNO | MB_ICONQUESTION},
      {app::Icon::Information, app::Buttons::Ok, MB_OK | MB_ICONINFORMATION},
      {app::Icon::None, app::Buttons::Ok, MB_OK},
  };
  for (const auto& c : cases) EXPECT_EQ(winui::messageBoxFlags(c.icon, c.buttons), c.flags);
}

// The icon a real box shows: the system's own icon in its icon control.
HICON iconOfBox(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) continue;
    return reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
  }
  return nullptr;
}

// The program's boxes as a player sees them: a notice the information icon, a question the question
// icon, an error the error icon; never the warning triangle.
TEST(Win32Prompts, NoticesQuestionsAndErrorsShowTheirOwnIcons) {
  const struct {
    const char* caption;
    std::function<void(app::Ui&)> show;
    LPCWSTR icon;
  } cases[] = {
      {"Внимание", [](app::Ui& ui) { app::showAttention(ui, "Файлы восстановлены"); }, IDI_INFORMATION},
      {"Внимание", [](app::Ui& ui) { app::askAttention(ui, "Установка завершена. Запустить Counter-Strike?"); },
       IDI_QUESTION},
      {"Ошибка", [](app::Ui& ui) { app::showError(ui, "Укажите установку"); }, IDI_ERROR},
  };
  for (const auto& c : cases) {
    winui::Win32Ui ui;
    HICON shown = nullptr;
    drive::whenModal([&] {
      HWND box = drive::topLevelWindow(c.caption);
      if (!box) return false;
      shown = iconOfBox(box);
      const int button = GetDlgItem(box, IDNO) ? IDNO : IDOK;
      SendMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
      return true;
    });
    c.show(ui);
    EXPECT_TRUE(drive::modalActionDone()) << c.caption;
    EXPECT_EQ(shown, LoadIconW(nullptr, c.icon)) << c.caption;
  }
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
