#pragma once
#include <functional>
#include <string>
#include <vector>
#include "gui/core/WinControl.h"

namespace gui {

class DriveComboBox;

// The folders from the drive's root down to the current directory, drawn opened and indented one
// level each, followed by the current directory's subdirectories. A double click or Enter opens an entry.
class DirectoryListBox : public WinControl {
 public:
  static constexpr int kItemHeight = 16;
  static constexpr int kIndent = 10;

  explicit DirectoryListBox(WinControl* parent);  // shows the process's current directory

  // The current directory: a full path without trailing backslash, except at a drive's root.
  const std::string& Directory() const { return directory_; }
  // Another directory (compared without regard to case) is shown and raises OnChange; the same one does nothing.
  void SetDirectory(const std::string& directory);
  // What the list shows: the current directory or, when that does not exist, its nearest existing parent.
  const std::string& ShownDirectory() const { return shown_; }
  const std::vector<std::string>& EntryPaths() const { return entries_; }
  int SelectedIndex() const;
  void OpenEntry(int index);

  std::function<void()> OnChange;
  std::function<void()> OnDblClick;

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  friend class DriveComboBox;
  void Rebuild();
  void DrawEntry(const DRAWITEMSTRUCT& item);

  std::string directory_;
  std::string shown_;
  std::vector<std::string> entries_;
  std::vector<int> levels_;
  size_t openedCount_ = 0;  // entries_[0 .. openedCount_-1] are the opened chain
  DriveComboBox* drives_ = nullptr;
};

// A drop-down list of the machine's drives bound to a directory list: choosing a drive shows that
// drive's current directory in the list.
class DriveComboBox : public WinControl {
 public:
  explicit DriveComboBox(WinControl* parent);
  void SetDirList(DirectoryListBox* list);
  char Drive() const { return drive_; }
  void SetDrive(char letter);  // lower-case letter

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  friend class DirectoryListBox;
  void ShowDrive(char letter);  // selection only, no event
  std::vector<char> letters_;
  char drive_ = 'c';
  DirectoryListBox* list_ = nullptr;
};

}  // namespace gui
