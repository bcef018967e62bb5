// The POSIX file system on a real folder: kinds, hard links, links not followed, hidden names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <map>
#include "duplicates/posix/PosixFileSystem.h"
#include "EntriesByName.h"

using namespace duplicates;

TEST(PosixFileSystemTest, ListsWithoutFollowingLinks) {
  char pattern[] = "/tmp/twinsift-fs-XXXXXX";
  std::string root = mkdtemp(pattern);
  std::ofstream(root + "/a") << "content";
  ASSERT_EQ(link((root + "/a").c_str(), (root + "/hard").c_str()), 0);
  ASSERT_EQ(symlink("a", (root + "/soft").c_str()), 0);
  ASSERT_EQ(mkdir((root + "/.dir").c_str(), 0755), 0);
  ASSERT_EQ(symlink(".dir", (root + "/dirlink").c_str()), 0);

  PosixFileSystem fs;
  std::string error;
  std::map<std::string, DirEntry> byName = EntriesByName(fs, root, error);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_EQ(byName.size(), 5u);
  EXPECT_EQ(byName["a"].kind, EntryKind::File);
  EXPECT_EQ(byName["a"].size, 7u);
  EXPECT_TRUE(byName["a"].id == byName["hard"].id);
  EXPECT_EQ(byName["soft"].kind, EntryKind::Other);
  EXPECT_EQ(byName["dirlink"].kind, EntryKind::Other);
  EXPECT_EQ(byName[".dir"].kind, EntryKind::Directory);
  EXPECT_TRUE(byName[".dir"].hidden);
  EXPECT_FALSE(byName["a"].hidden);

  EXPECT_EQ(fs.OpenFile(root + "/soft", error), nullptr);  // not even when asked to open it
  auto reader = fs.OpenFile(fs.Join(root + "/", "a"), error);
  ASSERT_NE(reader, nullptr);
  char buffer[16];
  EXPECT_EQ(reader->Read(buffer, sizeof(buffer), error), 7);
  std::vector<DirEntry> entries;
  EXPECT_FALSE(fs.ListFolder(root + "/missing", entries, error));
  EXPECT_FALSE(error.empty());
  std::system(("rm -rf " + root).c_str());
}
