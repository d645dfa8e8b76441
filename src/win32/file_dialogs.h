#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/ui.h"

// The shell's own file dialog (IFileOpenDialog): files with filters, one or several, and folders.
namespace winui {

// Full paths of the chosen files; empty when cancelled.
std::vector<std::string> openFiles(HWND owner, const app::FileRequest& request);
// A folder of the file system, or nothing when cancelled. prompt labels the name field; the dialog opens at
// initialFolder when it is given.
std::optional<std::string> pickFolder(HWND owner, const std::string& caption, const std::string& prompt,
                                      const std::string& initialFolder);

// The filter list of the dialog: "name (pattern)" and pattern for each; none gives all files.
std::vector<std::pair<std::wstring, std::wstring>> fileFilters(const app::FileRequest& request);

}  // namespace winui
