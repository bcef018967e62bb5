#include "duplicates/ResultList.h"

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

void ResultList::Show(SearchResult&& result) {
  groups_ = std::move(result.groups);
  problems_ = std::move(result.problems);
  marks_ = NoMarks(groups_);
  incomplete_ = result.cancelled;
  BuildRows();
}

void ResultList::Clear() { Show({}); }

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
    case 0: return "    " + file.path;
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
  if (!where) return Box::None;
  return marks_[static_cast<std::size_t>(where->group)][static_cast<std::size_t>(where->file)] ? Box::Ticked : Box::Unticked;
}

bool ResultList::Toggle(int row) {
  const Row* where = FileRow(row);
  if (!where) return false;
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
