#include "Recycler.h"
#include <windows.h>
#include <shellapi.h>
#include <algorithm>
#include "duplicates/Safeguards.h"
#include "duplicates/win32/Win32FileSystem.h"

namespace {

// Marked files checked and waiting for one shell call.
class Batch {
 public:
  Batch(RecycleOutcome& outcome, std::atomic<std::uint64_t>& handled) : outcome_(outcome), handled_(handled) {}
  void Add(std::size_t group, std::size_t file, const std::string& path) {
    entries_.push_back({group, file, duplicates::WideFromUtf8(path), path});
    if (entries_.size() >= kRecycleBatch) Send();
  }
  // Moves the batch in one call, then asks the disk which files went: a failure names no file.
  void Send() {
    if (entries_.empty()) return;
    std::wstring from;
    for (const Entry& entry : entries_) from += entry.wide + L'\0';
    from.push_back(L'\0');  // the list of names ends with an empty one
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    int code = SHFileOperationW(&operation);
    for (const Entry& entry : entries_) {
      if (GetFileAttributesW(entry.wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
        outcome_.deleted[entry.group][entry.file] = true;
        ++outcome_.count;
      } else {
        outcome_.failures.push_back(
            {entry.path, code ? duplicates::ErrorText(static_cast<unsigned long>(code)) : "the move was stopped"});
      }
      handled_.fetch_add(1, std::memory_order_relaxed);
    }
    entries_.clear();
  }

 private:
  struct Entry {
    std::size_t group, file;
    std::wstring wide;
    std::string path;
  };
  RecycleOutcome& outcome_;
  std::atomic<std::uint64_t>& handled_;
  std::vector<Entry> entries_;
};

}  // namespace

void RecycleMarked(duplicates::FileSystem& fs, const duplicates::Groups& groups, const duplicates::Marks& marks,
                   RecycleOutcome& outcome, std::atomic<std::uint64_t>& handled, const std::atomic<bool>& stop) {
  outcome = {};
  for (const auto& group : groups) outcome.deleted.emplace_back(group.size(), false);
  Batch batch(outcome, handled);
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (stop) {
      outcome.stopped = true;
      break;
    }
    const auto& group = groups[g];
    if (std::none_of(marks[g].begin(), marks[g].end(), [](bool marked) { return marked; })) continue;
    std::vector<std::string> reasons = duplicates::ReasonsToKeep(fs, group, marks[g]);
    for (std::size_t f = 0; f < group.size(); ++f) {
      if (!marks[g][f]) continue;
      if (reasons[f].empty()) {
        batch.Add(g, f, group[f].path);
        continue;
      }
      outcome.failures.push_back({group[f].path, std::move(reasons[f])});
      handled.fetch_add(1, std::memory_order_relaxed);
    }
  }
  batch.Send();
}
