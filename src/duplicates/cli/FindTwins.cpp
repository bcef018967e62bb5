// twinsift-find: the duplicate search on the command line. Prints each group of identical files one path a
// line with a blank line after the group, and what it could not judge on standard error.
//   twinsift-find [-A] [-m BYTES] [-j WORKERS] [-k BYTES] FOLDER...
//   -A  leave out hidden files and folders;  -m  leave out files smaller than BYTES;
//   -j  read on this many threads (0: all on the walking thread; default: the processor count, bounded);
//   -k  keep up to BYTES of small files in memory to compare them without reading them again
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include "duplicates/DuplicateFinder.h"
#include "duplicates/posix/PosixFileSystem.h"
#include "duplicates/posix/ThreadWorkerPool.h"

int main(int argc, char** argv) {
  duplicates::SearchOptions options;
  std::size_t workers = duplicates::WorkerCountFor(std::thread::hardware_concurrency());
  std::size_t kept = duplicates::DuplicateFinder::kKeptBytesLimit;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "-A")) options.includeHidden = false;
    else if (!std::strcmp(argv[i], "-m") && i + 1 < argc) options.minimumSize = std::strtoull(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "-j") && i + 1 < argc) workers = std::strtoul(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "-k") && i + 1 < argc) kept = std::strtoul(argv[++i], nullptr, 10);
    else if (argv[i][0] == '-' && argv[i][1]) {
      std::fprintf(stderr, "usage: twinsift-find [-A] [-m BYTES] [-j WORKERS] [-k BYTES] FOLDER...\n");
      return 2;
    } else options.folders.push_back(argv[i]);
  }
  if (options.folders.empty()) options.folders.push_back(".");
  duplicates::PosixFileSystem fileSystem;
  duplicates::SearchProgress progress;
  std::atomic<bool> cancel{false};
  std::unique_ptr<duplicates::ThreadWorkerPool> pool;
  if (workers > 0) pool = std::make_unique<duplicates::ThreadWorkerPool>(std::min(workers, duplicates::kMaxWorkers));
  duplicates::DuplicateFinder finder(fileSystem, pool.get());
  finder.SetKeptBytesLimit(kept);
  duplicates::SearchResult result = finder.Search(options, progress, cancel);
  for (const duplicates::Problem& problem : result.problems)
    std::fprintf(stderr, "twinsift-find: %s: %s\n", problem.path.c_str(), problem.message.c_str());
  std::string out;
  for (const auto& group : result.groups) {
    for (const auto& file : group) out += file.path + '\n';
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return result.problems.empty() ? 0 : 1;
}
