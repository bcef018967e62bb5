#include "duplicates/Safeguards.h"
#include <algorithm>

namespace duplicates {

namespace {

char Folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool Separator(char c) { return c == '\\' || c == '/'; }

bool Unchanged(FileSystem& fs, const FoundFile& file, std::string& why) {
  DirEntry now;
  if (!fs.Describe(file.path, now, why)) return false;
  if (now.kind == EntryKind::File && now.size == file.size && now.modified == file.modified) return true;
  why = "changed since the search";
  return false;
}

}  // namespace

bool FolderHolds(const std::string& outer, const std::string& inner) {
  std::size_t length = outer.size();
  while (length > 0 && Separator(outer[length - 1])) --length;  // "C:\" holds "C:\x" as "C:" does
  if (inner.size() < length) return false;
  for (std::size_t i = 0; i < length; ++i)
    if (Folded(outer[i]) != Folded(inner[i]) && !(Separator(outer[i]) && Separator(inner[i]))) return false;
  return inner.size() == length || Separator(inner[length]);
}

FolderPlace PlaceFolder(const std::vector<std::string>& listed, const std::string& added) {
  FolderPlace place;
  for (std::size_t i = 0; i < listed.size(); ++i)
    if (FolderHolds(listed[i], added)) {
      place.holder = static_cast<int>(i);
      place.held.clear();
      return place;
    } else if (FolderHolds(added, listed[i])) {
      place.held.push_back(i);
    }
  return place;
}

bool ReferenceGuard::Guarded(const std::string& path) const {
  return inner_.Guarded(path) ||
         std::any_of(folders_.begin(), folders_.end(), [&](const std::string& folder) { return FolderHolds(folder, path); });
}

std::vector<std::string> ReasonsToKeep(FileSystem& fs, const std::vector<FoundFile>& group, const std::vector<bool>& marks) {
  std::vector<std::string> reasons(group.size());
  std::vector<FileId> kept;  // the unmarked copies that stay as they were found
  for (std::size_t f = 0; f < group.size(); ++f) {
    FileId id;
    std::string why;
    if (!marks[f] && Unchanged(fs, group[f], why) && fs.Identity(group[f].path, id, why)) kept.push_back(id);
  }
  for (std::size_t f = 0; f < group.size(); ++f) {
    if (!marks[f]) continue;
    FileId id;
    std::string& why = reasons[f];
    if (fs.Guarded(group[f].path)) {
      why = "it lies in a reference folder";
      continue;
    }
    if (kept.empty()) {
      why = "no unmarked copy of it is left as it was found";
      continue;
    }
    if (!Unchanged(fs, group[f], why) || !fs.Identity(group[f].path, id, why)) continue;
    if (std::none_of(kept.begin(), kept.end(), [&](const FileId& other) { return !(other == id); }))
      why = "it is the same file as the unmarked copy, under another name";
  }
  return reasons;
}

}  // namespace duplicates
