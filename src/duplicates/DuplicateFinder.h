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
  std::uint64_t maximumSize = UINT64_MAX;
  std::vector<std::string> names;    // patterns (NameMatches) a file's name must match one of; none: any name
};

// Whether name matches pattern: '*' stands for any run of characters, '?' for one; letters without case.
bool NameMatches(const std::string& pattern, const std::string& name);
// "*.tmp; copy of *", "jpg, .png": the patterns of a list; a bare extension stands for "*.ext".
std::vector<std::string> NamePatterns(const std::string& list);

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
  // byte-by-byte comparison needs no second open (what costs most under Wine); little, to keep the peak low.
  static constexpr std::size_t kKeptBytesLimit = 4u << 20;

  explicit DuplicateFinder(FileSystem& fileSystem, WorkerPool* pool = nullptr) : fs_(fileSystem), pool_(pool) {}
  // Where a second open costs little, less memory may serve better.
  void SetKeptBytesLimit(std::size_t bytes) { keptBytesLimit_ = bytes; }
  SearchResult Search(const SearchOptions& options, SearchProgress& progress, const std::atomic<bool>& cancel);

 private:
  // Names kept in large blocks, one allocation for thousands of them; a name never moves once kept.
  class NameStore {
   public:
    const char* Keep(const std::string& name);
    void Clear() { blocks_.clear(); used_ = kBlock; }

   private:
    static constexpr std::size_t kBlock = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = kBlock;
  };
  // Kept lean, one for every file listed: its folder and its name apart, the full path made when needed.
  struct Candidate {
    const std::string* folder = nullptr;  // null for a file named as a folder to search: name is its path
    const char* name = nullptr;
    std::uint64_t size;
    std::int64_t modified;
    std::uint64_t idVolume = 0, idIndex = 0;  // a FileId taken apart: its flag packs with the others
    std::uint64_t hash = 0;              // of the first block, then of the whole file
    std::unique_ptr<unsigned char[]> bytes;  // all of a small file, when kept
    bool idKnown = false;
    bool firstHashed = false;
    bool failed = false;  // why is in readFailures_
    bool compared = false;  // one of the files of a size that was compared
  };
  using Group = std::vector<Candidate*>;
  // What one size's task found; written by that task alone.
  struct SizeOutcome {
    std::vector<Candidate*> files;
    std::vector<std::vector<FoundFile>> groups;
    std::vector<Problem> problems;
    bool finished = false;
  };

  void Walk(const SearchOptions& options);
  void Consider(const std::string* folder, const std::string& name, const DirEntry& entry, const SearchOptions& options);
  std::string PathOf(const Candidate& file) const;
  void HashFirstBlock(Candidate& file);
  void HandOverFirstBlocks();
  void FinishSize(SizeOutcome& outcome);
  // Classes of equal files as groups, each by path.
  void Report(const std::vector<Group>& equal, SizeOutcome& outcome) const;
  void DropHardLinks(Group& group) const;
  static std::vector<Group> SplitByHash(Group group);
  static std::vector<Group> SplitByKeptBytes(Group group);
  // The groups among files already read whole, for a search stopped before it compared anything.
  void GroupKeptBytes(std::vector<Candidate*>& bySize, std::deque<SizeOutcome>& outcomes);
  // Hashes all of every file and splits by the hash.
  std::vector<Group> SplitByWholeHash(Group group, std::vector<Problem>& problems);
  // Splits files of one size into classes of equal bytes, reading them side by side.
  std::vector<Group> SplitByContent(Group group, std::vector<Problem>& problems);
  std::vector<Group> SplitBatch(const Group& batch, std::vector<Problem>& problems);
  bool Cancelled() const { return cancel_->load(std::memory_order_relaxed); }
  void Run(std::function<void()> task);
  void Drain();

  FileSystem& fs_;
  WorkerPool* pool_;
  SearchProgress* progress_ = nullptr;
  const std::atomic<bool>* cancel_ = nullptr;
  // Every file listed, in blocks that never move: tasks hold pointers into them while the walk adds more.
  static constexpr std::size_t kCandidateBlock = 4096;
  std::vector<std::unique_ptr<Candidate[]>> files_;
  std::size_t fileCount_ = 0;
  std::deque<std::string> folders_;  // every folder that holds a file listed; a deque for the same reason
  NameStore names_;
  // Files that could not be read, from any thread: rare, so kept apart from the files.
  class FailureList {
   public:
    ~FailureList() { Clear(); }
    void Add(const Candidate* file, std::string message);
    void Clear();
    template <class Visit>
    void ForEach(Visit visit) const {
      for (const Node* node = head_.load(); node; node = node->next) visit(*node->file, node->message);
    }

   private:
    struct Node {
      const Candidate* file;
      std::string message;
      Node* next;
    };
    std::atomic<Node*> head_{nullptr};
  };
  FailureList readFailures_;
  std::unordered_map<std::uint64_t, Candidate*> loneOfSize_;
  static constexpr std::size_t kHashBatch = 32;
  std::vector<Candidate*> toHash_;  // files whose first blocks are to be read, not yet handed to the pool  // the first file of each size, until a second comes
  std::size_t keptBytesLimit_ = kKeptBytesLimit;
  std::atomic<std::size_t> keptBytes_{0};
  std::vector<Problem> walkProblems_;
};

}  // namespace duplicates
