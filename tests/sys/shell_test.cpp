// The system's shell and window lookup, for real: a small program built beside the tests is started
// with parameters and a working folder and writes down what it got; a window the test makes is looked up
// by its title. On Windows this is ShellExecuteW and FindWindowW, on Linux a detached start and X11.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "sys/paths.h"
#include "sys/shell.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace {

using testing_support::fileExists;
using testing_support::makeFolder;
using testing_support::readBytes;
using testing_support::TempFolder;
namespace stdfs = std::filesystem;

#ifdef _WIN32
constexpr const char* kRecorder = "start_recorder.exe";
#else
constexpr const char* kRecorder = "start_recorder";
#endif

// A copy of the recorder in folder, so that each test has its own record beside it.
std::string placeRecorder(const std::string& folder) {
  makeFolder(folder);
  const std::string copy = folder + sys::kSep + kRecorder;
  stdfs::copy_file(sys::toPath(sys::executableFolder() + kRecorder), sys::toPath(copy));
  return copy;
}

// The lines the recorder wrote beside itself: its working folder, then its arguments.
std::optional<std::vector<std::string>> waitForRecord(const std::string& folder) {
  const std::string record = folder + sys::kSep + "started.txt";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    if (fileExists(record)) {
      std::vector<std::string> lines;
      const std::string text = readBytes(record);
      std::size_t start = 0;
      for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
      }
      return lines;
    }
    sys::sleepMs(20);
  }
  return std::nullopt;
}

TEST(SystemShell, StartsAProgramWithItsParametersInItsWorkingFolder) {
  TempFolder temp;
  const std::string programFolder = temp / "Утилиты/Запись звука";
  const std::string program = placeRecorder(programFolder);
  const std::string work = temp / "рабочая папка";
  makeFolder(work);

  sys::systemShell()->open(program, R"(varnikit "два слова" -game cstrike)", work, sys::ShowCommand::Hide);
  const auto record = waitForRecord(programFolder);
  ASSERT_TRUE(record) << "the program was not started";
  ASSERT_FALSE(record->empty());
  EXPECT_TRUE(stdfs::equivalent(sys::toPath(record->front()), sys::toPath(work))) << record->front();
  EXPECT_EQ(std::vector<std::string>(record->begin() + 1, record->end()),
            (std::vector<std::string>{"varnikit", "два слова", "-game", "cstrike"}));
}

TEST(SystemShell, WithoutParametersAndFolderTheProgramRunsWhereTheCallerIs) {
  TempFolder temp;
  const std::string programFolder = temp / "hl";
  const std::string program = placeRecorder(programFolder);
  sys::systemShell()->open(program, "", "", sys::ShowCommand::Show);
  const auto record = waitForRecord(programFolder);
  ASSERT_TRUE(record) << "the program was not started";
  EXPECT_EQ(record->size(), 1u) << "no arguments";
  EXPECT_TRUE(stdfs::equivalent(sys::toPath(record->front()), stdfs::current_path())) << record->front();
}

#ifdef _WIN32
TEST(WindowLookup, FindsAWindowByItsTitleUntilItIsDestroyed) {
  const std::string title = "Утилита Varnikit " + std::to_string(GetCurrentProcessId());
  auto finder = sys::systemWindowFinder();
  EXPECT_FALSE(finder->exists(title));
  HWND window = CreateWindowW(L"STATIC", sys::toPath(title).wstring().c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr) << "no window could be made; under Wine without a display the prefix needs the null "
                                "graphics driver, which scripts/test-windows sets";
  EXPECT_TRUE(finder->exists(title)) << "found while hidden too";
  EXPECT_FALSE(finder->exists(title + " 2"));
  EXPECT_FALSE(finder->exists("Утилита Varnikit"));
  ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(finder->raise(title));
  EXPECT_FALSE(IsIconic(window)) << "a minimised window is restored when raised";
  EXPECT_FALSE(finder->raise(title + " 2"));
  DestroyWindow(window);
  EXPECT_FALSE(finder->exists(title));
}
#else
// A top-level X window with the given title, on its own connection.
class XWindow {
 public:
  explicit XWindow(xcb_connection_t* connection) : connection_(connection), id_(xcb_generate_id(connection)) {
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, id_, screen->root, 0, 0, 200, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  }
  void setProperty(const char* name, const char* type, const std::string& value) {
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, id_, atom(name), atom(type), 8,
                        static_cast<uint32_t>(value.size()), value.data());
    sync();
  }
  void destroy() {
    xcb_destroy_window(connection_, id_);
    sync();
  }

 private:
  xcb_atom_t atom(const char* name) {
    auto* reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return result;
  }
  // A round trip: everything sent before is done on the server.
  void sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }

  xcb_connection_t* connection_;
  xcb_window_t id_;
};

TEST(WindowLookup, FindsAWindowByItsTitleUntilItIsDestroyed) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) GTEST_SKIP() << "needs an X display; scripts/run-tests gives the tests one (Xvfb)";
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    GTEST_SKIP() << "the X display " << display << " cannot be reached";
  }
  const std::string suffix = " " + std::to_string(getpid());
  const std::string utf8Title = "Утилита Varnikit" + suffix;
  const std::string latinTitle = "Plain utility" + suffix;
  auto finder = sys::systemWindowFinder();
  EXPECT_FALSE(finder->exists(utf8Title));

  XWindow modern(connection);
  modern.setProperty("_NET_WM_NAME", "UTF8_STRING", utf8Title);
  XWindow old(connection);
  old.setProperty("WM_NAME", "STRING", latinTitle);
  EXPECT_TRUE(finder->exists(utf8Title));
  EXPECT_TRUE(finder->exists(latinTitle)) << "a window with only the old title property";
  EXPECT_FALSE(finder->exists("Утилита Varnikit"));

  modern.destroy();
  old.destroy();
  EXPECT_FALSE(finder->exists(utf8Title));
  EXPECT_FALSE(finder->exists(latinTitle));
  xcb_disconnect(connection);
}
#endif

}  // namespace
