#pragma once
#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include "Recycler.h"
#include "WorkerThread.h"
#include "duplicates/Safeguards.h"
#include "duplicates/win32/Win32FileSystem.h"

// One deletion of the marked files on a worker thread, the sibling of TSearchJob. The window reads the
// counter while it runs; onDone then runs on the GUI thread with what was done, also after a failure
// (Failure() says which). The groups and marks must not change until then. onDone must not destroy the job.
// Destroying the job stops a deletion still running and waits for its thread.
class TDeleteJob {
 public:
  // The files are checked through fileSystem and moved to bin, the system's own unless told; nothing in
  // the reference folders goes.
  TDeleteJob(const duplicates::Groups& groups, const duplicates::Marks& marks, std::function<void(RecycleOutcome&)> onDone,
             duplicates::FileSystem* fileSystem = nullptr, RecycleBin* bin = nullptr,
             std::vector<std::string> referenceFolders = {});

  void Stop() { thread_->Stop(); }
  bool Finished() const { return thread_->Finished(); }
  std::exception_ptr Failure() const { return thread_->Failure(); }
  std::uint64_t Handled() const { return handled_.load(); }

 private:
  const duplicates::Groups& groups_;
  const duplicates::Marks& marks_;
  std::function<void(RecycleOutcome&)> onDone_;
  duplicates::Win32FileSystem ownFileSystem_;
  duplicates::ReferenceGuard fileSystem_;
  std::unique_ptr<RecycleBin> ownBin_;
  RecycleBin& bin_;
  std::atomic<std::uint64_t> handled_{0};
  RecycleOutcome outcome_;
  std::unique_ptr<TWorkerThread> thread_;  // last: it stops before the rest goes
};
