#include <gtest/gtest.h>

#include <map>

#include "launchers/run_menu_editor_presenter.h"
#include "support/program_fixture.h"
#include "sys/error.h"

namespace {

using Field = launchers::RunMenuEditorView::Field;
using testing_support::readBytes;
using testing_support::writeBytes;

// The editor's controls as plain values. Like a real edit control it reports every change of a field's
// text back as a change event, also a change the presenter made itself.
class RecordingEditor : public launchers::RunMenuEditorView {
 public:
  void showRows(const std::vector<std::string>& shown) override { rows = shown; }
  void setFieldText(Field field, const std::string& text) override {
    if (fields[field] == text) return;
    fields[field] = text;
    if (presenter) presenter->fieldChange(field, text);
  }
  std::string fieldText(Field field) override { return fields[field]; }
  void setFieldReadOnly(Field field, bool readOnly) override { readOnlyFields[field] = readOnly; }
  void closeWindow() override { ++closed; }
  void closeAfterShowing() override { ++closedAfterShowing; }

  // What the person types: the whole new text of the field.
  void type(Field field, const std::string& text) { setFieldText(field, text); }

  launchers::RunMenuEditorPresenter* presenter = nullptr;
  std::vector<std::string> rows;
  std::map<Field, std::string> fields;
  std::map<Field, bool> readOnlyFields;
  int closed = 0;
  int closedAfterShowing = 0;
};

std::string runMenuBytes(const std::vector<std::array<std::string, 3>>& entries) {
  std::string bytes;
  for (std::size_t k = 0; k < 10; ++k) {
    for (int f = 0; f < 3; ++f) bytes += (k < entries.size() ? entries[k][f] : std::string("empty")) + "\r\n";
  }
  return bytes;
}

class RunMenuEditorPresenter : public testing_support::ProgramFixture {
 protected:
  RunMenuEditorPresenter() {
    configure();
    view.presenter = &editor;
  }
  std::string file() { return programFolder() + "runmenu.dat"; }
  void open(const std::string& bytes) {
    writeBytes(file(), bytes);
    editor.FormShow();
  }
  const launchers::RunMenuEntry& entry(int k) { return program->runMenu[static_cast<std::size_t>(k)]; }

  RecordingEditor view;
  launchers::RunMenuEditorPresenter editor{*program, view};
};

TEST_F(RunMenuEditorPresenter, OpeningHoldsTheMainWindowAndListsTheFileClosingGivesItBack) {
  program->runMenu[0].name = "in memory only";
  open(runMenuBytes({{"Контра", "/games/hl", "-game cstrike"}}));
  EXPECT_FALSE(ui.mainWindowEnabled);
  EXPECT_FALSE(ui.busy) << "the text only";
  EXPECT_EQ(ui.statusText, "открыто окно настройки запуска файлов...");
  ASSERT_EQ(view.rows.size(), 10u);
  EXPECT_EQ(view.rows[0], "Контра");
  EXPECT_EQ(view.rows[9], "empty");
  editor.FormClose();
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_EQ(ui.statusText, "");
  EXPECT_EQ(readBytes(file()), runMenuBytes({{"Контра", "/games/hl", "-game cstrike"}})) << "closing saves nothing";
}

TEST_F(RunMenuEditorPresenter, AnUnreadableFileEndsTheOpeningWithTheWindowClosingAgain) {
  testing_support::makeFolder(file());  // a folder where the file should be
  EXPECT_THROW(editor.FormShow(), sys::IoError);
  EXPECT_EQ(view.closedAfterShowing, 1);
  EXPECT_TRUE(view.rows.empty());
}

// A free entry shows blank fields; the echo of showing them must not store the blanks, so fields left
// alone keep the marker in the file, and only what is typed replaces it.
TEST_F(RunMenuEditorPresenter, AFreeEntryShowsBlankFieldsAndKeepsTheMarkerOfFieldsLeftAlone) {
  open(runMenuBytes({{"A", "/a", "-x"}}));
  editor.ListBox1Click(0);
  EXPECT_EQ(view.fields[Field::Name], "A");
  editor.ListBox1Click(1);  // from a filled entry to a free one: every field changes to blank
  for (Field field : {Field::Name, Field::Path, Field::Parameters}) {
    EXPECT_EQ(view.fields[field], "");
    EXPECT_FALSE(view.readOnlyFields[field]);
  }
  EXPECT_EQ(entry(1).name, "empty");
  view.type(Field::Name, "Game");
  view.type(Field::Path, "/games/hl");
  editor.fieldExit(Field::Path);
  EXPECT_EQ(view.rows[1], "Game");
  EXPECT_EQ(entry(0).name, "A") << "the entry left keeps its fields";
  editor.Button3Click();
  EXPECT_EQ(view.closed, 1);
  EXPECT_EQ(readBytes(file()), runMenuBytes({{"A", "/a", "-x"}, {"Game", "/games/hl", "empty"}}));
}

TEST_F(RunMenuEditorPresenter, WithoutASelectedRowNothingIsStoredAndAClickedFieldLocks) {
  open(runMenuBytes({{"A", "/a", ""}}));
  view.type(Field::Name, "typed");
  EXPECT_EQ(view.fields[Field::Name], "") << "the field empties itself";
  EXPECT_EQ(entry(0).name, "A");
  editor.fieldClick(Field::Path);
  EXPECT_TRUE(view.readOnlyFields[Field::Path]);
  EXPECT_FALSE(view.readOnlyFields[Field::Parameters]) << "only the clicked field";
  editor.edit2Button1Click();  // no chooser: the script would fail on one
  ui.expectError("Укажите пункт меню");
  editor.Button1Click();
  EXPECT_EQ(entry(0).name, "A");

  editor.ListBox1Click(0);
  EXPECT_FALSE(view.readOnlyFields[Field::Path]);
  editor.fieldClick(Field::Path);
  EXPECT_FALSE(view.readOnlyFields[Field::Path]) << "a click with a row selected locks nothing";
}

TEST_F(RunMenuEditorPresenter, DeleteFreesTheEntryAndTheBrowseButtonFillsThePath) {
  open(runMenuBytes({{"A", "/a", "-p"}, {"B", "/b", ""}}));
  editor.ListBox1Click(1);
  const std::string chosen = temp / "apps/hl";
  ui.expectFiles("Открыть", {chosen});
  editor.edit2Button1Click();
  EXPECT_EQ(view.fields[Field::Path], chosen);
  EXPECT_EQ(entry(1).path, chosen);
  ui.expectFiles("Открыть", {});
  editor.edit2Button1Click();  // cancelled
  EXPECT_EQ(entry(1).path, chosen);

  editor.ListBox1Click(0);
  editor.Button1Click();
  EXPECT_EQ(view.fields[Field::Name], "");
  EXPECT_EQ(entry(0).name, "empty");
  EXPECT_EQ(entry(0).path, "empty");
  EXPECT_EQ(entry(0).parameters, "empty");
  EXPECT_EQ(view.rows[0], "empty");
}

// "Запустить" starts what the fields say, not what the table holds, and only a file of a selected row.
TEST_F(RunMenuEditorPresenter, StartTakesThePathAndParametersFromTheFields) {
  const std::string tool = temp / "apps/tool";
  writeBytes(tool, "x");
  open(runMenuBytes({{"Tool", "/elsewhere", "-old"}}));
  view.fields[Field::Path] = tool;
  editor.Button2Click();
  EXPECT_TRUE(shell.calls.empty()) << "no row selected";

  editor.ListBox1Click(0);
  view.type(Field::Path, tool);
  view.type(Field::Parameters, "-a \"b c\"");
  editor.Button2Click();
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, tool);
  EXPECT_EQ(shell.calls[0].params, "-a \"b c\"");

  view.type(Field::Path, temp / "apps");  // a folder is no file
  ui.expectError("Файл \"" + temp / "apps" + "\" не найден");
  editor.Button2Click();
  EXPECT_EQ(shell.calls.size(), 1u);
}

}  // namespace
