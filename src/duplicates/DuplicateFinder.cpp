#include "duplicates/DuplicateFinder.h"
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include "duplicates/ContentHash.h"

namespace duplicates {

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kBatch = 128;  // files open at once while comparing byte by byte
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

void DuplicateFinder::Report(const std::string& path, const std::string& message) {
  problems_.push_back({path, message});
}

void DuplicateFinder::Consider(const std::string& path, const DirEntry& entry, const SearchOptions& options) {
  progress_->filesSeen.fetch_add(1, std::memory_order_relaxed);
  if (entry.size == 0 || entry.size < options.minimumSize) return;
  files_.push_back({path, entry.size, entry.modified, entry.id});
}

void DuplicateFinder::Walk(const SearchOptions& options) {
  std::vector<std::string> pending;
  for (const std::string& folder : options.folders) {
    DirEntry entry;
    std::string error;
    if (!fs_.Describe(folder, entry, error)) Report(folder, error);
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
      Report(folder, error);
      continue;
    }
    for (const DirEntry& entry : entries) {
      if (entry.hidden && !options.includeHidden) continue;
      if (entry.kind == EntryKind::Directory) pending.push_back(fs_.Join(folder, entry.name));
      else if (entry.kind == EntryKind::File) Consider(fs_.Join(folder, entry.name), entry, options);
    }
  }
}

void DuplicateFinder::DropHardLinks(Group& group) {
  Group kept;
  for (Candidate& file : group) {
    std::string error;
    if (!file.id.known && !fs_.IdentifyFile(file.path, file.id, error)) {
      Report(file.path, error);
      continue;
    }
    bool seen = std::any_of(kept.begin(), kept.end(), [&](const Candidate& k) { return k.id == file.id; });
    if (!seen) kept.push_back(std::move(file));
  }
  group = std::move(kept);
}

std::vector<DuplicateFinder::Group> DuplicateFinder::SplitByHash(Group group, std::uint64_t limit) {
  std::vector<unsigned char> buffer(kChunk);
  Group hashed;
  for (Candidate& file : group) {
    if (Cancelled()) return {};
    std::string error;
    std::unique_ptr<FileReader> reader = fs_.OpenFile(file.path, error);
    std::uint64_t left = limit ? std::min(limit, file.size) : file.size;
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
    if (ok && limit == 0) ok = AtEnd(*reader, error);
    if (!ok) {
      Report(file.path, error);
      continue;
    }
    file.hash = hash.Value();
    hashed.push_back(std::move(file));
  }
  std::stable_sort(hashed.begin(), hashed.end(), [](const Candidate& a, const Candidate& b) { return a.hash < b.hash; });
  std::vector<Group> result;
  for (std::size_t i = 0; i < hashed.size();) {
    std::size_t j = i + 1;
    while (j < hashed.size() && hashed[j].hash == hashed[i].hash) ++j;
    if (j - i >= 2) result.emplace_back(std::make_move_iterator(hashed.begin() + i), std::make_move_iterator(hashed.begin() + j));
    i = j;
  }
  return result;
}

std::vector<DuplicateFinder::Group> DuplicateFinder::SplitBatch(Group batch) {
  struct Open {
    Candidate file;
    std::unique_ptr<FileReader> reader;
    std::vector<unsigned char> chunk;
    bool failed = false;
  };
  std::vector<Open> open;
  for (Candidate& file : batch) {
    std::string error;
    auto reader = fs_.OpenFile(file.path, error);
    if (!reader) Report(file.path, error);
    else open.push_back({std::move(file), std::move(reader), std::vector<unsigned char>(kChunk)});
  }
  if (open.size() < 2) return {};
  // Classes of files whose bytes have been equal so far, as indexes into open.
  std::vector<std::vector<std::size_t>> classes(1);
  for (std::size_t i = 0; i < open.size(); ++i) classes[0].push_back(i);
  const std::uint64_t size = open.front().file.size;
  for (std::uint64_t offset = 0; offset < size && !Cancelled(); offset += kChunk) {
    std::size_t piece = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, size - offset));
    for (Open& o : open) {
      std::string error;
      if (o.failed || ReadFully(*o.reader, o.chunk.data(), piece, error)) continue;
      o.failed = true;
      Report(o.file.path, error);
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
      if (!AtEnd(*open[m].reader, error)) Report(open[m].file.path, error);
      else group.push_back(std::move(open[m].file));
    }
    if (group.size() >= 2) result.push_back(std::move(group));
  }
  return result;
}

bool DuplicateFinder::SameContent(const Candidate& a, const Candidate& b) {
  return !SplitBatch(Group{a, b}).empty();
}

std::vector<DuplicateFinder::Group> DuplicateFinder::SplitByContent(Group group) {
  std::vector<Group> result;
  for (std::size_t start = 0; start < group.size(); start += kBatch) {
    std::size_t end = std::min(group.size(), start + kBatch);
    Group batch(group.begin() + start, group.begin() + end);
    for (Group& found : SplitBatch(std::move(batch))) {
      // A very large group is compared in batches: classes of later batches join earlier ones.
      auto same = std::find_if(result.begin(), result.end(),
                               [&](const Group& known) { return SameContent(known.front(), found.front()); });
      if (same == result.end()) result.push_back(std::move(found));
      else same->insert(same->end(), found.begin(), found.end());
    }
  }
  return result;
}

SearchResult DuplicateFinder::Search(const SearchOptions& options, SearchProgress& progress,
                                     const std::atomic<bool>& cancel) {
  progress_ = &progress;
  cancel_ = &cancel;
  files_.clear();
  problems_.clear();
  Walk(options);

  // The same path given twice, or a folder inside another one, is one file.
  std::sort(files_.begin(), files_.end(), [](const Candidate& a, const Candidate& b) {
    return a.size != b.size ? a.size < b.size : a.path < b.path;
  });
  files_.erase(std::unique(files_.begin(), files_.end(),
                           [](const Candidate& a, const Candidate& b) { return a.path == b.path; }),
               files_.end());

  SearchResult result;
  for (std::size_t i = 0; i < files_.size() && !Cancelled();) {
    std::size_t j = i + 1;
    while (j < files_.size() && files_[j].size == files_[i].size) ++j;
    if (j - i >= 2) {
      Group sameSize(std::make_move_iterator(files_.begin() + i), std::make_move_iterator(files_.begin() + j));
      DropHardLinks(sameSize);
      if (sameSize.size() >= 2) {
        bool small = sameSize.front().size <= kFirstBlock;
        for (Group& firstBlock : SplitByHash(std::move(sameSize), kFirstBlock)) {
          std::vector<Group> whole;
          if (small) whole.push_back(std::move(firstBlock));  // the first block was all of it
          else whole = SplitByHash(std::move(firstBlock), 0);
          for (Group& candidates : whole)
            for (Group& equal : SplitByContent(std::move(candidates))) {
              std::vector<FoundFile> found;
              for (Candidate& c : equal) found.push_back({std::move(c.path), c.size, c.modified});
              std::sort(found.begin(), found.end(), [](const FoundFile& a, const FoundFile& b) { return a.path < b.path; });
              result.groups.push_back(std::move(found));
            }
        }
      }
    }
    i = j;
  }
  std::sort(result.groups.begin(), result.groups.end(),
            [](const std::vector<FoundFile>& a, const std::vector<FoundFile>& b) { return a.front().path < b.front().path; });
  result.problems = std::move(problems_);
  result.cancelled = Cancelled();
  if (result.cancelled) result.groups.clear();
  files_.clear();
  return result;
}

}  // namespace duplicates
