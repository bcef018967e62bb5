#include "install/Installation.h"
#include <shlobj.h>
#include <cmath>
#include "install/Shortcut.h"
#include "install/RecordFile.h"
#include "payload/ProtectedFolder.h"
#include "record/win32/WidePaths.h"
#include "win32/Error.h"
#include "payload/EmbeddedPayloads.h"
#include "payload/PayloadExtractor.h"
#include "payload/ProgressSink.h"
#include "win32/TextCodes.h"

InstalledPrograms CarriedPrograms() { return {EB_Twinsift_exe::Payload(), EB_Uninstall_exe::Payload()}; }

std::int64_t RunProgressSpan(const InstalledPrograms& programs) {
  return ProgressSpan(programs.utility) + ProgressSpan(programs.uninstaller);
}

std::uint32_t ShareOfMaximum(int maximum, int percent) {
  long double share = static_cast<long double>(maximum) / 100 * percent;
  return static_cast<std::uint32_t>(std::nearbyintl(share));
}

bool DirectoryExists(const std::string& path) {
  DWORD attributes = GetFileAttributesW(win32::WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateDirectoryChain(const std::string& directory) {
  std::string path = directory;
  while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  // A drive ("C:") or nothing left: there is nothing above to make.
  if (path.empty() || (path.size() == 2 && path[1] == ':') || DirectoryExists(path)) return;
  size_t parentEnd = path.find_last_of("\\/");
  if (parentEnd != std::string::npos && parentEnd > 0) CreateDirectoryChain(path.substr(0, parentEnd + 1));
  CreateProtectedDirectory(win32::WideFromUtf8(path));
}

namespace {

// Hands an unpacking's steps on: the utility's move the bar, the uninstaller's only count as steps.
class UnpackingSteps : public ProgressSink {
 public:
  UnpackingSteps(InstallProgress& progress, bool shown) : progress_(progress), shown_(shown) {}
  // Whatever the unpacking ended with, what it reached gets shown.
  ~UnpackingSteps() { progress_.UnpackingStopped(); }
  UnpackingSteps(const UnpackingSteps&) = delete;
  UnpackingSteps& operator=(const UnpackingSteps&) = delete;

  void Progress(std::int64_t position) override {
    if (shown_) progress_.Unpacked(static_cast<std::uint32_t>(position));
    else progress_.UnpackedUnseen();
  }

 private:
  InstallProgress& progress_;
  bool shown_;
};

void Unpack(const PayloadData& payload, const std::string& target, InstallProgress& progress, bool shown) {
  UnpackingSteps steps(progress, shown);
  PayloadExtractor(payload, &steps).ExtractToFile(target);
}

// The current path of a shell folder; one the shell cannot tell is named as missing. Wide: a profile's
// name may hold what the code page cannot write.
bool ShellFolder(HWND window, int folderId, const wchar_t* name, std::wstring& path,
                 std::vector<MissingItem>& missing) {
  wchar_t buffer[MAX_PATH] = {};
  const HRESULT found = SHGetFolderPathW(window, folderId, nullptr, 0, buffer);
  if (found == S_OK) {
    path = buffer;
    return true;
  }
  // S_FALSE: the folder does not exist.
  missing.push_back({name, OleErrorText(FAILED(found) ? found : HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))});
  return false;
}

void SaveLink(const record::InstalledLink& link, const std::string& installDir, const std::wstring& folder,
              std::vector<MissingItem>& missing) {
  const std::string target = link.targetInstalled ? installDir + link.target : std::string(link.target);
  const std::wstring file = folder + L"\\" + record::Widen(link.file);
  HRESULT saved = CreateShortcut(win32::WideFromUtf8(target), file, record::Widen(link.description), L"", link.icon);
  if (FAILED(saved)) missing.push_back({file, OleErrorText(saved)});
}

void CreateMenuShortcuts(const std::string& installDir, HWND window, std::vector<MissingItem>& missing) {
  std::wstring programs;
  if (!ShellFolder(window, CSIDL_PROGRAMS, L"The program menu", programs, missing)) return;
  const std::wstring menu = programs + L"\\" + record::Widen(record::kMenuFolderName);
  // It may exist from an earlier installation; anything else in its place leaves no room for the links.
  if (!CreateDirectoryW(menu.c_str(), nullptr)) {
    const DWORD error = GetLastError(), attributes = GetFileAttributesW(menu.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      return missing.push_back({menu, win32::SystemErrorText(error)});
  }
  for (const record::InstalledLink& link : record::kMenuLinks) SaveLink(link, installDir, menu, missing);
}

void CreateDesktopShortcut(const std::string& installDir, HWND window, std::vector<MissingItem>& missing) {
  std::wstring desktop;
  if (!ShellFolder(window, CSIDL_DESKTOPDIRECTORY, L"The desktop", desktop, missing)) return;
  SaveLink(record::kDesktopShortcut, installDir, desktop, missing);
}

}  // namespace

std::wstring MissingItemsText(const std::vector<MissingItem>& missing) {
  std::wstring text = record::Widen(std::string(record::kProduct) + " is installed, but these could not be made:");
  for (const MissingItem& item : missing) text += L"\n\n" + item.path + L"\n" + win32::WideFromUtf8(item.reason);
  return text;
}

std::vector<MissingItem> RunInstallation(const InstallSettings& settings, InstallProgress& progress, HWND window,
                                         const InstalledPrograms& programs) {
  const int span = static_cast<int>(RunProgressSpan(programs));
  const int maximum = span + span / 30;  // room for the steps after the unpacking
  progress.Begin(maximum);
  const std::string directory = settings.InstallDir;

  if (!DirectoryExists(directory)) CreateDirectoryChain(directory);
  Unpack(programs.utility, directory + record::kUtilityFile, progress, true);
  Unpack(programs.uninstaller, directory + record::kUninstallerFile, progress, false);
  progress.StepDone(ShareOfMaximum(maximum, 94));
  std::vector<MissingItem> missing;
  CreateMenuShortcuts(directory, window, missing);
  progress.StepDone(ShareOfMaximum(maximum, 96));
  if (settings.DesktopShortcut) CreateDesktopShortcut(directory, window, missing);
  progress.StepDone(ShareOfMaximum(maximum, 98));
  WriteUninstallRecord(directory, settings.DesktopShortcut);
  return missing;
}
