#pragma once

// The main window's own texts, as the user reads them.
namespace app::texts {

inline constexpr const char* kLogNotFound = "Log не найден";
inline constexpr const char* kScanNeeded = "Необходимо произвести поиск файлов в папке с игрой";
// A fault that is not an I/O error, caught where a window's handler ends: the box and the log line.
inline constexpr const char* kUnexpectedError = "Произошла ошибка";
inline constexpr const char* kUnexpectedErrorLog = "Непредвиденная ошибка в обработчике окна";

}  // namespace app::texts
