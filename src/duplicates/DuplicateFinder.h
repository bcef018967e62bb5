#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>
#include "duplicates/FileSystem.h"

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
  bool cancelled = false;
};

// Finds files whose bytes are equal: same size, then the same hash of the first block, then the same hash
// of all of it, then equal byte by byte. Hard links to one file count once; links are not followed.
class DuplicateFinder {
 public:
  static constexpr std::size_t kFirstBlock = 4096;

  explicit DuplicateFinder(FileSystem& fileSystem) : fs_(fileSystem) {}
  SearchResult Search(const SearchOptions& options, SearchProgress& progress, const std::atomic<bool>& cancel);

 private:
  struct Candidate {
    std::string path;
    std::uint64_t size;
    std::int64_t modified;
    FileId id;
    std::uint64_t hash = 0;
  };
  using Group = std::vector<Candidate>;

  void Walk(const SearchOptions& options);
  void Consider(const std::string& path, const DirEntry& entry, const SearchOptions& options);
  void DropHardLinks(Group& group);
  // Hashes up to limit bytes of every file (the whole file when limit is 0) and splits by the hash.
  std::vector<Group> SplitByHash(Group group, std::uint64_t limit);
  // Splits files of one size into classes of equal bytes, reading them side by side.
  std::vector<Group> SplitByContent(Group group);
  std::vector<Group> SplitBatch(Group batch);
  bool SameContent(const Candidate& a, const Candidate& b);
  void Report(const std::string& path, const std::string& message);
  bool Cancelled() const { return cancel_->load(std::memory_order_relaxed); }

  FileSystem& fs_;
  SearchProgress* progress_ = nullptr;
  const std::atomic<bool>* cancel_ = nullptr;
  std::vector<Candidate> files_;
  std::vector<Problem> problems_;
};

}  // namespace duplicates
