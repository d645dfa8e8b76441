#pragma once

#include <optional>
#include <string>
#include <string_view>

// Text in the program's data files: one line at a time, in the Windows Cyrillic code page when every
// character of the line fits it, in UTF-8 otherwise, so nothing typed or found is ever turned into '?'.
namespace sys {

// UTF-8 -> cp1251 bytes, or nothing when a character has no place in the code page (or the input is not UTF-8).
std::optional<std::string> toCp1251(std::string_view utf8);
// cp1251 bytes -> UTF-8; never fails (0x98, unassigned in the code page, maps to U+0098 and back).
std::string fromCp1251(std::string_view bytes);

// cp866 bytes (the DOS code page of Russian Windows, in which archivers write zip names) -> UTF-8.
std::string fromCp866(std::string_view bytes);

bool isValidUtf8(std::string_view bytes);

// UTF-16 little-endian bytes (a byte order mark at the start left out) -> UTF-8; nothing when they are
// no such text (an odd count, a lone surrogate).
std::optional<std::string> fromUtf16Le(std::string_view bytes);

// The bytes written for one line (without its line end): cp1251 when every character fits the code page
// and the bytes cannot be mistaken for UTF-8 by a reader; UTF-8 otherwise.
std::string encodeLine(std::string_view utf8);
// The text of one line read from a file: UTF-8 when the bytes are valid UTF-8 with a byte above 127,
// otherwise cp1251.
std::string decodeLine(std::string_view bytes);

// Only a-z become A-Z; every other character, Cyrillic letters included, stays as it is.
std::string upperAscii(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool containsIgnoringAsciiCase(std::string_view haystack, std::string_view needle);

}  // namespace sys
