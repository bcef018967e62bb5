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
#include "gui/listview/CheckListView.h"
#include "gui/statictext/StaticText.h"

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 24;
constexpr int kTopArea = 172;  // everything above the results list

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
  lvResults_ = &Add<gui::CheckListView>();
  lvResults_->SetColumns({{"File", 480}, {"Size", 90, true}, {"Modified", 120}});
  lvResults_->OnCheckChanged = [this](int row) { ListCheckChanged(row); };
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
  SetSearching(false);
}

TFormTwinsift::~TFormTwinsift() { EndSearch(); }

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
      EndSearch();  // a search still running stops before the window goes
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

void TFormTwinsift::SetSearching(bool searching) {
  for (gui::Control* control : std::initializer_list<gui::Control*>{
           btnBrowse_, btnRemove_, btnAdd_, edtMinimum_, cbHidden_, btnSearch_, btnKeepNewest_, btnKeepOldest_,
           btnUnmark_, btnDelete_})
    control->SetEnabled(!searching);
  btnCancel_->SetEnabled(searching);
}

void TFormTwinsift::BtnSearchClick() {
  if (job_ && !job_->Finished()) return;
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
  FillList();
  lblSummary_->SetCaption("");
  job_ = std::make_unique<TSearchJob>(options, [this](duplicates::SearchResult& result) { SearchDone(result); });
  SetSearching(true);
  ProgressTimerTimer();
  progressTimer_.SetEnabled(true);
  btnCancel_->SetFocus();
}

void TFormTwinsift::BtnCancelClick() {
  if (job_) job_->Cancel();
  btnCancel_->SetEnabled(false);
  lblProgress_->SetCaption("Stopping the search...");
}

void TFormTwinsift::ProgressTimerTimer() {
  if (!job_ || job_->Finished()) return;
  const auto& progress = job_->Progress();
  lblProgress_->SetCaption("Searching: " + Plural(progress.filesSeen.load(), "file", "files") + " seen, " +
                           duplicates::FormatSize(progress.bytesCompared.load()) + " compared");
}

void TFormTwinsift::SearchDone(duplicates::SearchResult& result) {
  progressTimer_.SetEnabled(false);
  if (!job_ || !HandleAllocated()) return;  // the window is closing
  SetSearching(false);
  const auto& progress = job_->Progress();
  std::string seen = Plural(progress.filesSeen.load(), "file", "files") + " seen";
  if (result.cancelled) {
    lblProgress_->SetCaption("The search was cancelled after " + seen + ".");
    return;
  }
  groups_ = std::move(result.groups);
  problems_ = std::move(result.problems);
  marks_ = duplicates::NoMarks(groups_);
  std::string text = "Done: " + seen + ", " + Plural(groups_.size(), "group", "groups") + " of identical files";
  if (!problems_.empty()) text += "; " + Plural(problems_.size(), "file or folder", "files or folders") + " could not be read (listed at the end)";
  lblProgress_->SetCaption(text + ".");
  FillList();
  btnSearch_->SetFocus();
}

void TFormTwinsift::EndSearch() {
  progressTimer_.SetEnabled(false);
  job_.reset();
}

void TFormTwinsift::FillList() {
  filling_ = true;
  lvResults_->BeginUpdate();
  lvResults_->Clear();
  rows_.clear();
  const long offset = UtcOffsetSeconds();
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    const auto& group = groups_[g];
    lvResults_->AddRow({"Group " + std::to_string(g + 1) + ": " + std::to_string(group.size()) + " identical files, " +
                            duplicates::FormatSize(duplicates::WastedBytes(group)) + " wasted",
                        "", ""},
                       false);
    rows_.push_back({static_cast<int>(g), -1});
    for (std::size_t f = 0; f < group.size(); ++f) {
      int row = lvResults_->AddRow({"    " + group[f].path, duplicates::FormatSize(group[f].size),
                                    duplicates::FormatTime(group[f].modified, offset)},
                                   true);
      if (marks_[g][f]) lvResults_->SetChecked(row, true);
      rows_.push_back({static_cast<int>(g), static_cast<int>(f)});
    }
  }
  if (!problems_.empty()) {
    lvResults_->AddRow({"Could not be read, so not compared:", "", ""}, false);
    rows_.push_back({-1, -1});
    for (const auto& problem : problems_) {
      lvResults_->AddRow({"    " + problem.path + " (" + problem.message + ")", "", ""}, false);
      rows_.push_back({-1, -1});
    }
  }
  lvResults_->EndUpdate();
  filling_ = false;
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

void TFormTwinsift::ListCheckChanged(int row) {
  if (filling_ || row < 0 || row >= static_cast<int>(rows_.size())) return;
  const Row& where = rows_[static_cast<std::size_t>(row)];
  if (where.group < 0 || where.file < 0) return;
  marks_[static_cast<std::size_t>(where.group)][static_cast<std::size_t>(where.file)] = lvResults_->Checked(row);
  ShowSummary();
}

void TFormTwinsift::MarkWith(const duplicates::Marks& marks) {
  marks_ = marks;
  filling_ = true;
  for (std::size_t row = 0; row < rows_.size(); ++row)
    if (rows_[row].group >= 0 && rows_[row].file >= 0)
      lvResults_->SetChecked(static_cast<int>(row), marks_[static_cast<std::size_t>(rows_[row].group)]
                                                          [static_cast<std::size_t>(rows_[row].file)]);
  filling_ = false;
  ShowSummary();
}

void TFormTwinsift::BtnDeleteClick() {
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
  RecycleOutcome outcome = RecycleMarked(groups_, marks_);
  duplicates::Groups kept;
  duplicates::Marks keptMarks;
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    std::vector<duplicates::FoundFile> left;
    std::vector<bool> leftMarks;
    for (std::size_t f = 0; f < groups_[g].size(); ++f)
      if (!outcome.deleted[g][f]) {
        left.push_back(groups_[g][f]);
        leftMarks.push_back(marks_[g][f]);
      }
    if (left.size() >= 2) {
      kept.push_back(std::move(left));
      keptMarks.push_back(std::move(leftMarks));
    }
  }
  groups_ = std::move(kept);
  marks_ = std::move(keptMarks);
  FillList();
  lblProgress_->SetCaption("Moved " + Plural(outcome.count, "file", "files") + " to the Recycle Bin" +
                           (outcome.failures.empty() ? "." : "; " + Plural(outcome.failures.size(), "file was", "files were") + " not deleted."));
  if (!outcome.failures.empty()) {
    std::string text = "These files were not deleted:\n";
    std::size_t shown = 0;
    for (const auto& failure : outcome.failures) {
      if (++shown > 20) {
        text += "... and " + std::to_string(outcome.failures.size() - 20) + " more\n";
        break;
      }
      text += "\n" + duplicates::AnsiFromUtf8(failure.path) + ": " + failure.message;
    }
    MessageBoxA(Handle(), text.c_str(), gui::Application::Instance().Title().c_str(), MB_OK | MB_ICONWARNING);
  }
}
