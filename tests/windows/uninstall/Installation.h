#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "driver/Driver.h"
#include "toolkit/Folders.h"

// Makes in the Wine prefix what an installation leaves behind (the files, the record, the links), so
// that the real uninstaller can be run without the setup program. Names differ from a real
// installation's so that the tests never touch one.
namespace uninstall_test {

struct ShellFolders {
  std::string programMenu, desktop, temp, profile;  // no trailing backslash
  static ShellFolders Query();
};

constexpr const char* kProduct = "TwinsiftE2E";
constexpr const char* kRoot = "C:\\TwinsiftE2E\\";                      // made and removed by the tests
constexpr const char* kInstallDir = "C:\\TwinsiftE2E\\Twinsift Tools\\";  // with a blank, as users choose

// The files Twinsift.Exe and Uninstall.Exe (copied from the build), the record with the given lines
// after the product name, the program-menu folder with its three links and, with desktop, the desktop
// link, the links pointing where our installer's do.
// Returns the record's lines after the first as written.
std::vector<std::string> MakeInstallation(bool desktop, const std::string& product = kProduct);
void WriteRecord(const std::vector<std::string>& lines);  // product name first, CR LF after each

// The installation's links, as our installer makes them: the website link points at this address.
constexpr const char* kWebsite = "http://www.example.com/twinsift";
void MakeLink(const std::string& target, const std::string& file);  // a shell link, saved at file

// The remover's own folders in the temporary folder ("tws<n>.rmv"), and their removal between tests.
std::vector<std::string> RemoverFolders();
void RemoveRemoverFolders();

void WriteTextFile(const std::string& path, const std::string& text);
bool Exists(const std::string& path);
// Ends the uninstaller and the remover where a test left them running, and removes the made installation
// and its program-menu folder.
void StopAndRemove(e2e::Process& uninstaller, HANDLE& remover);
bool RegistryKeyExists(const std::string& key);  // under HKEY_LOCAL_MACHINE
void MakeRegistryKey(const std::string& key);


}  // namespace uninstall_test
