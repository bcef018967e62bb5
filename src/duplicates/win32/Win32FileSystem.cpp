#include "duplicates/win32/Win32FileSystem.h"
#include <windows.h>
#include "win32/Error.h"

namespace duplicates {

namespace {

std::int64_t NanosecondsSince1970(FILETIME time) {
  ULARGE_INTEGER ticks;
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  return (static_cast<std::int64_t>(ticks.QuadPart) - 116444736000000000LL) * 100;
}

EntryKind KindOf(DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryKind::Other;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::Directory;
  if (attributes & FILE_ATTRIBUTE_DEVICE) return EntryKind::Other;
  return EntryKind::File;
}

// An owned file handle.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class Win32Reader : public FileReader {
 public:
  explicit Win32Reader(HANDLE handle) : file_(handle) {}
  std::ptrdiff_t Read(void* buffer, std::size_t size, std::string& error) override {
    DWORD got = 0;
    DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(file_.get(), buffer, ask, &got, nullptr)) {
      error = ErrorText(GetLastError());
      return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
  }

 private:
  FileHandle file_;
};

}  // namespace

std::string ErrorText(unsigned long code) {
  std::string text = win32::SystemMessage(code);
  if (text.empty()) return "system error " + std::to_string(code);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
    text.pop_back();
  return text;
}

bool Win32FileSystem::ListFolder(const std::string& path, std::vector<DirEntry>& entries, std::string& error) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileExW(WideFromUtf8(Join(path, "*")).c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return true;  // an empty drive root has no "." either
    error = ErrorText(code);
    return false;
  }
  do {
    if (!wcscmp(found.cFileName, L".") || !wcscmp(found.cFileName, L"..")) continue;
    DirEntry entry;
    entry.name = Utf8FromWide(found.cFileName);
    entry.kind = KindOf(found.dwFileAttributes);
    entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    entry.modified = NanosecondsSince1970(found.ftLastWriteTime);
    entry.hidden = (found.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    entries.push_back(std::move(entry));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return true;
}

bool Win32FileSystem::Describe(const std::string& path, DirEntry& entry, std::string& error) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WideFromUtf8(path).c_str(), GetFileExInfoStandard, &data)) {
    error = ErrorText(GetLastError());
    return false;
  }
  // A folder the user names is searched even when it is a link; links found inside are not followed.
  entry.kind = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? EntryKind::Directory : KindOf(data.dwFileAttributes);
  entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  entry.modified = NanosecondsSince1970(data.ftLastWriteTime);
  entry.hidden = (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
  return true;
}

bool Win32FileSystem::IdentifyFile(const std::string& path, FileId& id, std::string& error) {
  FileHandle file(CreateFileW(WideFromUtf8(path).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.valid() || !GetFileInformationByHandle(file.get(), &info)) {
    error = ErrorText(GetLastError());
    return false;
  }
  id.volume = info.dwVolumeSerialNumber;
  id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  id.known = true;
  return true;
}

std::unique_ptr<FileReader> Win32FileSystem::OpenFile(const std::string& path, std::string& error) {
  HANDLE file = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = ErrorText(GetLastError());
    return nullptr;
  }
  return std::make_unique<Win32Reader>(file);
}

std::string Win32FileSystem::Join(const std::string& folder, const std::string& name) const {
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
  return folder + "\\" + name;
}

}  // namespace duplicates
