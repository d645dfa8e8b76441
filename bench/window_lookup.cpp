// How long one lookup of a window by its title takes on the X display, with a desktop of windows open,
// against a reference measured in the same run: a new connection per lookup and one request answered
// before the next is sent (the simple way). The waits for a utility look every 10 ms, so a lookup must
// cost far less than that.
// Run under a display: xvfb-run -a build/bench/window_lookup
#include <xcb/xcb.h>

#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "sys/shell.h"

namespace {

template <typename F>
double millisecondsEach(int times, F&& work) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < times; ++i) work();
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / times;
}

// The reference: connect, walk three levels below the roots one request at a time, disconnect.
bool titled(xcb_connection_t* c, xcb_window_t window, xcb_atom_t netWmName, xcb_atom_t utf8, const std::string& title) {
  for (auto [name, type] : {std::pair{netWmName, utf8}, std::pair<xcb_atom_t, xcb_atom_t>{XCB_ATOM_WM_NAME, XCB_ATOM_STRING}}) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, xcb_get_property(c, 0, window, name, type, 0, 4096), nullptr);
    if (!reply) continue;
    const bool has = reply->type == type && reply->format == 8;
    const std::string value(static_cast<const char*>(xcb_get_property_value(reply)),
                            static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    std::free(reply);
    if (has) return value == title;
  }
  return false;
}

bool walk(xcb_connection_t* c, xcb_window_t parent, xcb_atom_t netWmName, xcb_atom_t utf8, const std::string& title,
          int depth) {
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr);
  if (!tree) return false;
  const xcb_window_t* kids = xcb_query_tree_children(tree);
  bool found = false;
  for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
    found = titled(c, kids[i], netWmName, utf8, title) || (depth < 2 && walk(c, kids[i], netWmName, utf8, title, depth + 1));
  }
  std::free(tree);
  return found;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t result = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return result;
}

bool referenceLookup(const std::string& title) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME");
  const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
  const bool found = walk(c, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, netWmName, utf8, title, 0);
  xcb_disconnect(c);
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (QGuiApplication::platformName() != "xcb") {
    std::fprintf(stderr, "window_lookup: needs an X display\n");
    return 1;
  }
  for (int windowCount : {0, 40, 200}) {
    std::vector<std::unique_ptr<QWidget>> windows;
    for (int i = 0; i < windowCount; ++i) {
      windows.push_back(std::make_unique<QWidget>());
      windows.back()->setWindowTitle(QString("Окно %1").arg(i));
      windows.back()->show();
    }
    QApplication::processEvents();
    QApplication::sync();

    auto finder = sys::systemWindowFinder();
    const std::string last = QString("Окно %1").arg(windowCount - 1).toStdString();
    bool found = windowCount == 0;
    const double absent = millisecondsEach(200, [&] { finder->exists("Нет такого окна"); });
    const double present = millisecondsEach(200, [&] { found = finder->exists(last) || windowCount == 0; });
    bool referenceFound = windowCount == 0;
    const double referenceAbsent = millisecondsEach(50, [&] { referenceLookup("Нет такого окна"); });
    const double referencePresent =
        millisecondsEach(50, [&] { referenceFound = referenceLookup(last) || windowCount == 0; });
    std::printf("%3d windows: missing title %.3f ms (reference %.3f ms), last window %.3f ms%s (reference %.3f ms%s)\n",
                windowCount, absent, referenceAbsent, present, found ? "" : " NOT FOUND", referencePresent,
                referenceFound ? "" : " NOT FOUND");
  }
  return 0;
}
