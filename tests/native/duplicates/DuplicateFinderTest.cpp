// The search on a file system kept in memory: which files end up together, and what is reported.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <map>
#include <chrono>
#include <mutex>
#include <thread>
#include "duplicates/ContentHash.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/posix/ThreadWorkerPool.h"

using namespace duplicates;

namespace {

struct MemoryFile {
  std::string content;
  std::uint64_t inode;
  bool hidden = false;
  bool unreadable = false;
  std::string growsBy;  // appended once the file has been listed: it changes during the search
};

class MemoryFileSystem : public FileSystem {
 public:
  std::map<std::string, MemoryFile> files;   // full path -> file
  std::map<std::string, bool> folders;       // full path -> hidden
  std::map<std::string, std::string> links;  // a link's path -> its target
  int opens = 0;
  bool idsInListing = true;             // false: ids come from open files only, as on Win32
  std::string cancelAtOpen;             // opening this file sets cancel
  std::atomic<bool>* cancel = nullptr;
  std::mutex lock;                      // workers open files while the walk lists folders

  void Add(const std::string& path, const std::string& content, std::uint64_t inode = 0) {
    files[path] = {content, inode ? inode : ++nextInode_, false, false, ""};
  }

  bool ListFolder(const std::string& path, std::vector<DirEntry>& entries, std::string& error) override {
    std::lock_guard<std::mutex> guard(lock);
    if (!folders.count(path)) {
      error = "no such folder";
      return false;
    }
    auto child = [&](const std::string& p) -> const char* {
      if (p.size() <= path.size() + 1 || p.compare(0, path.size() + 1, path + "/") != 0) return nullptr;
      const char* rest = p.c_str() + path.size() + 1;
      return std::strchr(rest, '/') ? nullptr : rest;
    };
    for (auto& [p, f] : files)
      if (const char* name = child(p)) {
        DirEntry e{name, EntryKind::File, f.content.size(), 0, {1, f.inode, idsInListing}, f.hidden};
        if (!f.growsBy.empty()) f.content += f.growsBy;
        entries.push_back(e);
      }
    for (auto& [p, hidden] : folders)
      if (const char* name = child(p)) entries.push_back({name, EntryKind::Directory, 0, 0, {}, hidden});
    for (auto& [p, target] : links)
      if (const char* name = child(p)) entries.push_back({name, EntryKind::Other, target.size(), 0, {}, false});
    return true;
  }
  bool Describe(const std::string& path, DirEntry& entry, std::string& error) override {
    std::lock_guard<std::mutex> guard(lock);
    if (folders.count(path)) entry.kind = EntryKind::Directory;
    else if (files.count(path)) entry = {path, EntryKind::File, files[path].content.size(), 0, {1, files[path].inode, true}};
    else {
      error = "not found";
      return false;
    }
    return true;
  }
  std::unique_ptr<FileReader> OpenFile(const std::string& path, std::string& error) override {
    std::lock_guard<std::mutex> guard(lock);
    if (path == cancelAtOpen && cancel) *cancel = true;
    auto it = files.find(path);
    if (it == files.end() || it->second.unreadable) {
      error = "access denied";
      return nullptr;
    }
    ++opens;
    return std::make_unique<Reader>(it->second.content, it->second.inode);
  }
  std::string Join(const std::string& folder, const std::string& name) const override { return folder + "/" + name; }

 private:
  struct Reader : FileReader {
    Reader(std::string data, std::uint64_t inode) : data_(std::move(data)), inode_(inode) {}
    std::ptrdiff_t Read(void* buffer, std::size_t size, std::string&) override {
      std::size_t n = std::min(size, data_.size() - at_);
      std::memcpy(buffer, data_.data() + at_, n);
      at_ += n;
      return static_cast<std::ptrdiff_t>(n);
    }
    bool Identify(FileId& id, std::string&) override {
      id = {1, inode_, true};
      return true;
    }
    std::string data_;
    std::uint64_t inode_;
    std::size_t at_ = 0;
  };
  std::uint64_t nextInode_ = 100;
};

std::vector<std::vector<std::string>> Paths(const SearchResult& result) {
  std::vector<std::vector<std::string>> paths;
  for (auto& group : result.groups) {
    paths.emplace_back();
    for (auto& f : group) paths.back().push_back(f.path);
  }
  return paths;
}

SearchResult Search(MemoryFileSystem& fs, SearchOptions options = {}, WorkerPool* pool = nullptr) {
  if (options.folders.empty()) options.folders = {"/r"};
  SearchProgress progress;
  std::atomic<bool> cancel{false};
  return DuplicateFinder(fs, pool).Search(options, progress, cancel);
}

std::map<std::string, std::string> ProblemsByPath(const SearchResult& result) {
  std::map<std::string, std::string> problems;
  for (auto& p : result.problems) problems[p.path] = p.message;
  return problems;
}

class DuplicateFinderTest : public ::testing::Test {
 protected:
  void SetUp() override { fs.folders["/r"] = false; }
  MemoryFileSystem fs;
};

using Groups = std::vector<std::vector<std::string>>;

}  // namespace

TEST(ContentHashTest, PiecesOfAnyLengthGiveTheHashOfTheWhole) {
  std::string data(1000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + 3);
  ContentHash whole;
  whole.Add(data.data(), data.size());
  for (std::size_t step : {1u, 5u, 31u, 32u, 33u, 999u}) {
    ContentHash pieces;
    for (std::size_t at = 0; at < data.size(); at += step) pieces.Add(data.data() + at, std::min(step, data.size() - at));
    EXPECT_EQ(pieces.Value(), whole.Value()) << step;
  }
  ContentHash shorter, flipped;
  shorter.Add(data.data(), data.size() - 1);
  data[500] ^= 1;
  flipped.Add(data.data(), data.size());
  EXPECT_NE(shorter.Value(), whole.Value());
  EXPECT_NE(flipped.Value(), whole.Value());
  ContentHash zeros1, zeros2;
  zeros1.Add(std::string(32, '\0').data(), 32);
  zeros2.Add(std::string(64, '\0').data(), 64);
  EXPECT_NE(zeros1.Value(), zeros2.Value());
}

TEST_F(DuplicateFinderTest, GroupsOnlyFilesWithEqualBytes) {
  std::string big(3 * 64 * 1024 + 17, 'x');
  std::string bigOther = big;
  bigOther[big.size() - 2] = 'y';  // same size, same first block, differs near the end
  fs.folders["/r/sub"] = false;
  fs.Add("/r/a", "hello");
  fs.Add("/r/sub/b", "hello");
  fs.Add("/r/c", "hellO");      // same size, other bytes
  fs.Add("/r/d", "hello!");     // other size
  fs.Add("/r/big1", big);
  fs.Add("/r/sub/big2", big);
  fs.Add("/r/big3", bigOther);
  fs.Add("/r/e1", "");          // empty files never count
  fs.Add("/r/e2", "");
  SearchResult result = Search(fs);
  EXPECT_EQ(Paths(result), (Groups{{"/r/a", "/r/sub/b"}, {"/r/big1", "/r/sub/big2"}}));
  EXPECT_TRUE(result.problems.empty());
  EXPECT_FALSE(result.cancelled);
}

TEST_F(DuplicateFinderTest, HardLinksAreOneFileAndLinksAreNotFollowed) {
  fs.Add("/r/a", "same", 7);
  fs.Add("/r/b", "same", 7);  // a second name of a
  fs.links["/r/l"] = "same";
  EXPECT_TRUE(Search(fs).groups.empty());
  fs.Add("/r/c", "same");
  EXPECT_EQ(Paths(Search(fs)), (Groups{{"/r/a", "/r/c"}}));
}

TEST_F(DuplicateFinderTest, OverlappingFoldersCountEachFileOnce) {
  fs.folders["/r/s"] = false;
  fs.Add("/r/s/a", "one");
  fs.Add("/r/s/b", "two");
  SearchOptions options;
  options.folders = {"/r", "/r/s", "/r/s/a"};
  EXPECT_TRUE(Search(fs, options).groups.empty());
}

TEST_F(DuplicateFinderTest, UnreadableAndChangingFilesAreReportedNotGuessed) {
  fs.Add("/r/a", "data");
  fs.Add("/r/b", "data");
  fs.Add("/r/u", "data");
  fs.files["/r/u"].unreadable = true;
  fs.Add("/r/g", "data");
  fs.files["/r/g"].growsBy = "more";
  fs.Add("/r/big1", std::string(10000, 'z'));
  fs.Add("/r/big2", std::string(10000, 'z'));
  fs.files["/r/big2"].growsBy = "!";
  SearchOptions options;
  options.folders = {"/r", "/missing"};
  SearchResult result = Search(fs, options);
  EXPECT_EQ(Paths(result), (Groups{{"/r/a", "/r/b"}}));
  std::map<std::string, std::string> problems;
  for (auto& p : result.problems) problems[p.path] = p.message;
  EXPECT_EQ(problems.size(), 4u);
  EXPECT_EQ(problems["/r/u"], "access denied");
  EXPECT_EQ(problems["/r/g"], "changed during the search");
  EXPECT_EQ(problems["/r/big2"], "changed during the search");
  EXPECT_EQ(problems["/missing"], "not found");
}

TEST_F(DuplicateFinderTest, MinimumSizeAndHiddenFiles) {
  fs.folders["/r/h"] = true;
  fs.Add("/r/s1", "ab");
  fs.Add("/r/s2", "ab");
  fs.Add("/r/l1", "abcdef");
  fs.Add("/r/l2", "abcdef");
  fs.Add("/r/h/l3", "abcdef");
  fs.Add("/r/x1", "xyzxyz");
  fs.Add("/r/x2", "xyzxyz");
  fs.files["/r/x2"].hidden = true;
  EXPECT_EQ(Paths(Search(fs)), (Groups{{"/r/h/l3", "/r/l1", "/r/l2"}, {"/r/s1", "/r/s2"}, {"/r/x1", "/r/x2"}}));
  SearchOptions options;
  options.minimumSize = 3;
  options.includeHidden = false;
  EXPECT_EQ(Paths(Search(fs, options)), (Groups{{"/r/l1", "/r/l2"}}));
}

TEST_F(DuplicateFinderTest, LargeGroupsAreComparedInBatchesAndStayWhole) {
  // More files of one size than are opened at once, in two contents interleaved.
  for (int i = 0; i < 300; ++i) fs.Add("/r/f" + std::to_string(1000 + i), i % 3 ? "aaaa" : "bbbb");
  SearchResult result = Search(fs);
  ASSERT_EQ(result.groups.size(), 2u);
  EXPECT_EQ(result.groups[0].size() + result.groups[1].size(), 300u);
  EXPECT_EQ(result.groups[0].size(), 100u);  // "/r/f1000" starts the "bbbb" group
}

TEST_F(DuplicateFinderTest, ProgressCountsAndCancelEndsWithoutGroups) {
  fs.Add("/r/a", "12345");
  fs.Add("/r/b", "12345");
  fs.Add("/r/c", "xyz");
  SearchProgress progress;
  std::atomic<bool> cancel{false};
  SearchOptions options;
  options.folders = {"/r"};
  DuplicateFinder finder(fs);
  EXPECT_EQ(finder.Search(options, progress, cancel).groups.size(), 1u);
  EXPECT_EQ(progress.filesSeen.load(), 3u);
  EXPECT_EQ(progress.bytesCompared.load(), 10u);  // a and b read whole with their first blocks, compared in memory
  EXPECT_EQ(fs.opens, 2);
  cancel = true;
  fs.opens = 0;
  SearchResult cancelled = finder.Search(options, progress, cancel);
  EXPECT_TRUE(cancelled.cancelled);
  EXPECT_TRUE(cancelled.groups.empty());
  EXPECT_EQ(fs.opens, 0);
}

TEST_F(DuplicateFinderTest, IdsFromOpenFilesDropHardLinksWithoutASecondOpen) {
  fs.idsInListing = false;
  fs.Add("/r/a", "same", 7);
  fs.Add("/r/b", "same", 7);  // a second name of a
  fs.Add("/r/c", "same");
  fs.Add("/r/lone", "other size");  // no size twin: never opened
  EXPECT_EQ(Paths(Search(fs)), (Groups{{"/r/a", "/r/c"}}));
  EXPECT_EQ(fs.opens, 3);
}

TEST_F(DuplicateFinderTest, CancelKeepsTheSizesAlreadyFinished) {
  // Sizes are finished smallest first: the 2-byte and 3-byte groups are done when the 5-byte one cancels.
  fs.Add("/r/s1", "ab");
  fs.Add("/r/s2", "ab");
  fs.Add("/r/m1", "abc");
  fs.Add("/r/m2", "abc");
  fs.Add("/r/l1", "abcde");
  fs.Add("/r/l2", "abcde");
  fs.Add("/r/x1", std::string(9000, 'x'));
  fs.Add("/r/x2", std::string(9000, 'x'));
  std::atomic<bool> cancel{false};
  fs.cancel = &cancel;
  fs.cancelAtOpen = "/r/l2";
  SearchProgress progress;
  SearchOptions options;
  options.folders = {"/r"};
  SearchResult result = DuplicateFinder(fs).Search(options, progress, cancel);
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(Paths(result), (Groups{{"/r/m1", "/r/m2"}, {"/r/s1", "/r/s2"}}));
}

struct InlinePool : WorkerPool {  // each task at once, on the thread that hands it over
  void Submit(std::function<void()> task) override { task(); }
  void Wait() override {}
};

// A walk cancelled midway still gives the groups whose files were read whole beside it, and only those.
TEST_F(DuplicateFinderTest, AWalkCancelledMidwayGivesTheGroupsReadWhole) {
  for (int i = 0; i < 20; ++i)
    for (const char* copy : {"a", "b"}) fs.Add("/r/p" + std::to_string(10 + i) + copy, std::string(i + 1, *copy == 'b' && i == 0 ? 'z' : 'x'));
  std::atomic<bool> cancel{false};
  fs.cancel = &cancel;
  fs.cancelAtOpen = "/r/p25b";  // the last of the first batch read beside the walk
  SearchProgress progress;
  InlinePool pool;
  SearchResult result = DuplicateFinder(fs, &pool).Search({{"/r"}}, progress, cancel);
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(result.groups.size(), 15u);  // p11 to p25; p10's two differ
  EXPECT_EQ(Paths(result).front(), (std::vector<std::string>{"/r/p11a", "/r/p11b"}));
  EXPECT_EQ(fs.opens, 32);
}

// Many sizes, each with equal and unequal files, small and large, and failures: the pool changes nothing.
TEST_F(DuplicateFinderTest, WorkersFindWhatTheWalkingThreadAloneFinds) {
  for (int i = 0; i < 400; ++i) {
    const std::size_t size = 1 + static_cast<std::size_t>(i % 37) * (i % 5 == 0 ? 900 : 13);
    std::string content(size, static_cast<char>('a' + i % 3));
    fs.folders["/r/d" + std::to_string(i % 9)] = false;
    fs.Add("/r/d" + std::to_string(i % 9) + "/f" + std::to_string(i), content);
  }
  fs.Add("/r/u1", "unreadable");
  fs.Add("/r/u2", "unreadable");
  fs.files["/r/u2"].unreadable = true;
  fs.Add("/r/g1", std::string(5000, 'g'));
  auto growingAgain = [&] {  // g2 grows once listed, in every search
    fs.files["/r/g2"].content = std::string(5000, 'g');
    fs.files["/r/g2"].growsBy = "!";
  };
  growingAgain();
  SearchResult alone = Search(fs);
  ASSERT_GT(alone.groups.size(), 50u);
  for (std::size_t workers : {1u, 2u, 4u}) {
    ThreadWorkerPool pool(workers);
    growingAgain();
    SearchResult shared = Search(fs, {}, &pool);
    EXPECT_EQ(Paths(shared), Paths(alone)) << workers;
    EXPECT_EQ(ProblemsByPath(shared), ProblemsByPath(alone)) << workers;
    EXPECT_EQ(ProblemsByPath(shared).size(), 2u);
  }
}

TEST(ThreadWorkerPoolTest, WaitCoversEveryTaskAndTheQueueStaysBounded) {
  std::atomic<int> done{0};
  std::atomic<int> peakQueued{0};
  std::atomic<int> submitted{0};
  {
    ThreadWorkerPool pool(2);
    for (int i = 0; i < 3000; ++i) {
      pool.Submit([&] {
        std::this_thread::sleep_for(std::chrono::microseconds(20));
        ++done;
      });
      int queued = ++submitted - done;
      if (queued > peakQueued) peakQueued = queued;
    }
    pool.Wait();
    EXPECT_EQ(done.load(), 3000);
    for (int i = 0; i < 100; ++i) pool.Submit([&] { ++done; });
  }  // the destructor runs what is queued before the threads end
  EXPECT_EQ(done.load(), 3100);
  EXPECT_LE(peakQueued.load(), static_cast<int>(kQueueLimit) + 2 + 1);
}
