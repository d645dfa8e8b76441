#include "win32/file_dialogs.h"

#include <objbase.h>
#include <shobjidl.h>

#include "win32/text.h"

namespace winui {

namespace {

// Releases a COM interface at the end of its scope.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** out() { return &pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  T* get() const { return pointer_; }

 private:
  T* pointer_ = nullptr;
};

// COM on this thread for the dialogs (the program's one thread; tests may not have it yet).
void ensureCom() {
  static thread_local bool initialised = false;
  if (initialised) return;
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  initialised = SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
}

std::optional<std::string> filePath(IShellItem* item) {
  PWSTR path = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path) return std::nullopt;
  std::string text = narrow(path);
  CoTaskMemFree(path);
  return text;
}

void startIn(IFileDialog* dialog, const std::string& folder) {
  if (folder.empty()) return;
  ComPtr<IShellItem> item;
  if (SUCCEEDED(SHCreateItemFromParsingName(wide(folder).c_str(), nullptr, IID_IShellItem,
                                            reinterpret_cast<void**>(item.out())))) {
    dialog->SetFolder(item.get());
  }
}

}  // namespace

std::vector<std::pair<std::wstring, std::wstring>> fileFilters(const app::FileRequest& request) {
  std::vector<std::pair<std::wstring, std::wstring>> filters;
  for (const auto& [name, pattern] : request.filters) {
    filters.emplace_back(wide(name + " (" + pattern + ")"), wide(pattern));
  }
  return filters;
}

std::vector<std::string> openFiles(HWND owner, const app::FileRequest& request) {
  ensureCom();
  std::vector<std::string> chosen;
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(dialog.out())))) {
    return chosen;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR;
  if (request.multiple) options |= FOS_ALLOWMULTISELECT;
  dialog->SetOptions(options);
  if (!request.title.empty()) dialog->SetTitle(wide(request.title).c_str());
  const auto filters = fileFilters(request);
  std::vector<COMDLG_FILTERSPEC> fileTypes;
  for (const auto& [name, pattern] : filters) fileTypes.push_back({name.c_str(), pattern.c_str()});
  if (!fileTypes.empty()) dialog->SetFileTypes(static_cast<UINT>(fileTypes.size()), fileTypes.data());
  startIn(dialog.get(), request.initialFolder);
  if (FAILED(dialog->Show(owner))) return chosen;
  ComPtr<IShellItemArray> items;
  if (FAILED(dialog->GetResults(items.out()))) return chosen;
  DWORD count = 0;
  items->GetCount(&count);
  for (DWORD i = 0; i < count; ++i) {
    ComPtr<IShellItem> item;
    if (FAILED(items->GetItemAt(i, item.out()))) continue;
    if (auto path = filePath(item.get())) chosen.push_back(*path);
  }
  return chosen;
}

std::optional<std::string> pickFolder(HWND owner, const std::string& caption, const std::string& prompt,
                                      const std::string& initialFolder) {
  ensureCom();
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              reinterpret_cast<void**>(dialog.out())))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR);
  if (!caption.empty()) dialog->SetTitle(wide(caption).c_str());
  if (!prompt.empty()) dialog->SetFileNameLabel(wide(prompt).c_str());
  startIn(dialog.get(), initialFolder);
  if (FAILED(dialog->Show(owner))) return std::nullopt;
  ComPtr<IShellItem> item;
  if (FAILED(dialog->GetResult(item.out()))) return std::nullopt;
  auto path = filePath(item.get());
  // Only a real folder counts; anything else is a cancel.
  if (!path) return std::nullopt;
  const DWORD attributes = GetFileAttributesW(wide(*path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return path;
}

}  // namespace winui
