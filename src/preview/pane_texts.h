#pragma once

#include <cstdint>
#include <string>

// The texts of the preview pane, the same on both front-ends.
namespace preview::texts {

inline constexpr const char* kPaneGroup = "Просмотр";
inline constexpr const char* kPlay = "Воспроизвести";
inline constexpr const char* kStop = "Стоп";
inline constexpr const char* kWarningsCountPrefix = "Предупреждений: ";
inline constexpr const char* kNoFile = "Файл не найден";
inline constexpr const char* kUnreadablePrefix = "Файл не удалось прочитать: ";

// The install dialog's status line: how many warnings its files give in all.
inline std::string warningsCount(std::size_t count) { return kWarningsCountPrefix + std::to_string(count); }

// A file too large to be read for the pane: its size only.
inline std::string tooLarge(std::uintmax_t bytes) {
  return "Файл, " + std::to_string(bytes) + " байт: слишком велик для просмотра";
}

}  // namespace preview::texts
