#include "toolkit/Folders.h"
#include <windows.h>
#include "win32/TextCodes.h"

void RemoveTree(const std::string& path) {
  const std::wstring wide = win32::WideFromUtf8(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    DeleteFileW(wide.c_str());
    return;
  }
  const std::string folder = path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(win32::WideFromUtf8(folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string name = win32::Utf8FromWide(entry.cFileName);
        if (name != "." && name != "..") RemoveTree(folder + "\\" + name);
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
  }
  RemoveDirectoryW(win32::WideFromUtf8(folder).c_str());
}

ScratchFolder::ScratchFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  path_ = std::string(temp) + "twinsift-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

bool ScratchFolder::Has(const std::string& name) const {
  return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}
