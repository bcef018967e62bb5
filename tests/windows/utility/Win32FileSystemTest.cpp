// The Win32 file system on a real folder: kinds, sizes, hidden files, hard links, and the search over it.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>
#include <fstream>
#include <map>
#include "duplicates/DuplicateFinder.h"
#include "duplicates/win32/Win32FileSystem.h"
#include "duplicates/win32/Win32WorkerPool.h"
#include "toolkit/Folders.h"
#include "EntriesByName.h"

using namespace duplicates;

namespace {

std::string MakeFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "twinsift-fs-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(GetTickCount());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void Write(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

}  // namespace

TEST(Win32FileSystemTest, ListsFilesFoldersAndHiddenOnes) {
  std::string root = MakeFolder();
  Write(root + "\\a.txt", "twelve bytes");
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  Write(root + "\\hidden.txt", "x");
  SetFileAttributesA((root + "\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);

  Win32FileSystem fs;
  std::string error;
  std::map<std::string, DirEntry> byName = EntriesByName(fs, root, error);
  ASSERT_TRUE(error.empty()) << error;
  ASSERT_EQ(byName.size(), 3u);
  EXPECT_EQ(byName["a.txt"].kind, EntryKind::File);
  EXPECT_EQ(byName["a.txt"].size, 12u);
  EXPECT_GT(byName["a.txt"].modified, 1500000000LL * 1000000000);  // a date of this century, in nanoseconds
  EXPECT_EQ(byName["sub"].kind, EntryKind::Directory);
  EXPECT_TRUE(byName["hidden.txt"].hidden);
  EXPECT_FALSE(byName["a.txt"].hidden);
  EXPECT_EQ(fs.Join(root, "a.txt"), root + "\\a.txt");
  EXPECT_EQ(fs.Join("C:\\", "a"), "C:\\a");

  auto reader = fs.OpenFile(root + "\\a.txt", error);
  ASSERT_NE(reader, nullptr);
  char buffer[32];
  EXPECT_EQ(reader->Read(buffer, sizeof(buffer), error), 12);
  EXPECT_EQ(reader->Read(buffer, sizeof(buffer), error), 0);
  reader.reset();
  std::vector<DirEntry> entries;
  EXPECT_FALSE(fs.ListFolder(root + "\\missing", entries, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(fs.OpenFile(root + "\\missing.txt", error), nullptr);
  RemoveTree(root);
}

TEST(Win32FileSystemTest, HardLinksAreOneFileInTheSearch) {
  std::string root = MakeFolder();
  Write(root + "\\one", "the same bytes");
  ASSERT_TRUE(CreateHardLinkA((root + "\\two").c_str(), (root + "\\one").c_str(), nullptr));
  Win32FileSystem fs;
  FileId one, two;
  std::string error;
  auto readerOne = fs.OpenFile(root + "\\one", error);
  auto readerTwo = fs.OpenFile(root + "\\two", error);
  ASSERT_TRUE(readerOne && readerTwo) << error;
  ASSERT_TRUE(readerOne->Identify(one, error)) << error;
  ASSERT_TRUE(readerTwo->Identify(two, error)) << error;
  EXPECT_TRUE(one == two);
  // A file with one name is told apart without asking for its id.
  Write(root + "\\single", "the same bytes");
  auto readerSingle = fs.OpenFile(root + "\\single", error);
  FileId single;
  ASSERT_TRUE(readerSingle && readerSingle->Identify(single, error)) << error;
  EXPECT_FALSE(single.known);
  EXPECT_FALSE(single == one);
  readerSingle.reset();
  DeleteFileA((root + "\\single").c_str());
  readerOne.reset();
  readerTwo.reset();

  SearchOptions options;
  options.folders = {root};
  SearchProgress progress;
  std::atomic<bool> cancel{false};
  EXPECT_TRUE(DuplicateFinder(fs).Search(options, progress, cancel).groups.empty());
  Write(root + "\\three", "the same bytes");
  SearchResult result = DuplicateFinder(fs).Search(options, progress, cancel);
  ASSERT_EQ(result.groups.size(), 1u);
  EXPECT_EQ(result.groups[0].size(), 2u);
  EXPECT_EQ(result.groups[0][1].path, root + "\\three");
  Win32WorkerPool pool(2);
  SearchResult shared = DuplicateFinder(fs, &pool).Search(options, progress, cancel);
  ASSERT_EQ(shared.groups.size(), 1u);
  EXPECT_EQ(shared.groups[0][1].path, root + "\\three");
  RemoveTree(root);
}

namespace {

int ThreadsOfThisProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  CloseHandle(snapshot);
  return count;
}

}  // namespace

TEST(Win32WorkerPoolTest, RunsEveryTaskAndLeavesNoThreadBehind) {
  const int before = ThreadsOfThisProcess();
  LONG done = 0;
  {
    Win32WorkerPool pool(3);
    EXPECT_EQ(ThreadsOfThisProcess(), before + 3);
    for (int i = 0; i < 2000; ++i) pool.Submit([&] { InterlockedIncrement(&done); });
    pool.Wait();
    EXPECT_EQ(done, 2000);
    for (int i = 0; i < 50; ++i) pool.Submit([&] {
      Sleep(1);
      InterlockedIncrement(&done);
    });
  }  // what is queued still runs, then every thread has ended
  EXPECT_EQ(done, 2050);
  EXPECT_EQ(ThreadsOfThisProcess(), before);
  EXPECT_GE(Win32WorkerPool::DefaultWorkers(), 1u);
  EXPECT_LE(Win32WorkerPool::DefaultWorkers(), kMaxWorkers);
}

TEST(Win32FileSystemTest, TextConversions) {
  std::string utf8 = "gr\xC3\xBC\xC3\x9F";  // "gruess" with u-umlaut and sharp s
  EXPECT_EQ(WideFromUtf8(utf8), L"gr\u00FC\u00DF");
  EXPECT_EQ(Utf8FromWide(L"gr\u00FC\u00DF"), utf8);
  EXPECT_EQ(ErrorText(ERROR_FILE_NOT_FOUND).back() != '.', true);
}
