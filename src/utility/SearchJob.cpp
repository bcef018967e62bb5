#include "SearchJob.h"
#include <winioctl.h>
#include <cstdlib>
#include <cwctype>
#include <new>
#include "duplicates/win32/Win32WorkerPool.h"
#include "win32/UniqueHandle.h"

TSearchJob::TSearchJob(duplicates::SearchOptions options, std::function<void(duplicates::SearchResult&)> onDone,
                       duplicates::FileSystem* fileSystem)
    : options_(std::move(options)), onDone_(std::move(onDone)), fileSystem_(fileSystem ? *fileSystem : ownFileSystem_) {
  thread_ = std::make_unique<TWorkerThread>([this](const std::atomic<bool>& cancel) { Run(cancel); },
                                            [this] { onDone_(result_); });
}

namespace {

enum class SeekPenalty { Yes, No, Unknown };

// Whether the disk under path says that seeking costs: a disk without does better with reads in parallel.
SeekPenalty SeekPenaltyOf(const std::string& path) {
  wchar_t volume[MAX_PATH];
  if (!GetVolumePathNameW(duplicates::WideFromUtf8(path).c_str(), volume, MAX_PATH) || !iswalpha(volume[0]) ||
      volume[1] != L':')
    return SeekPenalty::Unknown;
  const wchar_t device[] = {L'\\', L'\\', L'.', L'\\', volume[0], L':', L'\0'};
  // No access rights asked: the query needs none, and so no administrator.
  win32::UniqueHandle disk(CreateFileW(device, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!disk) return SeekPenalty::Unknown;
  STORAGE_PROPERTY_QUERY query{};
  query.PropertyId = StorageDeviceSeekPenaltyProperty;
  query.QueryType = PropertyStandardQuery;
  DEVICE_SEEK_PENALTY_DESCRIPTOR answer{};
  DWORD got = 0;
  BOOL ok = DeviceIoControl(disk.get(), IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof(query), &answer, sizeof(answer), &got, nullptr);
  if (!ok || got < sizeof(answer)) return SeekPenalty::Unknown;
  return answer.IncursSeekPenalty ? SeekPenalty::Yes : SeekPenalty::No;
}

}  // namespace

// Under Wine, which answers no seek-penalty query, one reader beside the walk was fastest: its server
// takes every open in turn, so more readers only queue there (bench "utility", readers 0 to 4).
std::size_t TSearchJob::Readers(const std::string& folder) {
  char value[16];
  DWORD length = GetEnvironmentVariableA("TWINSIFT_READERS", value, sizeof(value));
  if (length > 0 && length < sizeof(value)) return std::min<std::size_t>(std::strtoul(value, nullptr, 10), duplicates::kMaxWorkers);
  return SeekPenaltyOf(folder) == SeekPenalty::No ? duplicates::Win32WorkerPool::DefaultWorkers() : 1;
}

void TSearchJob::Run(const std::atomic<bool>& cancel) {
  try {
    std::size_t readers = Readers(options_.folders.empty() ? std::string() : options_.folders.front());
    // The pool lives inside the search: when the result is handed over, its threads are gone.
    std::unique_ptr<duplicates::Win32WorkerPool> pool;
    if (readers > 0) pool = std::make_unique<duplicates::Win32WorkerPool>(readers);
    result_ = duplicates::DuplicateFinder(fileSystem_, pool.get()).Search(options_, progress_, cancel);
  } catch (const std::bad_alloc&) {
    result_ = {};
    result_.problems.push_back({"", "out of memory: the search stopped"});
  }
}
