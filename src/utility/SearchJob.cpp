#include "SearchJob.h"
#include <cstdlib>
#include <new>
#include "duplicates/win32/Win32WorkerPool.h"

TSearchJob::TSearchJob(duplicates::SearchOptions options, std::function<void(duplicates::SearchResult&)> onDone)
    : options_(std::move(options)), onDone_(std::move(onDone)) {
  thread_ = std::make_unique<TWorkerThread>([this](const std::atomic<bool>& cancel) { Run(cancel); },
                                            [this] { onDone_(result_); });
}

std::size_t TSearchJob::Readers() {
  char value[16];
  DWORD length = GetEnvironmentVariableA("TWINSIFT_READERS", value, sizeof(value));
  if (length > 0 && length < sizeof(value)) return std::min<std::size_t>(std::strtoul(value, nullptr, 10), duplicates::kMaxWorkers);
  return duplicates::Win32WorkerPool::DefaultWorkers();
}

void TSearchJob::Run(const std::atomic<bool>& cancel) {
  try {
    std::size_t readers = Readers();
    // The pool lives inside the search: when the result is handed over, its threads are gone.
    std::unique_ptr<duplicates::Win32WorkerPool> pool;
    if (readers > 0) pool = std::make_unique<duplicates::Win32WorkerPool>(readers);
    result_ = duplicates::DuplicateFinder(fileSystem_, pool.get()).Search(options_, progress_, cancel);
  } catch (const std::bad_alloc&) {
    result_ = {};
    result_.problems.push_back({"", "out of memory: the search stopped"});
  }
}
