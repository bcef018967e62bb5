// What the installation run does so that only administrators can change what an administrator's
// uninstall runs, and how it fails over a program that is still running.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <memory>
#include "driver/Driver.h"
#include "e2e/InstalledFiles.h"
#include "install/Installation.h"
#include "payload/TestPayload.h"
#include "win32/Error.h"

namespace {

struct Entry {
  WELL_KNOWN_SID_TYPE who;
  ACCESS_MASK rights;
};

// The folder's access list, entry by entry, or nothing when it cannot be read.
struct AccessList {
  bool read = false, isProtected = false;
  std::vector<ACCESS_ALLOWED_ACE*> entries;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  explicit AccessList(const std::string& path) {
    PACL list = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list,
                              nullptr, &descriptor) != ERROR_SUCCESS)
      return;
    read = true;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    isProtected = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD i = 0; list && i < list->AceCount; ++i) {
      void* entry = nullptr;
      if (GetAce(list, i, &entry)) entries.push_back(static_cast<ACCESS_ALLOWED_ACE*>(entry));
    }
  }
  ~AccessList() {
    if (descriptor) LocalFree(descriptor);
  }
  bool Grants(const Entry& expected) const {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    if (!CreateWellKnownSid(expected.who, nullptr, sid, &size)) return false;
    for (ACCESS_ALLOWED_ACE* entry : entries)
      if (entry->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && EqualSid(&entry->SidStart, sid))
        return entry->Mask == expected.rights &&
               (entry->Header.AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) ==
                   (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE);
    return false;
  }
};

// Whether the file system here keeps a folder's access list at all: one set through the system's own
// call must read back. Wine 8 on a file system without its extended attributes makes the list up from
// the owner's mode bits instead.
bool AccessListsAreKept(const std::string& probe) {
  CreateDirectoryA(probe.c_str(), nullptr);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  BOOL present = FALSE, defaulted = FALSE;
  PACL wanted = nullptr;
  bool kept = false;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;BA)", SDDL_REVISION_1, &descriptor, nullptr) &&
      GetSecurityDescriptorDacl(descriptor, &present, &wanted, &defaulted) &&
      SetNamedSecurityInfoA(const_cast<char*>(probe.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, wanted, nullptr) == ERROR_SUCCESS) {
    AccessList list(probe);
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    kept = list.entries.size() == 1 && CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size) &&
           EqualSid(&list.entries[0]->SidStart, sid);
  }
  if (descriptor) LocalFree(descriptor);
  RemoveDirectoryA(probe.c_str());
  return kept;
}

}  // namespace

TEST(InstallFolder, EveryLevelTheRunMakesGetsTheProtectedListAndAnExistingOneKeepsItsOwn) {
  ScratchFolder folder;
  if (!AccessListsAreKept(folder.File("probe")))
    GTEST_SKIP() << "this file system keeps no access lists: a list set through SetNamedSecurityInfo reads back "
                    "as one made up from mode bits";
  const std::string existing = folder.File("");
  CreateDirectoryChain(folder.File("made\\deeper\\"));
  for (const std::string& made : {folder.File("made"), folder.File("made\\deeper")}) {
    SCOPED_TRACE(made);
    AccessList list(made);
    ASSERT_TRUE(list.read) << "the access list cannot be read back";
    // Nothing of the parent's list: Wine 8 does not report the protected flag, so the entries tell.
    EXPECT_EQ(list.entries.size(), 3u);
    for (ACCESS_ALLOWED_ACE* entry : list.entries) EXPECT_FALSE(entry->Header.AceFlags & INHERITED_ACE);
    EXPECT_TRUE(list.Grants({WinBuiltinAdministratorsSid, FILE_ALL_ACCESS}));
    EXPECT_TRUE(list.Grants({WinLocalSystemSid, FILE_ALL_ACCESS}));
    EXPECT_TRUE(list.Grants({WinBuiltinUsersSid, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE}));
  }
  AccessList before(existing);
  CreateDirectoryChain(existing);
  AccessList after(existing);
  EXPECT_EQ(after.isProtected, before.isProtected);
  EXPECT_EQ(after.entries.size(), before.entries.size()) << "a folder that was there keeps its list";
  RemoveDirectoryA(folder.File("made\\deeper").c_str());
  RemoveDirectoryA(folder.File("made").c_str());
}

namespace {
// The run's steps, unseen.
class Unwatched : public InstallProgress {
 public:
  void Begin(int) override {}
  void Unpacked(std::uint32_t) override {}
  void UnpackedUnseen() override {}
  void UnpackingStopped() override {}
  void StepDone(std::uint32_t) override {}
};
}  // namespace

TEST(InstallOverRunningUtility, KeepsTheCannotCreateFileErrorAndTheEarlierProgram) {
  ScratchFolder folder;
  InstallSettings settings{folder.File(""), false};
  const std::string utility = settings.InstallDir + "Twinsift.Exe";
  ASSERT_TRUE(CopyFileA((e2e::ProgramFolder() + "Twinsift.exe").c_str(), utility.c_str(), FALSE));
  const std::vector<unsigned char> earlier = e2e::ReadBytes(utility);
  e2e::Process running = e2e::Process::Start(utility);
  ASSERT_TRUE(e2e::WaitFor([&] { return !e2e::TopWindows(running.Id()).empty(); }));

  Unwatched progress;
  std::string error;
  try {
    RunInstallation(settings, progress, nullptr, CarriedPrograms());
  } catch (const win32::Error& raised) {
    error = raised.what();
  }
  EXPECT_EQ(error.rfind("Cannot create file \"" + utility + "\". ", 0), 0u) << error;
  EXPECT_EQ(e2e::ReadBytes(utility), earlier) << "the earlier program stays as it was";
  EXPECT_FALSE(e2e::FileExists(settings.InstallDir + "UnInstall.dat"));

  running.Kill();
  running.WaitForExit(5000);
  e2e::Installation{settings.InstallDir}.Remove();
}
