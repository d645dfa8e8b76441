#include "installs/names.h"

#include <array>
#include <string>

#include "installs/store.h"
#include "sys/encoding.h"

namespace installs {
namespace {

bool isForbiddenCharacter(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
      return true;
    default:
      return false;
  }
}

// U+0080..U+009F, the second set of control characters, are C2 80..C2 9F in UTF-8.
bool hasC1Control(std::string_view name) {
  for (std::size_t i = 0; i + 1 < name.size(); ++i) {
    const auto lead = static_cast<unsigned char>(name[i]);
    const auto next = static_cast<unsigned char>(name[i + 1]);
    if (lead == 0xC2 && next >= 0x80 && next <= 0x9F) return true;
  }
  return false;
}

bool isDeviceName(std::string_view name) {
  // Windows takes "con.txt" and "con .txt" for the device as well: the part before the first dot, with
  // blanks at its end dropped, decides.
  std::string_view stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
  const std::string upper = sys::upperAscii(stem);
  static const std::array<const char*, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  for (const char* device : kPlain) {
    if (upper == device) return true;
  }
  if (upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT"))) {
    return upper[3] >= '1' && upper[3] <= '9';
  }
  // COM¹..COM³ and LPT¹..LPT³ are devices too on current Windows.
  if (upper.size() == 5 && (upper.starts_with("COM") || upper.starts_with("LPT"))) {
    const std::string_view digit = std::string_view(upper).substr(3);
    return digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
  }
  return false;
}

}  // namespace

bool isValidInstallationName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    if (isForbiddenCharacter(static_cast<unsigned char>(c))) return false;
  }
  if (hasC1Control(name)) return false;
  if (name.back() == '.' || name.back() == ' ') return false;  // also "." and ".."
  return !isDeviceName(name);
}

bool isValidNewInstallationName(std::string_view name) {
  // "files.dat" as a folder would stand where the register belongs.
  return isValidInstallationName(name) && !Store::isReservedName(std::string(name));
}

}  // namespace installs
