#include "uninstall/Removal.h"

#include <shlobj.h>

namespace uninstall {
namespace {

std::string WithBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string LongPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  DWORD length = GetLongPathNameA(path.c_str(), buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH * 2];
  DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof(buffer));
  return length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : std::string();
}

// Where an existing directory really lies, links in its path followed; empty when unknown.
std::string FinalPath(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  char buffer[MAX_PATH * 2];
  DWORD length = GetFinalPathNameByHandleA(file, buffer, sizeof(buffer), FILE_NAME_NORMALIZED);
  CloseHandle(file);
  if (length == 0 || length >= sizeof(buffer)) return {};
  std::string result(buffer, length);
  if (result.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + result.substr(8);
  if (result.rfind("\\\\?\\", 0) == 0) return result.substr(4);
  return result;
}

void ClearReadOnly(const std::string& path, DWORD attributes) {
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
}

void DeleteEntry(const std::string& path, DWORD attributes) {
  ClearReadOnly(path, attributes);
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    RemoveDirectoryA(path.c_str());  // a link to a directory: only the link goes
  else
    DeleteFileA(path.c_str());
}

}  // namespace

std::vector<std::string> ProtectedFolders() {
  static const int kFolders[] = {
      CSIDL_WINDOWS,        CSIDL_SYSTEM,           CSIDL_SYSTEMX86,         CSIDL_PROGRAM_FILES,
      CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROFILE,     CSIDL_PROGRAMS,
      CSIDL_COMMON_PROGRAMS, CSIDL_STARTMENU,       CSIDL_COMMON_STARTMENU,  CSIDL_STARTUP,
      CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_APPDATA,  CSIDL_LOCAL_APPDATA,
      CSIDL_COMMON_APPDATA, CSIDL_PERSONAL,         CSIDL_FONTS,
  };
  std::vector<std::string> folders;
  char buffer[MAX_PATH + 1];
  for (int folder : kFolders)
    if (SHGetFolderPathA(nullptr, folder, nullptr, 0, buffer) == S_OK) folders.emplace_back(buffer);
  DWORD length = GetTempPathA(sizeof(buffer), buffer);
  if (length > 0 && length < sizeof(buffer)) folders.emplace_back(buffer, length);
  std::vector<std::string> all;
  for (const std::string& folder : folders) {
    all.push_back(folder);
    all.push_back(LongPath(folder));
    all.push_back(ShortPath(folder));
    all.push_back(FinalPath(folder));
  }
  return all;
}

void DeleteTree(const std::string& directory) {
  DWORD attributes = GetFileAttributesA(directory.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    std::string base = WithBackslash(directory);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((base + "*.*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        DWORD entryAttributes = entry.dwFileAttributes;
        bool realDirectory = (entryAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                             !(entryAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if (realDirectory)
          DeleteTree(base + name);
        else
          DeleteEntry(base + name, entryAttributes);
      } while (FindNextFileA(search, &entry));
      FindClose(search);
    }
  }
  DeleteEntry(directory, attributes);
}

Removal::Removal(const RemovalPlan& plan, const ValueRules& rules, HWND owner)
    : plan_(plan), rules_(rules), owner_(owner) {}

void Removal::RunGroup(int group) {
  switch (group) {
    case 0: DeleteFilesAndPatterns(); break;
    case 1: RemoveEmptyDirectories(); break;
    case 2: DeleteProgramMenuEntries(); break;
    case 3: DeleteDesktopEntries(); break;
    case 4: DeleteRegistryKeys(); break;
    case 5: DeleteTrees(); break;
    case 6: RemoveEmptyDirectories(); break;
  }
}

void Removal::DeleteFilesAndPatterns() {
  for (const std::string& file : plan_.Values('F')) DeleteFileA(file.c_str());
  for (const std::string& pattern : plan_.Values('P')) {
    // Every match lies in the pattern's directory.
    std::string directory = pattern.substr(0, pattern.find_last_of("\\/") + 1);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      std::string name = entry.cFileName;
      if (name != "." && name != "..") DeleteFileA((directory + name).c_str());
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
}

void Removal::RemoveEmptyDirectories() {
  for (const std::string& directory : plan_.Values('E')) RemoveDirectoryA(directory.c_str());
}

bool Removal::ShellFolder(int folderId, std::string& path) const {
  char buffer[MAX_PATH + 1];
  if (SHGetFolderPathA(owner_, folderId, nullptr, 0, buffer) != S_OK) return false;
  path = buffer;
  return true;
}

void Removal::DeleteProgramMenuEntries() {
  std::string menu;
  if (!ShellFolder(CSIDL_PROGRAMS, menu)) return;
  for (const std::string& name : plan_.Values('S')) {
    DeleteTree(menu + "\\" + name);
    DeleteFileA((menu + "\\" + name + ".LNK").c_str());
  }
}

void Removal::DeleteDesktopEntries() {
  std::string desktop;
  if (!ShellFolder(CSIDL_DESKTOPDIRECTORY, desktop)) return;
  for (const std::string& name : plan_.Values('T')) DeleteFileA((desktop + "\\" + name).c_str());
}

void Removal::DeleteRegistryKeys() {
  for (std::string key : plan_.Values('R')) {
    if (!key.empty() && key.back() == '\\') key.pop_back();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
  }
}

bool Removal::MayDeleteTree(const std::string& directory) const {
  // The text passed the rules already; its long form and the place its links lead to must pass too.
  for (const std::string& form : {LongPath(directory), FinalPath(directory)})
    if (!form.empty() && !rules_.IsRemovableTree(form)) return false;
  return true;
}

void Removal::DeleteTrees() {
  for (const std::string& directory : plan_.Values('D'))
    if (MayDeleteTree(directory)) DeleteTree(directory);
}

}  // namespace uninstall
