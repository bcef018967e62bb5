#pragma once
#include <windows.h>
#include <atomic>
#include <functional>
#include "duplicates/DuplicateFinder.h"
#include "duplicates/win32/Win32FileSystem.h"

// One search on a worker thread. The window reads the progress counters while it runs; the result is
// handed to the GUI thread, where onDone runs. onDone must not destroy the job: the thread is still
// returning from the hand-over then.
class TSearchJob {
 public:
  TSearchJob(duplicates::SearchOptions options, std::function<void(duplicates::SearchResult&)> onDone);
  ~TSearchJob();  // cancels a search still running and waits for its thread
  TSearchJob(const TSearchJob&) = delete;
  TSearchJob& operator=(const TSearchJob&) = delete;

  void Cancel() { cancel_ = true; }
  bool Finished() const { return finished_; }
  const duplicates::SearchProgress& Progress() const { return progress_; }

 private:
  static DWORD WINAPI ThreadMain(LPVOID job);
  void Run();

  duplicates::SearchOptions options_;
  std::function<void(duplicates::SearchResult&)> onDone_;
  duplicates::Win32FileSystem fileSystem_;
  duplicates::SearchProgress progress_;
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  HANDLE thread_ = nullptr;
};
