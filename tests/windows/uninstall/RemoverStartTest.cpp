// The remover's folder and file, held from their making until the remover starts: another process of
// the same user can rename neither away; once let go, it can.
#include <gtest/gtest.h>
#include <windows.h>
#include "driver/Driver.h"
#include "record/win32/WidePaths.h"
#include "uninstall/Installation.h"
#include "uninstall/RemoverStart.h"

namespace {

// Another process's rename; true when the thing moved.
bool RenamedByAnotherProcess(const std::string& from, const std::string& to) {
  e2e::Process move = e2e::Process::Start("C:\\windows\\system32\\cmd.exe", "/c move \"" + from + "\" \"" + to + "\"");
  return move.WaitForExit(10000) && !uninstall_test::Exists(from) && uninstall_test::Exists(to);
}

}  // namespace

TEST(RemoverStart, AnotherProcessCannotRenameTheHeldFolderOrProgram) {
  std::string folder, program;
  {
    RemoverStart start;
    folder = record::Narrow(start.MakeFolder());
    folder.pop_back();
    program = record::Narrow(start.ProgramPath());
    uninstall_test::WriteTextFile(program, "x");
    ASSERT_TRUE(start.HoldProgram());
    EXPECT_FALSE(RenamedByAnotherProcess(folder, folder + "-moved"));
    EXPECT_FALSE(RenamedByAnotherProcess(program, program + ".old"));
  }
  EXPECT_TRUE(RenamedByAnotherProcess(folder, folder + "-moved")) << "let go, the folder is free again";
  RemoveTree(folder + "-moved");
}
