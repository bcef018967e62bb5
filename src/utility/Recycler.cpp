#include "Recycler.h"
#include <windows.h>
#include <shellapi.h>
#include "duplicates/win32/Win32FileSystem.h"

namespace {

bool Unchanged(duplicates::Win32FileSystem& fs, const duplicates::FoundFile& file, std::string& why) {
  duplicates::DirEntry now;
  if (!fs.Describe(file.path, now, why)) return false;
  if (now.kind == duplicates::EntryKind::File && now.size == file.size && now.modified == file.modified) return true;
  why = "changed since the search";
  return false;
}

bool MoveToRecycleBin(const std::string& path, std::string& why) {
  std::wstring from = duplicates::WideFromUtf8(path);
  from.push_back(L'\0');  // the list of names ends with an empty one
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  int code = SHFileOperationW(&operation);
  if (code == 0 && !operation.fAnyOperationsAborted && GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES)
    return true;
  why = code ? duplicates::ErrorText(static_cast<unsigned long>(code)) : "the move was stopped";
  return false;
}

}  // namespace

RecycleOutcome RecycleMarked(const duplicates::Groups& groups, const duplicates::Marks& marks) {
  duplicates::Win32FileSystem fs;
  RecycleOutcome outcome;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const auto& group = groups[g];
    outcome.deleted.emplace_back(group.size(), false);
    bool copyLeft = false;
    for (std::size_t f = 0; f < group.size() && !copyLeft; ++f) {
      std::string why;
      copyLeft = !marks[g][f] && Unchanged(fs, group[f], why);
    }
    for (std::size_t f = 0; f < group.size(); ++f) {
      if (!marks[g][f]) continue;
      std::string why;
      if (!copyLeft) why = "no unmarked copy of it is left as it was found";
      else if (Unchanged(fs, group[f], why) && MoveToRecycleBin(group[f].path, why)) {
        outcome.deleted[g][f] = true;
        ++outcome.count;
        continue;
      }
      outcome.failures.push_back({group[f].path, why});
    }
  }
  return outcome;
}
