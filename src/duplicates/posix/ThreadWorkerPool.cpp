#include "duplicates/posix/ThreadWorkerPool.h"
#include <utility>

namespace duplicates {

ThreadWorkerPool::ThreadWorkerPool(std::size_t workers) {
  for (std::size_t i = 0; i < workers; ++i) threads_.emplace_back([this] { Work(); });
}

ThreadWorkerPool::~ThreadWorkerPool() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  taskReady_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void ThreadWorkerPool::Submit(std::function<void()> task) {
  std::unique_lock<std::mutex> guard(lock_);
  roomOrIdle_.wait(guard, [this] { return queue_.size() < kQueueLimit; });
  queue_.push_back(std::move(task));
  guard.unlock();
  taskReady_.notify_one();
}

void ThreadWorkerPool::Wait() {
  std::unique_lock<std::mutex> guard(lock_);
  roomOrIdle_.wait(guard, [this] { return queue_.empty() && running_ == 0; });
  if (std::exception_ptr failure = std::exchange(failure_, nullptr)) std::rethrow_exception(failure);
}

void ThreadWorkerPool::Work() {
  std::unique_lock<std::mutex> guard(lock_);
  for (;;) {
    taskReady_.wait(guard, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;  // stopping, and nothing left to run
    std::function<void()> task = std::move(queue_.front());
    queue_.pop_front();
    ++running_;
    guard.unlock();
    std::exception_ptr failure;
    try {
      task();
    } catch (...) {
      failure = std::current_exception();
    }
    guard.lock();
    if (failure && !failure_) failure_ = failure;
    --running_;
    roomOrIdle_.notify_all();
  }
}

}  // namespace duplicates
