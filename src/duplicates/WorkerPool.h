#pragma once
#include <cstddef>
#include <functional>

namespace duplicates {

// A few threads that run tasks handed to them. The programs carry their own thread primitives instead of
// the threads library, so each platform brings its own pool: Win32 threads there, standard threads natively.
class WorkerPool {
 public:
  virtual ~WorkerPool() = default;
  // Queues a task; waits while the queue is full, so a fast producer cannot pile up memory.
  virtual void Submit(std::function<void()> task) = 0;
  // Returns once every task submitted so far has returned; then rethrows the first exception a task
  // threw since the last Wait, if any.
  virtual void Wait() = 0;
};

// Reading files on more threads than this gains nothing on a disk and costs memory.
constexpr std::size_t kMaxWorkers = 4;
constexpr std::size_t kQueueLimit = 1024;

// The processor count, bounded to [1, kMaxWorkers].
inline std::size_t WorkerCountFor(std::size_t processors) {
  return processors < 1 ? 1 : processors > kMaxWorkers ? kMaxWorkers : processors;
}

}  // namespace duplicates
