#pragma once
#include <memory>
#include <string>
#include <vector>
#include "Recycler.h"
#include "SearchJob.h"
#include "gui/listview/VirtualCheckListView.h"
#include "duplicates/Marking.h"
#include "gui/core/Form.h"
#include "gui/core/Timer.h"

namespace gui {
class Button;
class CheckBox;
class Edit;
class ListBox;
class ProgressBar;
class StaticText;
}  // namespace gui

// The utility's one window: the folders to search and the search's settings at the top, the groups of
// identical files in the middle, the marking helpers and Delete at the bottom. It can be resized and
// maximised.
class TFormTwinsift : public gui::Form {
 public:
  TFormTwinsift();
  ~TFormTwinsift() override;

  // Shows the window maximised the first time it is shown.
  void SetStartMaximized(bool on) { startMaximized_ = on; }

 protected:
  void FillCreateParams(gui::CreateParams& params) override;
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Which group and file a row of the list shows; file -1 is the group's heading, group -1 a problem (file
  // its index) or a heading of its own (file -1).
  struct Row {
    int group;
    int file;
  };

  void LayOut(int width, int height);
  void AddFolder(const std::string& folder);
  void BtnBrowseClick();
  void BtnAddClick();
  void BtnRemoveClick();
  void BtnSearchClick();
  void BtnCancelClick();
  void SearchDone(duplicates::SearchResult& result);
  void ProgressTimerTimer();
  void MarkWith(const duplicates::Marks& marks);
  void BtnDeleteClick();
  void DeleteDone();
  void ShowDeleteFailures();
  void ShowDeleteProgress();
  std::string RowText(int row, int column) const;
  gui::VirtualCheckListView::Box RowBox(int row) const;
  void ToggleRow(int row);
  void FillList();
  void ShowSummary();
  void SetBusy(bool busy);
  void EndSearch();

  gui::StaticText* lblFolders_;
  gui::ListBox* lstFolders_;
  gui::Button* btnBrowse_;
  gui::Button* btnRemove_;
  gui::Edit* edtFolder_;
  gui::Button* btnAdd_;
  gui::StaticText* lblMinimum_;
  gui::Edit* edtMinimum_;
  gui::CheckBox* cbHidden_;
  gui::Button* btnSearch_;
  gui::Button* btnCancel_;
  gui::StaticText* lblProgress_;
  gui::VirtualCheckListView* lvResults_;
  gui::ProgressBar* pbDelete_;
  gui::Button* btnKeepNewest_;
  gui::Button* btnKeepOldest_;
  gui::Button* btnUnmark_;
  gui::Button* btnDelete_;
  gui::StaticText* lblSummary_;
  gui::Timer progressTimer_;

  std::vector<std::string> folders_;  // UTF-8, as listed
  duplicates::Groups groups_;
  duplicates::Marks marks_;
  std::vector<duplicates::Problem> problems_;
  std::vector<Row> rows_;
  bool incomplete_ = false;  // the groups of a cancelled search
  long utcOffset_ = 0;       // seconds east of UTC, for the times shown
  std::unique_ptr<TSearchJob> job_;
  // A deletion under way: its worker, what it counts, and what it returns.
  std::unique_ptr<TWorkerThread> deleter_;
  bool deleting_ = false;
  std::atomic<std::uint64_t> deleteHandled_{0};
  std::uint64_t deleteTotal_ = 0;
  RecycleOutcome deleteOutcome_;
  bool startMaximized_ = false;
};
