// Sounds (.wav): the RIFF chunks "fmt " (format, channels, rate, bits), "data" (its length) and "cue "
// (the cue points the game loops between).
#include "preview/readers.h"

namespace preview::detail {

Sound readWav(const Bytes& bytes) {
  if (!bytes.startsWith("RIFF") || !bytes.has(8, 4) || bytes.view(8, 4) != "WAVE") damaged(texts::kNoSignature);
  Sound sound;
  bool haveFormat = false;
  std::uint64_t dataBytes = 0;
  std::uint32_t byteRate = 0;
  for (std::int64_t at = 12; bytes.has(at, 8);) {
    const std::string_view id = bytes.view(at, 4);
    const std::uint32_t size = bytes.u32(at + 4);
    const std::int64_t body = at + 8;
    if (id == "fmt ") {
      bytes.need(body, 16);
      sound.format = bytes.u16(body);
      sound.channels = bytes.u16(body + 2);
      sound.rate = static_cast<int>(std::min<std::uint32_t>(bytes.u32(body + 4), 0x7fffffff));
      byteRate = bytes.u32(body + 8);
      sound.bits = bytes.u16(body + 14);
      haveFormat = true;
    } else if (id == "data") {
      bytes.need(body, size);
      dataBytes = size;
    } else if (id == "cue ") {
      const std::uint32_t count = bytes.u32(body);
      if (size < 4 || times(count, 24) > size - 4) damaged(texts::kBadCount);
      bytes.need(body + 4, times(count, 24));
      sound.cuePoints = static_cast<int>(count);
    }
    at = body + size + (size & 1);
  }
  if (!haveFormat) damaged(texts::kNoFormatChunk);
  if (byteRate == 0) byteRate = static_cast<std::uint32_t>(times(times(static_cast<std::uint64_t>(sound.rate), sound.channels), sound.bits) / 8);
  const std::uint64_t ms = byteRate ? dataBytes * 1000 / byteRate : 0;
  sound.lengthMs = static_cast<std::uint32_t>(std::min<std::uint64_t>(ms, 0xffffffffu));
  return sound;
}

void describeWav(const Bytes& bytes, Preview& out) {
  const Sound sound = readWav(bytes);
  out.sound = sound;
  out.facts = {texts::sound(sound.format, sound.channels, sound.rate, sound.bits, sound.lengthMs, sound.cuePoints),
               texts::sizeLine(bytes.size())};
}

}  // namespace preview::detail
