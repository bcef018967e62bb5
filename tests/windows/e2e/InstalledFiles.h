#pragma once
#include <windows.h>
#include <string>
#include <vector>

// What an installation leaves behind, seen from outside: its files, its links and its record. Paths in UTF-8.
namespace e2e {

std::string ShellFolderPath(int folderId);
bool FileExists(const std::string& path);
std::vector<unsigned char> ReadBytes(const std::string& path);  // empty when unreadable
std::string ReadText(const std::string& path);

struct LinkContents {
  bool loaded = false;
  std::string target, description, arguments, iconFile;
  int iconIndex = 0;
};
LinkContents ReadLink(const std::string& path);

struct Installation {
  std::string directory;  // with its trailing backslash

  std::string File(const char* name) const { return directory + name; }
  static std::string MenuFolder();   // the program menu's "Twinsift"
  static std::string DesktopLink();  // the desktop's "Twinsift.Lnk"
  // The files with their sizes, the links with their targets, and the record, one item a line.
  std::string Listing() const;
  // Deletes the three files, the directory, the program-menu folder with its links and the desktop link.
  void Remove() const;
};

}  // namespace e2e
