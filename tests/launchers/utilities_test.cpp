#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "installs/texts.h"
#include "launchers/utilities.h"
#include "launchers/utility_table.h"
#include "support/program_fixture.h"
#include "sys/error.h"

namespace {

using namespace std::chrono_literals;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::makeFolder;
using testing_support::ProgramFixture;
using testing_support::readBytes;
using testing_support::writeBytes;

// The manager's list and status line, as the install and the removal leave them.
class FakeManager : public launchers::UtilityManagerView {
 public:
  int count() override { return static_cast<int>(names.size()); }
  std::optional<std::string> selectedName() override {
    if (selected < 0) return std::nullopt;
    return names[static_cast<std::size_t>(selected)];
  }
  void addName(const std::string& name) override { names.push_back(name); }
  void removeSelectedName() override {
    names.erase(names.begin() + selected);
    selected = -1;
  }
  void setStatusText(const std::string& text) override { status = text; }
  void setEnabled(bool isEnabled) override { enabled = isEnabled; }

  std::vector<std::string> names;
  int selected = -1;
  std::string status;
  bool enabled = true;
};

class Utilities : public ProgramFixture {
 protected:
  Utilities() {
    configure();
    program->LoadUtilList();
  }

  std::string utilitiesFolder() { return programFolder() + "utilities"; }
  std::vector<std::string> log() {
    const std::string file = programFolder() + "errors.txt";
    return fileExists(file) ? fs.readLines(file) : std::vector<std::string>{};
  }
  std::vector<std::string> utilitiesFolderEntries() {
    std::vector<std::string> names;
    fs.enumerate(utilitiesFolder(), [&](const sys::DirEntry& entry) { names.push_back(entry.name); });
    std::sort(names.begin(), names.end());
    return names;
  }

  // A downloaded utility: its program file in a folder of its own. Started with "setup", it answers with
  // the bytes of answer in "setup.dat" beside it (or with nothing, when answer is empty).
  std::string downloadedUtility(const std::string& answer, const std::string& file = "download/tool.exe") {
    const std::string path = temp / file;
    writeBytes(path, "program of " + file);
    shell.onOpen = [this, path, answer](const testing_support::RecordingShell::Call& call) {
      managerDuringStart = manager;
      if (call.file == path && call.params == "setup" && !answer.empty()) {
        writeBytes(sys::folderWithSeparator(path) + "setup.dat", answer);
      }
    };
    return path;
  }

  // Every check of the install wait moves the clock on by step.
  void clockMovesOnWithEvents(std::chrono::milliseconds step) {
    ui.onProcessEvents = [this, step] { clock.advance(step); };
  }

  // Installs picked, expecting the one box the install ends with.
  void install(const std::string& picked, const std::string& caption, const std::string& text) {
    ui.expectFiles("Открыть", {picked});
    ui.expectMessage(caption, text);
    launchers::installUtility(*program, manager, 300ms);
  }

  FakeManager manager;
  FakeManager managerDuringStart;
};

TEST_F(Utilities, InstallCopiesTheProgramIntoItsFolderAndFillsTheFirstFreeSlot) {
  program->utilities[0] = {"Other", "/u/other"};
  const std::string picked = downloadedUtility("Тестер\r\ntester\r\nignored third line\r\n");
  install(picked, "Внимание", "Новая утилита \"Тестер\" была успешно установлена");

  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, picked);
  EXPECT_EQ(shell.calls[0].params, "setup");
  EXPECT_EQ(shell.calls[0].workFolder, "");
  EXPECT_EQ(shell.calls[0].show, sys::ShowCommand::Hide);
  EXPECT_FALSE(managerDuringStart.enabled);
  EXPECT_EQ(managerDuringStart.status, "Установка утилиты...Ждите...");

  const std::string installed = utilitiesFolder() + sys::kSep + "tester" + sys::kSep + "tool.exe";
  EXPECT_EQ(readBytes(installed), "program of download/tool.exe");
  EXPECT_EQ(utilitiesFolderEntries(), std::vector<std::string>{"tester"});
  EXPECT_FALSE(fileExists(temp / "download/setup.dat"));
  EXPECT_EQ(program->utilities[1].name, "Тестер");
  EXPECT_EQ(program->utilities[1].path, installed);
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"),
            "Other\r\n/u/other\r\n\xD2\xE5\xF1\xF2\xE5\xF0\r\n" + installed + "\r\n");
  EXPECT_EQ(manager.names, std::vector<std::string>{"Тестер"});
  EXPECT_TRUE(manager.enabled);
  EXPECT_EQ(manager.status, "");
  EXPECT_TRUE(log().empty());
  const auto request = ui.fileRequests.at(0);
  if (sys::kSeparator == '\\') {
    EXPECT_EQ(request.filters, (std::vector<std::pair<std::string, std::string>>{{"exe", "*.exe"}}));
  } else {
    EXPECT_TRUE(request.filters.empty()) << "programs here have no .exe: every file is offered";
  }
}

TEST_F(Utilities, AStaleAnswerIsDeletedBeforeTheStartAndALateAnswerIsStillTaken) {
  const std::string picked = downloadedUtility("");
  writeBytes(temp / "download/setup.dat", "Stale\r\nstale\r\n");
  bool staleGone = false;
  int checks = 0;
  shell.onOpen = [&](const auto&) { staleGone = !fileExists(temp / "download/setup.dat"); };
  ui.onProcessEvents = [&] {
    clock.advance(10ms);
    // The utility answers late, but well within the limit.
    if (++checks == 8) writeBytes(temp / "download/setup.dat", "Late\r\nlate\r\n");
  };
  install(picked, "Внимание", "Новая утилита \"Late\" была успешно установлена");
  EXPECT_TRUE(staleGone);
  EXPECT_EQ(program->utilities[0].name, "Late");
  EXPECT_TRUE(folderExists(utilitiesFolder() + sys::kSep + "late"));
}

TEST_F(Utilities, NoAnswerWithinTheLimitIsReportedAndNothingIsCreated) {
  const std::string picked = downloadedUtility("");
  clockMovesOnWithEvents(50ms);
  install(picked, "Ошибка", "Не могу установить утилиту. Скорей всего этот файл не является утилитой");
  EXPECT_EQ(log(), std::vector<std::string>{
                       "07.03.2003 14:05:09: При установке утилиты, файл setup.dat не создавался более 15 секунд"});
  EXPECT_GE(ui.eventsProcessed, 6) << "the wait polls until the limit, handling events";
  EXPECT_TRUE(utilitiesFolderEntries().empty());
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "");
  EXPECT_TRUE(manager.enabled);
  EXPECT_EQ(manager.status, "");
  EXPECT_TRUE(manager.names.empty());
}

TEST_F(Utilities, TheSameUtilityAgainIsRefusedAndItsAnswerStays) {
  const std::string picked = downloadedUtility("Tool\r\ntool\r\n");
  install(picked, "Внимание", "Новая утилита \"Tool\" была успешно установлена");
  const std::string listBefore = readBytes(programFolder() + "utilities.dat");

  install(picked, "Ошибка", "Эта утилита уже установлена");
  EXPECT_EQ(log(), std::vector<std::string>{"07.03.2003 14:05:09: Папка \"utilfolder\" уже существует (процедура "
                                            "\"Tutils.Button1Click\")"});
  EXPECT_TRUE(fileExists(temp / "download/setup.dat"));
  EXPECT_EQ(program->utilities[1].name, "empty");
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), listBefore);
  EXPECT_EQ(manager.names.size(), 1u);
  EXPECT_TRUE(manager.enabled);
  EXPECT_EQ(manager.status, "");
}

TEST_F(Utilities, ABadAnswerIsRefusedAndNothingIsCreated) {
  struct Case {
    std::string answer;
    std::string logText;
  };
  const std::string badFolder = "В файле setup.dat недопустимое имя папки утилиты \"";
  const Case cases[] = {
      {"\r\n", "В файле setup.dat нет имени утилиты (строка 1)"},
      {"\r\nfolder\r\n", "В файле setup.dat нет имени утилиты (строка 1)"},
      {"empty\r\nfolder\r\n",
       "В файле setup.dat имя утилиты \"empty\" (строка 1) совпадает с пометкой свободного места"},
      {"Name only", badFolder + "\" (строка 2)"},
      {"Name\r\n\r\n", badFolder + "\" (строка 2)"},
      {"Name\r\n.\r\n", badFolder + ".\" (строка 2)"},
      {"Name\r\n..\r\n", badFolder + "..\" (строка 2)"},
      {"Name\r\n../../outside\r\n", badFolder + "../../outside\" (строка 2)"},
      {"Name\r\n..\\..\\outside\r\n", badFolder + "..\\..\\outside\" (строка 2)"},
      {"Name\r\n/tmp/x\r\n", badFolder + "/tmp/x\" (строка 2)"},
      {"Name\r\nC:x\r\n", badFolder + "C:x\" (строка 2)"},
      {"Name\r\na*b\r\n", badFolder + "a*b\" (строка 2)"},
      {"Name\r\na?b\r\n", badFolder + "a?b\" (строка 2)"},
      {"Name\r\na|b\r\n", badFolder + "a|b\" (строка 2)"},
      {"Name\r\na<b>\r\n", badFolder + "a<b>\" (строка 2)"},
      {"Name\r\na\"b\r\n", badFolder + "a\"b\" (строка 2)"},
      {"Name\r\na\tb\r\n", badFolder + "a\tb\" (строка 2)"},
      // Folders Windows cannot hold: a trailing dot or blank, its device names.
      {"Name\r\ntool.\r\n", badFolder + "tool.\" (строка 2)"},
      {"Name\r\ntool \r\n", badFolder + "tool \" (строка 2)"},
      {"Name\r\ncon\r\n", badFolder + "con\" (строка 2)"},
      {"Name\r\nNul.txt\r\n", badFolder + "Nul.txt\" (строка 2)"},
      {"Name\r\nLPT9.tar.gz\r\n", badFolder + "LPT9.tar.gz\" (строка 2)"},
      // The title of one of the program's own windows, in any letter case.
      {"утилиты\r\nfolder\r\n", "В файле setup.dat имя утилиты \"утилиты\" (строка 1) совпадает с заголовком окна программы"},
      {"ОШИБКА\r\nfolder\r\n", "В файле setup.dat имя утилиты \"ОШИБКА\" (строка 1) совпадает с заголовком окна программы"},
  };
  for (const auto& c : cases) {
    const std::string picked = downloadedUtility(c.answer);
    const std::size_t logLines = log().size();
    install(picked, "Ошибка", "Не могу установить утилиту. Скорей всего этот файл не является утилитой");
    ui.verifyAllAnswered();
    ASSERT_EQ(log().size(), logLines + 1) << c.answer;
    EXPECT_EQ(log().back(), "07.03.2003 14:05:09: " + c.logText);
    EXPECT_TRUE(utilitiesFolderEntries().empty()) << c.answer;
    EXPECT_FALSE(folderExists(temp / "outside")) << c.answer;
    EXPECT_EQ(program->utilities[0].name, "empty");
    EXPECT_TRUE(manager.enabled);
    EXPECT_EQ(manager.status, "");
  }
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "");
  EXPECT_TRUE(manager.names.empty());
}

TEST(Handshake, WindowsDeviceNamesAndOwnTitlesAreFaultsTheirNeighboursAreNot) {
  struct Case {
    std::string name;
    std::string folder;
    bool fault;
  };
  const Case cases[] = {
      {"Tool", "aux", true},          {"Tool", "Com1", true},          {"Tool", "prn.dat", true},
      {"Tool", "nul .txt", true},     {"Tool", "a.", true},            {"Tool", "com10", false},
      {"Tool", "console", false},     {"Tool", "lpt0", false},         {"Tool", ".tool", false},
      {"Tool", " tool", false},       {"Tool", "con-tool", false},     {"Tool", "Утилиты", false},
      {app::mainWindowCaption(), "f", true}, {"varnikit", "f", true}, {"Меню запуска", "f", true},
      {"помощь", "f", true},          {"Настройки", "f", true},        {"Командная строка", "f", true},
      {"Утилиты 2", "f", false},      {"Varnikit tool", "f", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(launchers::handshakeFault({c.name, c.folder}).has_value(), c.fault) << c.name << " / " << c.folder;
  }
}

TEST_F(Utilities, ANameAlreadyInstalledIsRefusedWhateverItsLetterCase) {
  install(downloadedUtility("Конфиг\r\ncfg\r\n"), "Внимание", "Новая утилита \"Конфиг\" была успешно установлена");
  const std::string listBefore = readBytes(programFolder() + "utilities.dat");
  const std::string other = downloadedUtility("КОНФИГ\r\nother\r\n", "download2/other.exe");
  install(other, "Ошибка", "Эта утилита уже установлена");
  EXPECT_EQ(log(), std::vector<std::string>{"07.03.2003 14:05:09: Утилита \"КОНФИГ\" уже установлена (процедура "
                                            "\"Tutils.Button1Click\")"});
  EXPECT_EQ(utilitiesFolderEntries(), std::vector<std::string>{"cfg"});
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), listBefore);
  EXPECT_EQ(manager.names, std::vector<std::string>{"Конфиг"});
  EXPECT_TRUE(manager.enabled);
}

TEST_F(Utilities, AReinstallFromTheInstalledCopyLeavesNoAnswerInItsFolder) {
  install(downloadedUtility("Tool\r\ntool\r\n"), "Внимание", "Новая утилита \"Tool\" была успешно установлена");
  const std::string installed = program->utilities[0].path;
  // The installed copy answers as well, beside itself; once with its name, once after a removal that
  // left its folder behind.
  shell.onOpen = [&](const testing_support::RecordingShell::Call& call) {
    if (call.file == installed) writeBytes(sys::folderWithSeparator(installed) + "setup.dat", "Tool\r\ntool\r\n");
  };
  install(installed, "Ошибка", "Эта утилита уже установлена");
  EXPECT_FALSE(fileExists(sys::folderWithSeparator(installed) + "setup.dat"));
  program->utilities[0] = {};
  install(installed, "Ошибка", "Эта утилита уже установлена");
  EXPECT_FALSE(fileExists(sys::folderWithSeparator(installed) + "setup.dat"));
  EXPECT_TRUE(fileExists(installed));
}

// A file system on which no file can be copied, as onto a full or write-protected disk.
class NoCopies : public sys::FileSystem {
 public:
  void copyFile(const std::string& from, const std::string&) override { throw sys::IoError("Permission denied: " + from); }
};

TEST_F(Utilities, AProgramThatNeverArrivedIsNotReportedAsInstalled) {
  NoCopies failing;
  app::Program failingProgram(app::Services{ui, failing, *registry, shell, windows, clock, ""});
  failingProgram.settings = program->settings;
  const std::string picked = downloadedUtility("Tool\r\ntool\r\n");
  const std::string target = utilitiesFolder() + sys::kSep + "tool" + sys::kSep + "tool.exe";
  ui.expectFiles("Открыть", {picked});
  ui.expectError(installs::texts::copyFailed(picked, target));
  ui.expectAttention(installs::texts::copyByHand(picked, target));  // answered without copying
  ui.expectError("Произошла ошибка. Не могу исправить");
  launchers::installUtility(failingProgram, manager, 300ms);
  ui.verifyAllAnswered();
  EXPECT_EQ(log().back(), "07.03.2003 14:05:09: Файл утилиты не был скопирован в её папку (процедура "
                          "\"Tutils.Button1Click\")");
  EXPECT_EQ(failingProgram.utilities[0].name, "empty");
  EXPECT_TRUE(manager.names.empty());
  EXPECT_TRUE(utilitiesFolderEntries().empty()) << "the empty folder would block the next try";
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "");
  EXPECT_TRUE(manager.enabled);
}

TEST_F(Utilities, RemovalNeverDeletesAFileOutsideTheUtilitiesFolder) {
  const std::string sep = sys::kSep;
  const std::string outside = temp / "outside/prog";
  const std::string climbing = utilitiesFolder() + sep + ".." + sep + ".." + sep + "elsewhere" + sep + "prog";
  const std::string direct = utilitiesFolder() + sep + "prog";
  for (const auto& file : {outside, temp / "elsewhere/prog", direct}) writeBytes(file, "x");
  program->utilities[0] = {"Evil", outside};
  program->utilities[1] = {"Evil", climbing};
  program->utilities[2] = {"Evil", direct};
  manager.names = {"Evil", "Evil", "Evil"};
  manager.selected = 0;
  ui.expectAttention("Утилита удалена");
  launchers::removeUtility(*program, manager);
  EXPECT_TRUE(fileExists(outside));
  EXPECT_TRUE(fileExists(temp / "elsewhere/prog"));
  EXPECT_FALSE(fileExists(direct)) << "a program right in the utilities folder is ours";
  EXPECT_TRUE(testing_support::folderExists(utilitiesFolder()));
  for (int k = 0; k < 3; ++k) EXPECT_EQ(program->utilities[static_cast<std::size_t>(k)].name, "empty");
}

TEST_F(Utilities, TenListedUtilitiesAreTheMostAndACancelledChoiceDoesNothing) {
  for (int k = 0; k < 10; ++k) manager.names.push_back("U" + std::to_string(k));
  ui.expectAttention("Утилит не может быть больше 10");
  launchers::installUtility(*program, manager, 300ms);
  EXPECT_TRUE(ui.fileRequests.empty());

  manager.names.pop_back();
  ui.expectFiles("Открыть", {});
  launchers::installUtility(*program, manager, 300ms);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(manager.enabled);
}

TEST_F(Utilities, NoFreeSlotAfterTheCopyTakesTheCopyAwayAgain) {
  for (int k = 0; k < 10; ++k) program->utilities[static_cast<std::size_t>(k)] = {"U", "/u/" + std::to_string(k)};
  const std::string picked = downloadedUtility("Tool\r\ntool\r\n");
  install(picked, "Ошибка", "Произошла ошибка. Не могу исправить");
  EXPECT_EQ(log(), std::vector<std::string>{"07.03.2003 14:05:09: В процедуре \"TUtils.Button1Click\" при поиске "
                                            "пустого слота для утилиты, все слоты оказались заполнены"});
  EXPECT_TRUE(utilitiesFolderEntries().empty()) << "a later install must not be refused";
  EXPECT_TRUE(manager.names.empty()) << "no success is shown for a utility no slot records";
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "");
  EXPECT_TRUE(manager.enabled);
}

// A file system whose folder creation fails, as in a read-only program folder.
class NoNewFolders : public sys::FileSystem {
 public:
  void createFolder(const std::string& path) override { throw sys::IoError("Permission denied: " + path); }
};

TEST_F(Utilities, AnIoErrorEndsTheInstallWithTheManagerEnabled) {
  NoNewFolders failing;
  app::Program failingProgram(app::Services{ui, failing, *registry, shell, windows, clock, ""});
  failingProgram.settings = program->settings;
  const std::string picked = downloadedUtility("Tool\r\ntool\r\n");
  ui.expectFiles("Открыть", {picked});
  EXPECT_THROW(launchers::installUtility(failingProgram, manager, 300ms), sys::IoError);
  EXPECT_TRUE(manager.enabled);
  EXPECT_EQ(manager.status, "");
  EXPECT_EQ(failingProgram.utilities[0].name, "empty");
}

TEST_F(Utilities, RemovalDeletesTheProgramAndKeepsAFolderThatHoldsOtherFiles) {
  const std::string picked = downloadedUtility("Tool\r\ntool\r\n");
  install(picked, "Внимание", "Новая утилита \"Tool\" была успешно установлена");
  const std::string folder = utilitiesFolder() + sys::kSep + "tool";
  writeBytes(folder + sys::kSep + "settings.ini", "mine");

  ui.expectAttention("Укажите утилиту");
  launchers::removeUtility(*program, manager);
  EXPECT_TRUE(fileExists(folder + sys::kSep + "tool.exe"));

  manager.selected = 0;
  ui.expectAttention("Утилита удалена");
  launchers::removeUtility(*program, manager);
  EXPECT_FALSE(fileExists(folder + sys::kSep + "tool.exe"));
  EXPECT_TRUE(fileExists(folder + sys::kSep + "settings.ini"));
  EXPECT_EQ(program->utilities[0].name, "empty");
  EXPECT_EQ(program->utilities[0].path, "empty");
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "");
  EXPECT_TRUE(manager.names.empty());

  // The folder left behind still counts as the utility's.
  install(picked, "Ошибка", "Эта утилита уже установлена");
}

TEST_F(Utilities, RemovalClearsEverySlotOfTheNameAndTheListLosesOneRow) {
  for (const char* name : {"a", "b", "c"}) {
    writeBytes(utilitiesFolder() + sys::kSep + name + sys::kSep + "prog", "x");
  }
  const std::string sep = sys::kSep;
  program->utilities[0] = {"Twin", utilitiesFolder() + sep + "a" + sep + "prog"};
  program->utilities[1] = {"Other", utilitiesFolder() + sep + "b" + sep + "prog"};
  program->utilities[2] = {"Twin", utilitiesFolder() + sep + "c" + sep + "prog"};
  program->utilities[3] = {"Twin", "empty"};  // a name without a program deletes nothing
  manager.names = {"Twin", "Other", "Twin"};
  manager.selected = 2;
  ui.expectAttention("Утилита удалена");
  // Run where a file called "empty" lies, which is not the utility's to delete.
  writeBytes(temp / "empty", "not ours");
  const auto workingFolder = std::filesystem::current_path();
  std::filesystem::current_path(temp.path());
  launchers::removeUtility(*program, manager);
  std::filesystem::current_path(workingFolder);
  EXPECT_EQ(utilitiesFolderEntries(), std::vector<std::string>{"b"}) << "emptied folders go";
  EXPECT_EQ(manager.names, (std::vector<std::string>{"Twin", "Other"}));
  EXPECT_EQ(program->utilities[0].name, "empty");
  EXPECT_EQ(program->utilities[2].name, "empty");
  EXPECT_EQ(program->utilities[3].name, "empty");
  EXPECT_EQ(readBytes(programFolder() + "utilities.dat"), "Other\r\n" + program->utilities[1].path + "\r\n");
  EXPECT_TRUE(fileExists(temp / "empty"));
}

class UtilityList : public Utilities {};

TEST_F(UtilityList, PairsLandInSlotsFromOneWhateverWasThereBefore) {
  struct Case {
    std::string bytes;
    std::vector<std::pair<std::string, std::string>> slots;  // the occupied ones, from slot 1
  };
  std::string eleven;
  for (int i = 1; i <= 11; ++i) eleven += "T" + std::to_string(i) + "\r\n/p" + std::to_string(i) + "\r\n";
  std::vector<std::pair<std::string, std::string>> ten;
  for (int i = 1; i <= 10; ++i) ten.push_back({"T" + std::to_string(i), "/p" + std::to_string(i)});
  const Case cases[] = {
      {"", {}},
      {"A\r\n/a\r\nB\r\n/b\r\nC\r\n/c\r\n", {{"A", "/a"}, {"B", "/b"}, {"C", "/c"}}},
      {"A\r\n/a\r\nB", {{"A", "/a"}, {"B", "empty"}}},  // a name without its path
      {eleven, ten},                                      // only the first ten pairs
  };
  for (const auto& c : cases) {
    program->utilities[5] = {"left over", "/x"};
    writeBytes(programFolder() + "utilities.dat", c.bytes);
    program->LoadUtilList();
    for (std::size_t k = 0; k < 10; ++k) {
      const auto expected = k < c.slots.size() ? c.slots[k] : std::pair<std::string, std::string>{"empty", "empty"};
      EXPECT_EQ(program->utilities[k].name, expected.first) << k;
      EXPECT_EQ(program->utilities[k].path, expected.second) << k;
    }
  }
  // Saving writes the ten it holds, never more.
  launchers::saveUtilList(fs, programFolder(), program->utilities);
  EXPECT_EQ(fs.readLines(programFolder() + "utilities.dat").size(), 20u);
}

class RunUtility : public Utilities {
 protected:
  RunUtility() {
    tool = temp / "program/utilities/tool/tool";
    writeBytes(tool, "x");
    program->utilities[2] = {"Инструмент", tool};
  }

  // What the main window looked like at each lookup of the utility's window.
  struct Seen {
    bool enabled;
    bool busy;
    std::string status;
  };
  void recordEachLookup() {
    windows.onLookup = [this](const std::string&) { seen.push_back({ui.mainWindowEnabled, ui.busy, ui.statusText}); };
  }

  std::string tool;
  std::vector<Seen> seen;
};

TEST_F(RunUtility, StartsWithTheArgumentAndWaitsWhileTheWindowExists) {
  recordEachLookup();
  auto previous = windows.onLookup;
  windows.onLookup = [&](const std::string& title) {
    previous(title);
    EXPECT_EQ(title, "Инструмент");
    // The window appears at the third look and is closed after the sixth.
    if (windows.lookups == 3) windows.windows = {"Инструмент"};
    if (windows.lookups == 6) windows.windows.clear();
  };
  launchers::RunUtil(*program, 3, 300ms);

  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].file, tool);
  EXPECT_EQ(shell.calls[0].params, "varnikit");
  EXPECT_EQ(shell.calls[0].workFolder, "");
  EXPECT_EQ(shell.calls[0].show, sys::ShowCommand::Show);
  ASSERT_EQ(seen.size(), 6u);
  // Starting: disabled, normal cursor, "Запуск утилиты...".
  EXPECT_FALSE(seen[0].enabled);
  EXPECT_FALSE(seen[0].busy);
  EXPECT_EQ(seen[1].status, "Запуск утилиты...Ждите...");
  EXPECT_FALSE(seen[2].busy);
  // Running: busy with the utility's name.
  for (std::size_t i = 3; i < 6; ++i) {
    EXPECT_TRUE(seen[i].busy) << i;
    EXPECT_FALSE(seen[i].enabled) << i;
    EXPECT_EQ(seen[i].status, "Работает утилита: \"Инструмент\"...") << i;
  }
  // Done.
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(ui.statusText, "");
  EXPECT_EQ(ui.focusRequests, 1);
  EXPECT_TRUE(log().empty());
}

TEST_F(RunUtility, AWindowThatIsAlreadyThereStartsTheRunningStateAtOnce) {
  windows.windows = {"Инструмент"};
  recordEachLookup();
  auto previous = windows.onLookup;
  windows.onLookup = [&](const std::string& title) {
    previous(title);
    if (windows.lookups == 3) windows.windows.clear();
  };
  launchers::RunUtil(*program, 3, 300ms);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen[1].busy);
  for (const auto& text : ui.statusHistory) EXPECT_NE(text, "Запуск утилиты...Ждите...");
  EXPECT_TRUE(ui.mainWindowEnabled);
}

TEST_F(RunUtility, AWindowThatNeverAppearsEndsInAnErrorWithTheMainWindowBack) {
  const struct {
    std::string name;
    std::vector<std::string> windowsThere;
  } cases[] = {
      {"Инструмент", {"Инструмент 2", "инструмент"}},  // another title is no match
      {"", {""}},                                       // an empty name matches no untitled window
  };
  for (const auto& c : cases) {
    program->utilities[2].name = c.name;
    windows.windows = c.windowsThere;
    clockMovesOnWithEvents(40ms);
    ui.expectError("Произошла ошибка").onNextMessage([&] { EXPECT_TRUE(ui.mainWindowEnabled) << "its owner"; });
    launchers::RunUtil(*program, 3, 300ms);
    ui.verifyAllAnswered();
    EXPECT_EQ(log().back(),
              "07.03.2003 14:05:09: Утилита не была запущена в течение 15 секунд (процедура \"RunUtil\")");
    EXPECT_TRUE(ui.mainWindowEnabled);
    EXPECT_FALSE(ui.busy);
    EXPECT_EQ(ui.statusText, "");
    EXPECT_EQ(ui.focusRequests, 0);
  }
  EXPECT_EQ(shell.calls.size(), 2u) << "the utility was started and is left running";
}

TEST_F(RunUtility, AMissingProgramIsReportedBeforeAnythingChanges) {
  makeFolder(temp / "program/utilities/folder");
  for (const std::string& path : {temp / "program/utilities/gone", temp / "program/utilities/folder",
                                  std::string("empty")}) {
    program->utilities[2].path = path;
    ui.expectError("Не могу запустить утилиту. Файл не найден");
    launchers::RunUtil(*program, 3, 300ms);
    ui.verifyAllAnswered();
    EXPECT_EQ(log().back(), "07.03.2003 14:05:09: Файл для запуска утилиты не найден");
  }
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(ui.statusHistory.empty());
  EXPECT_TRUE(ui.mainWindowEnabled);
}

// A file system whose error log cannot be written.
class NoLog : public sys::FileSystem {
 public:
  void appendLine(const std::string& path, const std::string&) override { throw sys::IoError("No space: " + path); }
};

TEST_F(RunUtility, AnIoErrorInTheWaitLeavesTheMainWindowEnabled) {
  NoLog failing;
  app::Program failingProgram(app::Services{ui, failing, *registry, shell, windows, clock, ""});
  failingProgram.settings = program->settings;
  failingProgram.utilities = program->utilities;
  windows.onLookup = [this](const std::string&) { clock.advance(100ms); };
  ui.expectError("Произошла ошибка");
  EXPECT_THROW(launchers::RunUtil(failingProgram, 3, 300ms), sys::IoError);
  EXPECT_TRUE(ui.mainWindowEnabled);
  EXPECT_FALSE(ui.busy);
  EXPECT_EQ(ui.statusText, "");
}

}  // namespace
