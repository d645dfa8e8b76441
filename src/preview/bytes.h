#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Reading a file's bytes without ever stepping outside them: every read names its offset and length and a
// read past the end stops the reader with Damaged, which describe() turns into the file's damage line.
namespace preview::detail {

// Why a file could not be read (one of the texts of texts.h). Thrown by the readers, caught by describe()
// and warnings() alone: nothing leaves the subsystem.
struct Damaged {
  std::string reason;
};

[[noreturn]] void damaged(const std::string& reason);

// The largest picture a reader decodes and the pixels one file may decode in all: enough for any texture,
// sprite or picture of the game, and no more, so that a few random bytes cannot ask for gigabytes.
inline constexpr std::uint64_t kMaxSide = 4096;
inline constexpr std::uint64_t kMaxPixels = 8u * 1024 * 1024;

// a × b without overflow: both factors come from a file, so a product beyond any file size saturates.
inline std::uint64_t times(std::uint64_t a, std::uint64_t b) {
  constexpr std::uint64_t kLimit = std::uint64_t{1} << 40;
  if (a >= kLimit || b >= kLimit) return std::uint64_t{1} << 62;
  const std::uint64_t product = a * b;
  return product > (std::uint64_t{1} << 62) ? std::uint64_t{1} << 62 : product;
}

class Bytes {
 public:
  explicit Bytes(std::string_view bytes) : bytes_(bytes) {}

  std::uint64_t size() const { return bytes_.size(); }
  bool has(std::int64_t offset, std::uint64_t length) const {
    return offset >= 0 && static_cast<std::uint64_t>(offset) <= size() &&
           length <= size() - static_cast<std::uint64_t>(offset);
  }
  // Stops the reader unless [offset, offset + length) lies inside the bytes.
  void need(std::int64_t offset, std::uint64_t length) const;

  std::uint8_t u8(std::int64_t at) const {
    need(at, 1);
    return static_cast<std::uint8_t>(bytes_[static_cast<std::size_t>(at)]);
  }
  std::uint16_t u16(std::int64_t at) const {
    need(at, 2);
    return static_cast<std::uint16_t>(raw(at) | raw(at + 1) << 8);
  }
  std::int16_t i16(std::int64_t at) const { return static_cast<std::int16_t>(u16(at)); }
  std::uint32_t u32(std::int64_t at) const {
    need(at, 4);
    return raw(at) | raw(at + 1) << 8 | raw(at + 2) << 16 | static_cast<std::uint32_t>(raw(at + 3)) << 24;
  }
  std::int32_t i32(std::int64_t at) const { return static_cast<std::int32_t>(u32(at)); }
  float f32(std::int64_t at) const {
    const std::uint32_t bits = u32(at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  // The bytes [at, at + length).
  std::string_view view(std::int64_t at, std::uint64_t length) const {
    need(at, length);
    return bytes_.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(length));
  }
  // A name stored in a fixed field of length bytes, ending at its first zero byte.
  std::string name(std::int64_t at, std::uint64_t length) const {
    const std::string_view field = view(at, length);
    return std::string(field.substr(0, std::min(field.find('\0'), field.size())));
  }
  bool startsWith(std::string_view magic) const { return bytes_.substr(0, magic.size()) == magic; }

 private:
  std::uint32_t raw(std::int64_t at) const { return static_cast<std::uint8_t>(bytes_[static_cast<std::size_t>(at)]); }
  std::string_view bytes_;
};

}  // namespace preview::detail
