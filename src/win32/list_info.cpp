#include "win32/list_info.h"

#include <commctrl.h>

#include "catalogue/texts.h"
#include "win32/controls.h"
#include "win32/files_list_page.h"
#include "win32/text.h"

namespace winui {

namespace {

namespace texts = catalogue::texts;
constexpr UINT_PTR kEditWatchId = 0x4c49;

}  // namespace

ListInfo::ListInfo(MainWindow& main, FilesListPage& filesList)
    : SecondaryWindow(main, texts::kInfoCaption, 304, 121), filesList_(filesList) {
  presenter_ = std::make_unique<catalogue::ListInfoPresenter>(main.program(),
                                                              static_cast<catalogue::ListInfoView&>(*this));
  const struct {
    Control id;
    const char* label;
    int top;
  } fields[] = {{Edit1, texts::kInfoFile, 8}, {Edit2, texts::kInfoPath, 34}, {Edit3, texts::kInfoDescription, 60}};
  for (const auto& f : fields) {
    createLabel(hwnd(), f.label, {8, f.top + 3, 72, 16});
    HWND edit = createEdit(hwnd(), "", {82, f.top, 214, 22}, f.id, ES_READONLY);
    SetWindowSubclass(edit, &ListInfo::editProcedure, kEditWatchId, reinterpret_cast<DWORD_PTR>(this));
  }
  createButton(hwnd(), texts::kInfoOk, {140, 90, 75, 25}, Button1, true);
  createButton(hwnd(), texts::kInfoRun, {221, 90, 75, 25}, Button2);
  onGuardedCommand(Button1, [this](int) { presenter_->Button1Click(); });
  onGuardedCommand(Button2, [this](int) { presenter_->Button2Click(); });
  // Escape (IDCANCEL from the dialog keys) closes, as the close box does; Enter (IDOK) is "OK".
  onCommand(IDCANCEL, [this](int) { close(); });
  onGuardedCommand(IDOK, [this](int) { presenter_->Button1Click(); });
}

ListInfo::~ListInfo() {
  for (const Control id : {Edit1, Edit2, Edit3}) {
    if (HWND edit = control(id)) RemoveWindowSubclass(edit, &ListInfo::editProcedure, kEditWatchId);
  }
}

void ListInfo::showFor(const std::string& file, const std::string& path, const std::string& description) {
  guarded([&] { presenter_->showFor(file, path, description); });
}

HWND ListInfo::field(Field which) const {
  switch (which) {
    case Field::File: return control(Edit1);
    case Field::Path: return control(Edit2);
    case Field::Description: return control(Edit3);
  }
  return nullptr;
}

void ListInfo::setFieldText(Field which, const std::string& text) {
  setWindowText(field(which), text);
  SendMessageW(field(which), EM_SETSEL, 0, 0);  // shown from its start
}

std::string ListInfo::fieldText(Field which) const { return windowTextUtf8(field(which)); }

void ListInfo::setFieldHint(Field which, const std::string& hint) { hints().add(field(which), hint); }

void ListInfo::launchCurrentFile() { filesList_.GridDblClick(); }

LRESULT CALLBACK ListInfo::editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
  if (message == WM_MOUSEMOVE) {
    auto* info = reinterpret_cast<ListInfo*>(data);
    const int id = GetDlgCtrlID(window);
    const Field which = id == Edit1 ? Field::File : id == Edit2 ? Field::Path : Field::Description;
    info->guarded([info, which] { info->presenter_->EditMouseMove(which); });
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace winui
