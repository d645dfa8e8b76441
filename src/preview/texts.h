#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Every text of the preview pane as the player reads it: the facts of a file, the line of a damaged one and
// the warnings of what a server or the game refuses.
namespace preview::texts {

struct Box {
  float mins[3] = {0, 0, 0};
  float maxs[3] = {0, 0, 0};
};

// Facts.
std::string otherFile(const std::string& extension, std::uint64_t size);  // "Файл .txt, 12 байт"
std::string sizeLine(std::uint64_t size);                                   // "Размер: 2097152 байт"
std::string model(const std::string& name, int bones, int sequences, int bodyParts, int textures);
std::string modelBox(const Box& box);
std::string texturesIn(const std::string& companionName, bool found);
std::string sequenceGroups(const std::vector<std::string>& fileNames);
std::string sprite(int type, int format, int frames, int width, int height, int colours);
std::string bmp(int width, int height, int bits, bool read);
std::string tga(int width, int height, int bits, bool rle, bool read);
std::string wad(int textures, int otherLumps);
std::string sound(int format, int channels, int rate, int bits, std::uint32_t lengthMs, int cuePoints);
std::string frameName(int index);  // "кадр 3"

// Damage: the line of a file that could not be read, and the reasons.
std::string damaged(const std::string& kindName, const std::string& reason);
inline constexpr const char* kModelKind = "модель";
inline constexpr const char* kSpriteKind = "спрайт";
inline constexpr const char* kPictureKind = "рисунок";
inline constexpr const char* kWadKind = "набор текстур";
inline constexpr const char* kSoundKind = "звук";
inline constexpr const char* kTruncated = "данные выходят за конец файла";
inline constexpr const char* kNoSignature = "нет подписи формата в начале файла";
std::string wrongVersion(int version, int expected);
inline constexpr const char* kBadSize = "недопустимые размеры рисунка";
inline constexpr const char* kBadCount = "недопустимое число элементов";
inline constexpr const char* kBadFrameType = "неизвестный вид кадра";
inline constexpr const char* kNoFormatChunk = "нет описания формата звука";
inline constexpr const char* kBadRle = "сжатые данные выходят за рисунок";
inline constexpr const char* kCompanionDamaged = "файл текстур модели повреждён";
inline constexpr const char* kUnreadable = "файл не удалось прочитать";

// Warnings.
std::string playerModelTooLarge(const Box& model, const Box& allowed, const std::string& gameFile);
std::string weaponModelTooLarge(const Box& model, const Box& allowed, const std::string& gameFile);
std::string exactFile(const std::string& gameFile);
std::string missingCompanion(const std::string& companionName);
std::string soundNotPcm(int format);
std::string soundBits(int bits);
std::string soundRate(int rate);
inline constexpr const char* kSoundStereo = "Игра не воспроизведёт звук: он стерео, а игра играет только моно";
std::string textureNotAligned(const std::string& name, int width, int height);
std::string modelTextureNotAligned(const std::string& name, int width, int height);
std::string bmpNotIndexed(int bits, bool compressed);

}  // namespace preview::texts
