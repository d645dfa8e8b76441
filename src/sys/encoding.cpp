#include "sys/encoding.h"

#include <array>
#include <cstdint>

namespace sys {
namespace {

// Code points of the bytes 0x80..0xFF of the Windows Cyrillic code page. 0x98 is unassigned there; it
// maps to U+0098 so that every byte survives a round trip.
constexpr std::array<char32_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

std::optional<unsigned char> cp1251Byte(char32_t cp) {
  if (cp < 0x80) return static_cast<unsigned char>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<unsigned char>(0xC0 + (cp - 0x0410));
  for (std::size_t i = 0; i < 0x40; ++i) {  // the irregular part 0x80..0xBF
    if (kHighHalf[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; advances i. Nothing for an invalid sequence.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (i + length > text.size()) return std::nullopt;
  for (int k = 1; k < length; ++k) {
    const unsigned char c = byte(i + k);
    if ((c & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (c & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  i += length;
  return cp;
}

bool hasHighByte(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> toCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto cp = nextCodePoint(utf8, i);
    if (!cp) return std::nullopt;
    const auto b = cp1251Byte(*cp);
    if (!b) return std::nullopt;
    out += static_cast<char>(*b);
  }
  return out;
}

namespace {

// Bytes of a single-byte code page, its upper half (0x80-0xFF) given as code points -> UTF-8.
std::string decodeSingleByte(std::string_view bytes, const std::array<char32_t, 128>& highHalf) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      appendUtf8(out, highHalf[b - 0x80]);
    }
  }
  return out;
}

// cp866: 0x80-0xAF are А-Я and а-п, 0xE0-0xEF р-я; between them box drawing; then Ё ё Є є Ї ї Ў ў and signs.
constexpr std::array<char32_t, 128> cp866HighHalf() {
  constexpr char32_t boxes[48] = {0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580};
  constexpr char32_t last[16] = {0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
                                 0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0};
  std::array<char32_t, 128> high{};
  for (std::size_t i = 0; i < 48; ++i) high[i] = 0x0410 + static_cast<char32_t>(i);
  for (std::size_t i = 0; i < 48; ++i) high[48 + i] = boxes[i];
  for (std::size_t i = 0; i < 16; ++i) high[96 + i] = 0x0440 + static_cast<char32_t>(i);
  for (std::size_t i = 0; i < 16; ++i) high[112 + i] = last[i];
  return high;
}
constexpr std::array<char32_t, 128> kCp866HighHalf = cp866HighHalf();

}  // namespace

std::string fromCp1251(std::string_view bytes) { return decodeSingleByte(bytes, kHighHalf); }

std::string fromCp866(std::string_view bytes) { return decodeSingleByte(bytes, kCp866HighHalf); }

bool isValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (!nextCodePoint(bytes, i)) return false;
  }
  return true;
}

std::string encodeLine(std::string_view utf8) {
  if (!hasHighByte(utf8)) return std::string(utf8);
  // A cp1251 line whose bytes happen to form valid UTF-8 ("ВЁ" is C2 A8, which is also "¨") would be read
  // back as something else; such a line is written in UTF-8, which reads back as it was.
  if (auto cp1251 = toCp1251(utf8); cp1251 && !isValidUtf8(*cp1251)) return *cp1251;
  return std::string(utf8);
}

std::string decodeLine(std::string_view bytes) {
  if (!hasHighByte(bytes)) return std::string(bytes);
  if (isValidUtf8(bytes)) return std::string(bytes);
  return fromCp1251(bytes);
}

std::string upperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool containsIgnoringAsciiCase(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return true;
  return upperAscii(haystack).find(upperAscii(needle)) != std::string::npos;
}

std::optional<std::string> fromUtf16Le(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  std::string out;
  std::size_t i = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE' ? 2 : 0;
  const auto unit = [&](std::size_t at) {
    return static_cast<char32_t>(static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8));
  };
  for (; i < bytes.size(); i += 2) {
    char32_t cp = unit(i);
    if (cp >= 0xDC00 && cp < 0xE000) return std::nullopt;
    if (cp >= 0xD800 && cp < 0xDC00) {
      if (i + 3 >= bytes.size()) return std::nullopt;
      const char32_t low = unit(i + 2);
      if (low < 0xDC00 || low >= 0xE000) return std::nullopt;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    appendUtf8(out, cp);
  }
  return out;
}

}  // namespace sys
