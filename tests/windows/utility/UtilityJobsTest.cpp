// The utility's workers on their own: what any of them throws reaches the GUI thread as a failure, and one
// file under two names is never taken for two copies of it.
#include <gtest/gtest.h>
#include <windows.h>
#include <cctype>
#include <fstream>
#include <stdexcept>
#include "DeleteJob.h"
#include "SearchJob.h"
#include "driver/TestApplication.h"
#include "duplicates/win32/Win32WorkerPool.h"

namespace {

// A disk that fails in a way no one planned for.
class BrokenDisk : public duplicates::Win32FileSystem {
 public:
  bool Describe(const std::string&, duplicates::DirEntry&, std::string&) override { throw std::runtime_error("disk failed"); }
};

template <class Job>
std::string FailureOf(Job& job, bool& done) {
  DWORD deadline = GetTickCount() + 10000;
  while (!done && GetTickCount() < deadline) {
    e2e::TestApplication().WaitForMessage(100);
    e2e::TestApplication().ProcessMessages();
  }
  if (!done || !job.Finished()) return "never finished";
  try {
    if (job.Failure()) std::rethrow_exception(job.Failure());
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

std::string Scratch(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string root = std::string(temp) + name + std::to_string(GetTickCount());
  CreateDirectoryA(root.c_str(), nullptr);
  return root;
}

}  // namespace

TEST(UtilityJobsTest, WhatAWorkerThrowsIsHandedToTheGuiThread) {
  BrokenDisk disk;
  bool done = false;
  TWorkerThread worker([](const std::atomic<bool>&) { throw std::runtime_error("worker failed"); }, [&] { done = true; });
  EXPECT_EQ(FailureOf(worker, done), "worker failed");

  done = false;
  duplicates::SearchOptions options;
  options.folders = {"C:\\"};
  TSearchJob search(options, [&](duplicates::SearchResult&) { done = true; }, &disk);
  EXPECT_EQ(FailureOf(search, done), "disk failed");

  done = false;
  duplicates::Groups groups = {{{"C:\\a", 1, 0}, {"C:\\b", 1, 0}}};
  duplicates::Marks marks = {{true, false}};
  TDeleteJob deletion(groups, marks, [&](RecycleOutcome& outcome) { done = outcome.count == 0; }, &disk);
  EXPECT_EQ(FailureOf(deletion, done), "disk failed");

  duplicates::Win32WorkerPool pool(2);
  std::atomic<int> ran{0};
  pool.Submit([] { throw std::runtime_error("task failed"); });
  for (int i = 0; i < 8; ++i) pool.Submit([&] { ++ran; });
  try {
    pool.Wait();
    ADD_FAILURE() << "the task's failure was lost";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "task failed");
  }
  pool.Submit([&] { ++ran; });
  pool.Wait();  // the failure was told once; the pool still works
  EXPECT_EQ(ran.load(), 9);
}

TEST(UtilityJobsTest, OneFileUnderTwoNamesIsOneFile) {
  const std::string root = Scratch("twinsift-names-");
  const std::string path = root + "\\only.txt";
  std::ofstream(path) << "the only copy";
  std::string upper = root;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

  std::string real, again, error;
  ASSERT_TRUE(duplicates::RealFolder(root, real, error)) << error;
  for (const std::string& spelling : {upper, root + "\\.", root + "\\"}) {
    EXPECT_TRUE(duplicates::RealFolder(spelling, again, error)) << spelling << ": " << error;
    EXPECT_EQ(again, real) << spelling;
  }
  EXPECT_FALSE(duplicates::RealFolder(root + "\\missing", again, error));

  duplicates::Win32FileSystem fs;
  duplicates::FileId one, other;
  ASSERT_TRUE(fs.Identity(path, one, error)) << error;
  ASSERT_TRUE(fs.Identity(upper + "\\ONLY.TXT", other, error)) << error;
  EXPECT_TRUE(one == other);

  // Found twice, as two folders spelt apart would have found it: the deletion keeps it and says why.
  duplicates::DirEntry entry;
  ASSERT_TRUE(fs.Describe(path, entry, error));
  duplicates::Groups groups = {{{upper + "\\ONLY.TXT", entry.size, entry.modified}, {path, entry.size, entry.modified}}};
  RecycleOutcome outcome;
  std::atomic<std::uint64_t> handled{0};
  std::atomic<bool> stop{false};
  RecycleMarked(fs, groups, {{true, false}}, outcome, handled, stop);
  EXPECT_EQ(outcome.count, 0u);
  ASSERT_EQ(outcome.failures.size(), 1u);
  EXPECT_EQ(outcome.failures[0].message, "it is the same file as the unmarked copy, under another name");
  EXPECT_EQ(handled.load(), 1u);
  EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(path.c_str());
  RemoveDirectoryA(root.c_str());
}
