#pragma once
#include <memory>
#include <string>
#include <vector>
#include "DeleteJob.h"
#include "SearchJob.h"
#include "gui/listview/VirtualCheckListView.h"
#include "duplicates/ResultList.h"
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
  void LayOut(int width, int height);
  void AddFolder(const std::string& folder);
  void BtnBrowseClick();
  void BtnAddClick();
  void BtnRemoveClick();
  void BtnReferenceClick();
  std::vector<std::string> ReferenceFolders() const;
  void BtnSearchClick();
  void BtnCancelClick();
  void SearchDone(duplicates::SearchResult& result);
  void ProgressTimerTimer();
  void MarkWith(duplicates::Marks marks);
  void BtnKeepInFolderClick();
  void BtnInvertClick();
  void BtnMarkNamesClick();
  void SortBy(int column);
  void OpenRow(int row);
  void BtnOpenFolderClick();
  void BtnSaveListClick();
  void BtnDeleteClick();
  void StartDeletion(const duplicates::Marks& marks, std::uint64_t total, RecycleBin* bin);
  void OfferDeletionForGood();
  void DeleteDone(RecycleOutcome& outcome);
  void ShowWorkerEnd();
  void ShowDeleteFailures();
  int Ask(const std::string& text, unsigned flags);
  void ShowDeleteProgress();
  gui::VirtualCheckListView::Box RowBox(int row) const;
  void ToggleRow(int row);
  bool Deleting() const { return deleter_ && !deleter_->Finished(); }
  void FillList();  // after the results changed
  void ShowSummary();
  void SetBusy(bool busy);
  void EndSearch();

  gui::StaticText* lblFolders_;
  gui::ListBox* lstFolders_;
  gui::Button* btnBrowse_;
  gui::Button* btnRemove_;
  gui::Button* btnReference_;
  gui::Edit* edtFolder_;
  gui::Button* btnAdd_;
  gui::StaticText* lblMinimum_;
  gui::Edit* edtMinimum_;
  gui::StaticText* lblMaximum_;
  gui::Edit* edtMaximum_;
  gui::StaticText* lblNames_;
  gui::Edit* edtNames_;
  gui::CheckBox* cbHidden_;
  gui::Button* btnSearch_;
  gui::Button* btnCancel_;
  gui::StaticText* lblProgress_;
  gui::VirtualCheckListView* lvResults_;
  gui::ProgressBar* pbDelete_;
  gui::Button* btnKeepNewest_;
  gui::Button* btnKeepOldest_;
  gui::Button* btnUnmark_;
  gui::Button* btnKeepShortest_;
  gui::Button* btnKeepInFolder_;
  gui::Button* btnInvert_;
  gui::Edit* edtPattern_;
  gui::Button* btnMarkNames_;
  gui::Button* btnOpenFolder_;
  gui::Button* btnSaveList_;
  gui::Button* btnDelete_;
  gui::StaticText* lblSummary_;
  gui::Timer progressTimer_;

  std::vector<std::string> folders_;  // UTF-8, as listed
  std::vector<bool> reference_;       // for each folder: its files are never marked nor deleted
  int sortColumn_ = 0;
  bool sortAscending_ = true;
  duplicates::ResultList results_;
  long utcOffset_ = 0;  // seconds east of UTC, for the times shown
  std::unique_ptr<TSearchJob> job_;
  std::unique_ptr<RecycleBin> destroyer_;  // made when the user asks for deletion for good
  duplicates::Marks destroyMarks_;         // what the deletion for good deletes, read by its job
  std::unique_ptr<TDeleteJob> deleter_;  // kept after it ends until the next deletion
  bool forGood_ = false;                 // the running or last deletion deletes for good
  std::uint64_t deleteTotal_ = 0;
  // Shown at the timer's next tick, once the worker that handed them over has returned.
  std::vector<duplicates::Problem> deleteFailures_;
  std::vector<std::string> destroyable_;  // then offered for deletion for good
  std::exception_ptr workerFailure_;
  bool startMaximized_ = false;
};
