// The results list without a window: what each row says and ticks, the totals, what a deletion leaves.
#include <gtest/gtest.h>
#include "duplicates/ResultList.h"

using namespace duplicates;

namespace {

ResultList Sample(bool cancelled) {
  SearchResult result{{{{"a", 2048, 0}, {"b", 2048, 0}}, {{"c", 5, 0}, {"d", 5, 0}, {"e", 5, 0}}}, {{"f", "denied"}}, cancelled};
  ResultList list;
  list.Show(std::move(result));
  return list;
}

}  // namespace

TEST(ResultListTest, RowsSayWhatTheyShowAndFilesTickAlone) {
  ResultList list = Sample(true);
  using B = ResultList::Box;
  struct Case {
    int row, column;
    const char* text;
    B box;
  } cases[] = {
      {0, 0, "Incomplete: the search was cancelled, so some copies and groups are missing", B::None},
      {1, 0, "Group 1: 2 identical files, 2.00 KB wasted", B::None},
      {2, 1, "2.00 KB", B::Unticked},
      {3, 2, "1970-01-01 01:00", B::Unticked},
      {4, 0, "Group 2: 3 identical files, 10 bytes wasted", B::None},
      {8, 0, "Could not be read, so not compared:", B::None},
      {9, 0, "    f (denied)", B::None},
  };
  ASSERT_EQ(list.RowCount(), 10);
  for (const Case& c : cases) {
    EXPECT_EQ(list.Text(c.row, c.column, 3600), c.text) << c.row << "," << c.column;
    EXPECT_EQ(list.BoxOf(c.row), c.box) << c.row;
  }
  for (int row : {-1, 0, 1, 2, 3, 9, 10}) EXPECT_EQ(list.Toggle(row), row == 2 || row == 3) << row;
  EXPECT_EQ(list.marks(), (Marks{{true, true}, {false, false, false}}));
  EXPECT_EQ(list.Summary(), "2 groups, 5 files, 2.01 KB wasted; 2 marked (4.00 KB)");
  // A deletion of a and d: the group left with b alone goes, and so do its rows.
  list.RemoveDeleted({{true, false}, {false, true, false}});
  EXPECT_EQ(list.Summary(), "1 group, 2 files, 5 bytes wasted; 0 marked (0 bytes)");
  EXPECT_EQ(list.Text(2, 0, 0), "    c");
  EXPECT_EQ(list.RowCount(), 6);  // with the incomplete heading and the problem rows
}
