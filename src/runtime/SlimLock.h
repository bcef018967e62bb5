#pragma once
#include <windows.h>

namespace runtime {

// A lock for short sections between threads of one process, on Windows' slim reader/writer lock, used
// exclusively. std::mutex would bring system_error and more of the threads library into every program.
// Meets the standard's Lockable requirements, so std::lock_guard and std::scoped_lock take it.
class SlimLock {
 public:
  SlimLock() = default;
  SlimLock(const SlimLock&) = delete;
  SlimLock& operator=(const SlimLock&) = delete;

  void lock() { AcquireSRWLockExclusive(&lock_); }
  bool try_lock() { return TryAcquireSRWLockExclusive(&lock_) != 0; }
  void unlock() { ReleaseSRWLockExclusive(&lock_); }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
};

}  // namespace runtime
