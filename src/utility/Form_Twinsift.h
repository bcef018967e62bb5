#pragma once
#include <memory>
#include <string>
#include <vector>
#include "SearchJob.h"
#include "duplicates/Marking.h"
#include "gui/form/Form.h"
#include "gui/timer/Timer.h"

namespace gui {
class Button;
class CheckBox;
class CheckListView;
class Edit;
class ListBox;
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
  // Which group and file a row of the list shows; file -1 is the group's heading, group -1 a problem.
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
  void ListCheckChanged(int row);
  void FillList();
  void ShowSummary();
  void SetSearching(bool searching);
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
  gui::CheckListView* lvResults_;
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
  std::unique_ptr<TSearchJob> job_;
  bool filling_ = false;
  bool startMaximized_ = false;
};
