#include "app/window_place.h"

#include <algorithm>
#include <charconv>

#include "app/settings.h"

namespace app {

namespace {

const std::vector<std::string>& placeNames() {
  static const std::vector<std::string> names{"WindowLeft", "WindowTop", "WindowWidth", "WindowHeight"};
  return names;
}

std::optional<int> wholeNumber(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<WindowPlace> readWindowPlace(sys::Registry& registry) {
  const auto values = registry.readValues(kProgramKey, placeNames());
  if (!values || values->size() != placeNames().size()) return std::nullopt;
  int numbers[4] = {};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto number = wholeNumber((*values)[i]);
    if (!number) return std::nullopt;
    numbers[i] = *number;
  }
  const WindowPlace place{numbers[0], numbers[1], numbers[2], numbers[3]};
  if (place.width <= 0 || place.height <= 0) return std::nullopt;
  return place;
}

bool writeWindowPlace(sys::Registry& registry, const WindowPlace& place) {
  const int numbers[4] = {place.left, place.top, place.width, place.height};
  std::vector<std::pair<std::string, std::string>> values;
  for (std::size_t i = 0; i < 4; ++i) values.emplace_back(placeNames()[i], std::to_string(numbers[i]));
  return registry.writeValues(kProgramKey, values);
}

bool reachableOnScreens(const WindowPlace& place, const std::vector<ScreenArea>& screens) {
  constexpr int kTitleHeight = 30;
  constexpr int kGrip = 60;
  const int need = std::min(kGrip, place.width);
  return std::any_of(screens.begin(), screens.end(), [&](const ScreenArea& screen) {
    const int left = std::max(place.left, screen.left);
    const int right = std::min(place.left + place.width, screen.left + screen.width);
    const int top = std::max(place.top, screen.top);
    const int bottom = std::min(place.top + kTitleHeight, screen.top + screen.height);
    return right - left >= need && bottom - top >= kTitleHeight / 2;
  });
}

}  // namespace app
