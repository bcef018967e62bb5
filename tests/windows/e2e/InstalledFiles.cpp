#include "e2e/InstalledFiles.h"
#include <objbase.h>
#include <shlobj.h>
#include <fstream>
#include <iterator>

namespace e2e {

std::string ShellFolderPath(int folderId) {
  char path[MAX_PATH] = {};
  return SHGetFolderPathA(nullptr, folderId, nullptr, 0, path) == S_OK ? path : "";
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ReadText(const std::string& path) {
  auto bytes = ReadBytes(path);
  return {bytes.begin(), bytes.end()};
}

LinkContents ReadLink(const std::string& path) {
  LinkContents contents;
  HRESULT entered = CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    std::wstring name(path.begin(), path.end());
    if (SUCCEEDED(file->Load(name.c_str(), STGM_READ))) {
      char text[1024] = {};
      contents.loaded = true;
      if (link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH) == S_OK) contents.target = text;
      text[0] = 0;
      link->GetDescription(text, sizeof(text));
      contents.description = text;
      text[0] = 0;
      link->GetArguments(text, sizeof(text));
      contents.arguments = text;
      text[0] = 0;
      link->GetIconLocation(text, sizeof(text), &contents.iconIndex);
      contents.iconFile = text;
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
    SetFileAttributesA(File(name).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(File(name).c_str());
  }
  RemoveDirectoryA(directory.c_str());
  for (const char* name : kMenuLinks) DeleteFileA((MenuFolder() + "\\" + name).c_str());
  RemoveDirectoryA(MenuFolder().c_str());
  DeleteFileA(DesktopLink().c_str());
}

}  // namespace e2e
