#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "record/ValueRules.h"
#include "record/win32/WidePaths.h"
#include "uninstall/RemoverArguments.h"

// The remover's deletions, group by group. Every single deletion stands alone: a failure is ignored
// and the next one goes on; Check says afterwards what is still there.
namespace uninstall {

// The folders that no tree deletion may remove or contain, each as the shell gives it and in its long
// and short forms and where its links lead: Windows, system, Program Files, the profile, the menus,
// the Startup and administrative-tools folders, the desktops, application data, documents and the
// temporary folder.
std::vector<Text> ProtectedFolders();

// Deletes a directory with everything in it. Descends into every real directory whatever its other
// attributes, never through a reparse point (the link goes, never its target), and clears the
// read-only attribute of what it deletes.
void DeleteTree(const std::wstring& directory);

// What is left after the removal of what the plan named.
struct RemovalOutcome {
  std::vector<std::wstring> left;  // asked to go, and still there
  std::vector<std::wstring> kept;  // folders that stay because they hold what is not ours
};

class Removal {
 public:
  static constexpr int kGroupCount = 7;

  // owner: the window that owns the shell's folder queries.
  Removal(const RemovalPlan& plan, const record::ValueRules& rules, HWND owner);

  // Runs group 0 to 6: files and patterns; empty directories; the program menu; the desktop;
  // registry keys; trees; empty directories again.
  void RunGroup(int group);

  RemovalOutcome Check() const;

 private:
  void DeleteFilesAndPatterns();
  void RemoveEmptyDirectories();
  void DeleteProgramMenuEntries();
  void DeleteDesktopEntries();
  void DeleteRegistryKeys();
  void DeleteTrees();
  bool ShellFolder(int folderId, std::wstring& path) const;
  bool MayDeleteTree(const std::wstring& directory) const;
  // A link this installation made: a shell link whose stored target is one of the files the plan
  // deletes (the same file, however spelled), or exactly the website's address.
  bool IsOurLink(const std::wstring& file) const;
  bool IsOurTarget(const std::wstring& target) const;
  void NoteIfOurs(const std::wstring& file, std::vector<std::wstring>& links) const;
  bool MenuFolderIsOurs(const std::wstring& folder) const;
  void FindOurLinks();
  void DeleteOurLink(const std::wstring& file);

  struct Installed {
    std::wstring path;
    bool known = false;  // the file was there, with this identity
    record::FileIdentity identity;
  };
  struct MenuFolderLinks {
    std::wstring folder;
    std::vector<std::wstring> links, beside;  // ours inside it; the one beside it
  };

  const RemovalPlan& plan_;
  const record::ValueRules& rules_;
  HWND owner_;
  std::vector<Installed> installed_;        // the plan's files, before they are deleted
  std::vector<MenuFolderLinks> menuLinks_;  // our links in the program menu, found before any deletion
  std::vector<std::wstring> desktopLinks_;
  std::vector<std::wstring> links_;        // our links, as they were deleted
  std::vector<std::wstring> menuFolders_;  // program-menu folders that held one of them
};

}  // namespace uninstall
