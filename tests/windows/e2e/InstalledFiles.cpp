#include "e2e/InstalledFiles.h"
#include "win32/TextCodes.h"
#include <objbase.h>
#include <shlobj.h>
#include <fstream>
#include <iterator>

namespace e2e {

std::string ShellFolderPath(int folderId) {
  wchar_t path[MAX_PATH] = {};
  return SHGetFolderPathW(nullptr, folderId, nullptr, 0, path) == S_OK ? win32::Utf8FromWide(path) : "";
}

bool FileExists(const std::string& path) { return GetFileAttributesW(win32::WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(win32::WideFromUtf8(path).c_str(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::string& path) {
  auto bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

LinkContents ReadLink(const std::string& path) {
  LinkContents contents;
  HRESULT entered = CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring name = win32::WideFromUtf8(path);
    if (SUCCEEDED(file->Load(name.c_str(), STGM_READ))) {
      wchar_t text[4][1024] = {};
      contents.loaded = true;
      PIDLIST_ABSOLUTE item = nullptr;  // Wine keeps the path in the code page, the item list whole
      if (link->GetPath(text[0], 1024, nullptr, SLGP_RAWPATH) == S_OK && wcschr(text[0], L'?') &&
          SUCCEEDED(link->GetIDList(&item)))
        SHGetPathFromIDListW(item, text[0]);
      CoTaskMemFree(item);
      link->GetDescription(text[1], 1024);
      link->GetArguments(text[2], 1024);
      link->GetIconLocation(text[3], 1024, &contents.iconIndex);
      for (auto [field, i] : {std::pair{&contents.target, 0}, {&contents.description, 1}, {&contents.arguments, 2},
                              {&contents.iconFile, 3}})
        *field = win32::Utf8FromWide(text[i]);
    }
  }
  if (file) file->Release();
  if (link) link->Release();
  if (SUCCEEDED(entered)) CoUninitialize();
  return contents;
}

std::string Installation::MenuFolder() { return ShellFolderPath(CSIDL_PROGRAMS) + "\\Twinsift"; }
std::string Installation::DesktopLink() { return ShellFolderPath(CSIDL_DESKTOPDIRECTORY) + "\\Twinsift.Lnk"; }

namespace {
const char* const kFiles[] = {"Twinsift.Exe", "Uninstall.Exe", "UnInstall.dat"};
const char* const kMenuLinks[] = {"Twinsift.Lnk", "Website.Lnk", "Uninstall.Lnk"};
}  // namespace

std::string Installation::Listing() const {
  std::string out;
  for (const char* name : kFiles) {
    std::string path = File(name);
    out += "  file " + path + (FileExists(path) ? " (" + std::to_string(ReadBytes(path).size()) + " bytes)" : " missing") +
           "\n";
  }
  std::vector<std::string> links;
  for (const char* name : kMenuLinks) links.push_back(MenuFolder() + "\\" + name);
  links.push_back(DesktopLink());
  for (const std::string& path : links) {
    LinkContents link = ReadLink(path);
    out += "  link " + path + (link.loaded ? " -> " + link.target + " \"" + link.description + "\"" : " missing") + "\n";
  }
  out += "  record " + File("UnInstall.dat") + ":\n";
  std::string record = ReadText(File("UnInstall.dat"));
  for (size_t start = 0; start < record.size();) {
    size_t end = record.find("\r\n", start);
    if (end == std::string::npos) end = record.size();
    out += "    " + record.substr(start, end - start) + "\n";
    start = end + 2;
  }
  return out;
}

void Installation::Remove() const {
  for (const char* name : kFiles) {
    SetFileAttributesW(win32::WideFromUtf8(File(name)).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(win32::WideFromUtf8(File(name)).c_str());
  }
  RemoveDirectoryW(win32::WideFromUtf8(directory).c_str());
  for (const char* name : kMenuLinks) DeleteFileW(win32::WideFromUtf8(MenuFolder() + "\\" + name).c_str());
  RemoveDirectoryW(win32::WideFromUtf8(MenuFolder()).c_str());
  DeleteFileW(win32::WideFromUtf8(DesktopLink()).c_str());
}

}  // namespace e2e
