#include "uninstall/Installation.h"

#include <objbase.h>
#include <shlobj.h>
#include "driver/Driver.h"

namespace uninstall_test {

ShellFolders ShellFolders::Query() {
  ShellFolders folders;
  char buffer[MAX_PATH + 1];
  if (SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, buffer) == S_OK) folders.programMenu = buffer;
  if (SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, buffer) == S_OK) folders.desktop = buffer;
  if (SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, 0, buffer) == S_OK) folders.profile = buffer;
  DWORD length = GetTempPathA(sizeof(buffer), buffer);
  folders.temp = std::string(buffer, length);
  if (!folders.temp.empty() && folders.temp.back() == '\\') folders.temp.pop_back();
  return folders;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void StopAndRemove(e2e::Process& uninstaller, HANDLE& remover) {
  uninstaller.Kill();
  if (remover) {
    TerminateProcess(remover, 1);
    CloseHandle(remover);
    remover = nullptr;
  }
  RemoveTree(kRoot);
  RemoveTree(ShellFolders::Query().programMenu + "\\" + kProduct);
}

bool RegistryKeyExists(const std::string& key) {
  HKEY opened;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

void MakeRegistryKey(const std::string& key) {
  HKEY created;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr) ==
      ERROR_SUCCESS)
    RegCloseKey(created);
}

void WriteRecord(const std::vector<std::string>& lines) {
  std::string text = std::string(kProduct) + "\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  WriteTextFile(std::string(kInstallDir) + "UnInstall.dat", text);
}

void MakeLink(const std::string& target, const std::string& file) {
  CoInitialize(nullptr);  // once per thread is enough; further calls only count
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return;
  IPersistFile* persist = nullptr;
  link->SetPath(target.c_str());
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    std::wstring name(file.begin(), file.end());
    persist->Save(name.c_str(), TRUE);
    persist->Release();
  }
  link->Release();
}

std::vector<std::string> RemoverFolders() {
  ShellFolders folders = ShellFolders::Query();
  std::vector<std::string> found;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folders.temp + "\\tws*.rmv").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return found;
  do found.push_back(folders.temp + "\\" + entry.cFileName);
  while (FindNextFileA(search, &entry));
  FindClose(search);
  return found;
}

void RemoveRemoverFolders() {
  for (const std::string& folder : RemoverFolders()) RemoveTree(folder);
}

std::vector<std::string> MakeInstallation(bool desktop, const std::string& product) {
  ShellFolders folders = ShellFolders::Query();
  std::string dir = kInstallDir;
  CreateDirectoryA(kRoot, nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
  CopyFileA((e2e::ProgramFolder() + "Twinsift.exe").c_str(), (dir + "Twinsift.Exe").c_str(), FALSE);
  CopyFileA((e2e::ProgramFolder() + "Uninstall.exe").c_str(), (dir + "Uninstall.Exe").c_str(), FALSE);
  std::string menu = folders.programMenu + "\\" + product;
  CreateDirectoryA(menu.c_str(), nullptr);
  MakeLink(dir + "Twinsift.Exe", menu + "\\Twinsift.Lnk");
  MakeLink(kWebsite, menu + "\\Website.Lnk");
  MakeLink(dir + "Uninstall.Exe", menu + "\\Uninstall.Lnk");
  std::vector<std::string> lines = {"<F" + dir + "Twinsift.Exe>", "<F" + dir + "Uninstall.Exe>",
                                    "<F" + dir + "Uninstall.Dat>", "<E" + dir + ">", "<S" + product + ">"};
  if (desktop) {
    MakeLink(dir + "Twinsift.Exe", folders.desktop + "\\" + product + ".Lnk");
    lines.push_back("<T" + product + ".Lnk>");
  }
  WriteRecord(lines);
  return lines;
}

}  // namespace uninstall_test
