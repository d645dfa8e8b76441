#include "preview/texts.h"

#include <cmath>
#include <cstdlib>

namespace preview::texts {

namespace {

// A coordinate as the player reads it: whole units, or one decimal where the model has one; never the
// locale's comma, whatever the toolkit set.
std::string coordinate(float value) {
  if (!std::isfinite(value)) return "?";
  const double clamped = std::fmax(-1e9, std::fmin(1e9, static_cast<double>(value)));
  const long long tenths = std::llround(clamped * 10);
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(std::llabs(tenths) / 10);
  if (tenths % 10 != 0) text += "." + std::to_string(std::llabs(tenths) % 10);
  return text;
}

std::string point(const float (&p)[3]) {
  return "(" + coordinate(p[0]) + ", " + coordinate(p[1]) + ", " + coordinate(p[2]) + ")";
}

std::string boxText(const Box& box) { return "от " + point(box.mins) + " до " + point(box.maxs); }

std::string tooLarge(const char* what, const Box& model, const Box& allowed, const std::string& gameFile) {
  return std::string("Габариты ") + what + " " + boxText(model) + " больше допустимых на серверах (" +
         boxText(allowed) + "): игрока отключат с «Bad file " + gameFile + "»";
}

const char* spriteType(int type) {
  switch (type) {
    case 0: return "вертикальный, параллельный экрану";
    case 1: return "вертикальный, обращённый к игроку";
    case 2: return "параллельный экрану";
    case 3: return "ориентированный";
    case 4: return "ориентированный, параллельный экрану";
    default: return "вида " ;
  }
}

const char* spriteFormat(int format) {
  switch (format) {
    case 0: return "обычный";
    case 1: return "аддитивный";
    case 2: return "прозрачный по индексу";
    case 3: return "с прозрачным цветом";
    default: return "формата ";
  }
}

std::string soundFormat(int format) {
  switch (format) {
    case 1: return "PCM";
    case 2: return "ADPCM (Microsoft)";
    case 3: return "IEEE float";
    case 6: return "A-law";
    case 7: return "μ-law";
    case 0x11: return "IMA ADPCM";
    case 0x55: return "MP3";
    default: return "формат " + std::to_string(format);
  }
}

std::string channelsText(int channels) {
  if (channels == 1) return "моно";
  if (channels == 2) return "стерео";
  return "каналов " + std::to_string(channels);
}

std::string seconds(std::uint32_t ms) {
  // Tenths of a second with a decimal comma, as Russian writes them.
  const std::uint32_t tenths = (ms + 50) / 100;
  return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " с";
}

}  // namespace

std::string otherFile(const std::string& extension, std::uint64_t size) {
  return (extension.empty() ? std::string("Файл, ") : "Файл " + extension + ", ") + std::to_string(size) + " байт";
}

std::string sizeLine(std::uint64_t size) { return "Размер: " + std::to_string(size) + " байт"; }

std::string model(const std::string& name, int bones, int sequences, int bodyParts, int textures) {
  return "Модель: «" + name + "», костей " + std::to_string(bones) + ", последовательностей " +
         std::to_string(sequences) + ", частей тела " + std::to_string(bodyParts) + ", текстур " +
         std::to_string(textures);
}

std::string modelBox(const Box& box) { return "габариты " + boxText(box); }

std::string texturesIn(const std::string& companionName, bool found) {
  return "текстуры в «" + companionName + "»" + (found ? "" : " (нет)");
}

std::string sequenceGroups(const std::vector<std::string>& fileNames) {
  std::string text = "группы последовательностей: ";
  for (std::size_t i = 0; i < fileNames.size(); ++i) text += (i ? ", " : "") + fileNames[i];
  return text;
}

std::string sprite(int type, int format, int frames, int width, int height, int colours) {
  std::string typeText = spriteType(type);
  if (type < 0 || type > 4) typeText += std::to_string(type);
  std::string formatText = spriteFormat(format);
  if (format < 0 || format > 3) formatText += std::to_string(format);
  return "Спрайт: " + typeText + ", " + formatText + ", кадров " + std::to_string(frames) + ", " +
         std::to_string(width) + "×" + std::to_string(height) + ", палитра " + std::to_string(colours) + " цветов";
}

std::string bmp(int width, int height, int bits, bool read) {
  return "Рисунок BMP: " + std::to_string(width) + "×" + std::to_string(height) + ", " + std::to_string(bits) +
         " бит" + (bits == 8 ? " (палитра)" : "") + (read ? "" : ", такой BMP не показывается");
}

std::string tga(int width, int height, int bits, bool rle, bool read) {
  return "Рисунок TGA: " + std::to_string(width) + "×" + std::to_string(height) + ", " + std::to_string(bits) +
         " бит, " + (rle ? "сжатие RLE" : "без сжатия") + (read ? "" : ", такой TGA не показывается");
}

std::string wad(int textures, int otherLumps) {
  return "Набор текстур WAD3: текстур " + std::to_string(textures) +
         (otherLumps ? ", других элементов " + std::to_string(otherLumps) : "");
}

std::string sound(int format, int channels, int rate, int bits, std::uint32_t lengthMs, int cuePoints) {
  return "Звук: " + soundFormat(format) + ", " + channelsText(channels) + ", " + std::to_string(rate) + " Гц, " +
         std::to_string(bits) + " бит, " + seconds(lengthMs) + ", меток " + std::to_string(cuePoints);
}

std::string frameName(int index) { return "кадр " + std::to_string(index); }

std::string damaged(const std::string& kindName, const std::string& reason) {
  return "Файл повреждён (" + kindName + "): " + reason;
}

std::string wrongVersion(int version, int expected) {
  return "версия " + std::to_string(version) + ", игра читает " + std::to_string(expected);
}

std::string playerModelTooLarge(const Box& model, const Box& allowed, const std::string& gameFile) {
  return tooLarge("модели игрока", model, allowed, gameFile);
}

std::string weaponModelTooLarge(const Box& model, const Box& allowed, const std::string& gameFile) {
  return tooLarge("модели оружия", model, allowed, gameFile);
}

std::string exactFile(const std::string& gameFile) {
  return "Серверы требуют этот файл неизменным: с заменённым игрока отключат с «Bad file " + gameFile + "»";
}

std::string missingCompanion(const std::string& companionName) {
  return "Текстуры модели лежат в «" + companionName + "», которого нет ни в наборе, ни в игре: игра не загрузит модель";
}

std::string soundNotPcm(int format) {
  return "Игра не воспроизведёт звук: формат " + soundFormat(format) + ", а игра играет только несжатый PCM";
}

std::string soundBits(int bits) {
  return "Игра не воспроизведёт звук: " + std::to_string(bits) + " бит, а игра играет только 8 или 16";
}

std::string soundRate(int rate) {
  return "Игра не воспроизведёт звук: частота " + std::to_string(rate) + " Гц, а игра играет 11025, 22050 или 44100";
}

std::string textureNotAligned(const std::string& name, int width, int height) {
  return "Игра не загрузит текстуру «" + name + "»: размеры " + std::to_string(width) + "×" + std::to_string(height) +
         " не кратны 16";
}

std::string modelTextureNotAligned(const std::string& name, int width, int height) {
  return "Игра может показать текстуру модели «" + name + "» искажённой: размеры " + std::to_string(width) + "×" +
         std::to_string(height) + " не кратны 8";
}

std::string bmpNotIndexed(int bits, bool compressed) {
  return "Игра не загрузит рисунок: она читает только 8-битные BMP с палитрой, без сжатия, а этот " +
         (compressed ? std::string("сжат") : std::to_string(bits) + "-битный");
}

}  // namespace preview::texts
