// The rules behind the results list: sizes and dates as shown, and which files the helpers mark.
#include <gtest/gtest.h>
#include "duplicates/Marking.h"

using namespace duplicates;

TEST(MarkingTest, SizesAndDatesAsShown) {
  EXPECT_EQ(FormatSize(1), "1 byte");
  EXPECT_EQ(FormatSize(1023), "1023 bytes");
  EXPECT_EQ(FormatSize(1024), "1.00 KB");
  EXPECT_EQ(FormatSize(12595), "12.3 KB");
  EXPECT_EQ(FormatSize(1023 * 1024 + 1000), "1.00 MB");  // never "1023 KB" beside "1.00 MB"
  EXPECT_EQ(FormatSize(3650722202ull), "3.40 GB");
  EXPECT_EQ(FormatCount(0), "0");
  EXPECT_EQ(FormatCount(999), "999");
  EXPECT_EQ(FormatCount(1234567), "1,234,567");
  const std::int64_t s = 1000000000;
  EXPECT_EQ(FormatTime(0, 0), "1970-01-01 00:00");
  EXPECT_EQ(FormatTime(1796771700 * s, 0), "2026-12-08 23:15");
  EXPECT_EQ(FormatTime(1796771700 * s, 3600), "2026-12-09 00:15");
  EXPECT_EQ(FormatTime(951825600 * s, 0), "2000-02-29 12:00");
  EXPECT_EQ(FormatTime(-1, 0), "1969-12-31 23:59");
}

TEST(MarkingTest, HelpersKeepOneFilePerGroupAndFullGroupsAreFound) {
  Groups groups = {
      {{"a", 10, 300}, {"b", 10, 100}, {"c", 10, 200}},
      {{"d", 4, 50}, {"e", 4, 50}},  // equal dates: the first one is kept
  };
  EXPECT_EQ(WastedBytes(groups), 24u);
  Marks newest = MarkAllBut(groups, Keep::Newest);
  EXPECT_EQ(newest, (Marks{{false, true, true}, {false, true}}));
  Marks oldest = MarkAllBut(groups, Keep::Oldest);
  EXPECT_EQ(oldest, (Marks{{true, false, true}, {false, true}}));
  EXPECT_EQ(FirstFullyMarkedGroup(newest), -1);
  EXPECT_EQ(FirstFullyMarkedGroup(NoMarks(groups)), -1);
  oldest[1][0] = true;
  EXPECT_EQ(FirstFullyMarkedGroup(oldest), 1);
}
