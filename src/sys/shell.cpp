#include "sys/shell.h"

#include <chrono>
#include <optional>
#include <thread>

#include "sys/paths.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace sys {

std::vector<std::string> splitParams(const std::string& params) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (std::size_t i = 0; i < params.size(); ++i) {
    const char c = params[i];
    if (quote) {
      if (c == quote) {
        quote = 0;
      } else if (c == '\\' && quote == '"' && i + 1 < params.size() &&
                 (params[i + 1] == '"' || params[i + 1] == '\\')) {
        word += params[++i];
      } else {
        word += c;
      }
    } else if (c == '"' || c == '\'') {
      quote = c;
      inWord = true;
    } else if (c == '\\' && i + 1 < params.size()) {
      word += params[++i];
      inWord = true;
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

void sleepMs(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

#ifdef _WIN32
namespace {

class WindowsShell final : public Shell {
 public:
  void open(const std::string& file, const std::string& params, const std::string& workFolder,
            ShowCommand show) override {
    if (file.empty()) return;
    const std::wstring wideFile = toWide(file);
    const std::wstring wideParams = toWide(params);
    const std::wstring wideFolder = toWide(workFolder);
    ShellExecuteW(nullptr, nullptr, wideFile.c_str(), params.empty() ? nullptr : wideParams.c_str(),
                  workFolder.empty() ? nullptr : wideFolder.c_str(), static_cast<int>(show));
  }
};

class WindowsWindowFinder final : public WindowFinder {
 public:
  bool exists(const std::string& title) override { return FindWindowW(nullptr, toWide(title).c_str()) != nullptr; }

  bool raise(const std::string& title) override {
    HWND window = FindWindowW(nullptr, toWide(title).c_str());
    if (!window) return false;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    // A window with a dialog open over it takes no input: the dialog comes to the front instead.
    HWND popup = GetLastActivePopup(window);
    if (!popup || !IsWindowVisible(popup) || !IsWindowEnabled(popup)) popup = window;
    // Allowed to a program the user has just started (its starter was in the foreground).
    SetForegroundWindow(popup);
    return true;
  }
};

}  // namespace

std::unique_ptr<Shell> systemShell() { return std::make_unique<WindowsShell>(); }
std::unique_ptr<WindowFinder> systemWindowFinder() { return std::make_unique<WindowsWindowFinder>(); }

#else
namespace {

bool isExecutableFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Starts argv detached (double fork, so no zombie is left and nothing waits), in folder when given.
void spawnDetached(const std::vector<std::string>& argv, const std::string& folder) {
  const pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    setsid();
    if (fork() != 0) _exit(0);
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(127);
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      dup2(null, STDIN_FILENO);
      if (null > STDERR_FILENO) ::close(null);
    }
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

class PosixShell final : public Shell {
 public:
  void open(const std::string& file, const std::string& params, const std::string& workFolder, ShowCommand) override {
    if (file.empty()) return;
    std::vector<std::string> argv;
    if (isExecutableFile(file)) {
      // A bare name would be looked up in PATH by execvp; a file that exists here is meant.
      argv.push_back(file.find('/') == std::string::npos ? "./" + file : file);
      for (auto& word : splitParams(params)) argv.push_back(std::move(word));
    } else {
      argv = {"xdg-open", file};
    }
    spawnDetached(argv, workFolder);
  }
};

// Finds top-level windows by title on an X display, looking into the frames a window manager adds.
// The connection is made once and kept, and the requests for a whole level of windows are sent before
// their replies are read: the waits for a utility's window look every few milliseconds, and a desktop
// has hundreds of windows.
class XcbWindowFinder final : public WindowFinder {
 public:
  ~XcbWindowFinder() override { disconnect(); }

  bool exists(const std::string& title) override { return find(title).has_value(); }

  bool raise(const std::string& title) override {
    const auto window = find(title);
    if (!window) return false;
    // A dialog the window's program has open over it (transient for it) is what takes the input.
    const auto dialog = shownDialogOf(*window);
    const xcb_window_t front = dialog.value_or(*window);
    // The window manager activates it: raised, focused, and shown again when minimised. The source 2 says
    // the request is the user's (as from a pager), which focus-stealing prevention lets through.
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = front;
    event.type = atom("_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 2;
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection_, 0, rootOf(front),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    // With no window manager nobody answers that; the windows are put on top of their siblings here, the
    // dialog last (a window manager takes this as a request of its own).
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection_, *window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    if (dialog) xcb_configure_window(connection_, *dialog, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    // A round trip, so every request is on the server before the program goes.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return true;
  }

 private:
  // The window with the title, the client's own (not a window manager's frame around it).
  std::optional<xcb_window_t> find(const std::string& title) {
    if (!connect()) return std::nullopt;
    std::vector<xcb_window_t> level;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (; screens.rem; xcb_screen_next(&screens)) level.push_back(screens.data->root);
    // The roots' children, and two levels below them, where window managers put the clients.
    std::optional<xcb_window_t> found;
    for (int depth = 0; depth < 3 && !found && !level.empty(); ++depth) {
      level = children(level);
      found = firstTitled(level, title);
    }
    // A connection the server has dropped is made again at the next lookup.
    if (xcb_connection_has_error(connection_)) disconnect();
    return found;
  }

  // A shown window transient for owner, among the windows at the levels the lookup by title searches.
  std::optional<xcb_window_t> shownDialogOf(xcb_window_t owner) {
    std::vector<xcb_window_t> level{rootOf(owner)};
    for (int depth = 0; depth < 3 && !level.empty(); ++depth) {
      level = children(level);
      std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_window_attributes_cookie_t>> cookies;
      for (xcb_window_t window : level) {
        cookies.emplace_back(xcb_get_property(connection_, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
                             xcb_get_window_attributes(connection_, window));
      }
      std::optional<xcb_window_t> found;
      for (std::size_t i = 0; i < cookies.size(); ++i) {
        xcb_get_property_reply_t* transient = xcb_get_property_reply(connection_, cookies[i].first, nullptr);
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(connection_, cookies[i].second, nullptr);
        const bool forOwner = transient && transient->type == XCB_ATOM_WINDOW &&
                              xcb_get_property_value_length(transient) == 4 &&
                              *static_cast<const xcb_window_t*>(xcb_get_property_value(transient)) == owner;
        if (!found && forOwner && attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) found = level[i];
        std::free(transient);
        std::free(attributes);
      }
      if (found) return found;
    }
    return std::nullopt;
  }

  xcb_window_t rootOf(xcb_window_t window) {
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr);
    const xcb_window_t root = tree ? tree->root : xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    std::free(tree);
    return root;
  }

  bool connect() {
    if (connection_) return true;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return false;
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) {
      disconnect();
      return false;
    }
    netWmName_ = atom("_NET_WM_NAME");
    utf8String_ = atom("UTF8_STRING");
    return true;
  }

  void disconnect() {
    if (connection_) xcb_disconnect(connection_);
    connection_ = nullptr;
  }

  // Interned, not only looked up: a bare X server has no _NET_WM_NAME until some window sets it, and the
  // atom is kept for the life of the connection, so a missing one would hide every later title.
  xcb_atom_t atom(const char* name) {
    auto cookie = xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_generic_error_t* error = nullptr;
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, &error);
    std::free(error);
    const xcb_atom_t result = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return result;
  }

  // The children of every window of parents. Errors (a window gone meanwhile) are taken and dropped, so
  // they do not pile up on the connection.
  std::vector<xcb_window_t> children(const std::vector<xcb_window_t>& parents) {
    std::vector<xcb_query_tree_cookie_t> cookies;
    cookies.reserve(parents.size());
    for (xcb_window_t parent : parents) cookies.push_back(xcb_query_tree(connection_, parent));
    std::vector<xcb_window_t> result;
    for (const auto& cookie : cookies) {
      xcb_generic_error_t* error = nullptr;
      xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection_, cookie, &error);
      std::free(error);
      if (!tree) continue;
      const xcb_window_t* kids = xcb_query_tree_children(tree);
      result.insert(result.end(), kids, kids + xcb_query_tree_children_length(tree));
      std::free(tree);
    }
    return result;
  }

  std::optional<std::string> property(xcb_get_property_cookie_t cookie, xcb_atom_t type) {
    xcb_generic_error_t* error = nullptr;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, &error);
    std::free(error);
    if (!reply) return std::nullopt;
    std::optional<std::string> value;
    if (type != XCB_ATOM_NONE && reply->type == type && reply->format == 8) {
      value = std::string(static_cast<const char*>(xcb_get_property_value(reply)),
                          static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    }
    std::free(reply);
    return value;
  }

  // The first of windows with the title: _NET_WM_NAME (UTF-8) when the window has it, else WM_NAME.
  std::optional<xcb_window_t> firstTitled(const std::vector<xcb_window_t>& windows, const std::string& title) {
    std::vector<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> cookies;
    cookies.reserve(windows.size());
    for (xcb_window_t window : windows) {
      cookies.emplace_back(xcb_get_property(connection_, 0, window, netWmName_, utf8String_, 0, 4096),
                           xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 0, 4096));
    }
    std::optional<xcb_window_t> found;
    for (std::size_t i = 0; i < cookies.size(); ++i) {
      // Every reply is read, also after a match, so none is left waiting on the connection.
      const auto netName = property(cookies[i].first, utf8String_);
      const auto wmName = property(cookies[i].second, XCB_ATOM_STRING);
      if (!found && (netName ? *netName == title : wmName && *wmName == title)) found = windows[i];
    }
    return found;
  }

  xcb_connection_t* connection_ = nullptr;
  xcb_atom_t netWmName_ = XCB_ATOM_NONE;
  xcb_atom_t utf8String_ = XCB_ATOM_NONE;
};

}  // namespace

std::unique_ptr<Shell> systemShell() { return std::make_unique<PosixShell>(); }
std::unique_ptr<WindowFinder> systemWindowFinder() { return std::make_unique<XcbWindowFinder>(); }
#endif

}  // namespace sys
