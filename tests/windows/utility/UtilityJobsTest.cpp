// The utility's workers on their own: what any of them throws reaches the GUI thread as a failure, one
// file under two names is never taken for two copies of it, and no file is deleted for good.
#include <gtest/gtest.h>
#include <windows.h>
#include <fstream>
#include <stdexcept>
#include "DeleteJob.h"
#include "SearchJob.h"
#include "driver/TestApplication.h"
#include "duplicates/win32/Win32WorkerPool.h"

namespace {

struct BrokenDisk : duplicates::Win32FileSystem {
  bool Describe(const std::string&, duplicates::DirEntry&, std::string&) override { throw std::runtime_error("disk failed"); }
};

template <class Job>
std::string FailureOf(Job& job, bool& done) {
  for (DWORD deadline = GetTickCount() + 10000; !done && GetTickCount() < deadline;)
    e2e::TestApplication().WaitForMessage(100), e2e::TestApplication().ProcessMessages();
  if (!done || !job.Finished()) return "never finished";
  try {
    if (job.Failure()) std::rethrow_exception(job.Failure());
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

// A bin on a drive of its own, which takes nothing whose name ends in "-net".
struct NetworkBin : RecycleBin {
  std::wstring moved;
  bool Takes(const duplicates::FoundFile& file, std::string& why) override {
    return file.path.find("-net") == std::string::npos || (why = kWouldBeDestroyed, false);
  }
  int Move(const std::wstring& names) override { return (moved += names, 0x78); }
};

}  // namespace

TEST(UtilityJobsTest, WhatAWorkerThrowsIsHandedToTheGuiThread) {
  e2e::TestApplication();  // this thread is the GUI thread
  BrokenDisk disk;
  bool done = false;
  TWorkerThread worker([](const std::atomic<bool>&) { throw std::runtime_error("worker failed"); }, [&] { done = true; });
  EXPECT_EQ(FailureOf(worker, done), "worker failed");
  done = false;
  TSearchJob search({{"C:\\"}}, [&](duplicates::SearchResult&) { done = true; }, &disk);
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
  EXPECT_THROW(pool.Wait(), std::runtime_error);
  pool.Submit([&] { ++ran; });
  pool.Wait();  // the failure was told once; the pool still works
  EXPECT_EQ(ran.load(), 9);
}

TEST(UtilityJobsTest, OneFileUnderTwoNamesIsOneFileAndNothingGoesForGood) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "twinsift-names-" + std::to_string(GetTickCount());
  CreateDirectoryA(root.c_str(), nullptr);
  std::string upper = root;
  CharUpperA(upper.data());
  const char* const names[] = {"\\only", "\\copy", "\\copy-net", "\\changed", "\\kept"};
  for (const char* name : names) std::ofstream(root + name) << "the same bytes";
  std::string error;
  duplicates::Win32FileSystem fs;
  duplicates::DirEntry entry;
  auto found = [&](const std::string& path) {
    fs.Describe(path, entry, error);
    return duplicates::FoundFile{path, entry.size, entry.modified};
  };
  // One file found under two names; a copy on a drive without a bin; a file changed since the search.
  duplicates::Groups groups = {{found(upper + "\\ONLY"), found(root + "\\only")},
                               {found(root + "\\copy"), found(root + "\\copy-net"), found(root + "\\only")},
                               {found(root + "\\changed"), found(root + "\\kept")}};
  std::ofstream(root + "\\changed", std::ios::app) << "and more";
  RecycleOutcome outcome;
  std::atomic<std::uint64_t> handled{0};
  std::atomic<bool> stop{false};
  NetworkBin bin;
  RecycleMarked(fs, bin, groups, {{true, false}, {true, true, false}, {true, false}}, outcome, handled, stop);
  EXPECT_EQ(outcome.destroyable, std::vector<std::string>{root + "\\copy-net"});
  std::vector<std::string> why;
  for (const auto& failure : outcome.failures) why.push_back(failure.message);
  EXPECT_EQ(why, (std::vector<std::string>{"it is the same file as the unmarked copy, under another name", kWouldBeDestroyed,
                                           "changed since the search", "access to the file was denied"}));
  EXPECT_EQ(bin.moved, duplicates::WideFromUtf8(root + "\\copy") + L'\0' + L'\0');
  // Under a reference folder nothing goes, whatever is marked.
  duplicates::ReferenceGuard guarded(fs, {root});
  RecycleMarked(guarded, bin, {{found(root + "\\kept"), found(root + "\\copy")}}, {{true, false}}, outcome, handled, stop);
  ASSERT_EQ(outcome.failures.size(), 1u);
  EXPECT_EQ(outcome.failures[0].message, "it lies in a reference folder");
  EXPECT_EQ(outcome.count, 0u);
  for (const char* name : names) {
    EXPECT_NE(GetFileAttributesA((root + name).c_str()), INVALID_FILE_ATTRIBUTES) << name;
    DeleteFileA((root + name).c_str());
  }
  RemoveDirectoryA(root.c_str());
}
