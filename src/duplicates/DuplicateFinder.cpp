#include "duplicates/DuplicateFinder.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
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

void DuplicateFinder::Run(std::function<void()> task) {
  if (pool_) pool_->Submit(std::move(task));
  else task();
}

void DuplicateFinder::Consider(const std::string& path, const DirEntry& entry, const SearchOptions& options) {
  progress_->filesSeen.fetch_add(1, std::memory_order_relaxed);
  if (entry.size == 0 || entry.size < options.minimumSize) return;
  Candidate& file = files_.emplace_back();
  file.path = path;
  file.size = entry.size;
  file.modified = entry.modified;
  file.id = entry.id;
  if (!pool_) return;  // alone, everything is read once the walk is over
  // A size's first blocks are worth reading as soon as it has a second file.
  auto [lone, first] = loneOfSize_.try_emplace(entry.size, &file);
  if (first) return;
  if (Candidate* earlier = lone->second) {
    lone->second = nullptr;
    pool_->Submit([this, earlier] { HashEarly(*earlier); });
  }
  Candidate* latest = &file;
  pool_->Submit([this, latest] { HashEarly(*latest); });
}

// On a worker, during the walk: a file this fails on is read again when its size is finished.
void DuplicateFinder::HashEarly(Candidate& file) noexcept {
  try {
    HashFirstBlock(file);
  } catch (...) {
    file.firstHashed = false;
  }
}

void DuplicateFinder::Walk(const SearchOptions& options) {
  std::vector<std::string> pending;
  for (const std::string& folder : options.folders) {
    DirEntry entry;
    std::string error;
    if (!fs_.Describe(folder, entry, error)) walkProblems_.push_back({folder, error});
    else if (entry.kind == EntryKind::Directory) pending.push_back(folder);
    else if (entry.kind == EntryKind::File) Consider(folder, entry, options);
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
    for (const DirEntry& entry : entries) {
      if (entry.hidden && !options.includeHidden) continue;
      if (entry.kind == EntryKind::Directory) pending.push_back(fs_.Join(folder, entry.name));
      else if (entry.kind == EntryKind::File) Consider(fs_.Join(folder, entry.name), entry, options);
    }
  }
}

// Opens the file once for its id and its first block; a small file read whole is checked to end there.
void DuplicateFinder::HashFirstBlock(Candidate& file) {
  if (file.firstHashed || !file.problem.empty() || Cancelled()) return;
  std::string error;
  std::unique_ptr<FileReader> reader = fs_.OpenFile(file.path, error);
  unsigned char block[kFirstBlock];
  const std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(file.size, kFirstBlock));
  bool ok = reader && (file.id.known || reader->Identify(file.id, error)) && ReadFully(*reader, block, piece, error);
  if (ok && file.size <= kFirstBlock) ok = AtEnd(*reader, error);
  if (!ok) {
    file.problem = error.empty() ? "cannot be read" : error;
    return;
  }
  progress_->bytesCompared.fetch_add(piece, std::memory_order_relaxed);
  ContentHash hash;
  hash.Add(block, piece);
  file.hash = hash.Value();
  if (file.size <= kFirstBlock && keptBytes_.fetch_add(piece, std::memory_order_relaxed) + piece <= kKeptBytesLimit) {
    file.bytes.reset(new (std::nothrow) unsigned char[piece]);
    if (file.bytes) std::memcpy(file.bytes.get(), block, piece);
  }
  file.firstHashed = true;
}

void DuplicateFinder::DropHardLinks(Group& group) {
  Group kept;
  for (Candidate* file : group)
    if (std::none_of(kept.begin(), kept.end(), [&](const Candidate* k) { return k->id == file->id; }))
      kept.push_back(file);
  group = std::move(kept);
}

// Runs of equal hashes with at least two members.
std::vector<DuplicateFinder::Group> DuplicateFinder::SplitByHash(Group group) {
  std::stable_sort(group.begin(), group.end(), [](const Candidate* a, const Candidate* b) { return a->hash < b->hash; });
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
    std::unique_ptr<FileReader> reader = fs_.OpenFile(file->path, error);
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
      problems.push_back({file->path, error});
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
  const std::size_t chunkSize = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size));
  for (Candidate* file : batch) {
    std::string error;
    auto reader = fs_.OpenFile(file->path, error);
    if (!reader) problems.push_back({file->path, error});
    else open.push_back({file, std::move(reader), std::vector<unsigned char>(chunkSize)});
  }
  if (open.size() < 2) return {};
  // Classes of files whose bytes have been equal so far, as indexes into open.
  std::vector<std::vector<std::size_t>> classes(1);
  for (std::size_t i = 0; i < open.size(); ++i) classes[0].push_back(i);
  for (std::uint64_t offset = 0; offset < size && !Cancelled(); offset += kChunk) {
    std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size - offset));
    for (Open& o : open) {
      std::string error;
      if (o.failed || ReadFully(*o.reader, o.chunk.data(), piece, error)) continue;
      o.failed = true;
      problems.push_back({o.file->path, error});
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
      if (!AtEnd(*open[m].reader, error)) problems.push_back({open[m].file->path, error});
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

// Everything after the first blocks, for the files of one size.
void DuplicateFinder::FinishSize(Group files, SizeOutcome& outcome) {
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
      for (Group& same : equal) {
        std::vector<FoundFile> found;
        for (Candidate* c : same) found.push_back({c->path, c->size, c->modified});
        std::sort(found.begin(), found.end(), [](const FoundFile& a, const FoundFile& b) { return a.path < b.path; });
        outcome.groups.push_back(std::move(found));
      }
    }
    for (Candidate* file : files) file->bytes.reset();
    outcome.finished = !Cancelled();
  } catch (...) {
    outcome.groups.clear();
    outcome.finished = false;
    outcome.problems.push_back({files.front()->path, "out of memory: files of this size were not compared"});
  }
}

SearchResult DuplicateFinder::Search(const SearchOptions& options, SearchProgress& progress,
                                     const std::atomic<bool>& cancel) {
  progress_ = &progress;
  cancel_ = &cancel;
  files_.clear();
  loneOfSize_.clear();
  keptBytes_ = 0;
  walkProblems_.clear();
  SearchResult result;
  try {
    Walk(options);
  } catch (...) {
    if (pool_) pool_->Wait();  // its tasks point into files_
    throw;
  }
  loneOfSize_ = {};
  if (pool_) pool_->Wait();

  // The same path given twice, or a folder inside another one, is one file.
  std::vector<Candidate*> bySize;
  bySize.reserve(files_.size());
  for (Candidate& file : files_) bySize.push_back(&file);
  std::sort(bySize.begin(), bySize.end(), [](const Candidate* a, const Candidate* b) {
    return a->size != b->size ? a->size < b->size : a->path < b->path;
  });
  bySize.erase(std::unique(bySize.begin(), bySize.end(), [](const Candidate* a, const Candidate* b) { return a->path == b->path; }),
               bySize.end());

  std::deque<SizeOutcome> outcomes;
  for (std::size_t i = 0; i < bySize.size() && !Cancelled();) {
    std::size_t j = i + 1;
    while (j < bySize.size() && bySize[j]->size == bySize[i]->size) ++j;
    if (j - i >= 2) {
      SizeOutcome& outcome = outcomes.emplace_back();
      Group sameSize(bySize.begin() + static_cast<std::ptrdiff_t>(i), bySize.begin() + static_cast<std::ptrdiff_t>(j));
      Run([this, sameSize = std::move(sameSize), &outcome]() mutable { FinishSize(std::move(sameSize), outcome); });
    }
    i = j;
  }
  if (pool_) pool_->Wait();

  result.problems = std::move(walkProblems_);
  for (const Candidate* file : bySize)
    if (!file->problem.empty()) result.problems.push_back({file->path, file->problem});
  for (SizeOutcome& outcome : outcomes) {
    for (Problem& problem : outcome.problems) result.problems.push_back(std::move(problem));
    if (!outcome.finished) continue;
    for (auto& group : outcome.groups) result.groups.push_back(std::move(group));
  }
  std::sort(result.groups.begin(), result.groups.end(),
            [](const std::vector<FoundFile>& a, const std::vector<FoundFile>& b) { return a.front().path < b.front().path; });
  result.cancelled = Cancelled();
  files_.clear();
  return result;
}

}  // namespace duplicates
