#pragma once
#include <string>
#include "win32/UniqueHandle.h"

// The remover's start, from its folder's making until it runs: a new protected folder of its own in the
// temporary folder, and the remover's file in it, both held open without write or delete sharing so
// that a process of the same user can neither rename them away nor put another program in their place.
// Moved from the uninstaller's window to its entry point, which starts it as the program ends.
class RemoverStart {
 public:
  RemoverStart() = default;  // starts nothing
  RemoverStart(RemoverStart&&) noexcept = default;
  RemoverStart& operator=(RemoverStart&&) noexcept = default;

  // Makes and holds the folder; raises gui::Error when it cannot. Ends with a backslash.
  const std::wstring& MakeFolder();
  // The remover's file, written into the folder: held from now on. False when it cannot be opened.
  bool HoldProgram();
  // The remover's command line, its quoted program path first.
  void SetCommand(std::wstring command) { command_ = std::move(command); }

  bool Ready() const { return program_.valid() && !command_.empty(); }
  // Starts the remover by its full path, never by a search, then lets go of the folder and the file.
  bool Start();

  const std::wstring& Folder() const { return folder_; }
  std::wstring ProgramPath() const;

 private:
  std::wstring folder_;
  std::wstring command_;
  win32::UniqueHandle folderHandle_, program_;
};
