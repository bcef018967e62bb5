#pragma once
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>
#include "duplicates/WorkerPool.h"

namespace duplicates {

// The pool on standard threads. The destructor runs what is still queued, then joins every thread.
class ThreadWorkerPool : public WorkerPool {
 public:
  explicit ThreadWorkerPool(std::size_t workers);
  ~ThreadWorkerPool() override;
  ThreadWorkerPool(const ThreadWorkerPool&) = delete;
  ThreadWorkerPool& operator=(const ThreadWorkerPool&) = delete;

  void Submit(std::function<void()> task) override;
  void Wait() override;

 private:
  void Work();

  std::mutex lock_;
  std::condition_variable taskReady_;
  std::condition_variable roomOrIdle_;  // the queue shrank, or a task returned
  std::deque<std::function<void()>> queue_;
  std::size_t running_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;  // the first a task threw, for the next Wait
  std::vector<std::thread> threads_;
};

}  // namespace duplicates
