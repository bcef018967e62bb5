// The results list without a window: what each row says and ticks, the totals, what a deletion leaves.
#include <gtest/gtest.h>
#include "duplicates/ResultList.h"

using namespace duplicates;

namespace {

SearchResult Sample(bool cancelled) {
  SearchResult result;
  result.groups = {{{"a\\x", 2048, 0}, {"b\\x", 2048, 0}}, {{"c", 5, 0}, {"d", 5, 0}, {"e", 5, 0}}};
  result.problems = {{"f", "denied"}};
  result.cancelled = cancelled;
  return result;
}

}  // namespace

TEST(ResultListTest, RowsSayWhatTheyShow) {
  ResultList list;
  list.Show(Sample(true));
  struct Case {
    int row, column;
    const char* text;
    ResultList::Box box;
  } cases[] = {
      {0, 0, "Incomplete: the search was cancelled, so some copies and groups are missing", ResultList::Box::None},
      {1, 0, "Group 1: 2 identical files, 2.00 KB wasted", ResultList::Box::None},
      {2, 0, "    a\\x", ResultList::Box::Unticked},
      {2, 1, "2.00 KB", ResultList::Box::Unticked},
      {3, 2, "1970-01-01 01:00", ResultList::Box::Unticked},
      {4, 0, "Group 2: 3 identical files, 10 bytes wasted", ResultList::Box::None},
      {8, 0, "Could not be read, so not compared:", ResultList::Box::None},
      {9, 0, "    f (denied)", ResultList::Box::None},
      {9, 1, "", ResultList::Box::None},
      {10, 0, "", ResultList::Box::None},
      {-1, 0, "", ResultList::Box::None},
  };
  ASSERT_EQ(list.RowCount(), 10);
  for (const Case& c : cases) {
    EXPECT_EQ(list.Text(c.row, c.column, 3600), c.text) << c.row << "," << c.column;
    EXPECT_EQ(list.BoxOf(c.row), c.box) << c.row;
  }
  for (int row : {0, 1, 2, 3, 9, 10}) EXPECT_EQ(list.Toggle(row), row == 2 || row == 3) << row;
  EXPECT_EQ(list.marks(), (Marks{{true, true}, {false, false, false}}));  // rows 2 and 3 were toggled
}

TEST(ResultListTest, SummaryCountsTheMarks) {
  ResultList list;
  EXPECT_EQ(list.Summary(), "");
  list.Show(Sample(false));
  EXPECT_EQ(list.RowCount(), 9);
  EXPECT_EQ(list.Summary(), "2 groups, 5 files, 2.01 KB wasted; 0 marked (0 bytes)");
  list.SetMarks({{true, false}, {false, true, true}});
  MarkTotals totals = list.Totals();
  EXPECT_EQ(totals.files, 5u);
  EXPECT_EQ(totals.marked, 3u);
  EXPECT_EQ(totals.markedBytes, 2058u);
  EXPECT_EQ(list.Summary(), "2 groups, 5 files, 2.01 KB wasted; 3 marked (2.01 KB)");
}

TEST(ResultListTest, ADeletionLeavesGroupsOfTwoOrMore) {
  struct Case {
    std::vector<std::vector<bool>> deleted;
    std::vector<std::vector<std::string>> left;
  } cases[] = {
      {{{false, false}, {false, false, false}}, {{"a\\x", "b\\x"}, {"c", "d", "e"}}},
      {{{true, false}, {false, true, false}}, {{"c", "e"}}},
      {{{false, false}, {true, true, false}}, {{"a\\x", "b\\x"}}},
      {{}, {{"a\\x", "b\\x"}, {"c", "d", "e"}}},  // nothing was handled
  };
  for (const Case& c : cases) {
    ResultList list;
    list.Show(Sample(false));
    list.SetMarks({{true, false}, {true, true, false}});
    list.RemoveDeleted(c.deleted);
    std::vector<std::vector<std::string>> left;
    for (std::size_t g = 0; g < list.groups().size(); ++g) {
      left.emplace_back();
      for (const FoundFile& file : list.groups()[g]) left.back().push_back(file.path);
      EXPECT_EQ(list.marks()[g].size(), list.groups()[g].size());
    }
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(list.RowCount(), static_cast<int>(list.Totals().files + left.size() + 2));  // and the problem rows
  }
}
