#include <gtest/gtest.h>

#include <map>

#include "app/detect.h"
#include "app/options_presenter.h"
#include "support/program_fixture.h"

namespace {

using testing_support::ProgramFixture;
using testing_support::writeBytes;
using Field = app::OptionsView::Field;

// The dialog's controls as plain values, and every call that is not a plain value, in order.
class RecordingOptions final : public app::OptionsView {
 public:
  void setFieldText(Field field, const std::string& text) override { fields[field] = text; }
  std::string fieldText(Field field) const override { return fields.count(field) ? fields.at(field) : ""; }
  void focusField(Field field) override { focused = field; }
  void setUpdateChoice(const std::string& value) override { choice = value; }
  std::string updateChoice() const override { return choice; }
  void setLastUpdateText(const std::string& text) override { lastUpdate = text; }
  void setRefreshHint(const std::string& text) override { refreshHint = text; }
  void setRefreshEnabled(bool enabled) override { refreshEnabled = enabled; }
  void closeWindow() override { calls.push_back("close"); }
  void closeProgram() override { calls.push_back("end program"); }
  void holdActivation() override { calls.push_back("hold"); }
  void releaseActivation() override { calls.push_back("release"); }
  void showFilesListPage() override { calls.push_back("page 1"); }
  void refreshFilesList() override { calls.push_back("refill"); }

  std::map<Field, std::string> fields;
  std::optional<Field> focused;
  std::string choice = "2";
  std::string lastUpdate, refreshHint;
  bool refreshEnabled = true;
  std::vector<std::string> calls;
};

class OptionsPresenterTest : public ProgramFixture {
 protected:
  OptionsPresenterTest() { gameFile("liblist.gam"); }
  void store(const std::vector<std::pair<std::string, std::string>>& values) {
    registry->writeValues(app::kProgramKey, values);
  }
  RecordingOptions view;
  app::OptionsPresenter presenter{*program, view};
};

TEST_F(OptionsPresenterTest, ShowingFillsTheDialogFromTheRegistryAndHoldsTheMainWindow) {
  struct Case {
    const char* name;
    std::string folder;
    std::string listUpdate;
    std::string date;
    bool notice;
    std::string choice;
    std::string lastUpdate;
  };
  const Case cases[] = {
      {"valid folder, monthly", gameFolder(), "4", "01.02.2003", false, "4", "01.02.2003"},
      {"no folder, never scanned", "", "1", "", true, "1", "неизвестно"},
      {"a folder that is gone, unknown policy", gameFolder() + "-gone", "7", "", true, "2", "неизвестно"},
  };
  for (const Case& c : cases) {
    RecordingOptions window;
    app::OptionsPresenter fresh(*program, window);
    program->settings.CSDir = c.folder;
    store({{"CSDir", c.folder}, {"CSFile", "hl.exe"}, {"RunParam", "-console"}, {"ListUpdate", c.listUpdate},
           {"FilesListDate", c.date}});
    if (c.notice) ui.expectAttention("Папка с игрой не указана. Укажите папку с игрой");
    fresh.FormShow();
    ui.verifyAllAnswered();
    EXPECT_FALSE(ui.mainWindowEnabled) << c.name;
    EXPECT_EQ(window.fields[Field::Folder], c.folder) << c.name;
    EXPECT_EQ(window.fields[Field::Launcher], "hl.exe") << c.name;
    EXPECT_EQ(window.fields[Field::Params], "-console") << c.name;
    EXPECT_EQ(window.choice, c.choice) << c.name;
    EXPECT_EQ(window.lastUpdate, c.lastUpdate) << c.name;
    EXPECT_EQ(window.refreshHint, "Последнее обновление: " + c.date) << c.name;
    EXPECT_EQ(window.refreshEnabled, !c.notice) << c.name;
    EXPECT_EQ(ui.statusText, "открыто окно настроек") << c.name;

    // Hidden: the main window is given back only with a valid folder (else the program is ending).
    fresh.FormHide();
    EXPECT_EQ(ui.mainWindowEnabled, !c.notice) << c.name;
    EXPECT_EQ(ui.statusText, "") << c.name;
    ui.setMainWindowEnabled(true);
  }
}

TEST_F(OptionsPresenterTest, OkTakesTheFieldsOverWritesTheSettingsAndCloses) {
  configure();
  view.fields = {{Field::Folder, gameFolder() + sys::kSep + sys::kSep},
                 {Field::Launcher, "hl.exe"},
                 {Field::Params, "-game cstrike"}};
  view.choice = "3";
  presenter.Button1Click();
  EXPECT_EQ(program->settings.CSDir, gameFolder()) << "trailing separators go";
  const auto stored = registry->readValues(app::kProgramKey, {"CSDir", "CSFile", "RunParam", "ListUpdate"});
  ASSERT_TRUE(stored);
  EXPECT_EQ(*stored, (std::vector<std::string>{gameFolder(), "hl.exe", "-game cstrike", "3"}));
  EXPECT_EQ(view.calls, std::vector<std::string>{"close"});

  view.choice = "";  // no choice checked keeps the stored one
  presenter.Button1Click();
  EXPECT_EQ(program->settings.ListUpdate, "3");
}

TEST_F(OptionsPresenterTest, ClosingWithoutAValidFolderEndsTheProgram) {
  configure();
  presenter.FormClose();
  EXPECT_TRUE(view.calls.empty());
  program->settings.CSDir = gameFolder() + "-gone";
  ui.expectError("Папка игры указана неверно");
  presenter.FormClose();
  ui.verifyAllAnswered();
  EXPECT_EQ(view.calls, std::vector<std::string>{"end program"});
}

TEST_F(OptionsPresenterTest, RefreshClosesWithTheActivationHeldThenScansAndRefills) {
  program->settings.CSDir = "";
  ui.expectError("Укажите папку с игрой");
  presenter.Button2Click();
  EXPECT_TRUE(view.calls.empty());

  configure();
  gameFile("models/player/gign/gign.mdl");
  program->ListUpdatePending = true;
  ui.expectMessage("Поиск файлов завершен", "Найдено 2 файлов");
  presenter.Button2Click();
  ui.verifyAllAnswered();
  EXPECT_EQ(view.calls, (std::vector<std::string>{"hold", "close", "page 1", "refill", "release"}));
  EXPECT_FALSE(program->ListUpdatePending) << "this scan was the schedule's";
  EXPECT_TRUE(testing_support::fileExists(program->settings.FilesListDir));
}

// A game folder stored by OK other than the one the catalogue lists: the next activation treats the
// catalogue as missing, announces the scan and makes it of the new folder.
TEST_F(OptionsPresenterTest, AnotherGameFolderIsScannedAtTheNextActivationUnlessTheCatalogueIsItsOwn) {
  configure();
  view.choice = "1";  // no scan by the schedule
  const std::string halfLife = temp / "hl", newGame = halfLife + sys::kSep + "cstrike";
  writeBytes(newGame + sys::kSep + "new.mdl", "new");
  writeBytes(newGame + sys::kSep + "liblist.gam", "game");
  writeBytes(halfLife + sys::kSep + "hl.exe", "launcher");
  writeBytes(program->settings.FilesListDir, gameFile("old.mdl") + "\r\n");  // made before this run
  const auto ok = [&](const std::string& folder) {
    view.fields[Field::Folder] = folder;
    presenter.Button1Click();
  };
  const auto activation = [&](app::Program& activated, const char* found) {
    if (found) ui.expectAttention("Необходимо произвести поиск файлов в папке с игрой").expectMessage("Поиск файлов завершен", found);
    activated.activate();
    ui.verifyAllAnswered();
  };

  activation(*program, nullptr);  // the catalogue lists this folder
  ok(newGame);
  ok(gameFolder());
  activation(*program, nullptr);  // given back before any activation
  ok(newGame);
  activation(*program, "Найдено 2 файлов");
  EXPECT_NE(testing_support::readBytes(program->settings.FilesListDir).find(newGame + sys::kSep + "new.mdl\r\n"),
            std::string::npos);
  // The folder around the scanned one: every line of the catalogue lies in it, yet it lists not all of it.
  // Its game folder is offered, and declined.
  ui.expectAttention("В папке \"" + halfLife + "\" нет файла liblist.gam, а в папке \"" + newGame +
                         "\" он есть. Взять папку \"" + newGame + "\"?",
                     app::Answer::No);
  ok(halfLife);
  activation(*program, "Найдено 3 файлов");
  activation(*program, nullptr);

  // A later run, its catalogue listing another folder, or nothing.
  for (const auto& [catalogue, found] : {std::pair<std::string, const char*>{newGame + "\r\n", "Найдено 2 файлов"},
                                         {"", nullptr}}) {
    writeBytes(program->settings.FilesListDir, catalogue);
    app::Program later(program->services());
    later.startUp();
    later.settings.CSDir = gameFolder();
    activation(later, found);
  }
}

TEST_F(OptionsPresenterTest, CheckNamesTheFirstWrongFieldAndPutsTheCursorThere) {
  const std::string launcher = gameFile("hl.exe");
  struct Case {
    const char* name;
    std::string folder, launcher;
    const char* caption;
    const char* text;
    std::optional<Field> focused;
  };
  const Case cases[] = {
      {"both right", gameFolder(), launcher, "Внимание", "Все данные введены правильно", std::nullopt},
      {"folder wrong", gameFolder() + "-gone", launcher, "Ошибка", "Папка игры указана неверно", Field::Folder},
      {"launcher wrong", gameFolder(), gameFolder() + "/none.exe", "Ошибка", "Файл для запуска игры указан неверно",
       Field::Launcher},
  };
  for (const Case& c : cases) {
    RecordingOptions window;
    app::OptionsPresenter fresh(*program, window);
    window.fields = {{Field::Folder, c.folder}, {Field::Launcher, c.launcher}};
    ui.expectMessage(c.caption, c.text);
    fresh.Button5Click();
    ui.verifyAllAnswered();
    EXPECT_EQ(window.focused, c.focused) << c.name;
  }
}

// A folder without "liblist.gam" is asked about at "Проверить", "OK" and the auto-detection: "Да" keeps it
// (and it is not asked about again), "Нет" goes back to the field; the game folder inside the one chosen
// is offered instead, "Нет" keeping the one chosen.
TEST_F(OptionsPresenterTest, AFolderThatIsNotTheGamesIsAskedAboutOnce) {
  const std::string plain = temp / "plain", halfLife = temp / "Half-Life", inside = halfLife + sys::kSep + "cstrike";
  writeBytes(inside + sys::kSep + "liblist.gam", "game");
  testing_support::makeFolder(plain + sys::kSep + "cstrike");
  const auto question = [](const std::string& folder) {
    return "В папке \"" + folder + "\" нет файла liblist.gam. Это точно папка игры cstrike?";
  };
  const std::string offer = "В папке \"" + halfLife + "\" нет файла liblist.gam, а в папке \"" + inside +
                            "\" он есть. Взять папку \"" + inside + "\"?";
  const struct {
    std::string folder, question;
    app::Answer answer;
    std::string taken;  // "" when back in the field
  } cases[] = {{gameFolder(), "", app::Answer::Ok, gameFolder()},  {plain, question(plain), app::Answer::Yes, plain},
               {plain, question(plain), app::Answer::No, ""},      {halfLife, offer, app::Answer::Yes, inside},
               {halfLife, offer, app::Answer::No, halfLife}};
  for (const auto& c : cases) {
    RecordingOptions window;
    app::OptionsPresenter fresh(*program, window);
    window.fields[Field::Folder] = c.folder;
    if (!c.question.empty()) ui.expectAttention(c.question, c.answer);
    if (!c.taken.empty()) {
      ui.expectAttention("Все данные введены правильно");  // then "OK" asks no more
    } else {
      ui.expectAttention(c.question, app::Answer::No);  // "OK" asks again, and stays
    }
    fresh.Button5Click();
    fresh.Button1Click();
    ui.verifyAllAnswered();
    EXPECT_EQ(window.focused, c.taken.empty() ? std::optional(Field::Folder) : std::nullopt) << c.folder;
    EXPECT_EQ(window.fields[Field::Folder], c.taken.empty() ? c.folder : c.taken) << c.folder;
    EXPECT_EQ(window.calls, c.taken.empty() ? std::vector<std::string>{} : std::vector<std::string>{"close"});
    EXPECT_EQ(program->settings.CSDir, c.taken.empty() ? gameFolder() : c.taken) << c.folder;
    program->settings.CSDir = gameFolder();
  }

  // The auto-detection's folder, declined, is not found: the field keeps its text.
  registry->writeValues(app::kGameKey, {{"InstallPath", plain}});
  for (const app::Answer answer : {app::Answer::No, app::Answer::Yes}) {
    view.fields[Field::Folder] = "typed";
    ui.expectAttention(question(plain + sys::kSep + "cstrike"), answer);
    ui.expectAttention(answer == app::Answer::Yes ? "Файл для запуска игры не найден" : "Информация не найдена");
    presenter.Button4Click();
    ui.verifyAllAnswered();
    EXPECT_EQ(view.fields[Field::Folder], answer == app::Answer::Yes ? plain + sys::kSep + "cstrike" : "typed");
  }
  EXPECT_EQ(view.focused, Field::Folder);
}

TEST_F(OptionsPresenterTest, BrowsingFillsAFieldOnlyWhenSomethingWasChosen) {
  view.fields[Field::Folder] = gameFolder();
  ui.expectFolder("Укажите папку с игрой", std::nullopt);
  presenter.AHMLookupEdit1Button1Click();
  EXPECT_EQ(view.fields[Field::Folder], gameFolder());
  ui.expectFiles("Укажите файл для запуска игры", {gameFolder() + "/hl.exe"});
  presenter.AHMLookupEdit2Button1Click();
  EXPECT_EQ(view.fields[Field::Launcher], gameFolder() + "/hl.exe");
  ui.verifyAllAnswered();
}

// The folder chooser opens at the game folder typed (its parent once it is gone); the launcher chooser in
// the launcher's folder, else beside the game folder, where the game's launcher lies.
TEST_F(OptionsPresenterTest, ChoosersOpenWhereTheFieldsPoint) {
  const std::string halfLife = temp / "game", tools = temp / "tools";
  testing_support::makeFolder(tools);
  const struct {
    std::string folder, launcher, folderStart, launcherStart;
  } cases[] = {
      {gameFolder(), tools + sys::kSep + "run.exe", gameFolder(), tools},
      {gameFolder() + sys::kSep, "", gameFolder(), halfLife},
      {gameFolder() + "-gone", temp / "gone/hl.exe", halfLife, halfLife},
      {temp / "gone/cstrike", "", "", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    view.fields = {{Field::Folder, c.folder}, {Field::Launcher, c.launcher}};
    ui.expectFolder("Укажите папку с игрой", std::nullopt);
    ui.expectFiles("Укажите файл для запуска игры", {});
    presenter.AHMLookupEdit1Button1Click();
    presenter.AHMLookupEdit2Button1Click();
    ui.verifyAllAnswered();
    EXPECT_EQ(ui.folderRequests.back(), c.folderStart) << c.folder;
    EXPECT_EQ(ui.fileRequests.back().initialFolder, c.launcherStart) << c.folder << " " << c.launcher;
  }
}

}  // namespace
