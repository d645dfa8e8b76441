#pragma once

// The main window's own texts, as the user reads them.
namespace app::texts {

inline constexpr const char* kLogNotFound = "Log не найден";
inline constexpr const char* kScanNeeded = "Необходимо произвести поиск файлов в папке с игрой";

}  // namespace app::texts
