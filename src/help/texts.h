#pragma once

#include <string>
#include <vector>

// The help window's topics, the about box, the links notice and the update check, as the user reads them.
namespace help {

inline constexpr const char* kHelpCaption = "Помощь";
inline constexpr int kTopicCount = 5;
inline constexpr int kInstallingTopic = 1;  // "Установка файлов", opened by the installations page

// The topic names in list order.
const std::vector<std::string>& topicTitles();
// A topic's text line by line; empty for an index outside 0..4.
std::vector<std::string> topicLines(int topic);
// The same lines joined by CR LF.
std::string topicText(int topic);

inline constexpr const char* kAboutCaption = "О Программе";
std::string aboutText();

inline constexpr const char* kLinksNoticeCaption = "Информация по разделу";
std::string linksNotice();

inline constexpr const char* kConnectingStatus = "Соединение с сервером...";
std::string serverUnreachable();

// Lines joined by CR LF, no break after the last.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace help
