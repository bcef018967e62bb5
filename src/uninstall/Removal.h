#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "uninstall/RemoverArguments.h"
#include "uninstall/ValueRules.h"

// The remover's deletions, group by group. Every single deletion stands alone: a failure is ignored
// and the next one goes on.
namespace uninstall {

// The folders that no tree deletion may remove or contain, each as the shell gives it and in its long
// and short forms: Windows, system, Program Files, the profile, the menus, the desktops, application
// data, documents and the temporary folder.
std::vector<std::string> ProtectedFolders();

// Deletes a directory with everything in it. Descends into every real directory whatever its other
// attributes, never through a reparse point (the link goes, never its target), and clears the
// read-only attribute of what it deletes.
void DeleteTree(const std::string& directory);

class Removal {
 public:
  static constexpr int kGroupCount = 7;

  // owner: the window that owns the shell's folder queries.
  Removal(const RemovalPlan& plan, const ValueRules& rules, HWND owner);

  // Runs group 0 to 6: files and patterns; empty directories; the program menu; the desktop;
  // registry keys; trees; empty directories again.
  void RunGroup(int group);

 private:
  void DeleteFilesAndPatterns();
  void RemoveEmptyDirectories();
  void DeleteProgramMenuEntries();
  void DeleteDesktopEntries();
  void DeleteRegistryKeys();
  void DeleteTrees();
  bool ShellFolder(int folderId, std::string& path) const;
  bool MayDeleteTree(const std::string& directory) const;

  const RemovalPlan& plan_;
  const ValueRules& rules_;
  HWND owner_;
};

}  // namespace uninstall
