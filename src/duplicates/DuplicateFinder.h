#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "duplicates/FileSystem.h"
#include "duplicates/WorkerPool.h"

namespace duplicates {

struct SearchOptions {
  std::vector<std::string> folders;  // searched with everything below them; a file here counts as itself
  std::uint64_t minimumSize = 1;     // empty files never count, whatever this says
  bool includeHidden = true;         // hidden and system files and folders
};

// Counters the search updates as it goes; any thread may read them.
struct SearchProgress {
  std::atomic<std::uint64_t> filesSeen{0};
  std::atomic<std::uint64_t> bytesCompared{0};
};

struct FoundFile {
  std::string path;
  std::uint64_t size = 0;
  std::int64_t modified = 0;  // nanoseconds since 1970-01-01 UTC
};

// A file or folder the search could not judge, and why.
struct Problem {
  std::string path;
  std::string message;
};

struct SearchResult {
  std::vector<std::vector<FoundFile>> groups;  // each sorted by path; groups by their first path
  std::vector<Problem> problems;
  // A cancelled search keeps the groups it finished: each is equal byte for byte, but copies in files it
  // had not reached yet are missing, and whole groups may be.
  bool cancelled = false;
};

// Finds files whose bytes are equal: same size, then the same hash of the first block, then the same hash
// of all of it, then equal byte by byte. Hard links to one file count once; links are not followed.
// With a pool, first blocks are read on its workers while the walk goes on, from the moment a size has a
// second file, and each size is then finished as one task.
class DuplicateFinder {
 public:
  static constexpr std::size_t kFirstBlock = 4096;
  // Small files whose first block is all of them keep their bytes up to this much in all, so that their
  // byte-by-byte comparison needs no second read.
  static constexpr std::size_t kKeptBytesLimit = 32u << 20;

  explicit DuplicateFinder(FileSystem& fileSystem, WorkerPool* pool = nullptr) : fs_(fileSystem), pool_(pool) {}
  SearchResult Search(const SearchOptions& options, SearchProgress& progress, const std::atomic<bool>& cancel);

 private:
  struct Candidate {
    std::string path;
    std::uint64_t size;
    std::int64_t modified;
    FileId id;
    std::uint64_t hash = 0;              // of the first block, then of the whole file
    std::unique_ptr<unsigned char[]> bytes;  // all of a small file, when kept
    std::string problem;                 // why it could not be read
    bool firstHashed = false;
  };
  using Group = std::vector<Candidate*>;
  // What one size's task found; written by that task alone.
  struct SizeOutcome {
    std::vector<std::vector<FoundFile>> groups;
    std::vector<Problem> problems;
    bool finished = false;
  };

  void Walk(const SearchOptions& options);
  void Consider(const std::string& path, const DirEntry& entry, const SearchOptions& options);
  void HashFirstBlock(Candidate& file);
  void HashEarly(Candidate& file) noexcept;
  void FinishSize(Group files, SizeOutcome& outcome);
  static void DropHardLinks(Group& group);
  static std::vector<Group> SplitByHash(Group group);
  static std::vector<Group> SplitByKeptBytes(Group group);
  // Hashes all of every file and splits by the hash.
  std::vector<Group> SplitByWholeHash(Group group, std::vector<Problem>& problems);
  // Splits files of one size into classes of equal bytes, reading them side by side.
  std::vector<Group> SplitByContent(Group group, std::vector<Problem>& problems);
  std::vector<Group> SplitBatch(const Group& batch, std::vector<Problem>& problems);
  bool Cancelled() const { return cancel_->load(std::memory_order_relaxed); }
  void Run(std::function<void()> task);

  FileSystem& fs_;
  WorkerPool* pool_;
  SearchProgress* progress_ = nullptr;
  const std::atomic<bool>* cancel_ = nullptr;
  std::deque<Candidate> files_;  // a deque: tasks hold pointers into it while the walk adds more
  std::unordered_map<std::uint64_t, Candidate*> loneOfSize_;  // the first file of each size, until a second comes
  std::atomic<std::size_t> keptBytes_{0};
  std::vector<Problem> walkProblems_;
};

}  // namespace duplicates
