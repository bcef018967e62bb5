// A DLL planted beside a downloaded program must never be loaded: every program limits its DLL search to
// the system folder as it starts. The probe DLL leaves a marker file wherever it is loaded.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>
#include "driver/Driver.h"

namespace {

// DLLs our programs, or the system DLLs on their behalf, look up by name while they run. Under Wine the
// test asks for a DLL of the program's own folder to be preferred to Wine's, as Windows does for DLLs
// outside its known list, so that a planted copy would be taken if the search ever reached it.
const char* const kLookedUpByName[] = {"uxtheme.dll", "version.dll", "dwmapi.dll", "winmm.dll", "msctf.dll",
                                       "imm32.dll"};

class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "twinsift-plant-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount()) + "\\";
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do DeleteFileA((path_ + found.cFileName).c_str());
      while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
  }
  std::string File(const std::string& name) const { return path_ + name; }
  bool Has(const std::string& name) const { return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES; }
  void Plant(const std::string& name) const { ASSERT_TRUE(CopyFileA("planted_probe.dll", File(name).c_str(), FALSE)) << name; }
  void Copy(const std::string& program) const { ASSERT_TRUE(CopyFileA(program.c_str(), File(program).c_str(), FALSE)) << program; }

 private:
  std::string path_;
};

class Process {
 public:
  // Starts command from folder, which is also its current folder.
  Process(const ScratchFolder& folder, const std::string& program, const std::string& arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string command = "\"" + folder.File(program) + "\" " + arguments;
    std::string current = folder.File("");
    started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, current.c_str(), &startup,
                              &info_);
  }
  ~Process() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool Started() const { return started_; }
  DWORD ExitCode(DWORD timeoutMs) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  // Waits until the program shows a window and has been idle for a moment, so that its start-up is over.
  bool ShowsAWindow() const {
    WaitForInputIdle(info_.hProcess, 10000);
    if (!e2e::WaitFor([&] { return !e2e::TopWindows(info_.dwProcessId).empty(); }, 10000, 50)) return false;
    Sleep(500);
    return true;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

// Prefer a DLL of the program's folder to Wine's own for these names (no effect on Windows).
void PreferPlantedCopies() {
  std::string overrides;
  for (const char* name : kLookedUpByName) {
    if (!overrides.empty()) overrides += ',';
    overrides.append(name, std::string(name).find('.'));
  }
  overrides += ",twinsift_probe=n,b";
  SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides.c_str());
}

}  // namespace

TEST(PlantedDll, LoadsUnlessTheSearchIsRestricted) {
  PreferPlantedCopies();
  ScratchFolder folder;
  folder.Copy("dll_loader.exe");
  for (const char* name : {"twinsift_probe.dll", "version.dll"}) {
    folder.Plant(name);
    {
      Process plain(folder, "dll_loader.exe", name);
      ASSERT_TRUE(plain.Started());
      plain.ExitCode(10000);
    }
    EXPECT_TRUE(folder.Has(std::string(name) + ".loaded")) << name << ": without the restriction the plant is taken";
    DeleteFileA(folder.File(std::string(name) + ".loaded").c_str());

    Process restricted(folder, "dll_loader.exe", std::string("--restrict ") + name);
    ASSERT_TRUE(restricted.Started());
    restricted.ExitCode(10000);
    EXPECT_FALSE(folder.Has(std::string(name) + ".loaded")) << name << ": the restriction let the plant in";
  }
}

TEST(PlantedDll, NoProgramLoadsOnePlantedBesideIt) {
  PreferPlantedCopies();
  for (const char* program : {"Install_Twinsift.exe", "Uninstall.exe", "NVUninstall.exe", "Twinsift.exe"}) {
    ScratchFolder folder;
    folder.Copy(program);
    for (const char* name : kLookedUpByName) folder.Plant(name);
    {
      Process run(folder, program, "");
      ASSERT_TRUE(run.Started()) << program;
      EXPECT_TRUE(run.ShowsAWindow()) << program;
    }
    for (const char* name : kLookedUpByName)
      EXPECT_FALSE(folder.Has(std::string(name) + ".loaded")) << program << " loaded the planted " << name;
  }
}
