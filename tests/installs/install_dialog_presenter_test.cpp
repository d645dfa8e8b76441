// The install dialog's behaviour through its presenter, with a view that records what it is told.
#include <gtest/gtest.h>

#include "installs/install_dialog_presenter.h"
#include "installs/texts.h"
#include "preview/recording_pane.h"
#include "support/program_fixture.h"

namespace {

using Control = installs::InstallDialogView::Control;
using Presenter = installs::InstallDialogPresenter;
namespace texts = installs::texts;
using testing_support::readBytes;
using testing_support::writeBytes;

struct RecordingDialog : installs::InstallDialogView {
  void setProgressMaximum(int value) override { maximum = value; }
  void setProgress(int value) override { progress = value; }
  void setStatus(const std::string& text) override { status = text; }
  void setWorking(bool value) override { working = value; }
  void showChosenFiles(const std::vector<std::string>& shown, const std::vector<std::string>& destinations) override {
    rows = shown;
    hidden = destinations;
  }
  void setEnabled(Control, bool on) override { install = on; }
  void setDescription(const std::string& text) override { typed = text; }
  void setArchiveModeOffered(bool offered) override { archiveOffered = offered; }
  void markDefaultMode(installs::AddMode mode) override { marked = mode; }
  void setHintTiming(int pause, int hidePause) override { hints = {pause, hidePause}; }
  void closeWindow() override { ++closes; }
  void refreshInstallations() override { ++refreshes; }
  std::string description() const override { return typed; }
  std::optional<std::size_t> selectedFile() const override { return selected; }
  bool mainWindowShown() const override { return mainShown; }
  preview::PreviewPanePresenter* previewPane() override { return pane; }
  void setWarningsText(const std::string& text) override { warningsText = text; }

  std::vector<std::string> rows, hidden;
  std::string status = "?", typed = "?";
  int maximum = -1, progress = -1, closes = 0, refreshes = 0;
  bool working = false, install = true, mainShown = true;
  std::optional<bool> archiveOffered;
  std::optional<installs::AddMode> marked;
  std::pair<int, int> hints{};
  std::optional<std::size_t> selected;
  preview::PreviewPanePresenter* pane = nullptr;
  std::string warningsText = "?";
};

class DialogPresenter : public testing_support::ProgramFixture {
 protected:
  void SetUp() override {
    configure();
    gign = gameFile("models/player/gign/gign.mdl", "old gign");
    go = gameFile("sound/radio/go.wav", "old go");
    fs.writeLines(program->settings.FilesListDir, {gign, go});
    fs.writeLines(program->settings.FilesInfoDir, {".mdl", "Модель"});
    for (const char* name : {"gign.mdl", "readme.txt", "sub/go.wav"}) {
      writeBytes(temp / ("new/" + std::string(name)), std::string("new ") + name);
    }
    dialog.FormCreate();
    dialog.FormShow();
  }
  std::string fresh(const char* name) const { return temp / ("new/" + std::string(name)); }

  RecordingDialog view;
  Presenter dialog{*program, view};
  std::string gign, go;
};

TEST_F(DialogPresenter, ShowingHoldsTheMainWindowAndClosingGivesItBack) {
  EXPECT_EQ(view.archiveOffered, installs::archivesSupported());
  EXPECT_TRUE(ui.held);
  EXPECT_EQ(ui.statusText, texts::kInstallStatus);
  EXPECT_FALSE(view.install);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_EQ(view.typed, "");
  EXPECT_EQ(view.progress, 0);
  EXPECT_EQ(view.status, "");
  EXPECT_EQ(view.hints, std::make_pair(300, 5000));
  EXPECT_TRUE(dialog.acceptsDrops());

  ui.setMainWindowEnabled(true);  // an error report in between gave the window back
  dialog.EventEnded();
  EXPECT_TRUE(ui.held) << "the open dialog takes it again";

  dialog.Button2Click();
  EXPECT_EQ(view.closes, 1);
  dialog.FormClose();
  EXPECT_FALSE(ui.held);
  EXPECT_EQ(ui.statusText, "");
  EXPECT_FALSE(dialog.acceptsDrops());
  dialog.EventEnded();
  EXPECT_FALSE(ui.held) << "a closed dialog holds nothing";
  dialog.ListBox1DragDrop({fresh("gign.mdl")});
  EXPECT_TRUE(view.rows.empty()) << "a closed dialog takes no drop";

  for (const bool shown : {true, false}) {
    view.mainShown = shown;
    dialog.FormHide();
    EXPECT_EQ(view.hints, shown ? std::make_pair(300, 5000) : std::make_pair(500, 2500));
  }
}

TEST_F(DialogPresenter, AddTakesTheModeOfItsButtonOrMenuAndEnablesInstallOnlyWithFiles) {
  struct Case {
    const char* what;
    const char* addFilesType;
    void (Presenter::*handler)();
    std::function<void()> script;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"button, mode 1", "1", &Presenter::Button3Click,
       [&] { ui.expectFiles("", {fresh("gign.mdl"), fresh("readme.txt")}); }, {fresh("gign.mdl")}},
      {"button, mode 2", "2", &Presenter::Button3Click, [&] { ui.expectFolder("Обзор папок", temp / "new"); },
       {fresh("gign.mdl")}},
      {"button, mode 3", "3", &Presenter::Button3Click, [&] { ui.expectFolder("Обзор папок", temp / "new"); },
       {fresh("gign.mdl"), fresh("sub/go.wav")}},
      {"menu, mode 3 whatever the default", "1", &Presenter::AddFiles3,
       [&] { ui.expectFolder("Обзор папок", temp / "new"); }, {fresh("gign.mdl"), fresh("sub/go.wav")}},
      {"button, an unknown default adds nothing", "7", &Presenter::Button3Click, [] {}, {}},
      {"cancelled chooser", "2", &Presenter::Button3Click, [&] { ui.expectFolder("Обзор папок", std::nullopt); }, {}},
  };
  for (const auto& c : cases) {
    dialog.FormShow();
    program->settings.AddFilesType = c.addFilesType;
    c.script();
    (dialog.*c.handler)();
    EXPECT_EQ(view.rows, c.rows) << c.what;
    EXPECT_EQ(view.install, !c.rows.empty()) << c.what;
    EXPECT_EQ(view.status, "") << c.what;
    EXPECT_FALSE(view.working) << c.what;
    EXPECT_TRUE(ui.allAnswered()) << c.what;
  }
}

TEST_F(DialogPresenter, AFolderWithoutGameFilesSaysSoAndTheDialogCannotCloseWhileItWorks) {
  writeBytes(temp / "other/x.txt", "x");
  ui.expectFolder("Обзор папок", temp / "other");
  ui.expectAttention(texts::kNoFilesFound).onNextMessage([&] {
    EXPECT_TRUE(view.working);
    EXPECT_FALSE(dialog.FormCloseQuery());
    EXPECT_FALSE(dialog.acceptsDrops());
  });
  dialog.AddFiles2();
  EXPECT_FALSE(view.install);
  EXPECT_TRUE(dialog.FormCloseQuery());
}

TEST_F(DialogPresenter, RemoveClearAndInformationKeepTheInstallButtonTrue) {
  ui.expectFiles("", {fresh("gign.mdl"), fresh("sub/go.wav")});
  dialog.AddFiles1();
  ASSERT_EQ(view.hidden, (std::vector<std::string>{gign, go}));

  ui.expectError(texts::kSelectFile);
  dialog.ListBox1DblClick();
  view.selected = 0;
  ui.expectMessage("Установка", "Файл: gign.mdl\r\nИнформация: Модель");
  dialog.ListBox1DblClick();
  dialog.ListBox1MouseMove();
  EXPECT_EQ(view.status, texts::kDoubleClickHint);

  dialog.Button4Click();
  EXPECT_EQ(view.hidden, std::vector<std::string>{go});
  EXPECT_TRUE(view.install);
  view.selected.reset();
  ui.expectError(texts::kNoFileSelected);
  dialog.Button4Click();
  dialog.Button5Click();
  EXPECT_TRUE(view.rows.empty());
  EXPECT_FALSE(view.install);
  ui.expectError(texts::kClearEmpty);
  dialog.Button5Click();
  ui.expectError(texts::kListEmpty);
  dialog.ListBox1DblClick();
}

TEST_F(DialogPresenter, AnInstallClosesTheDialogRefreshesThePageAndOffersTheGame) {
  ui.expectFiles("", {fresh("gign.mdl")});
  dialog.AddFiles1();
  view.typed = "Новые модели";
  ui.expectInput("Внимание", texts::kNamePrompt, std::nullopt);
  dialog.Button1Click();
  EXPECT_EQ(view.closes, 0) << "no name: nothing installed, the dialog stays";
  EXPECT_EQ(view.rows, std::vector<std::string>{fresh("gign.mdl")});
  EXPECT_TRUE(view.install);

  ui.expectInput("Внимание", texts::kNamePrompt, "Скины");
  ui.expectAttention(texts::kStartGameQuestion, app::Answer::No);
  dialog.Button1Click();
  EXPECT_EQ(readBytes(gign), "new gign.mdl");
  EXPECT_EQ(fs.readLines(programFolder() + "files/Скины/info.dat"), std::vector<std::string>{"Новые модели"});
  EXPECT_EQ(view.closes, 1);
  EXPECT_EQ(view.refreshes, 1);
  EXPECT_TRUE(view.rows.empty());
  EXPECT_FALSE(view.install);
  EXPECT_GT(view.maximum, 0);
}

TEST_F(DialogPresenter, ThePopupMarksTheDefaultModeAndItsItemsStoreOne) {
  dialog.PopupMenu1Popup();
  EXPECT_EQ(view.marked, installs::AddMode::Folder);
  const std::pair<void (Presenter::*)(), const char*> items[] = {
      {&Presenter::PM1Click, "1"}, {&Presenter::PM3Click, "3"}, {&Presenter::PM2Click, "2"}};
  for (const auto& [item, stored] : items) {
    (dialog.*item)();
    EXPECT_EQ(registry->readValues(app::kProgramKey, {"AddFilesType"})->at(0), stored);
    dialog.PopupMenu1Popup();
    EXPECT_EQ(view.marked, installs::modeOf(stored));
  }
  EXPECT_TRUE(view.rows.empty()) << "choosing a mode adds nothing";
  program->settings.AddFilesType = "9";
  view.marked.reset();
  dialog.PopupMenu1Popup();
  EXPECT_FALSE(view.marked) << "no mode to mark";
}

// The preview pane beside the list, with readers that tell what they were given: the path the file will
// have in the game, and the companion found for it.
class DialogPreview : public DialogPresenter {
 protected:
  DialogPreview() { view.pane = &pane; }
  static preview::Preview describe(const std::string& gamePath, std::string_view, const preview::Companion& companion) {
    preview::Preview out;
    out.facts = {gamePath, companion("gignT.mdl").value_or("no companion")};
    return out;
  }
  static std::vector<std::string> warnings(const std::string& gamePath, std::string_view, const preview::Companion&) {
    return gamePath.ends_with(".wav") ? std::vector<std::string>{"8 bits", "stereo"} : std::vector<std::string>{"box"};
  }
  testing_support::RecordingPane paneView;
  preview::PreviewPanePresenter pane{fs, paneView, {describe, warnings}};
};

TEST_F(DialogPreview, TheSelectedFileShowsAsTheGameFileItReplacesAndTheStatusCountsTheWarnings) {
  EXPECT_EQ(view.warningsText, "") << "no files, no count";
  gameFile("models/player/gign/gignT.mdl", "the game's textures");
  ui.expectFiles("", {fresh("gign.mdl"), fresh("sub/go.wav")});
  dialog.AddFiles1();
  ASSERT_EQ(view.rows.size(), 2u);
  EXPECT_EQ(view.warningsText, "Предупреждений: 3");

  view.selected = 0;
  dialog.ListBox1Click();
  EXPECT_EQ(paneView.facts, (std::vector<std::string>{"models\\player\\gign\\gign.mdl", "the game's textures"}));
  testing_support::writeBytes(temp / "new/gignT.mdl", "the pack's textures");
  dialog.ListBox1Click();
  EXPECT_EQ(paneView.facts.at(1), "the pack's textures") << "beside the new file first";

  dialog.Button4Click();  // the list shown afresh has no selection
  EXPECT_TRUE(paneView.facts.empty());
  EXPECT_EQ(view.warningsText, "Предупреждений: 2");
  view.selected = std::nullopt;
  dialog.ListBox1Click();
  EXPECT_TRUE(paneView.facts.empty());

  dialog.Button5Click();
  EXPECT_EQ(view.warningsText, "");
}

}  // namespace
