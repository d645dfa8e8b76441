#pragma once

#include <QString>

namespace installs::ui {

// A hint text with its CR LF line breaks as the tooltip shows them.
inline QString hint(const char* text) { return QString::fromUtf8(text).replace("\r\n", "\n"); }
inline QString hint(const std::string& text) { return QString::fromStdString(text).replace("\r\n", "\n"); }

}  // namespace installs::ui
