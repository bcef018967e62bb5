#include "duplicates/ResultList.h"
#include <algorithm>
#include <cstdlib>
#include <numeric>
#include "duplicates/Safeguards.h"

namespace duplicates {

std::string Plural(std::uint64_t count, const char* one, const char* many) {
  return FormatCount(count) + " " + (count == 1 ? one : many);
}

MarkTotals TotalsOf(const Groups& groups, const Marks& marks) {
  MarkTotals totals;
  for (std::size_t g = 0; g < groups.size(); ++g)
    for (std::size_t f = 0; f < groups[g].size(); ++f) {
      ++totals.files;
      if (marks[g][f]) {
        ++totals.marked;
        totals.markedBytes += groups[g][f].size;
      }
    }
  return totals;
}

void PruneDeleted(Groups& groups, Marks& marks, const std::vector<std::vector<bool>>& deleted) {
  Groups kept;
  Marks keptMarks;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    std::vector<FoundFile> left;
    std::vector<bool> leftMarks;
    for (std::size_t f = 0; f < groups[g].size(); ++f)
      if (g >= deleted.size() || !deleted[g][f]) {
        left.push_back(std::move(groups[g][f]));
        leftMarks.push_back(marks[g][f]);
      }
    if (left.size() >= 2) {
      kept.push_back(std::move(left));
      keptMarks.push_back(std::move(leftMarks));
    }
  }
  groups = std::move(kept);
  marks = std::move(keptMarks);
}

void ResultList::Show(SearchResult&& result, std::vector<std::string> referenceFolders) {
  references_ = std::move(referenceFolders);
  groups_ = std::move(result.groups);
  groups_.erase(std::remove_if(groups_.begin(), groups_.end(),
                               [this](const std::vector<FoundFile>& group) {
                                 return std::all_of(group.begin(), group.end(), [this](const FoundFile& f) { return InReference(f); });
                               }),
                groups_.end());
  problems_ = std::move(result.problems);
  marks_ = NoMarks(groups_);
  incomplete_ = result.cancelled;
  BuildRows();
}

void ResultList::Clear() { Show({}); }

bool ResultList::InReference(const FoundFile& file) const {
  return std::any_of(references_.begin(), references_.end(), [&](const std::string& f) { return FolderHolds(f, file.path); });
}

void ResultList::SetMarks(Marks marks) {
  marks_ = std::move(marks);
  if (!references_.empty())
    for (std::size_t g = 0; g < groups_.size(); ++g)
      for (std::size_t f = 0; f < groups_[g].size(); ++f)
        if (marks_[g][f] && InReference(groups_[g][f])) marks_[g][f] = false;
}

namespace {

// What qsort's comparison reads: the window sorts on its one thread only.
struct SortBy {
  const FoundFile* const* keys;
  int column;
  bool ascending;
};
const SortBy* sortBy = nullptr;

int CompareKeys(const void* left, const void* right) {
  const FoundFile& a = *sortBy->keys[*static_cast<const std::size_t*>(left)];
  const FoundFile& b = *sortBy->keys[*static_cast<const std::size_t*>(right)];
  int order = 0;
  if (sortBy->column == 1 && a.size != b.size) order = a.size < b.size ? -1 : 1;
  else if (sortBy->column == 2 && a.modified != b.modified) order = a.modified < b.modified ? -1 : 1;
  else order = a.path.compare(b.path);
  return sortBy->ascending ? order : -order;
}

}  // namespace

// The C runtime's qsort, already in the program, rather than a sort's code of our own: the order of the
// files of each group, then of the groups by their first files.
void ResultList::Sort(int column, bool ascending) {
  std::vector<const FoundFile*> keys;
  std::vector<std::size_t> order;
  auto sortKeys = [&] {
    order.resize(keys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const SortBy by{keys.data(), column, ascending};
    sortBy = &by;
    if (!order.empty()) std::qsort(order.data(), order.size(), sizeof(std::size_t), CompareKeys);
    sortBy = nullptr;
  };
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    auto& files = groups_[g];
    keys.clear();
    for (const FoundFile& file : files) keys.push_back(&file);
    sortKeys();
    std::vector<FoundFile> sorted(files.size());
    std::vector<bool> marks(files.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
      sorted[i] = std::move(files[order[i]]);
      marks[i] = marks_[g][order[i]];
    }
    files = std::move(sorted);
    marks_[g] = std::move(marks);
  }
  keys.clear();
  for (const auto& group : groups_) keys.push_back(&group.front());
  sortKeys();
  Groups groups(groups_.size());
  Marks marks(groups_.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    groups[i] = std::move(groups_[order[i]]);
    marks[i] = std::move(marks_[order[i]]);
  }
  groups_ = std::move(groups);
  marks_ = std::move(marks);
  BuildRows();
}

int ResultList::GroupOf(int row) const {
  if (row < 0 || row >= RowCount()) return -1;
  return std::max(-1, rows_[static_cast<std::size_t>(row)].group);
}

const FoundFile* ResultList::FileOf(int row) const {
  const Row* where = FileRow(row);
  return where ? &groups_[static_cast<std::size_t>(where->group)][static_cast<std::size_t>(where->file)] : nullptr;
}

std::string ResultList::Csv() const {
  std::string text = "\xEF\xBB\xBFGroup,Path,Size,Modified,Marked\r\n";
  for (std::size_t g = 0; g < groups_.size(); ++g)
    for (std::size_t f = 0; f < groups_[g].size(); ++f) {
      const FoundFile& file = groups_[g][f];
      text += std::to_string(g + 1);
      text += ",\"";
      for (char c : file.path) {
        if (c == '"') text += '"';
        text += c;
      }
      text += "\",";
      text += std::to_string(file.size);
      text += ',';
      std::string minute = FormatTime(file.modified, 0);
      minute[10] = 'T';
      text += minute;
      const std::int64_t second = (file.modified / 1000000000 % 60 + 60 - (file.modified % 1000000000 < 0)) % 60;
      text += ':';
      text += static_cast<char>('0' + second / 10);
      text += static_cast<char>('0' + second % 10);
      text += marks_[g][f] ? "Z,yes\r\n" : "Z,no\r\n";
    }
  return text;
}

void ResultList::RemoveDeleted(const std::vector<std::vector<bool>>& deleted) {
  PruneDeleted(groups_, marks_, deleted);
  BuildRows();
}

void ResultList::BuildRows() {
  rows_.clear();
  if (incomplete_) rows_.push_back({kIncompleteHeading, -1});
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    rows_.push_back({static_cast<int>(g), -1});
    for (std::size_t f = 0; f < groups_[g].size(); ++f) rows_.push_back({static_cast<int>(g), static_cast<int>(f)});
  }
  if (!problems_.empty()) {
    rows_.push_back({kProblemsHeading, -1});
    for (std::size_t p = 0; p < problems_.size(); ++p) rows_.push_back({kProblem, static_cast<int>(p)});
  }
}

std::string ResultList::Text(int row, int column, long utcOffsetSeconds) const {
  if (row < 0 || row >= RowCount()) return {};
  const Row& where = rows_[static_cast<std::size_t>(row)];
  if (where.group == kIncompleteHeading)
    return column == 0 ? "Incomplete: the search was cancelled, so some copies and groups are missing" : "";
  if (where.group == kProblemsHeading) return column == 0 ? "Could not be read, so not compared:" : "";
  if (where.group == kProblem) {
    const auto& problem = problems_[static_cast<std::size_t>(where.file)];
    return column == 0 ? "    " + problem.path + " (" + problem.message + ")" : "";
  }
  const auto& group = groups_[static_cast<std::size_t>(where.group)];
  if (where.file < 0)
    return column == 0 ? "Group " + std::to_string(where.group + 1) + ": " + std::to_string(group.size()) +
                             " identical files, " + FormatSize(WastedBytes(group)) + " wasted"
                       : "";
  const auto& file = group[static_cast<std::size_t>(where.file)];
  switch (column) {
    case 0: return "    " + file.path + (InReference(file) ? "   (reference)" : "");
    case 1: return FormatSize(file.size);
    case 2: return FormatTime(file.modified, utcOffsetSeconds);
  }
  return {};
}

const ResultList::Row* ResultList::FileRow(int row) const {
  if (row < 0 || row >= RowCount()) return nullptr;
  const Row& where = rows_[static_cast<std::size_t>(row)];
  return where.group < 0 || where.file < 0 ? nullptr : &where;
}

ResultList::Box ResultList::BoxOf(int row) const {
  const Row* where = FileRow(row);
  if (!where || InReference(groups_[static_cast<std::size_t>(where->group)][static_cast<std::size_t>(where->file)]))
    return Box::None;
  return marks_[static_cast<std::size_t>(where->group)][static_cast<std::size_t>(where->file)] ? Box::Ticked : Box::Unticked;
}

bool ResultList::Toggle(int row) {
  const Row* where = FileRow(row);
  if (!where || BoxOf(row) == Box::None) return false;
  marks_[static_cast<std::size_t>(where->group)][static_cast<std::size_t>(where->file)].flip();
  return true;
}

std::string ResultList::Summary() const {
  if (groups_.empty()) return "";
  MarkTotals totals = Totals();
  return Plural(groups_.size(), "group", "groups") + ", " + Plural(totals.files, "file", "files") + ", " +
         FormatSize(WastedBytes(groups_)) + " wasted; " + FormatCount(totals.marked) + " marked (" +
         FormatSize(totals.markedBytes) + ")";
}

}  // namespace duplicates
