// Which rows the file list shows and in what order: the filter as the user types, and the sorts.
#include <gtest/gtest.h>

#include "catalogue/row_order.h"
#include "sys/paths.h"

namespace {

std::vector<std::string> shownPaths(const catalogue::RowOrder& order, const catalogue::FilesList& list) {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < order.size(); ++i) paths.push_back(std::string(list.path(order.catalogueRow(i))));
  return paths;
}

// A path written with backslashes, in this system's separators.
std::string native(std::string path) {
  for (char& c : path) {
    if (c == '\\') c = sys::kSep[0];
  }
  return path;
}

catalogue::FilesList sample() {
  return catalogue::FilesList({native("C:\\cs\\models\\Gign.mdl"), native("C:\\cs\\sound\\Ёлка.WAV"),
                               native("C:\\cs\\models\\arctic.mdl"), native("C:\\cs\\sound\\радио\\go.wav"),
                               native("C:\\cs\\Sprites\\a.spr")},
                              catalogue::Descriptions({".mdl", "Модель", ".wav", "Звук", ".WAV", "Звук"}));
}

TEST(CaseFolding, LatinAndCyrillicCapitalsBecomeSmallAndNothingElseChanges) {
  EXPECT_EQ(catalogue::foldCase("ABC xyz ЁЛКА Ёж ПРЯ ёж №1 Ω"), "abc xyz ёлка ёж пря ёж №1 Ω");
  // Cut-off text at the end stays as it is.
  EXPECT_EQ(catalogue::foldCase(std::string("A\xD0", 2)), std::string("a\xD0", 2));
}

TEST(RowOrder, TypingNarrowsThePathOrNameLetterCaseIgnoredAndEmptyShowsAll) {
  const auto list = sample();
  catalogue::RowOrder order;
  order.reset(list);
  struct Step {
    std::string typed;
    std::vector<std::string> shown;
  };
  const Step steps[] = {
      {"MO", {std::string(list.path(0)), std::string(list.path(2))}},
      {native("models\\g"), {std::string(list.path(0))}},
      {"ёл", {std::string(list.path(1))}},
      {"ЁЛКА.wav", {std::string(list.path(1))}},
      {"РАДИО", {std::string(list.path(3))}},
      {"", {std::string(list.path(0)), std::string(list.path(1)), std::string(list.path(2)), std::string(list.path(3)), std::string(list.path(4))}},
      {"zzz", {}},
  };
  for (const Step& step : steps) {
    order.filter(step.typed);
    EXPECT_EQ(shownPaths(order, list), step.shown) << "typed: " << step.typed;
  }
}

TEST(RowOrder, AColumnSortsAgainReversesNumberGivesBackTheCatalogueAndTheFilterStays) {
  const auto list = sample();
  catalogue::RowOrder order;
  order.reset(list);
  order.sortBy(catalogue::SortColumn::FileName);
  EXPECT_EQ(shownPaths(order, list), (std::vector<std::string>{std::string(list.path(4)), std::string(list.path(2)), std::string(list.path(0)),
                                                               std::string(list.path(3)), std::string(list.path(1))}));
  order.sortBy(catalogue::SortColumn::FileName);
  EXPECT_TRUE(order.descending());
  EXPECT_EQ(order.catalogueRow(0), 1u);  // "Ёлка.WAV" last ascending, first reversed
  order.filter("models");
  EXPECT_EQ(shownPaths(order, list), (std::vector<std::string>{std::string(list.path(0)), std::string(list.path(2))}));
  // Equal descriptions keep their catalogue order, whichever way the column is sorted.
  order.sortBy(catalogue::SortColumn::Description);
  EXPECT_FALSE(order.descending());
  EXPECT_EQ(shownPaths(order, list), (std::vector<std::string>{std::string(list.path(0)), std::string(list.path(2))}));
  order.sortBy(catalogue::SortColumn::Description);
  EXPECT_EQ(shownPaths(order, list), (std::vector<std::string>{std::string(list.path(0)), std::string(list.path(2))}));
  order.sortBy(catalogue::SortColumn::Number);
  order.filter("");
  for (std::size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order.catalogueRow(i), i);
}

}  // namespace
