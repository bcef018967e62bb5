// One file under two names is one file: where an added folder goes among those listed.
#include <gtest/gtest.h>
#include "duplicates/Safeguards.h"

using namespace duplicates;

TEST(SafeguardsTest, AFolderHeldByAnEntryIsNotAddedAgain) {
  const std::vector<std::string> listed = {"C:\\photos", "C:\\work\\a", "D:\\", "C:\\work\\b"};
  struct Case {
    const char* added;
    int holder;
    std::vector<std::size_t> held;
  } cases[] = {
      {"c:\\PHOTOS", 0, {}},
      {"C:\\photos\\2026\\may", 0, {}},
      {"C:\\photos2", -1, {}},
      {"C:\\work", -1, {1, 3}},
      {"C:\\", -1, {0, 1, 3}},
      {"C:/work/a", 1, {}},
  };
  for (const Case& c : cases) {
    FolderPlace place = PlaceFolder(listed, c.added);
    EXPECT_EQ(place.holder, c.holder) << c.added;
    EXPECT_EQ(place.held, c.held) << c.added;
  }
}
