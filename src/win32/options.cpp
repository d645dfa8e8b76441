#include "win32/options.h"

#include "app/options_texts.h"
#include "win32/controls.h"
#include "win32/text.h"

namespace winui {

namespace texts = app::options_texts;

Options::Options(MainWindow& main) : SecondaryWindow(main, texts::kCaption, 338, 330) {
  presenter_ = std::make_unique<app::OptionsPresenter>(main.program(), static_cast<app::OptionsView&>(*this));
  // The group boxes are drawn first and lie under their controls, which are children of the dialog (so
  // its dialog keys reach them); positions are the dialog's.
  createGroupBox(hwnd(), texts::kGameGroup, {8, 4, 322, 176}, GroupBox1);
  addField(AHMLookupEdit1, texts::kFolderLabel, 4 + 18, 278);
  addButton(AHMLookupEdit1Button1, "...", {8 + 290, 4 + 18 + 16, 22, 22}, &app::OptionsPresenter::AHMLookupEdit1Button1Click);
  hints().add(control(AHMLookupEdit1Button1), texts::kBrowseFolder);
  addField(AHMLookupEdit2, texts::kLauncherLabel, 4 + 58, 278);
  addButton(AHMLookupEdit2Button1, "...", {8 + 290, 4 + 58 + 16, 22, 22}, &app::OptionsPresenter::AHMLookupEdit2Button1Click);
  hints().add(control(AHMLookupEdit2Button1), texts::kBrowseLauncher);
  addField(Edit1, texts::kParamsLabel, 4 + 98, 302);
  addButton(Button4, texts::kDetect, {8 + 10, 4 + 142, 190, 25}, &app::OptionsPresenter::Button4Click);
  hints().add(control(Button4), texts::kDetectHint);
  addButton(Button5, texts::kCheck, {8 + 206, 4 + 142, 106, 25}, &app::OptionsPresenter::Button5Click);
  hints().add(control(Button5), texts::kCheckHint);

  createGroupBox(hwnd(), texts::kListGroup, {8, 184, 322, 108}, GroupBox2);
  const char* captions[] = {texts::kUpdate1, texts::kUpdate2, texts::kUpdate3, texts::kUpdate4};
  for (int i = 0; i < 4; ++i) {
    createRadioButton(hwnd(), captions[i], {8 + 10, 184 + 18 + 18 * i, 210, 18}, Update1 + i, i == 0);
  }
  setChecked(control(Update2), true);
  const int labelWidth = textWidth(texts::kLastUpdate) + 4;
  createLabel(hwnd(), texts::kLastUpdate, {8 + 10, 184 + 88, labelWidth, 16}, Label4);
  createLabel(hwnd(), "", {8 + 10 + labelWidth, 184 + 88, 300 - labelWidth, 16}, Label5);
  addButton(Button2, texts::kRefresh, {8 + 230, 184 + 18, 82, 25}, &app::OptionsPresenter::Button2Click);
  // The radio buttons' group ends before it.
  SetWindowLongPtrW(control(Button2), GWL_STYLE, GetWindowLongPtrW(control(Button2), GWL_STYLE) | WS_GROUP);

  addButton(Button1, texts::kOk, {166, 298, 80, 25}, &app::OptionsPresenter::Button1Click, true);
  addButton(Button3, texts::kExit, {250, 298, 80, 25}, &app::OptionsPresenter::Button3Click);
  // Enter is "&OK", Escape the close box.
  onGuardedCommand(IDOK, [this](int) { presenter_->Button1Click(); });
  onCommand(IDCANCEL, [this](int) { close(); });
}

Options::~Options() = default;

int Options::textWidth(const std::string& text) const {
  // In 96-dpi pixels, in the message font at 96 dpi, as positions are given.
  HDC screen = GetDC(hwnd());
  HGDIOBJ old = SelectObject(screen, messageFont(96));
  const std::wstring wideText = wide(text);
  SIZE size{};
  GetTextExtentPoint32W(screen, wideText.c_str(), static_cast<int>(wideText.size()), &size);
  SelectObject(screen, old);
  ReleaseDC(hwnd(), screen);
  return size.cx;
}

void Options::addField(Control id, const char* label, int top, int width) {
  createLabel(hwnd(), label, {8 + 10, top, 200, 16});
  createEdit(hwnd(), "", {8 + 10, top + 16, width, 22}, id);
}

void Options::addButton(Control id, const char* caption, const Box& box, void (app::OptionsPresenter::*handler)(),
                        bool isDefault) {
  createButton(hwnd(), caption, box, id, isDefault);
  onGuardedCommand(id, [this, handler](int code) {
    if (code == BN_CLICKED) (presenter_.get()->*handler)();
  });
}

HWND Options::field(Field which) const {
  switch (which) {
    case Field::Folder: return control(AHMLookupEdit1);
    case Field::Launcher: return control(AHMLookupEdit2);
    case Field::Params: return control(Edit1);
  }
  return nullptr;
}

void Options::setFieldText(Field which, const std::string& text) { setWindowText(field(which), text); }

std::string Options::fieldText(Field which) const { return windowTextUtf8(field(which)); }

void Options::focusField(Field which) { SetFocus(field(which)); }

void Options::setUpdateChoice(const std::string& choice) {
  const char* values[] = {"1", "2", "3", "4"};
  for (int i = 0; i < 4; ++i) {
    if (choice == values[i]) CheckRadioButton(hwnd(), Update1, Update4, Update1 + i);
  }
}

std::string Options::updateChoice() const {
  const char* values[] = {"1", "2", "3", "4"};
  for (int i = 0; i < 4; ++i) {
    if (isChecked(control(static_cast<Control>(Update1 + i)))) return values[i];
  }
  return "";
}

void Options::setLastUpdateText(const std::string& text) { setWindowText(control(Label5), text); }

void Options::setRefreshHint(const std::string& text) { hints().add(control(Button2), text); }

void Options::setRefreshEnabled(bool enabled) { EnableWindow(control(Button2), enabled); }

void Options::closeProgram() { main().close(); }

void Options::showFilesListPage() { main().showPage(MainWindow::Page::FilesList); }

// Showing the page again fills it from the catalogue just built.
void Options::refreshFilesList() { main().showPage(MainWindow::Page::FilesList); }

}  // namespace winui
