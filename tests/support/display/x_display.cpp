#include "support/display/x_display.h"

#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace testing_support {

namespace {

// A connection of the test's own, beside the toolkit's.
struct Connection {
  Connection() : connection(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(connection)) throw std::runtime_error("no X display");
  }
  ~Connection() { xcb_disconnect(connection); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  xcb_atom_t atom(const std::string& name) const {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(name.size()), name.c_str()),
                              nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }

  xcb_connection_t* connection;
};

}  // namespace

std::string windowManagerTitle(unsigned long window) {
  const Connection x;
  const xcb_get_property_cookie_t cookie = xcb_get_property(
      x.connection, 0, static_cast<xcb_window_t>(window), x.atom("_NET_WM_NAME"), x.atom("UTF8_STRING"), 0, 4096);
  std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
      xcb_get_property_reply(x.connection, cookie, nullptr), &std::free);
  if (!reply) return {};
  const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply.get()));
  return std::string(bytes, static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<std::string> stackedTitles() {
  const Connection x;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.connection)).data;
  std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
      xcb_query_tree_reply(x.connection, xcb_query_tree(x.connection, screen->root), nullptr), &std::free);
  std::vector<std::string> titles;
  if (!tree) return titles;
  const xcb_window_t* children = xcb_query_tree_children(tree.get());
  for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
    const std::string title = windowManagerTitle(children[i]);
    if (!title.empty()) titles.push_back(title);
  }
  return titles;
}

namespace {

// One fake input event: a motion to global (detail 0: absolute) or a press or release of a button.
void fakeInput(const Connection& x, uint8_t type, uint8_t detail, const QPoint& global) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x.connection)).data;
  const xcb_void_cookie_t cookie =
      xcb_test_fake_input_checked(x.connection, type, detail, XCB_CURRENT_TIME, screen->root,
                                  static_cast<int16_t>(global.x()), static_cast<int16_t>(global.y()), 0);
  std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(xcb_request_check(x.connection, cookie), &std::free);
  if (error) throw std::runtime_error("XTEST refused a pointer event");
}

}  // namespace

void movePointerTo(const QPoint& global) {
  const Connection x;
  fakeInput(x, XCB_MOTION_NOTIFY, 0, global);
}

void clickPointerAt(const QPoint& global) {
  const Connection x;
  fakeInput(x, XCB_MOTION_NOTIFY, 0, global);
  fakeInput(x, XCB_BUTTON_PRESS, 1, global);
  fakeInput(x, XCB_BUTTON_RELEASE, 1, global);
}

}  // namespace testing_support
