// One file under two names is one file: where an added folder goes, and which marked files may go.
#include <gtest/gtest.h>
#include <array>
#include <map>
#include "duplicates/Safeguards.h"

using namespace duplicates;

TEST(SafeguardsTest, AFolderHeldByAnEntryIsNotAddedAgain) {
  const std::vector<std::string> listed = {"C:\\photos", "C:\\work\\a", "D:\\", "C:\\work\\b"};
  struct Case {
    const char* added;
    int holder;
    std::vector<std::size_t> held;
  } cases[] = {
      {"C:\\photos", 0, {}},
      {"c:\\PHOTOS", 0, {}},
      {"C:\\photos\\2026\\may", 0, {}},
      {"C:\\photos2", -1, {}},
      {"D:\\music", 2, {}},
      {"C:\\work", -1, {1, 3}},
      {"C:\\", -1, {0, 1, 3}},
      {"C:/work/a", 1, {}},
      {"E:\\", -1, {}},
  };
  for (const Case& c : cases) {
    FolderPlace place = PlaceFolder(listed, c.added);
    EXPECT_EQ(place.holder, c.holder) << c.added;
    EXPECT_EQ(place.held, c.held) << c.added;
  }
}

namespace {

// Files by path, each with the id its names share, its size and its time.
struct Disk : FileSystem {
  std::map<std::string, std::array<std::uint64_t, 3>> files;
  bool ListFolder(const std::string&, std::vector<DirEntry>&, std::string&) override { return false; }
  bool Describe(const std::string& path, DirEntry& entry, std::string& error) override {
    if (!files.count(path)) return (error = "not found", false);
    entry = {path, EntryKind::File, files[path][1], static_cast<std::int64_t>(files[path][2])};
    return true;
  }
  bool Identity(const std::string& path, FileId& id, std::string& error) override {
    if (!files.count(path)) return (error = "not found", false);
    return (id = {7, files[path][0], true}, true);
  }
  std::unique_ptr<FileReader> OpenFile(const std::string&, std::string&) override { return nullptr; }
  std::string Join(const std::string& folder, const std::string& name) const override { return folder + "/" + name; }
};

}  // namespace

TEST(SafeguardsTest, AMarkedFileGoesOnlyBesideAnotherFileAsItWasFound) {
  const std::vector<FoundFile> group = {{"a", 10, 5}, {"b", 10, 5}, {"c", 10, 5}};
  const std::string same = "it is the same file as the unmarked copy, under another name";
  const std::string none = "no unmarked copy of it is left as it was found";
  struct Case {
    const char* what;
    std::map<std::string, std::array<std::uint64_t, 3>> files;
    std::vector<bool> marks;
    std::vector<std::string> reasons;
  } cases[] = {
      {"three files", {{"a", {1, 10, 5}}, {"b", {2, 10, 5}}, {"c", {3, 10, 5}}}, {true, false, true}, {"", "", ""}},
      {"one file, two names", {{"a", {1, 10, 5}}, {"b", {1, 10, 5}}, {"c", {3, 10, 5}}}, {true, false, false}, {"", "", ""}},
      {"its only copy is itself", {{"a", {1, 10, 5}}, {"b", {1, 10, 5}}, {"c", {3, 10, 5}}}, {true, false, true}, {same, "", ""}},
      {"the copy changed", {{"a", {1, 10, 5}}, {"b", {2, 10, 6}}, {"c", {3, 10, 5}}}, {true, false, true}, {none, "", none}},
      {"the copy is gone", {{"a", {1, 10, 5}}, {"c", {3, 10, 5}}}, {true, false, true}, {none, "", none}},
      {"the marked file changed", {{"a", {1, 11, 5}}, {"b", {2, 10, 5}}, {"c", {3, 10, 5}}}, {true, false, true},
       {"changed since the search", "", ""}},
      {"the marked file is gone", {{"b", {2, 10, 5}}, {"c", {3, 10, 5}}}, {true, false, true}, {"not found", "", ""}},
  };
  for (const Case& c : cases) {
    Disk disk;
    disk.files = c.files;
    EXPECT_EQ(ReasonsToKeep(disk, group, c.marks), c.reasons) << c.what;
  }
}
