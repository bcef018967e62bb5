#pragma once
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>
#include "install/InstallSettings.h"
#include "payload/PayloadData.h"
#include "record/UninstallRecord.h"

// The two programs an installation unpacks.
struct InstalledPrograms {
  const PayloadData& utility;
  const PayloadData& uninstaller;
};
// The ones this setup program carries.
InstalledPrograms CarriedPrograms();

// Told by the installation run how far it has got. It decides what to draw and when pending window messages
// run; the run itself never touches a window.
class InstallProgress {
 public:
  virtual void Begin(int maximum) = 0;                // the scale, before any step
  virtual void Unpacked(std::uint32_t position) = 0;  // a step of the utility's unpacking
  virtual void UnpackedUnseen() = 0;                  // a step of the uninstaller's unpacking, which moves nothing
  virtual void UnpackingStopped() = 0;                // an unpacking ended or failed
  virtual void StepDone(std::uint32_t position) = 0;  // a step after the unpacking, to be shown at once

 protected:
  ~InstallProgress() = default;
};

// The whole installation: the directory (every missing level), both programs, the program-menu links, the
// desktop link when asked for, the uninstall record. window owns whatever the shell may show.
// Raises win32::Error for what cannot be done; the steps before stay done. A menu folder or link that
// cannot be made does not stop the run: it is returned with the system's reason.
std::vector<MissingItem> RunInstallation(const InstallSettings& settings, InstallProgress& progress, HWND window,
                     const InstalledPrograms& programs);

// The run's progress scale: both programs' stream and decompressed lengths, before the added thirtieth.
std::int64_t RunProgressSpan(const InstalledPrograms& programs);
// round(maximum / 100 x percent), halves to even.
std::uint32_t ShareOfMaximum(int maximum, int percent);
// Makes directory (a path ending with a backslash) and every missing directory above it, outermost first,
// each with the protected access list (an existing one keeps its own). Failures are not reported: a
// directory that is missing afterwards shows when a file is made in it.
void CreateDirectoryChain(const std::string& directory);
bool DirectoryExists(const std::string& path);

// The box that names what the run could not make, each with its reason.
std::wstring MissingItemsText(const std::vector<MissingItem>& missing);
