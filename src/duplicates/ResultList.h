#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "duplicates/Marking.h"

// The results list apart from any window: which group, file or problem each row shows, its text and box,
// the marks and their totals, and what is left after a deletion.
namespace duplicates {

// "1 file", "1,234 files".
std::string Plural(std::uint64_t count, const char* one, const char* many);

struct MarkTotals {
  std::uint64_t files = 0;
  std::uint64_t marked = 0;
  std::uint64_t markedBytes = 0;
};
MarkTotals TotalsOf(const Groups& groups, const Marks& marks);

// Drops the files deleted[group][file] names from groups and marks; a group left with one file goes too.
void PruneDeleted(Groups& groups, Marks& marks, const std::vector<std::vector<bool>>& deleted);

class ResultList {
 public:
  enum class Box { None, Unticked, Ticked };

  // A search's groups, unmarked, and its problems; a cancelled search is labelled incomplete. A group
  // whose every copy lies in the reference folders is left out.
  void Show(SearchResult&& result, std::vector<std::string> referenceFolders = {});
  void Clear();
  const Groups& groups() const { return groups_; }
  const Marks& marks() const { return marks_; }
  const std::vector<std::string>& referenceFolders() const { return references_; }
  // Files in reference folders stay unmarked, whatever marks says.
  void SetMarks(Marks marks);
  bool InReference(const FoundFile& file) const;
  // The groups ordered by a column (0 path, 1 size, 2 modified) of their first file, each group's files
  // ordered the same way first; equals by path.
  void Sort(int column, bool ascending);
  // The group a row belongs to, -1 for none, and its file, null for a heading.
  int GroupOf(int row) const;
  const FoundFile* FileOf(int row) const;
  // "Group,Path,Size,Modified,Marked" and a line for each file, modified in UTC as ISO 8601.
  std::string Csv() const;
  void RemoveDeleted(const std::vector<std::vector<bool>>& deleted);

  int RowCount() const { return static_cast<int>(rows_.size()); }
  // Times in the offset given (seconds east of UTC).
  std::string Text(int row, int column, long utcOffsetSeconds) const;
  Box BoxOf(int row) const;
  // Flips the mark of a file's row; false for any other row.
  bool Toggle(int row);
  MarkTotals Totals() const { return TotalsOf(groups_, marks_); }
  // "2 groups, 5 files, 97.7 KB wasted; 3 marked (97.7 KB)", or nothing without groups.
  std::string Summary() const;

 private:
  // Which group and file a row shows; file -1 is the group's heading. Rows that show no file hold one of
  // the headings below in group, or kProblem with the problem's index in file.
  struct Row {
    int group;
    int file;
  };
  static constexpr int kProblem = -1;
  static constexpr int kProblemsHeading = -2;
  static constexpr int kIncompleteHeading = -3;
  void BuildRows();
  const Row* FileRow(int row) const;

  Groups groups_;
  Marks marks_;
  std::vector<Problem> problems_;
  std::vector<Row> rows_;
  std::vector<std::string> references_;
  bool incomplete_ = false;
};

}  // namespace duplicates
