#include "Recycler.h"
#include <windows.h>
#include <shellapi.h>
#include <algorithm>
#include <map>
#include "duplicates/Safeguards.h"
#include "duplicates/win32/Win32FileSystem.h"

namespace {

// What a volume's Recycle Bin does with a file sent to it.
struct BinRule {
  bool exists = true;
  bool turnedOff = false;
  std::uint64_t capacity = 0;  // bytes; 0 where the system sets no limit we can read
};

// The user's settings for one volume's bin, where the system keeps them; none leaves the rule as it is.
void ReadBinSettings(const wchar_t* root, BinRule& rule) {
  wchar_t volume[64];
  if (!GetVolumeNameForVolumeMountPointW(root, volume, 64)) return;
  const wchar_t* guid = wcschr(volume, L'{');
  if (!guid) return;
  std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\";
  key.append(guid, wcscspn(guid, L"}") + 1);
  auto value = [&](const wchar_t* name, DWORD& out) {
    DWORD size = sizeof out;
    return RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &out, &size) == ERROR_SUCCESS;
  };
  DWORD number = 0;
  if (value(L"NukeOnDelete", number)) rule.turnedOff = number != 0;
  if (value(L"MaxCapacity", number)) rule.capacity = static_cast<std::uint64_t>(number) << 20;  // megabytes
}

// The shell's own file operation, where the system says the file's drive keeps a Recycle Bin that takes it.
class SystemBin : public RecycleBin {
 public:
  bool Takes(const duplicates::FoundFile& file, std::string& why) override {
    wchar_t root[MAX_PATH];
    if (!GetVolumePathNameW(duplicates::WideFromUtf8(file.path).c_str(), root, MAX_PATH)) {
      why = duplicates::ErrorText(GetLastError());
      return false;
    }
    auto known = roots_.find(root);
    if (known == roots_.end()) {
      // A network share, a disc or a drive in memory keeps no bin: the shell would delete for good there,
      // without a word, as it would on a drive whose bin is turned off or too small. (Wine answers no query
      // of the bin itself.)
      BinRule rule;
      UINT type = GetDriveTypeW(root);
      rule.exists = type != DRIVE_REMOTE && type != DRIVE_CDROM && type != DRIVE_RAMDISK;
      if (rule.exists) ReadBinSettings(root, rule);
      known = roots_.emplace(root, rule).first;
    }
    const BinRule& rule = known->second;
    why = !rule.exists ? kWouldBeDestroyed
          : rule.turnedOff ? kBinTurnedOff
          : rule.capacity && file.size > rule.capacity ? kTooLargeForBin
          : "";
    return why.empty();
  }
  int Move(const std::wstring& names) override {
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = names.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&operation);
  }

 private:
  std::map<std::wstring, BinRule> roots_;  // by a volume's root
};

class Destroyer : public RecycleBin {
 public:
  bool Takes(const duplicates::FoundFile&, std::string&) override { return true; }
  int Move(const std::wstring& names) override {
    DWORD first = 0;
    for (const wchar_t* name = names.c_str(); *name; name += wcslen(name) + 1)
      if (!DeleteFileW(name) && !first) first = GetLastError();
    return static_cast<int>(first);
  }
  std::string ErrorText(int code) override { return duplicates::ErrorText(static_cast<unsigned long>(code)); }
};

// Marked files checked and waiting for one shell call.
class Batch {
 public:
  Batch(RecycleBin& bin, RecycleOutcome& outcome, std::atomic<std::uint64_t>& handled)
      : bin_(bin), outcome_(outcome), handled_(handled) {}
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
    int code = bin_.Move(from);
    for (const Entry& entry : entries_) {
      if (GetFileAttributesW(entry.wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
        outcome_.deleted[entry.group][entry.file] = true;
        ++outcome_.count;
      } else {
        outcome_.failures.push_back({entry.path, code ? bin_.ErrorText(code) : "the move was stopped"});
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
  RecycleBin& bin_;
  RecycleOutcome& outcome_;
  std::atomic<std::uint64_t>& handled_;
  std::vector<Entry> entries_;
};

}  // namespace

std::unique_ptr<RecycleBin> SystemRecycleBin() { return std::make_unique<SystemBin>(); }
std::unique_ptr<RecycleBin> PermanentDeletion() { return std::make_unique<Destroyer>(); }

bool WouldBeDestroyed(const std::string& why) {
  return why == kWouldBeDestroyed || why == kBinTurnedOff || why == kTooLargeForBin;
}

// The shell's file operation answers with codes of its own, older than the system's errors; other codes
// are the system's.
std::string RecycleErrorText(int code) {
  switch (code) {
    case 0x74: return "a drive's root folder cannot be deleted";
    case 0x75: return "the move was cancelled";
    case 0x78: return "access to the file was denied";
    case 0x79: case 0x81: case 0xB7: return "its path is too long";
    case 0x7C: case 0x402: return "the file was not found";
    case 0x85: return "the file is too large for the Recycle Bin";
    case 0x86: case 0x87: case 0x88: return "the file is on a disc";
    case 0x10000: return "the Recycle Bin could not take the file";
  }
  if (code >= 0x71 && code <= 0x88) return "the shell refused the move (its code " + std::to_string(code) + ")";
  return duplicates::ErrorText(static_cast<unsigned long>(code));
}

void RecycleMarked(duplicates::FileSystem& fs, RecycleBin& bin, const duplicates::Groups& groups,
                   const duplicates::Marks& marks, RecycleOutcome& outcome, std::atomic<std::uint64_t>& handled,
                   const std::atomic<bool>& stop) {
  outcome = {};
  for (const auto& group : groups) outcome.deleted.emplace_back(group.size(), false);
  Batch batch(bin, outcome, handled);
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
      if (reasons[f].empty() && bin.Takes(group[f], reasons[f])) {
        batch.Add(g, f, group[f].path);
        continue;
      }
      if (WouldBeDestroyed(reasons[f])) outcome.destroyable.push_back(group[f].path);
      outcome.failures.push_back({group[f].path, std::move(reasons[f])});
      handled.fetch_add(1, std::memory_order_relaxed);
    }
  }
  batch.Send();
}
