#include "launchers/run_menu_editor_presenter.h"

#include "app/program.h"
#include "launchers/texts.h"
#include "sys/error.h"

namespace launchers {

namespace {

using Field = RunMenuEditorView::Field;
constexpr Field kFields[] = {Field::Name, Field::Path, Field::Parameters};

std::string RunMenuEntry::*member(Field field) {
  switch (field) {
    case Field::Name:
      return &RunMenuEntry::name;
    case Field::Path:
      return &RunMenuEntry::path;
    case Field::Parameters:
      break;
  }
  return &RunMenuEntry::parameters;
}

}  // namespace

RunMenuEditorPresenter::RunMenuEditorPresenter(app::Program& program, RunMenuEditorView& view)
    : program_(program), view_(view) {}

RunMenuTable& RunMenuEditorPresenter::table() { return program_.runMenu; }

void RunMenuEditorPresenter::FormShow() {
  app::Ui& ui = program_.ui();
  ui.setMainWindowEnabled(false);
  ui.setStatusText(texts::kRunMenuOpenStatus);
  try {
    readRunMenu(program_.fs(), program_.settings.FilePath + kRunMenuFile, table());
  } catch (const sys::IoError&) {
    // An editor over a table it could not read would only write it back wrong: it closes again, and
    // closing gives the main window back.
    view_.closeAfterShowing();
    throw;
  }
  RunList();
}

void RunMenuEditorPresenter::FormClose() {
  app::Ui& ui = program_.ui();
  ui.setMainWindowEnabled(true);
  ui.setStatusText("");
}

void RunMenuEditorPresenter::RunList() {
  std::vector<std::string> rows;
  for (const auto& e : table()) rows.push_back(e.name);
  view_.showRows(rows);
}

void RunMenuEditorPresenter::showField(Field field, const std::string& text) {
  filling_ = true;
  try {
    view_.setFieldText(field, text);
  } catch (...) {
    filling_ = false;
    throw;
  }
  filling_ = false;
}

void RunMenuEditorPresenter::ListBox1Click(int row) {
  selected_ = row >= 0 && row < static_cast<int>(table().size()) ? row : -1;
  if (selected_ < 0) return;
  // A free entry shows blank fields; the table keeps its marker until a field is edited.
  const RunMenuEntry shown = entry();
  for (Field field : kFields) {
    showField(field, editorText(shown.*member(field)));
    view_.setFieldReadOnly(field, false);
  }
}

void RunMenuEditorPresenter::fieldChange(Field field, const std::string& text) {
  if (filling_) return;
  if (selected_ < 0) {
    // Nothing to store into: the field does not keep what was typed.
    if (!text.empty()) showField(field, "");
    return;
  }
  entry().*member(field) = text;
}

void RunMenuEditorPresenter::fieldClick(Field field) {
  if (selected_ < 0) view_.setFieldReadOnly(field, true);
}

void RunMenuEditorPresenter::fieldExit(Field) { RunList(); }

void RunMenuEditorPresenter::edit2Button1Click() {
  if (selected_ < 0) return;
  const std::vector<std::string> chosen = program_.ui().chooseFiles(anyFileRequest());
  if (chosen.empty()) return;
  showField(Field::Path, chosen.front());
  entry().path = chosen.front();
}

void RunMenuEditorPresenter::Button1Click() {
  if (selected_ < 0) {
    app::showError(program_.ui(), texts::kSelectMenuItem);
    return;
  }
  for (Field field : kFields) showField(field, "");
  freeEntry(entry());
  RunList();
}

void RunMenuEditorPresenter::Button2Click() {
  startFromEditor(program_, selected_ >= 0, view_.fieldText(Field::Path), view_.fieldText(Field::Parameters));
}

void RunMenuEditorPresenter::Button3Click() {
  writeRunMenu(program_.fs(), program_.settings.FilePath + kRunMenuFile, table());
  view_.closeWindow();
}

void RunMenuEditorPresenter::Button4Click() { app::showInformation(program_.ui(), texts::kRunMenuHelp); }

}  // namespace launchers
