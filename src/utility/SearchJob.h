#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include "WorkerThread.h"
#include "duplicates/DuplicateFinder.h"
#include "duplicates/win32/Win32FileSystem.h"

// One search on a worker thread, reading on a small pool of its own. The window reads the progress
// counters while it runs; the result is handed to the GUI thread, where onDone runs, also after a failure. onDone must not
// destroy the job. Destroying the job cancels a search still running and waits for all its threads.
class TSearchJob {
 public:
  // The folders are read through fileSystem, the system's own unless told.
  TSearchJob(duplicates::SearchOptions options, std::function<void(duplicates::SearchResult&)> onDone,
             duplicates::FileSystem* fileSystem = nullptr);

  void Cancel() { thread_->Stop(); }
  bool Finished() const { return thread_->Finished(); }
  // What ended the search other than a shortage of memory (which the result tells), or null.
  std::exception_ptr Failure() const { return thread_->Failure(); }
  const duplicates::SearchProgress& Progress() const { return progress_; }

  // How many threads read files: TWINSIFT_READERS when set (0 reads on the search's own thread); else the
  // processor count, bounded, where the disk of folder says it has no seek penalty, and one otherwise.
  static std::size_t Readers(const std::string& folder);

 private:
  void Run(const std::atomic<bool>& cancel);

  duplicates::SearchOptions options_;
  std::function<void(duplicates::SearchResult&)> onDone_;
  duplicates::Win32FileSystem ownFileSystem_;
  duplicates::FileSystem& fileSystem_;
  duplicates::SearchProgress progress_;
  duplicates::SearchResult result_;
  std::unique_ptr<TWorkerThread> thread_;  // last: it stops before the rest goes
};
