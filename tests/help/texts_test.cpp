#include <gtest/gtest.h>

#include <string_view>

#include "help/links.h"
#include "help/texts.h"

namespace {

using Lines = std::vector<std::string>;

Lines split(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2) {
    lines.push_back(text.substr(start, at - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

TEST(HelpTopics, TitlesInListOrder) {
  EXPECT_EQ(help::topicTitles(),
            (Lines{"О программе", "Установка файлов", "Меню \"Запуск\"", "Меню \"Утилиты\"", "Список файлов"}));
}

TEST(HelpTopics, EachTopicReadsLineByLine) {
  const std::string author = help::kAuthorName;
  const std::string mail = help::kAuthorEmail;
  const Lines expected[] = {
      {"Varnikit", "Эта версия программы появилась 20 января 2003 года.", "Автор: " + author,
       std::string("Страничка программы: ") + help::kProgramPage},
      {"Установка файлов",
       "Чтобы установить новые файлы (модели оружия, игроков т.д.)",
       "1. Щёлкните по кнопке \"установить файлы\"",
       "2. Добавьте в \"список файлов\" файлы для установки с помощью кнопки \"добавить\"",
       "3. Введите описание установки (не обязательно)",
       "4. Нажмите кнопку \"Установить\". Введите название установки. Ждите.",
       "",
       "Примечания:",
       "1. Если щёлкнуть правой кнопкой мыши по кнопке \"добавить\", появится контекстное меню, с помощью которого вы можете выбрать один из трёх вариантов добавления файлов в список.",
       "2. Чтобы увидеть информацию о файле из \"списка файлов\", необходимо сделать по нему двойной щёлчок"},
      {"Меню \"запуск\" существует для того, чтобы вы могли",
       "запускать нужные вам файлы из меню программы.",
       "",
       "Например, вы можете добавить пункт меню, для запуска Counter-Strike.",
       "Для этого:",
       "1. Щёлкните в списке по любой строке с надписью \"empty\"",
       "2. В поле \"название пункта\" введите \"Counter-Strike\"",
       "3. В поле \"путь к файлу\" щёлкните по кнопке \"...\"",
       "4. Укажите файл hl.exe или cstrike.exe (в зависимости от версии игры)",
       "5. Если вы указали файл hl.exe, то в поле \"параметры запуска\" введите \"-game cstrike\" (без кавычек)",
       "6. Нажмите кнопку \"OK\""},
      {"Меню утилиты",
       "Varnikit умеет подгружать утилиты, специально созданные для него.",
       "Благодаря этому, возможности программы практически не ограничены.",
       "Утилиты - небольшие специализированные программы, способные выполнять определённую функцию.",
       "Например: утилита для настройки конфига, утилита для установки дополнительных карт и т.д.",
       "",
       "Чтобы установить новую утилиту, щёлкните по пункту меню \"утилиты => настройка\". Нажмите кнопку \"добавить\". Укажите файл утилиты. Должно появиться сообщение об успешной установке утилиты.",
       "Для запуска утилиты зайдите в меню \"утилиты\" и щёлкните по пункту c её названием.",
       "",
       std::string("Новые утилиты для Varnikit можно найти здесь: ") + help::kUtilitiesPage,
       "Вы также можете заказать утилиту, написав письмо на " + mail + " с описание её функций"},
      {"Список файлов",
       "Для того, чтобы устанавливать новые файлы, программа должна сканировать папку игры.",
       "По умолчанию, поиск файлов производится при каждом запуске программы. Вы можете изменить это в меню \"файл => Настройки\". Существует четыре варианта обновления списка файлов. Если вы переустановили игру, установили новую версию, переименовали папку с игрой и т.д., то произвести поиск файлов необходимо. Это можно сделать вручную, щёлкнув по кнопке \"обновить\"."},
  };
  ASSERT_EQ(std::size(expected), static_cast<std::size_t>(help::kTopicCount));
  for (int topic = 0; topic < help::kTopicCount; ++topic) {
    const Lines actual = split(help::topicText(topic));
    ASSERT_EQ(actual.size(), expected[topic].size()) << "topic " << topic;
    for (std::size_t line = 0; line < actual.size(); ++line) {
      EXPECT_EQ(actual[line], expected[topic][line]) << "topic " << topic << ", line " << line + 1;
    }
  }
  EXPECT_EQ(help::topicText(5), "");
  EXPECT_EQ(help::topicText(-1), "");
}

TEST(HelpTopics, UtilitiesTopicKeepsItsLatinLetterC) {
  const std::string line = help::topicLines(3)[7];
  EXPECT_NE(line.find(" c её "), std::string::npos);
  EXPECT_EQ(line.find(" с её "), std::string::npos) << "Cyrillic с instead of the Latin c";
}

TEST(AboutBox, FourLinesWithVersionDateAndAuthor) {
  EXPECT_STREQ(help::kAboutCaption, "О Программе");
  EXPECT_EQ(split(help::aboutText()),
            (Lines{"Название: Varnikit", "Версия: 1.0", "Дата: 08.01.2003", std::string("Автор: ") + help::kAuthorName}));
}

TEST(LinksNotice, FourLinesNamingTheAuthorsAddressTwice) {
  const std::string mail = help::kAuthorEmail;
  EXPECT_STREQ(help::kLinksNoticeCaption, "Информация по разделу");
  EXPECT_EQ(split(help::linksNotice()),
            (Lines{"1. На момент выпуска этой версии программы, все линки были доступны.",
                   "2. Если какая-нибудь ссылка не работает, то прошу сообщить мне об этом по адресу: " + mail,
                   "3. Этот раздел обновляется при каждом выходе новой версии программы",
                   "4. Если есть ресурс, ссылку на который вы хотели бы разместить в этом разделе, пишите по адресу: " +
                       mail}));
}

// Only the game's official site may point at a real server; everything else stays on the reserved domain
// until a distributor puts real addresses in.
TEST(Links, EverythingButTheOfficialSiteIsAReservedPlaceholder) {
  const auto host = [](std::string_view address) {
    if (const auto scheme = address.find("://"); scheme != std::string_view::npos) address.remove_prefix(scheme + 3);
    if (const auto at = address.find('@'); at != std::string_view::npos) address.remove_prefix(at + 1);
    return std::string(address.substr(0, address.find('/')));
  };
  const auto reserved = [](const std::string& host) {
    return host == "example.org" || (host.size() > 12 && host.ends_with(".example.org"));
  };
  for (const char* address :
       {help::kHomeSite, help::kHomeSiteAddress, help::kProgramPage, help::kUtilitiesPage, help::kAuthorEmail,
        help::kFanSite1, help::kFanSite2, help::kFanSite3, help::kFanSite1Caption, help::kFanSite2Caption,
        help::kFanSite3Caption, help::kPodBotSite, help::kPodBotRussianPage, help::kWaypointsDownload}) {
    EXPECT_TRUE(reserved(host(address))) << address;
  }
  EXPECT_EQ(host(help::kOfficialSite), "www.counter-strike.net");
  EXPECT_EQ(host(help::kFanSite2), host(help::kPodBotRussianPage)) << "the Russian PODBot page is on the second fan site";
  EXPECT_EQ(host(help::kFanSite2), host(help::kWaypointsDownload));
  EXPECT_EQ(host(help::kHomeSiteAddress), help::kHomeSite);
  EXPECT_EQ(host(help::kProgramPage), help::kHomeSite);
  EXPECT_EQ(host(help::kUtilitiesPage), help::kHomeSite);
}

}  // namespace
