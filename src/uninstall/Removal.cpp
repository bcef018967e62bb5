#include "uninstall/Removal.h"

#include <objbase.h>
#include <shlobj.h>
#include <algorithm>
#include "record/win32/WidePaths.h"
#include "win32/ComRef.h"
#include "win32/UniqueHandle.h"

namespace uninstall {
namespace {

using record::AsText;
using record::AsWide;

std::wstring WithBackslash(std::wstring path) {
  if (path.empty() || path.back() != L'\\') path += L'\\';
  return path;
}

std::wstring LongPath(const std::wstring& path) {
  std::wstring buffer(MAX_PATH * 4, L'\0');
  DWORD length = GetLongPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  return length > 0 && length < buffer.size() ? buffer.substr(0, length) : std::wstring();
}

std::wstring ShortPath(const std::wstring& path) {
  std::wstring buffer(MAX_PATH * 4, L'\0');
  DWORD length = GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  return length > 0 && length < buffer.size() ? buffer.substr(0, length) : std::wstring();
}

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }
bool Exists(const std::wstring& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

// A plain file: not a folder and not a link of the file system.
bool IsPlainFile(const std::wstring& path) {
  DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

// Whether a folder on the way to path, below its root, is a link of the file system: one swapped in
// after the uninstaller's checks would lead the deletion somewhere else.
bool ReparsePointOnTheWay(const std::wstring& path) {
  for (std::size_t at = path.find_first_of(L"\\/", 3); at != std::wstring::npos && at + 1 < path.size();
       at = path.find_first_of(L"\\/", at + 1)) {
    DWORD attributes = Attributes(path.substr(0, at));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  }
  return false;
}

// Deletes a file or an empty folder through a handle of its own, so that what goes is what was opened
// and checked, never what a rename put at the path in between; a link of the file system goes itself,
// never its target. The path is resolved again from the handle: with a tag, the rules must still
// accept where it really lies. Clears the read-only attribute first.
bool DeleteThroughHandle(const std::wstring& path, const record::ValueRules* rules = nullptr, char tag = 0) {
  if (ReparsePointOnTheWay(path)) return false;
  win32::UniqueHandle handle(CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!handle || ReparsePointOnTheWay(path)) return false;
  if (rules) {
    const std::wstring resolved = record::FinalPathOf(handle.get());
    if (resolved.empty() || ReparsePointOnTheWay(resolved) || !rules->Accepts(tag, AsText(resolved))) return false;
  }
  FILE_BASIC_INFO basic{};
  if (GetFileInformationByHandleEx(handle.get(), FileBasicInfo, &basic, sizeof(basic)) &&
      (basic.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
    basic.FileAttributes &= ~FILE_ATTRIBUTE_READONLY;
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(handle.get(), FileBasicInfo, &basic, sizeof(basic));
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  return SetFileInformationByHandle(handle.get(), FileDispositionInfo, &disposition, sizeof(disposition)) != 0;
}

void DeleteEntry(const std::wstring& path, DWORD) { DeleteThroughHandle(path); }

// Every entry of a folder but "." and "..".
template <class Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW entry;
  win32::UniqueFindHandle search(FindFirstFileW((WithBackslash(folder) + L"*").c_str(), &entry));
  if (!search) return;
  do {
    std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") visit(name, entry.dwFileAttributes);
  } while (FindNextFileW(search.get(), &entry));
}

bool IsEmptyFolder(const std::wstring& folder) {
  bool empty = true;
  ForEachEntry(folder, [&](const std::wstring&, DWORD) { empty = false; });
  return empty;
}

// What a shell link stores, read without resolving, so that it works once the target is gone: its file
// path, and whether its item is exactly the website's address (the shell keeps an address apart from file
// paths, as an item named by it). Nothing when the file does not load as a shell link.
struct LinkContents {
  std::wstring path;
  bool website = false;
};

bool ItemNamed(PCIDLIST_ABSOLUTE item, SIGDN form, const std::wstring& expected) {
  PWSTR name = nullptr;
  bool same = SUCCEEDED(SHGetNameFromIDList(item, form, &name)) && name && expected == name;
  CoTaskMemFree(name);
  return same;
}

LinkContents ReadLink(const std::wstring& file) {
  LinkContents contents;
  win32::ComRef<IShellLinkW> link;
  win32::ComRef<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.out())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, persist.out())) || FAILED(persist->Load(file.c_str(), STGM_READ)))
    return contents;
  wchar_t target[MAX_PATH * 2] = {};
  if (SUCCEEDED(link->GetPath(target, MAX_PATH * 2, nullptr, SLGP_RAWPATH))) contents.path = target;
  PIDLIST_ABSOLUTE item = nullptr;
  if (SUCCEEDED(link->GetIDList(&item)) && item) {
    // No file name holds "://": a file item cannot pass for the address.
    const std::wstring address = record::Widen(record::kWebsite);
    contents.website = ItemNamed(item, SIGDN_DESKTOPABSOLUTEPARSING, address) ||
                       ItemNamed(item, SIGDN_PARENTRELATIVEPARSING, address);
    // A shell that keeps the path in the code page writes "?" for what it cannot hold; no file name holds
    // one, and the item list keeps the whole name.
    wchar_t itemPath[MAX_PATH * 2] = {};
    if (contents.path.find(L'?') != std::wstring::npos && SHGetPathFromIDListW(item, itemPath)) contents.path = itemPath;
    CoTaskMemFree(item);
  }
  return contents;
}

}  // namespace

std::vector<Text> ProtectedFolders() {
  static const int kFolders[] = {
      CSIDL_WINDOWS,          CSIDL_SYSTEM,           CSIDL_SYSTEMX86,         CSIDL_PROGRAM_FILES,
      CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROFILE,       CSIDL_PROGRAMS,
      CSIDL_COMMON_PROGRAMS,  CSIDL_STARTMENU,        CSIDL_COMMON_STARTMENU,  CSIDL_STARTUP,
      CSIDL_COMMON_STARTUP,   CSIDL_ADMINTOOLS,       CSIDL_COMMON_ADMINTOOLS, CSIDL_DESKTOPDIRECTORY,
      CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_APPDATA,   CSIDL_LOCAL_APPDATA,     CSIDL_COMMON_APPDATA,
      CSIDL_PERSONAL,         CSIDL_FONTS,
  };
  std::vector<std::wstring> folders;
  wchar_t buffer[MAX_PATH + 1];
  for (int folder : kFolders)
    if (SHGetFolderPathW(nullptr, folder, nullptr, 0, buffer) == S_OK) folders.emplace_back(buffer);
  DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length > 0 && length <= MAX_PATH) folders.emplace_back(buffer, length);
  std::vector<Text> all;
  for (const std::wstring& folder : folders)
    for (const std::wstring& form : {folder, LongPath(folder), ShortPath(folder), record::ResolvedPath(folder)})
      if (!form.empty()) all.push_back(AsText(form));
  return all;
}

void DeleteTree(const std::wstring& directory) {
  DWORD attributes = Attributes(directory);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    const std::wstring base = WithBackslash(directory);
    ForEachEntry(directory, [&](const std::wstring& name, DWORD entryAttributes) {
      bool realDirectory =
          (entryAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entryAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
      if (realDirectory)
        DeleteTree(base + name);
      else
        DeleteEntry(base + name, entryAttributes);
    });
  }
  DeleteEntry(directory, attributes);
}

Removal::Removal(const RemovalPlan& plan, const record::ValueRules& rules, HWND owner)
    : plan_(plan), rules_(rules), owner_(owner) {}

void Removal::RunGroup(int group) {
  switch (group) {
    case 0:
      FindOurLinks();
      DeleteFilesAndPatterns();
      break;
    case 1: RemoveEmptyDirectories(); break;
    case 2: DeleteProgramMenuEntries(); break;
    case 3: DeleteDesktopEntries(); break;
    case 4: DeleteRegistryKeys(); break;
    case 5: DeleteTrees(); break;
    case 6: RemoveEmptyDirectories(); break;
  }
}

void Removal::DeleteFilesAndPatterns() {
  for (const Text& file : plan_.Values(record::kInstalledFile))
    DeleteThroughHandle(AsWide(file), &rules_, record::kInstalledFile);
  for (const Text& pattern : plan_.Values(record::kPattern)) {
    // Every match lies in the pattern's directory.
    const std::wstring wide = AsWide(pattern);
    const std::wstring directory = wide.substr(0, wide.find_last_of(L"\\/") + 1);
    WIN32_FIND_DATAW entry;
    win32::UniqueFindHandle search(FindFirstFileW(wide.c_str(), &entry));
    if (!search) continue;
    do {
      std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") DeleteThroughHandle(directory + name, &rules_, record::kInstalledFile);
    } while (FindNextFileW(search.get(), &entry));
  }
}

void Removal::RemoveEmptyDirectories() {
  for (const Text& directory : plan_.Values(record::kEmptyFolder))
    DeleteThroughHandle(AsWide(directory), &rules_, record::kEmptyFolder);
}

bool Removal::ShellFolder(int folderId, std::wstring& path) const {
  wchar_t buffer[MAX_PATH + 1];
  if (SHGetFolderPathW(owner_, folderId, nullptr, 0, buffer) != S_OK) return false;
  path = buffer;
  return true;
}

bool Removal::IsOurTarget(const std::wstring& target) const {
  if (target.empty()) return false;
  record::FileIdentity identity;
  bool known = record::IdentityOf(target, identity);
  for (const Installed& file : installed_) {
    if (known && file.known && file.identity == identity) return true;
    // A file that is gone already is known by its resolved path only.
    if (!known && !file.known &&
        record::SameOnDisk(record::ComparablePath(AsText(record::ResolvedPath(target))),
                           record::ComparablePath(AsText(record::ResolvedPath(file.path)))))
      return true;
  }
  return false;
}

bool Removal::IsOurLink(const std::wstring& file) const {
  if (!IsPlainFile(file)) return false;
  LinkContents link = ReadLink(file);
  return link.website || IsOurTarget(link.path);
}

void Removal::NoteIfOurs(const std::wstring& file, std::vector<std::wstring>& links) const {
  if (IsOurLink(file)) links.push_back(file);
}

// The menu folder's links belong to the installation that its utility or uninstaller link starts: when
// those start another one's files, the folder is that one's, whatever else it holds.
bool Removal::MenuFolderIsOurs(const std::wstring& folder) const {
  bool someoneElses = false;
  for (const record::InstalledLink& link : record::kMenuLinks) {
    if (!link.targetInstalled) continue;
    const std::wstring file = folder + L"\\" + record::Widen(link.file);
    if (!IsPlainFile(file)) continue;
    const std::wstring target = ReadLink(file).path;
    if (IsOurTarget(target)) return true;
    someoneElses = someoneElses || !target.empty();
  }
  return !someoneElses;
}

// Which links are ours is decided while the files they start are still there to be known by identity.
void Removal::FindOurLinks() {
  installed_.clear();
  for (const Text& file : plan_.Values(record::kInstalledFile)) {
    Installed entry;
    entry.path = AsWide(file);
    entry.known = record::IdentityOf(entry.path, entry.identity);
    installed_.push_back(entry);
  }
  menuLinks_.clear();
  desktopLinks_.clear();
  std::wstring menu;
  if (ShellFolder(CSIDL_PROGRAMS, menu)) {
    for (const Text& name : plan_.Values(record::kMenuFolder)) {
      const std::wstring folder = menu + L"\\" + AsWide(name);
      DWORD attributes = Attributes(folder);
      bool realFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                        !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
      MenuFolderLinks found;
      found.folder = folder;
      if (realFolder && MayDeleteTree(folder) && MenuFolderIsOurs(folder))
        ForEachEntry(folder, [&](const std::wstring& entry, DWORD entryAttributes) {
          if (!(entryAttributes & FILE_ATTRIBUTE_DIRECTORY)) NoteIfOurs(folder + L"\\" + entry, found.links);
        });
      NoteIfOurs(folder + record::Widen(record::kFolderLinkEnding), found.beside);
      menuLinks_.push_back(found);
    }
  }
  std::wstring desktop;
  if (!ShellFolder(CSIDL_DESKTOPDIRECTORY, desktop)) return;
  for (const Text& name : plan_.Values(record::kDesktopLink)) NoteIfOurs(desktop + L"\\" + AsWide(name), desktopLinks_);
  // A later run without the desktop link writes no T line, but the link of the first run still starts
  // our utility.
  if (plan_.Values(record::kDesktopLink).empty()) {
    const std::wstring file = desktop + L"\\" + record::Widen(record::kDesktopLinkFile);
    const std::wstring target = IsPlainFile(file) ? ReadLink(file).path : std::wstring();
    for (const Installed& installed : installed_) {
      const std::wstring name = installed.path.substr(installed.path.find_last_of(L"\\/") + 1);
      record::FileIdentity identity;
      if (installed.known && record::SameOnDisk(AsText(name), record::FromAscii(record::kUtilityFile)) &&
          record::IdentityOf(target, identity) && identity == installed.identity) {
        desktopLinks_.push_back(file);
        break;  // however many lines name the utility
      }
    }
  }
}

void Removal::DeleteOurLink(const std::wstring& file) {
  links_.push_back(file);
  DeleteEntry(file, Attributes(file));
}

// From a program-menu folder only the links this installation made go, and the folder only when it
// held one of them and is empty then. A folder that Windows or another program owns (Startup, say) is
// never touched, nor one that is a link.
void Removal::DeleteProgramMenuEntries() {
  for (const MenuFolderLinks& folder : menuLinks_) {
    for (const std::wstring& link : folder.links) DeleteOurLink(link);
    if (!folder.links.empty()) {
      menuFolders_.push_back(folder.folder);
      DeleteThroughHandle(folder.folder);
    }
    for (const std::wstring& link : folder.beside) DeleteOurLink(link);
  }
}

void Removal::DeleteDesktopEntries() {
  for (const std::wstring& link : desktopLinks_) DeleteOurLink(link);
}

void Removal::DeleteRegistryKeys() {
  for (const Text& key : plan_.Values(record::kRegistryKey)) {
    std::wstring path = AsWide(key);
    if (!path.empty() && path.back() == L'\\') path.pop_back();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, path.c_str());
  }
}

bool Removal::MayDeleteTree(const std::wstring& directory) const {
  // The text passed the rules already; its long form and the place its links lead to must pass too.
  for (const std::wstring& form : {directory, LongPath(directory), record::ResolvedPath(directory)})
    if (!form.empty() && !rules_.IsRemovableTree(AsText(form))) return false;
  return true;
}

void Removal::DeleteTrees() {
  for (const Text& directory : plan_.Values(record::kTree))
    if (MayDeleteTree(AsWide(directory))) DeleteTree(AsWide(directory));
}

RemovalOutcome Removal::Check() const {
  RemovalOutcome outcome;
  for (const Text& file : plan_.Values(record::kInstalledFile))
    if (Exists(AsWide(file))) outcome.left.push_back(AsWide(file));
  for (const std::wstring& link : links_)
    if (Exists(link)) outcome.left.push_back(link);
  for (const Text& tree : plan_.Values(record::kTree))
    if (Exists(AsWide(tree)) && MayDeleteTree(AsWide(tree))) outcome.left.push_back(AsWide(tree));
  for (const Text& key : plan_.Values(record::kRegistryKey)) {
    HKEY opened;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, AsWide(key).c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
      RegCloseKey(opened);
      outcome.left.push_back(L"HKEY_LOCAL_MACHINE\\" + AsWide(key));
    }
  }
  // A folder that is still there: what is left inside explains it; else it holds the user's own files.
  std::vector<std::wstring> folders = menuFolders_;
  for (const Text& folder : plan_.Values(record::kEmptyFolder)) folders.push_back(AsWide(folder));
  for (const std::wstring& folder : folders) {
    if (!Exists(folder)) continue;
    bool explained = std::any_of(outcome.left.begin(), outcome.left.end(), [&](const std::wstring& left) {
      return record::IsSameOrInside(AsText(left), AsText(folder), record::SameOnDisk);
    });
    if (explained) continue;
    (IsEmptyFolder(folder) ? outcome.left : outcome.kept).push_back(folder);
  }
  return outcome;
}

}  // namespace uninstall
