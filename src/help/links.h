#pragma once

// Every web address, the author's name and the author's e-mail address the program shows or opens,
// kept here together so a distributor can put in their own. Nothing else in the program spells them out.
//
// The game's official site is the real one. Everything of the program's own has no address yet: those are
// PLACEHOLDERS on the reserved domain example.org and must be replaced before a release points users at
// them. The fan and bot sites are placeholders too, until someone picks sites that are alive and vouches
// for them.
namespace help {

// The game's official site (real).
inline constexpr const char* kOfficialSite = "https://www.counter-strike.net/";

// PLACEHOLDER: the program's home site, as the update check names its server.
inline constexpr const char* kHomeSite = "varnikit.example.org";
// PLACEHOLDER: the home site's address (the hint of "Страничка этой программы").
inline constexpr const char* kHomeSiteAddress = "https://varnikit.example.org/";
// PLACEHOLDER: the program's page on its home site ("Страничка этой программы", "Посетить сайт", about topic).
inline constexpr const char* kProgramPage = "https://varnikit.example.org/program/";
// PLACEHOLDER: the download page of utilities for the program (help topic, utilities manager).
inline constexpr const char* kUtilitiesPage = "https://varnikit.example.org/utilities/";

// PLACEHOLDER: the author's name and e-mail address (about box, help, links notice, letter to the author).
inline constexpr const char* kAuthorName = "Команда Varnikit";
inline constexpr const char* kAuthorEmail = "author@varnikit.example.org";

// PLACEHOLDERS: three Russian fan sites of the game. The menu shows each site's own address (host name)
// and opens the full address.
inline constexpr const char* kFanSite1Caption = "fansite-1.example.org";
inline constexpr const char* kFanSite1 = "https://fansite-1.example.org/";
inline constexpr const char* kFanSite2Caption = "fansite-2.example.org";
inline constexpr const char* kFanSite2 = "https://fansite-2.example.org/";
inline constexpr const char* kFanSite3Caption = "fansite-3.example.org";
inline constexpr const char* kFanSite3 = "https://fansite-3.example.org/";

// PLACEHOLDERS: the bot pages. The waypoint files are fetched through the second fan site's download counter.
inline constexpr const char* kPodBotSite = "https://podbot.example.org/";
inline constexpr const char* kPodBotRussianPage = "https://fansite-2.example.org/bots/podbot/";
inline constexpr const char* kWaypointsDownload =
    "https://fansite-2.example.org/download/counter?file=bots/podbot/waypoints.zip";

}  // namespace help
