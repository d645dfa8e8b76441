#include "win32/run_menu_editor.h"

#include <commctrl.h>

#include "launchers/texts.h"
#include "win32/controls.h"
#include "win32/main_window.h"
#include "win32/text.h"

namespace winui {

namespace {

namespace texts = launchers::texts;
using Field = launchers::RunMenuEditorView::Field;
constexpr Field kFields[] = {Field::Name, Field::Path, Field::Parameters};
// Posted to itself: close once the showing that failed has ended.
constexpr UINT kCloseAfterShowing = WM_APP + 1;

}  // namespace

RunMenuEditor::RunMenuEditor(MainWindow& main) : SecondaryWindow(main, texts::kRunMenuCaption, 480, 300) {
  HWND window = hwnd();
  createGroupBox(window, texts::kRunMenuListGroup, {8, 6, 228, 252});
  createListBox(window, {16, 26, 212, 224}, ListBox1);
  createGroupBox(window, texts::kRunMenuInfoGroup, {244, 6, 228, 252});
  createLabel(window, texts::kRunMenuNameLabel, {254, 28, 208, 16});
  createEdit(window, "", {254, 46, 208, 22}, Edit1);
  createLabel(window, texts::kRunMenuPathLabel, {254, 78, 208, 16});
  createEdit(window, "", {254, 96, 184, 22}, edit2);
  createButton(window, "...", {440, 96, 22, 22}, edit2Button1);
  createLabel(window, texts::kRunMenuParamsLabel, {254, 128, 208, 16});
  createEdit(window, "", {254, 146, 208, 22}, Edit3);
  createButton(window, texts::kRunMenuDelete, {8, 266, 84, 26}, Button1);
  createButton(window, texts::kRunMenuStart, {98, 266, 84, 26}, Button2);
  createButton(window, texts::kRunMenuHelpButton, {296, 266, 84, 26}, Button4);
  createButton(window, texts::kRunMenuOk, {388, 266, 84, 26}, Button3, true);

  presenter_ = std::make_unique<launchers::RunMenuEditorPresenter>(main.program(),
                                                                    static_cast<RunMenuEditorView&>(*this));
  onGuardedCommand(ListBox1, [this](int code) {
    if (code == LBN_SELCHANGE) presenter_->ListBox1Click(listSelection(control(ListBox1)));
  });
  for (Field which : kFields) {
    onGuardedCommand(GetDlgCtrlID(field(which)), [this, which](int code) {
      if (code == EN_CHANGE) presenter_->fieldChange(which, windowTextUtf8(field(which)));
      if (code == EN_KILLFOCUS) presenter_->fieldExit(which);
    });
    // A click into a field comes through the field's own messages.
    SetWindowSubclass(field(which), &RunMenuEditor::fieldProcedure, static_cast<UINT_PTR>(which),
                      reinterpret_cast<DWORD_PTR>(this));
  }
  const auto clicked = [this](void (launchers::RunMenuEditorPresenter::*event)()) {
    return [this, event](int code) {
      if (code == BN_CLICKED) (presenter_.get()->*event)();
    };
  };
  onGuardedCommand(edit2Button1, clicked(&launchers::RunMenuEditorPresenter::edit2Button1Click));
  onGuardedCommand(Button1, clicked(&launchers::RunMenuEditorPresenter::Button1Click));
  onGuardedCommand(Button2, clicked(&launchers::RunMenuEditorPresenter::Button2Click));
  onGuardedCommand(Button3, clicked(&launchers::RunMenuEditorPresenter::Button3Click));
  onGuardedCommand(Button4, clicked(&launchers::RunMenuEditorPresenter::Button4Click));
  // Enter in the dialog: "&OK", the default button.
  onGuardedCommand(IDOK, [this](int) { presenter_->Button3Click(); });
  // Escape: as the close box, nothing saved.
  onGuardedCommand(IDCANCEL, [this](int) { close(); });
  for (int k = 0; k < 10; ++k) SendMessageW(control(ListBox1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
}

RunMenuEditor::~RunMenuEditor() {
  for (Field which : kFields) {
    if (HWND edit = field(which)) RemoveWindowSubclass(edit, &RunMenuEditor::fieldProcedure, static_cast<UINT_PTR>(which));
  }
}

LRESULT CALLBACK RunMenuEditor::fieldProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                               DWORD_PTR self) {
  if (message == WM_LBUTTONDOWN) {
    auto* editor = reinterpret_cast<RunMenuEditor*>(self);
    editor->guarded([editor, id] { editor->presenter_->fieldClick(static_cast<Field>(id)); });
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

HWND RunMenuEditor::field(Field which) const {
  switch (which) {
    case Field::Name:
      return control(Edit1);
    case Field::Path:
      return control(edit2);
    case Field::Parameters:
      break;
  }
  return control(Edit3);
}

void RunMenuEditor::FormShow() { presenter_->FormShow(); }

void RunMenuEditor::FormClose() { presenter_->FormClose(); }

LRESULT RunMenuEditor::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kCloseAfterShowing) {
    close();
    return 0;
  }
  return SecondaryWindow::handleMessage(message, wParam, lParam);
}

void RunMenuEditor::showRows(const std::vector<std::string>& rows) {
  HWND list = control(ListBox1);
  const int selected = listSelection(list);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const std::wstring text = wide(rows[k]);
    SendMessageW(list, LB_DELETESTRING, k, 0);
    SendMessageW(list, LB_INSERTSTRING, k, reinterpret_cast<LPARAM>(text.c_str()));
  }
  selectListItem(list, selected);  // the selected row stays selected
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void RunMenuEditor::setFieldText(Field which, const std::string& text) {
  // WM_SETTEXT makes the edit report EN_CHANGE, as typing does.
  if (windowTextUtf8(field(which)) != text) setWindowText(field(which), text);
}

std::string RunMenuEditor::fieldText(Field which) { return windowTextUtf8(field(which)); }

void RunMenuEditor::setFieldReadOnly(Field which, bool readOnly) {
  SendMessageW(field(which), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void RunMenuEditor::closeWindow() { close(); }

void RunMenuEditor::closeAfterShowing() { PostMessageW(hwnd(), kCloseAfterShowing, 0, 0); }

}  // namespace winui
