#include "duplicates/win32/Win32FileSystem.h"
#include <windows.h>
#include "win32/Error.h"
#include "win32/UniqueHandle.h"

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

bool IdOf(HANDLE file, FileId& id, std::string& error) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) {
    error = ErrorText(GetLastError());
    return false;
  }
  id.volume = info.dwVolumeSerialNumber;
  id.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  id.known = true;
  return true;
}

// Opens path for its attributes only, not following a link at its end; folders open too.
win32::UniqueHandle OpenForAttributes(const std::string& path, DWORD flags) {
  return win32::UniqueHandle(CreateFileW(WideFromUtf8(path).c_str(), FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
}

class Win32Reader : public FileReader {
 public:
  explicit Win32Reader(win32::UniqueHandle file) : file_(std::move(file)) {}
  std::ptrdiff_t Read(void* buffer, std::size_t size, std::string& error) override {
    DWORD got = 0;
    DWORD ask = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(file_.get(), buffer, ask, &got, nullptr)) {
      error = ErrorText(GetLastError());
      return -1;
    }
    return static_cast<std::ptrdiff_t>(got);
  }
  // A file with one name needs no id: no other path leads to it. Asking for the id costs Wine about five
  // times opening, reading and closing a small file (it looks up the volume), the link count next to nothing.
  bool Identify(FileId& id, std::string& error) override {
    FILE_STANDARD_INFO standard;
    if (GetFileInformationByHandleEx(file_.get(), FileStandardInfo, &standard, sizeof(standard)) &&
        standard.NumberOfLinks <= 1) {
      id = {};
      return true;
    }
    return IdOf(file_.get(), id, error);
  }

 private:
  win32::UniqueHandle file_;
};

// A file with one name on a drive of this machine is told apart by that name, as the system resolves it
// (case, short names, junctions and mapped paths undone): under Wine that costs a third of asking for its
// index. Two names of one file are equal there, so the id errs only towards "the same file", which keeps it.
bool IdFromOnlyName(HANDLE file, FileId& id) {
  FILE_STANDARD_INFO standard;
  if (!GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard) || standard.NumberOfLinks != 1)
    return false;
  wchar_t name[1024];
  DWORD length = GetFinalPathNameByHandleW(file, name, 1024, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length < 7 || length >= 1024 || wcsncmp(name, L"\\\\?\\", 4) != 0 || name[5] != L':') return false;  // not a network path
  CharUpperBuffW(name, length);
  std::uint64_t a = 14695981039346656037ull, b = 1099511628211ull;  // two FNV-1a hashes of the folded name
  for (DWORD i = 0; i < length; ++i) {
    a = (a ^ name[i]) * 1099511628211ull;
    b = (b ^ name[i]) * 14029467366897019727ull + 1;
  }
  id.volume = a | (1ull << 63);  // never a volume serial, which has 32 bits
  id.index = b;
  id.known = true;
  return true;
}

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
  win32::UniqueFindHandle search(FindFirstFileExW(WideFromUtf8(Join(path, "*")).c_str(), FindExInfoBasic, &found,
                                                  FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search) {
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
  } while (FindNextFileW(search.get(), &found));
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

std::unique_ptr<FileReader> Win32FileSystem::OpenFile(const std::string& path, std::string& error) {
  win32::UniqueHandle file(CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) {
    error = ErrorText(GetLastError());
    return nullptr;
  }
  return std::make_unique<Win32Reader>(std::move(file));
}

bool Win32FileSystem::Identity(const std::string& path, FileId& id, std::string& error) {
  win32::UniqueHandle file = OpenForAttributes(path, FILE_FLAG_OPEN_REPARSE_POINT);
  if (!file) {
    error = ErrorText(GetLastError());
    return false;
  }
  return IdFromOnlyName(file.get(), id) || IdOf(file.get(), id, error);
}

bool RealFolder(const std::string& path, std::string& real, std::string& error) {
  win32::UniqueHandle folder = OpenForAttributes(path, 0);
  if (!folder) {
    error = ErrorText(GetLastError());
    return false;
  }
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetFinalPathNameByHandleW(folder.get(), name.data(), static_cast<DWORD>(name.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) {
      error = ErrorText(GetLastError());
      return false;
    }
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    name.resize(length);  // the size asked for, with its terminating zero
  }
  // The answer comes as "\\?\C:\..." or "\\?\UNC\server\share\...": users know the plain forms.
  if (name.compare(0, 8, L"\\\\?\\UNC\\") == 0) name = L"\\\\" + name.substr(8);
  else if (name.compare(0, 4, L"\\\\?\\") == 0) name.erase(0, 4);
  real = Utf8FromWide(name.c_str());
  return true;
}

std::string Win32FileSystem::Join(const std::string& folder, const std::string& name) const {
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
  return folder + "\\" + name;
}

}  // namespace duplicates
