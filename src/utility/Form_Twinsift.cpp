#include "Form_Twinsift.h"
#include <algorithm>
#include "Recycler.h"
#include "gui/button/Button.h"
#include "gui/checkbox/CheckBox.h"
#include "gui/core/Application.h"
#include "gui/core/Error.h"
#include "gui/edit/Edit.h"
#include "gui/folderdialog/FolderDialog.h"
#include "gui/listbox/ListBox.h"
#include "gui/progressbar/ProgressBar.h"
#include "gui/statictext/StaticText.h"

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 24;
constexpr int kTopArea = 172;  // everything above the results list
// Rows that show no file: Row::group holds one of these, or -1 for a problem (Row::file its index).
constexpr int kProblem = -1;
constexpr int kProblemsHeading = -2;
constexpr int kIncompleteHeading = -3;

long UtcOffsetSeconds() {
  TIME_ZONE_INFORMATION zone;
  DWORD kind = GetTimeZoneInformation(&zone);
  long bias = zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0);
  return -bias * 60;
}

std::string Plural(std::uint64_t count, const char* one, const char* many) {
  return duplicates::FormatCount(count) + " " + (count == 1 ? one : many);
}

}  // namespace

TFormTwinsift::TFormTwinsift() {
  SetName("FormTwinsift");
  SetCaption("Twinsift");
  lblFolders_ = &Add<gui::StaticText>();
  lblFolders_->SetCaption("Folders to search:");
  lstFolders_ = &Add<gui::ListBox>();
  btnBrowse_ = &Add<gui::Button>("&Browse...");
  btnBrowse_->OnClick = [this] { BtnBrowseClick(); };
  btnRemove_ = &Add<gui::Button>("&Remove");
  btnRemove_->OnClick = [this] { BtnRemoveClick(); };
  edtFolder_ = &Add<gui::Edit>();
  btnAdd_ = &Add<gui::Button>("&Add folder");
  btnAdd_->OnClick = [this] { BtnAddClick(); };
  lblMinimum_ = &Add<gui::StaticText>();
  lblMinimum_->SetCaption("Minimum size in bytes:");
  edtMinimum_ = &Add<gui::Edit>();
  edtMinimum_->SetText("1");
  cbHidden_ = &Add<gui::CheckBox>();
  cbHidden_->SetCaption("Include &hidden and system files");
  btnSearch_ = &Add<gui::Button>("&Search");
  btnSearch_->OnClick = [this] { BtnSearchClick(); };
  btnCancel_ = &Add<gui::Button>("&Cancel");
  btnCancel_->OnClick = [this] { BtnCancelClick(); };
  btnCancel_->SetEnabled(false);
  lblProgress_ = &Add<gui::StaticText>();
  lblProgress_->SetCaption("Add the folders to search, then press Search.");
  lvResults_ = &Add<gui::VirtualCheckListView>();
  lvResults_->SetColumns({{"File", 480}, {"Size", 90, true}, {"Modified", 120}});
  lvResults_->OnGetText = [this](int row, int column) { return RowText(row, column); };
  lvResults_->OnGetBox = [this](int row) { return RowBox(row); };
  lvResults_->OnToggle = [this](int row) { ToggleRow(row); };
  pbDelete_ = &Add<gui::ProgressBar>();
  pbDelete_->SetVisible(false);
  pbDelete_->SetRedrawInterval(50);
  btnKeepNewest_ = &Add<gui::Button>("Keep &newest");
  btnKeepNewest_->OnClick = [this] { MarkWith(duplicates::MarkAllBut(groups_, duplicates::Keep::Newest)); };
  btnKeepOldest_ = &Add<gui::Button>("Keep &oldest");
  btnKeepOldest_->OnClick = [this] { MarkWith(duplicates::MarkAllBut(groups_, duplicates::Keep::Oldest)); };
  btnUnmark_ = &Add<gui::Button>("&Unmark all");
  btnUnmark_->OnClick = [this] { MarkWith(duplicates::NoMarks(groups_)); };
  btnDelete_ = &Add<gui::Button>("&Delete marked...");
  btnDelete_->OnClick = [this] { BtnDeleteClick(); };
  lblSummary_ = &Add<gui::StaticText>();
  progressTimer_.SetEnabled(false);
  progressTimer_.SetInterval(100);
  progressTimer_.OnTimer = [this] { ProgressTimerTimer(); };
  SetClientSize(780, 540);
  SetBusy(false);
}

TFormTwinsift::~TFormTwinsift() {
  EndSearch();
  deleter_.reset();
}

void TFormTwinsift::FillCreateParams(gui::CreateParams& params) {
  gui::Form::FillCreateParams(params);
  params.style = kStyle;
  params.exStyle = kExStyle;
}

void TFormTwinsift::HandleCreated() {
  gui::Form::HandleCreated();
  RECT frame{0, 0, ClientWidth(), ClientHeight()};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  SetBounds(Left(), Top(), frame.right - frame.left, frame.bottom - frame.top);
  OnShow = [this] {
    if (startMaximized_) ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    startMaximized_ = false;
  };
}

LRESULT TFormTwinsift::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayOut(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {620, 420};
      return 0;
    }
    case WM_CLOSE:
      EndSearch();  // a search or deletion still running stops before the window goes
      deleter_.reset();
      break;
  }
  return gui::Form::WndProc(message, wParam, lParam);
}

void TFormTwinsift::LayOut(int width, int height) {
  const int right = width - kMargin - kButtonWidth;  // left edge of the right-hand column of buttons
  const int wide = right - 2 * kMargin;
  lblFolders_->SetBounds(kMargin, kMargin, wide, 16);
  lstFolders_->SetBounds(kMargin, 26, wide, 64);
  btnBrowse_->SetBounds(right, 26, kButtonWidth, kButtonHeight);
  btnRemove_->SetBounds(right, 56, kButtonWidth, kButtonHeight);
  edtFolder_->SetBounds(kMargin, 98, wide, 22);
  btnAdd_->SetBounds(right, 97, kButtonWidth, kButtonHeight);
  lblMinimum_->SetBounds(kMargin, 134, 124, 16);
  edtMinimum_->SetBounds(kMargin + 126, 130, 90, 22);
  cbHidden_->SetBounds(kMargin + 232, 131, 220, 20);
  btnSearch_->SetBounds(right - kButtonWidth - kMargin, 129, kButtonWidth, kButtonHeight);
  btnCancel_->SetBounds(right, 129, kButtonWidth, kButtonHeight);
  lblProgress_->SetBounds(kMargin, 156, width - 2 * kMargin, 16);
  const int bottom = height - kMargin - kButtonHeight;
  lvResults_->SetBounds(kMargin, kTopArea + 4, width - 2 * kMargin, std::max(40, bottom - kMargin - kTopArea - 4));
  btnKeepNewest_->SetBounds(kMargin, bottom, 100, kButtonHeight);
  btnKeepOldest_->SetBounds(kMargin + 106, bottom, 100, kButtonHeight);
  btnUnmark_->SetBounds(kMargin + 212, bottom, 100, kButtonHeight);
  btnDelete_->SetBounds(right, bottom, kButtonWidth, kButtonHeight);
  lblSummary_->SetBounds(kMargin + 320, bottom + 5, std::max(40, right - kMargin - 328), 16);
  pbDelete_->SetBounds(kMargin + 320, bottom + 3, std::max(40, right - kMargin - 328), 18);
}

void TFormTwinsift::AddFolder(const std::string& folder) {
  DWORD attributes = GetFileAttributesW(duplicates::WideFromUtf8(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw gui::Error("There is no folder \"" + duplicates::AnsiFromUtf8(folder) + "\"");
  if (std::find(folders_.begin(), folders_.end(), folder) != folders_.end()) return;
  folders_.push_back(folder);
  lstFolders_->AddItem(duplicates::AnsiFromUtf8(folder));
}

void TFormTwinsift::BtnBrowseClick() {
  std::string folder = gui::PickFolder(Handle(), "Choose a folder to search for duplicate files");
  if (!folder.empty()) AddFolder(folder);
}

void TFormTwinsift::BtnAddClick() {
  std::string typed = edtFolder_->Text();
  typed.erase(0, typed.find_first_not_of(" \t"));
  typed.erase(typed.find_last_not_of(" \t") + 1);
  if (typed.empty()) throw gui::Error("Type a folder to add, or choose one with Browse");
  AddFolder(duplicates::Utf8FromAnsi(typed));
  edtFolder_->SetText("");
}

void TFormTwinsift::BtnRemoveClick() {
  int index = lstFolders_->SelectedIndex();
  if (index < 0) return;
  folders_.erase(folders_.begin() + index);
  lstFolders_->RemoveItem(index);
}

// While a search or a deletion runs, only Cancel works; the list can still be scrolled.
void TFormTwinsift::SetBusy(bool busy) {
  for (gui::Control* control : std::initializer_list<gui::Control*>{
           btnBrowse_, btnRemove_, btnAdd_, edtMinimum_, cbHidden_, btnSearch_, btnKeepNewest_, btnKeepOldest_,
           btnUnmark_, btnDelete_})
    control->SetEnabled(!busy);
  btnCancel_->SetEnabled(busy);
}

void TFormTwinsift::BtnSearchClick() {
  if ((job_ && !job_->Finished()) || deleting_) return;
  if (folders_.empty()) throw gui::Error("Add a folder to search first");
  std::string minimum = edtMinimum_->Text();
  if (minimum.empty() || minimum.size() > 18 || minimum.find_first_not_of("0123456789") != std::string::npos)
    throw gui::Error("The minimum size must be a whole number of bytes");
  duplicates::SearchOptions options;
  options.folders = folders_;
  options.minimumSize = std::max<std::uint64_t>(1, std::stoull(minimum));
  options.includeHidden = cbHidden_->Checked();
  job_.reset();
  groups_.clear();
  marks_.clear();
  problems_.clear();
  incomplete_ = false;
  FillList();
  lblSummary_->SetCaption("");
  job_ = std::make_unique<TSearchJob>(options, [this](duplicates::SearchResult& result) { SearchDone(result); });
  SetBusy(true);
  ProgressTimerTimer();
  progressTimer_.SetEnabled(true);
  btnCancel_->SetFocus();
}

void TFormTwinsift::BtnCancelClick() {
  if (deleting_) {
    deleter_->Stop();
    btnCancel_->SetEnabled(false);
    lblProgress_->SetCaption("Stopping the deletion...");
    return;
  }
  if (job_) job_->Cancel();
  btnCancel_->SetEnabled(false);
  lblProgress_->SetCaption("Stopping the search...");
}

void TFormTwinsift::ProgressTimerTimer() {
  if (deleting_) {
    ShowDeleteProgress();
    return;
  }
  if (!deleteOutcome_.failures.empty()) {
    ShowDeleteFailures();
    return;
  }
  if (!job_ || job_->Finished()) return;
  const auto& progress = job_->Progress();
  lblProgress_->SetCaption("Searching: " + Plural(progress.filesSeen.load(), "file", "files") + " seen, " +
                           duplicates::FormatSize(progress.bytesCompared.load()) + " compared");
}

void TFormTwinsift::SearchDone(duplicates::SearchResult& result) {
  progressTimer_.SetEnabled(false);
  if (!job_ || !HandleAllocated()) return;  // the window is closing
  SetBusy(false);
  const auto& progress = job_->Progress();
  std::string seen = Plural(progress.filesSeen.load(), "file", "files") + " seen";
  groups_ = std::move(result.groups);
  problems_ = std::move(result.problems);
  marks_ = duplicates::NoMarks(groups_);
  incomplete_ = result.cancelled;
  std::string text = result.cancelled ? "The search was cancelled after " + seen + "; " +
                                            Plural(groups_.size(), "group", "groups") + " of identical files found so far, incomplete"
                                      : "Done: " + seen + ", " + Plural(groups_.size(), "group", "groups") + " of identical files";
  if (!problems_.empty()) text += "; " + Plural(problems_.size(), "file or folder", "files or folders") + " could not be read (listed at the end)";
  FillList();  // "Done" once the groups are in the list
  lblProgress_->SetCaption(text + ".");
  btnSearch_->SetFocus();
}

void TFormTwinsift::EndSearch() {
  progressTimer_.SetEnabled(false);
  job_.reset();
}

void TFormTwinsift::FillList() {
  rows_.clear();
  utcOffset_ = UtcOffsetSeconds();
  if (incomplete_) rows_.push_back({kIncompleteHeading, -1});
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    rows_.push_back({static_cast<int>(g), -1});
    for (std::size_t f = 0; f < groups_[g].size(); ++f) rows_.push_back({static_cast<int>(g), static_cast<int>(f)});
  }
  if (!problems_.empty()) {
    rows_.push_back({kProblemsHeading, -1});
    for (std::size_t p = 0; p < problems_.size(); ++p) rows_.push_back({kProblem, static_cast<int>(p)});
  }
  lvResults_->SetRowCount(static_cast<int>(rows_.size()));
  ShowSummary();
}

std::string TFormTwinsift::RowText(int row, int column) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
  const Row& where = rows_[static_cast<std::size_t>(row)];
  if (where.group == kIncompleteHeading)
    return column == 0 ? "Incomplete: the search was cancelled, so some copies and groups are missing" : "";
  if (where.group == kProblemsHeading) return column == 0 ? "Could not be read, so not compared:" : "";
  if (where.group == kProblem) {
    const auto& problem = problems_[static_cast<std::size_t>(where.file)];
    return column == 0 ? "    " + problem.path + " (" + problem.message + ")" : "";
  }
  const auto& group = groups_[static_cast<std::size_t>(where.group)];
  if (where.file < 0)
    return column == 0 ? "Group " + std::to_string(where.group + 1) + ": " + std::to_string(group.size()) +
                             " identical files, " + duplicates::FormatSize(duplicates::WastedBytes(group)) + " wasted"
                       : "";
  const auto& file = group[static_cast<std::size_t>(where.file)];
  switch (column) {
    case 0: return "    " + file.path;
    case 1: return duplicates::FormatSize(file.size);
    case 2: return duplicates::FormatTime(file.modified, utcOffset_);
  }
  return {};
}

gui::VirtualCheckListView::Box TFormTwinsift::RowBox(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return gui::VirtualCheckListView::Box::None;
  const Row& where = rows_[static_cast<std::size_t>(row)];
  if (where.group < 0 || where.file < 0) return gui::VirtualCheckListView::Box::None;
  return marks_[static_cast<std::size_t>(where.group)][static_cast<std::size_t>(where.file)]
             ? gui::VirtualCheckListView::Box::Ticked
             : gui::VirtualCheckListView::Box::Unticked;
}

void TFormTwinsift::ToggleRow(int row) {
  if (deleting_ || row < 0 || row >= static_cast<int>(rows_.size())) return;
  const Row& where = rows_[static_cast<std::size_t>(row)];
  if (where.group < 0 || where.file < 0) return;
  marks_[static_cast<std::size_t>(where.group)][static_cast<std::size_t>(where.file)].flip();
  ShowSummary();
}

void TFormTwinsift::ShowSummary() {
  std::uint64_t files = 0, marked = 0, markedBytes = 0;
  for (std::size_t g = 0; g < groups_.size(); ++g)
    for (std::size_t f = 0; f < groups_[g].size(); ++f) {
      ++files;
      if (marks_[g][f]) {
        ++marked;
        markedBytes += groups_[g][f].size;
      }
    }
  if (groups_.empty()) {
    lblSummary_->SetCaption("");
    return;
  }
  lblSummary_->SetCaption(Plural(groups_.size(), "group", "groups") + ", " + Plural(files, "file", "files") + ", " +
                          duplicates::FormatSize(duplicates::WastedBytes(groups_)) + " wasted; " +
                          duplicates::FormatCount(marked) + " marked (" + duplicates::FormatSize(markedBytes) + ")");
}

void TFormTwinsift::MarkWith(const duplicates::Marks& marks) {
  marks_ = marks;
  lvResults_->RedrawAll();
  ShowSummary();
}

void TFormTwinsift::BtnDeleteClick() {
  if (deleting_ || (job_ && !job_->Finished())) return;
  std::uint64_t count = 0, bytes = 0;
  for (std::size_t g = 0; g < groups_.size(); ++g)
    for (std::size_t f = 0; f < groups_[g].size(); ++f)
      if (marks_[g][f]) {
        ++count;
        bytes += groups_[g][f].size;
      }
  if (count == 0) throw gui::Error("No files are marked for deletion");
  int full = duplicates::FirstFullyMarkedGroup(marks_);
  if (full >= 0)
    throw gui::Error("Every copy in group " + std::to_string(full + 1) +
                     " is marked. Keep at least one copy of each file: nothing was deleted");
  std::string question = "Move " + Plural(count, "marked file", "marked files") + " (" + duplicates::FormatSize(bytes) +
                         ") to the Recycle Bin?";
  if (MessageBoxA(Handle(), question.c_str(), gui::Application::Instance().Title().c_str(),
                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
    return;
  deleter_.reset();  // the last deletion's worker, long returned
  deleteHandled_ = 0;
  deleteTotal_ = count;
  deleteOutcome_ = {};
  deleting_ = true;
  // The worker reads groups_ and marks_: nothing changes them until it has handed over (SetBusy, ToggleRow).
  deleter_ = std::make_unique<TWorkerThread>(
      [this](const std::atomic<bool>& stop) { deleteOutcome_ = RecycleMarked(groups_, marks_, deleteHandled_, stop); },
      [this] { DeleteDone(); });
  SetBusy(true);
  lblSummary_->SetVisible(false);
  pbDelete_->SetRange(0, static_cast<int>(std::min<std::uint64_t>(count, 0x7fffffff)));
  pbDelete_->SetPosition(0);
  pbDelete_->SetVisible(true);
  ShowDeleteProgress();
  progressTimer_.SetEnabled(true);
  btnCancel_->SetFocus();
}

void TFormTwinsift::ShowDeleteProgress() {
  std::uint64_t handled = deleteHandled_.load();
  pbDelete_->SetPosition(static_cast<int>(std::min<std::uint64_t>(handled, 0x7fffffff)));
  if (btnCancel_->Enabled())
    lblProgress_->SetCaption("Moving marked files to the Recycle Bin: " + duplicates::FormatCount(handled) + " of " +
                             duplicates::FormatCount(deleteTotal_) + " done");
}

// On the GUI thread while the deletion's worker hands over: it waits, so nothing here may wait for it.
void TFormTwinsift::DeleteDone() {
  deleting_ = false;
  if (!HandleAllocated()) return;  // the window is closing
  RecycleOutcome& outcome = deleteOutcome_;
  duplicates::Groups kept;
  duplicates::Marks keptMarks;
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    std::vector<duplicates::FoundFile> left;
    std::vector<bool> leftMarks;
    for (std::size_t f = 0; f < groups_[g].size(); ++f)
      if (!outcome.deleted[g][f]) {
        left.push_back(std::move(groups_[g][f]));
        leftMarks.push_back(marks_[g][f]);
      }
    if (left.size() >= 2) {
      kept.push_back(std::move(left));
      keptMarks.push_back(std::move(leftMarks));
    }
  }
  groups_ = std::move(kept);
  marks_ = std::move(keptMarks);
  pbDelete_->SetVisible(false);
  lblSummary_->SetVisible(true);
  SetBusy(false);
  FillList();
  std::string text = "Moved " + Plural(outcome.count, "file", "files") + " to the Recycle Bin";
  if (outcome.stopped) text += "; the deletion was cancelled";
  if (!outcome.failures.empty()) text += "; " + Plural(outcome.failures.size(), "file was", "files were") + " not deleted";
  lblProgress_->SetCaption(text + ".");
  // The failures are shown at the next tick, once the worker has returned.
  if (outcome.failures.empty()) progressTimer_.SetEnabled(false);
}

void TFormTwinsift::ShowDeleteFailures() {
  progressTimer_.SetEnabled(false);
  std::vector<duplicates::Problem> failures = std::move(deleteOutcome_.failures);
  deleteOutcome_ = {};
  if (!failures.empty()) {
    std::string message = "These files were not deleted:\n";
    std::size_t shown = 0;
    for (const auto& failure : failures) {
      if (++shown > 20) {
        message += "... and " + std::to_string(failures.size() - 20) + " more\n";
        break;
      }
      message += "\n" + duplicates::AnsiFromUtf8(failure.path) + ": " + failure.message;
    }
    MessageBoxA(Handle(), message.c_str(), gui::Application::Instance().Title().c_str(), MB_OK | MB_ICONWARNING);
  }
}
