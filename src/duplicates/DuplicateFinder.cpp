#include "duplicates/DuplicateFinder.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>
#include "duplicates/ContentHash.h"

namespace duplicates {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kBatch = 64;  // files one task holds open at once while comparing byte by byte
const char* const kChanged = "changed during the search";

// Reads exactly size bytes, or tells why not; a file that ends early or goes on has changed.
bool ReadFully(FileReader& reader, unsigned char* buffer, std::size_t size, std::string& error) {
  std::size_t done = 0;
  while (done < size) {
    std::ptrdiff_t got = reader.Read(buffer + done, size - done, error);
    if (got < 0) return false;
    if (got == 0) {
      error = kChanged;
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool AtEnd(FileReader& reader, std::string& error) {
  unsigned char extra;
  std::ptrdiff_t got = reader.Read(&extra, 1, error);
  if (got < 0) return false;
  if (got > 0) error = kChanged;
  return got == 0;
}

}  // namespace

// Waits for the pool's tasks while a failure of this thread is already on its way: a task's failure adds nothing.
void DuplicateFinder::Drain() {
  try {
    pool_->Wait();
  } catch (...) {
  }
}

void DuplicateFinder::Run(std::function<void()> task) {
  if (pool_) pool_->Submit(std::move(task));
  else task();
}

const char* DuplicateFinder::NameStore::Keep(const std::string& name) {
  const std::size_t need = name.size() + 1;
  if (need > kBlock / 4) {  // a long name gets a block of its own
    blocks_.push_back(std::make_unique<char[]>(need));
    std::memcpy(blocks_.back().get(), name.c_str(), need);
    used_ = kBlock;  // the next short name starts a new block
    return blocks_.back().get();
  }
  if (used_ + need > kBlock) {
    blocks_.push_back(std::make_unique<char[]>(kBlock));
    used_ = 0;
  }
  char* kept = blocks_.back().get() + used_;
  std::memcpy(kept, name.c_str(), need);
  used_ += need;
  return kept;
}

void DuplicateFinder::FailureList::Add(const Candidate* file, std::string message) {
  Node* node = new Node{file, std::move(message), head_.load()};
  while (!head_.compare_exchange_weak(node->next, node)) {
  }
}

void DuplicateFinder::FailureList::Clear() {
  for (Node* node = head_.exchange(nullptr); node;) delete std::exchange(node, node->next);
}

std::string DuplicateFinder::PathOf(const Candidate& file) const {
  return file.folder ? fs_.Join(*file.folder, file.name) : std::string(file.name);
}

void DuplicateFinder::Consider(const std::string* folder, const std::string& name, const DirEntry& entry,
                               const SearchOptions& options) {
  progress_->filesSeen.fetch_add(1, std::memory_order_relaxed);
  if (entry.size == 0 || entry.size < options.minimumSize || entry.size > options.maximumSize) return;
  if (!options.names.empty() &&
      std::none_of(options.names.begin(), options.names.end(), [&](const std::string& p) { return NameMatches(p, name); }))
    return;
  if (fileCount_ % kCandidateBlock == 0) files_.push_back(std::make_unique<Candidate[]>(kCandidateBlock));
  Candidate& file = files_.back()[fileCount_++ % kCandidateBlock];
  file.folder = folder;
  file.name = names_.Keep(name);
  file.size = entry.size;
  file.modified = entry.modified;
  file.idVolume = entry.id.volume;
  file.idIndex = entry.id.index;
  file.idKnown = entry.id.known;
  if (!pool_) return;  // alone, everything is read once the walk is over
  // A size's first blocks are worth reading as soon as it has a second file.
  auto [lone, first] = loneOfSize_.try_emplace(entry.size, &file);
  if (first) return;
  if (Candidate* earlier = lone->second) {
    lone->second = nullptr;
    toHash_.push_back(earlier);
  }
  toHash_.push_back(&file);
  if (toHash_.size() >= kHashBatch) HandOverFirstBlocks();
}

// A task for each file would cost more in waking workers than reading a small file does: files go in batches.
void DuplicateFinder::HandOverFirstBlocks() {
  if (toHash_.empty()) return;
  pool_->Submit([this, files = std::move(toHash_)]() noexcept {
    for (Candidate* file : files) {
      try {
        HashFirstBlock(*file);
      } catch (...) {
        file->firstHashed = false;  // read again when its size is finished
      }
    }
  });
  toHash_.clear();
}

void DuplicateFinder::Walk(const SearchOptions& options) {
  std::vector<std::string> pending;
  for (const std::string& folder : options.folders) {
    DirEntry entry;
    std::string error;
    if (!fs_.Describe(folder, entry, error)) walkProblems_.push_back({folder, error});
    else if (entry.kind == EntryKind::Directory) pending.push_back(folder);
    else if (entry.kind == EntryKind::File) Consider(nullptr, folder, entry, options);
  }
  std::vector<DirEntry> entries;
  while (!pending.empty() && !Cancelled()) {
    std::string folder = std::move(pending.back());
    pending.pop_back();
    entries.clear();
    std::string error;
    if (!fs_.ListFolder(folder, entries, error)) {
      walkProblems_.push_back({folder, error});
      continue;
    }
    const std::string* kept = nullptr;
    for (const DirEntry& entry : entries) {
      if (entry.hidden && !options.includeHidden) continue;
      if (entry.kind == EntryKind::Directory) pending.push_back(fs_.Join(folder, entry.name));
      else if (entry.kind == EntryKind::File) {
        if (!kept) kept = &folders_.emplace_back(folder);
        Consider(kept, entry.name, entry, options);
      }
    }
  }
}

// Opens the file once for its id and its first block; a small file read whole is checked to end there.
void DuplicateFinder::HashFirstBlock(Candidate& file) {
  if (file.firstHashed || file.failed || Cancelled()) return;
  std::string error;
  std::unique_ptr<FileReader> reader = fs_.OpenFile(PathOf(file), error);
  unsigned char block[kFirstBlock];
  const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(file.size, kFirstBlock));
  // Read first: under Wine the read brings the file's descriptor that asking for the id then uses.
  FileId id{file.idVolume, file.idIndex, file.idKnown};
  bool ok = reader && ReadFully(*reader, block, piece, error) && (id.known || reader->Identify(id, error));
  if (ok && file.size <= kFirstBlock) ok = AtEnd(*reader, error);
  if (!ok) {
    readFailures_.Add(&file, error.empty() ? "cannot be read" : error);
    file.failed = true;
    return;
  }
  file.idVolume = id.volume;
  file.idIndex = id.index;
  file.idKnown = id.known;
  progress_->bytesCompared.fetch_add(piece, std::memory_order_relaxed);
  ContentHash hash;
  hash.Add(block, piece);
  file.hash = hash.Value();
  if (file.size <= kFirstBlock && keptBytes_.fetch_add(piece, std::memory_order_relaxed) + piece <= keptBytesLimit_) {
    file.bytes.reset(new (std::nothrow) unsigned char[piece]);
    if (file.bytes) std::memcpy(file.bytes.get(), block, piece);
  }
  file.firstHashed = true;
}

// Sorted by id, so that a size with thousands of files costs no more than sorting them.
void DuplicateFinder::DropHardLinks(Group& group) const {
  auto byId = [this](const Candidate* a, const Candidate* b) {
    if (a->idKnown != b->idKnown) return a->idKnown < b->idKnown;
    if (a->idVolume != b->idVolume) return a->idVolume < b->idVolume;
    if (a->idIndex != b->idIndex) return a->idIndex < b->idIndex;
    return a->idKnown ? PathOf(*a) < PathOf(*b) : a < b;  // of a file's names, the first path stays
  };
  std::sort(group.begin(), group.end(), byId);
  group.erase(std::unique(group.begin(), group.end(), [](const Candidate* a, const Candidate* b) {
                return a->idKnown && b->idKnown && a->idVolume == b->idVolume && a->idIndex == b->idIndex;
              }),
              group.end());
}

// Runs of equal hashes with at least two members.
std::vector<DuplicateFinder::Group> DuplicateFinder::SplitByHash(Group group) {
  std::sort(group.begin(), group.end(), [](const Candidate* a, const Candidate* b) { return a->hash < b->hash; });
  std::vector<Group> result;
  for (std::size_t i = 0; i < group.size();) {
    std::size_t j = i + 1;
    while (j < group.size() && group[j]->hash == group[i]->hash) ++j;
    if (j - i >= 2) result.emplace_back(group.begin() + static_cast<std::ptrdiff_t>(i), group.begin() + static_cast<std::ptrdiff_t>(j));
    i = j;
  }
  return result;
}

// Small files read whole while hashing are compared in memory, byte by byte.
std::vector<DuplicateFinder::Group> DuplicateFinder::SplitByKeptBytes(Group group) {
  std::vector<Group> classes;
  for (Candidate* file : group) {
    auto same = std::find_if(classes.begin(), classes.end(), [&](const Group& c) {
      return std::memcmp(c.front()->bytes.get(), file->bytes.get(), static_cast<std::size_t>(file->size)) == 0;
    });
    if (same == classes.end()) classes.push_back({file});
    else same->push_back(file);
  }
  classes.erase(std::remove_if(classes.begin(), classes.end(), [](const Group& c) { return c.size() < 2; }), classes.end());
  return classes;
}

std::vector<DuplicateFinder::Group> DuplicateFinder::SplitByWholeHash(Group group, std::vector<Problem>& problems) {
  std::vector<unsigned char> buffer(kChunk);
  Group hashed;
  for (Candidate* file : group) {
    if (Cancelled()) return {};
    std::string error;
    const std::string path = PathOf(*file);
    std::unique_ptr<FileReader> reader = fs_.OpenFile(path, error);
    std::uint64_t left = file->size;
    ContentHash hash;
    bool ok = reader != nullptr;
    while (ok && left > 0) {
      std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
      ok = ReadFully(*reader, buffer.data(), piece, error);
      if (!ok) break;
      hash.Add(buffer.data(), piece);
      progress_->bytesCompared.fetch_add(piece, std::memory_order_relaxed);
      left -= piece;
    }
    if (ok) ok = AtEnd(*reader, error);
    if (!ok) {
      problems.push_back({path, error});
      continue;
    }
    file->hash = hash.Value();
    hashed.push_back(file);
  }
  return SplitByHash(std::move(hashed));
}

std::vector<DuplicateFinder::Group> DuplicateFinder::SplitBatch(const Group& batch, std::vector<Problem>& problems) {
  struct Open {
    Candidate* file;
    std::unique_ptr<FileReader> reader;
    std::vector<unsigned char> chunk;
    bool failed = false;
  };
  std::vector<Open> open;
  const std::uint64_t size = batch.front()->size;
  // Smaller pieces when many files are open, so that a batch holds about a megabyte.
  const std::size_t chunk = std::max<std::size_t>(kFirstBlock, std::min(kChunk, (std::size_t{1} << 20) / batch.size()));
  const std::size_t chunkSize = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, size));
  for (Candidate* file : batch) {
    std::string error;
    const std::string path = PathOf(*file);
    auto reader = fs_.OpenFile(path, error);
    if (!reader) problems.push_back({path, error});
    else open.push_back({file, std::move(reader), std::vector<unsigned char>(chunkSize)});
  }
  if (open.size() < 2) return {};
  // Classes of files whose bytes have been equal so far, as indexes into open.
  std::vector<std::vector<std::size_t>> classes(1);
  for (std::size_t i = 0; i < open.size(); ++i) classes[0].push_back(i);
  for (std::uint64_t offset = 0; offset < size && !Cancelled(); offset += chunk) {
    std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, size - offset));
    for (Open& o : open) {
      std::string error;
      if (o.failed || ReadFully(*o.reader, o.chunk.data(), piece, error)) continue;
      o.failed = true;
      problems.push_back({PathOf(*o.file), error});
    }
    progress_->bytesCompared.fetch_add(piece * open.size(), std::memory_order_relaxed);
    std::vector<std::vector<std::size_t>> next;
    for (auto& members : classes) {
      std::vector<std::vector<std::size_t>> split;
      for (std::size_t m : members) {
        if (open[m].failed) continue;
        auto same = std::find_if(split.begin(), split.end(), [&](const std::vector<std::size_t>& c) {
          return std::memcmp(open[c.front()].chunk.data(), open[m].chunk.data(), piece) == 0;
        });
        if (same == split.end()) split.push_back({m});
        else same->push_back(m);
      }
      for (auto& c : split)
        if (c.size() >= 2) next.push_back(std::move(c));
    }
    classes = std::move(next);
    if (classes.empty()) break;
  }
  if (Cancelled()) return {};
  std::vector<Group> result;
  for (auto& members : classes) {
    Group group;
    for (std::size_t m : members) {
      std::string error;
      if (open[m].failed) continue;
      if (!AtEnd(*open[m].reader, error)) problems.push_back({PathOf(*open[m].file), error});
      else group.push_back(open[m].file);
    }
    if (group.size() >= 2) result.push_back(std::move(group));
  }
  return result;
}

std::vector<DuplicateFinder::Group> DuplicateFinder::SplitByContent(Group group, std::vector<Problem>& problems) {
  std::vector<Group> result;
  for (std::size_t start = 0; start < group.size() && !Cancelled(); start += kBatch) {
    std::size_t end = std::min(group.size(), start + kBatch);
    Group batch(group.begin() + static_cast<std::ptrdiff_t>(start), group.begin() + static_cast<std::ptrdiff_t>(end));
    for (Group& found : SplitBatch(batch, problems)) {
      // A very large group is compared in batches: classes of later batches join earlier ones.
      auto same = std::find_if(result.begin(), result.end(), [&](const Group& known) {
        return !SplitBatch(Group{known.front(), found.front()}, problems).empty();
      });
      if (same == result.end()) result.push_back(std::move(found));
      else same->insert(same->end(), found.begin(), found.end());
    }
  }
  return result;
}

void DuplicateFinder::Report(const std::vector<Group>& equal, SizeOutcome& outcome) const {
  for (const Group& same : equal) {
    std::vector<FoundFile> found;
    for (Candidate* c : same) found.push_back({PathOf(*c), c->size, c->modified});
    std::sort(found.begin(), found.end(), [](const FoundFile& a, const FoundFile& b) { return a.path < b.path; });
    outcome.groups.push_back(std::move(found));
  }
}

// Everything after the first blocks, for the files of one size.
void DuplicateFinder::FinishSize(SizeOutcome& outcome) {
  const Group& files = outcome.files;
  try {
    Group readable;
    for (Candidate* file : files) {
      HashFirstBlock(*file);
      if (file->firstHashed) readable.push_back(file);
    }
    DropHardLinks(readable);
    const bool small = readable.empty() || readable.front()->size <= kFirstBlock;
    for (Group& firstBlock : SplitByHash(std::move(readable))) {
      std::vector<Group> equal;
      if (small && std::all_of(firstBlock.begin(), firstBlock.end(), [](const Candidate* c) { return c->bytes != nullptr; }))
        equal = SplitByKeptBytes(std::move(firstBlock));
      else if (small)
        equal = SplitByContent(std::move(firstBlock), outcome.problems);
      else
        for (Group& whole : SplitByWholeHash(std::move(firstBlock), outcome.problems))
          for (Group& same : SplitByContent(std::move(whole), outcome.problems)) equal.push_back(std::move(same));
      Report(equal, outcome);
    }
    for (Candidate* file : files) file->bytes.reset();
    outcome.files = {};  // its failures are in readFailures_; the list would only add to the peak
    outcome.finished = !Cancelled();
  } catch (...) {
    outcome.groups.clear();
    outcome.finished = false;
    if (!files.empty()) outcome.problems.push_back({PathOf(*files.front()), "out of memory: files of this size were not compared"});
  }
}

// Costs no reading: only files whose every byte the walk's readers kept count, so no copy is told apart
// from another on less than all of its bytes; copies not read yet are missing, as after any cancel.
void DuplicateFinder::GroupKeptBytes(std::vector<Candidate*>& bySize, std::deque<SizeOutcome>& outcomes) {
  for (std::size_t i = 0; i < bySize.size();) {
    std::size_t j = i;
    Group read;
    for (; j < bySize.size() && bySize[j]->size == bySize[i]->size; ++j)
      if (bySize[j]->firstHashed && bySize[j]->bytes && bySize[j]->idKnown) read.push_back(bySize[j]);
    i = j;
    if (read.size() < 2) continue;
    DropHardLinks(read);
    SizeOutcome& outcome = outcomes.emplace_back();
    for (Group& firstBlock : SplitByHash(std::move(read))) Report(SplitByKeptBytes(std::move(firstBlock)), outcome);
    outcome.finished = true;
  }
}

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool NameMatches(const std::string& pattern, const std::string& name) {
  std::size_t p = 0, n = 0, star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> NamePatterns(const std::string& list) {
  std::vector<std::string> patterns;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = std::min(list.find_first_of(",;", start), list.size());
    std::string item = list.substr(start, end - start);
    item.erase(0, item.find_first_not_of(' '));
    item.erase(item.find_last_not_of(' ') + 1);
    if (!item.empty() && item.find_first_of("*?.") == std::string::npos) item = "*." + item;
    else if (!item.empty() && item[0] == '.' && item.find_first_of("*?") == std::string::npos) item = "*" + item;
    if (!item.empty()) patterns.push_back(item);
    start = end + 1;
  }
  return patterns;
}

SearchResult DuplicateFinder::Search(const SearchOptions& options, SearchProgress& progress,
                                     const std::atomic<bool>& cancel) {
  progress_ = &progress;
  cancel_ = &cancel;
  files_.clear();
  fileCount_ = 0;
  folders_.clear();
  names_.Clear();
  readFailures_.Clear();
  loneOfSize_.clear();
  toHash_.clear();
  keptBytes_ = 0;
  walkProblems_.clear();
  SearchResult result;
  try {
    Walk(options);
    if (pool_) HandOverFirstBlocks();
  } catch (...) {
    if (pool_) Drain();  // its tasks point into files_
    throw;
  }
  loneOfSize_ = {};
  if (pool_) pool_->Wait();

  std::vector<Candidate*> bySize;
  bySize.reserve(fileCount_);
  for (std::size_t i = 0; i < fileCount_; ++i) bySize.push_back(&files_[i / kCandidateBlock][i % kCandidateBlock]);
  std::sort(bySize.begin(), bySize.end(), [](const Candidate* a, const Candidate* b) { return a->size < b->size; });

  std::deque<SizeOutcome> outcomes;
  std::vector<std::pair<std::string, Candidate*>> named;
  try {
    for (std::size_t i = 0; i < bySize.size() && !Cancelled();) {
      std::size_t j = i + 1;
      while (j < bySize.size() && bySize[j]->size == bySize[i]->size) ++j;
      if (j - i >= 2) {
        Group sameSize(bySize.begin() + static_cast<std::ptrdiff_t>(i), bySize.begin() + static_cast<std::ptrdiff_t>(j));
        // The same path given twice, or a folder inside another one, is one file; one folder never lists a
        // file twice.
        if (options.folders.size() > 1) {
          named.clear();
          for (Candidate* file : sameSize) named.emplace_back(PathOf(*file), file);
          std::sort(named.begin(), named.end());
          named.erase(std::unique(named.begin(), named.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
                      named.end());
          sameSize.clear();
          for (auto& [path, file] : named) sameSize.push_back(file);
        }
        if (sameSize.size() >= 2) {
          for (Candidate* file : sameSize) file->compared = true;
          SizeOutcome& outcome = outcomes.emplace_back();
          outcome.files = std::move(sameSize);
          Run([this, &outcome] { FinishSize(outcome); });
        }
      }
      i = j;
    }
  } catch (...) {
    if (pool_) Drain();  // its tasks point into outcomes
    throw;
  }
  if (Cancelled() && outcomes.empty()) GroupKeptBytes(bySize, outcomes);
  bySize = {};
  if (pool_) pool_->Wait();

  result.problems = std::move(walkProblems_);
  readFailures_.ForEach([&](const Candidate& file, const std::string& message) {
    if (file.compared) result.problems.push_back({PathOf(file), message});
  });
  readFailures_.Clear();
  for (SizeOutcome& outcome : outcomes) {
    for (Problem& problem : outcome.problems) result.problems.push_back(std::move(problem));
    if (!outcome.finished) continue;
    for (auto& group : outcome.groups) result.groups.push_back(std::move(group));
  }
  std::sort(result.groups.begin(), result.groups.end(),
            [](const std::vector<FoundFile>& a, const std::vector<FoundFile>& b) { return a.front().path < b.front().path; });
  std::sort(result.problems.begin(), result.problems.end(),
            [](const Problem& a, const Problem& b) { return a.path < b.path; });
  result.cancelled = Cancelled();
  files_.clear();
  fileCount_ = 0;
  folders_.clear();
  names_.Clear();
  return result;
}

}  // namespace duplicates
