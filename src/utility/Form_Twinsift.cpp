#include "Form_Twinsift.h"
#include <commdlg.h>
#include <shellapi.h>
#include <algorithm>
#include <utility>
#include "gui/button/Button.h"
#include "gui/checkbox/CheckBox.h"
#include "gui/core/Application.h"
#include "gui/core/Dpi.h"
#include "gui/core/Error.h"
#include "gui/edit/Edit.h"
#include "gui/folderdialog/FolderDialog.h"
#include "gui/listbox/ListBox.h"
#include "gui/progressbar/ProgressBar.h"
#include "gui/statictext/StaticText.h"
#include "duplicates/Safeguards.h"
#include "win32/TextCodes.h"
#include "win32/UniqueHandle.h"

namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 24;
constexpr int kTopArea = 224;  // everything above the results list

long UtcOffsetSeconds() {
  TIME_ZONE_INFORMATION zone;
  DWORD kind = GetTimeZoneInformation(&zone);
  long bias = zone.Bias + (kind == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0);
  return -bias * 60;
}

using duplicates::Plural;

bool WriteAll(const std::wstring& path, DWORD disposition, const std::string& text) {
  win32::UniqueHandle file(CreateFileW(path.c_str(), disposition == OPEN_ALWAYS ? FILE_APPEND_DATA : GENERIC_WRITE,
                                       FILE_SHARE_READ, nullptr, disposition, 0, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

// TWINSIFT_STARTS names a file that takes a line for each program the window would start, instead of
// starting it: what a test of the window checks.
bool LoggedInstead(const std::string& what) {
  wchar_t log[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"TWINSIFT_STARTS", log, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  WriteAll(log, OPEN_ALWAYS, what + "\r\n");
  return true;
}

// A size typed in bytes; an empty box gives empty.
std::uint64_t SizeTyped(const std::string& typed, std::uint64_t empty, const char* which) {
  if (typed.empty() && empty) return empty;
  if (typed.empty() || typed.size() > 18 || typed.find_first_not_of("0123456789") != std::string::npos)
    throw gui::Error(std::string("The ") + which + " size must be a whole number of bytes");
  return std::stoull(typed);
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
  btnReference_ = &Add<gui::Button>("Re&ference");
  btnReference_->OnClick = [this] { BtnReferenceClick(); };
  edtFolder_ = &Add<gui::Edit>();
  btnAdd_ = &Add<gui::Button>("&Add folder");
  btnAdd_->OnClick = [this] { BtnAddClick(); };
  lblMinimum_ = &Add<gui::StaticText>();
  lblMinimum_->SetCaption("Minimum size in bytes:");
  edtMinimum_ = &Add<gui::Edit>();
  edtMinimum_->SetText("1");
  lblMaximum_ = &Add<gui::StaticText>();
  lblMaximum_->SetCaption("Maximum:");
  edtMaximum_ = &Add<gui::Edit>();
  lblNames_ = &Add<gui::StaticText>();
  lblNames_->SetCaption("Only names like:");
  edtNames_ = &Add<gui::Edit>();
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
  lvResults_->OnGetText = [this](int row, int column) { return results_.Text(row, column, utcOffset_); };
  lvResults_->OnGetBox = [this](int row) { return RowBox(row); };
  lvResults_->OnToggle = [this](int row) { ToggleRow(row); };
  lvResults_->OnColumnClick = [this](int column) { SortBy(column); };
  lvResults_->OnActivate = [this](int row) { OpenRow(row); };
  pbDelete_ = &Add<gui::ProgressBar>();
  pbDelete_->SetVisible(false);
  pbDelete_->SetRedrawInterval(50);
  btnKeepNewest_ = &Add<gui::Button>("Keep &newest");
  btnKeepNewest_->OnClick = [this] { MarkWith(duplicates::MarkAllBut(results_.groups(), duplicates::Keep::Newest)); };
  btnKeepOldest_ = &Add<gui::Button>("Keep &oldest");
  btnKeepOldest_->OnClick = [this] { MarkWith(duplicates::MarkAllBut(results_.groups(), duplicates::Keep::Oldest)); };
  btnUnmark_ = &Add<gui::Button>("&Unmark all");
  btnUnmark_->OnClick = [this] { MarkWith(duplicates::NoMarks(results_.groups())); };
  btnKeepShortest_ = &Add<gui::Button>("Keep shor&test");
  btnKeepShortest_->OnClick = [this] {
    MarkWith(duplicates::MarkAllBut(results_.groups(), duplicates::Keep::ShortestPath));
  };
  btnKeepInFolder_ = &Add<gui::Button>("Keep in fold&er");
  btnKeepInFolder_->OnClick = [this] { BtnKeepInFolderClick(); };
  btnInvert_ = &Add<gui::Button>("&Invert group");
  btnInvert_->OnClick = [this] { BtnInvertClick(); };
  edtPattern_ = &Add<gui::Edit>();
  edtPattern_->SetText("*.tmp");
  btnMarkNames_ = &Add<gui::Button>("&Mark names");
  btnMarkNames_->OnClick = [this] { BtnMarkNamesClick(); };
  btnOpenFolder_ = &Add<gui::Button>("Open fo&lder");
  btnOpenFolder_->OnClick = [this] { BtnOpenFolderClick(); };
  btnSaveList_ = &Add<gui::Button>("Sa&ve list...");
  btnSaveList_->OnClick = [this] { BtnSaveListClick(); };
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
  RECT frame{0, 0, gui::Scale(ClientWidth()), gui::Scale(ClientHeight())};
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
      LayOut(gui::Unscale(LOWORD(lParam)), gui::Unscale(HIWORD(lParam)));
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {gui::Scale(720), gui::Scale(460)};
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
  lstFolders_->SetBounds(kMargin, 26, wide, 86);
  btnBrowse_->SetBounds(right, 26, kButtonWidth, kButtonHeight);
  btnRemove_->SetBounds(right, 56, kButtonWidth, kButtonHeight);
  btnReference_->SetBounds(right, 86, kButtonWidth, kButtonHeight);
  edtFolder_->SetBounds(kMargin, 120, wide, 22);
  btnAdd_->SetBounds(right, 119, kButtonWidth, kButtonHeight);
  lblMinimum_->SetBounds(kMargin, 156, 124, 16);
  edtMinimum_->SetBounds(kMargin + 126, 152, 90, 22);
  lblMaximum_->SetBounds(kMargin + 232, 156, 56, 16);
  edtMaximum_->SetBounds(kMargin + 290, 152, 90, 22);
  lblNames_->SetBounds(kMargin, 186, 124, 16);
  edtNames_->SetBounds(kMargin + 126, 182, 254, 22);
  cbHidden_->SetBounds(kMargin + 396, 183, 220, 20);
  btnSearch_->SetBounds(right - kButtonWidth - kMargin, 151, kButtonWidth, kButtonHeight);
  btnCancel_->SetBounds(right, 151, kButtonWidth, kButtonHeight);
  lblProgress_->SetBounds(kMargin, 208, width - 2 * kMargin, 16);
  const int bottom = height - kMargin - kButtonHeight;
  const int upper = bottom - kButtonHeight - 6;  // the row of marking helpers
  lvResults_->SetBounds(kMargin, kTopArea + 4, width - 2 * kMargin, std::max(40, upper - kMargin - kTopArea - 4));
  int x = kMargin;
  for (gui::Control* button : std::initializer_list<gui::Control*>{btnKeepNewest_, btnKeepOldest_, btnKeepShortest_,
                                                                    btnKeepInFolder_, btnInvert_, btnUnmark_}) {
    button->SetBounds(x, upper, 84, kButtonHeight);
    x += 88;
  }
  btnSaveList_->SetBounds(right, upper, kButtonWidth, kButtonHeight);
  edtPattern_->SetBounds(kMargin, bottom + 1, 84, 22);
  btnMarkNames_->SetBounds(kMargin + 88, bottom, 84, kButtonHeight);
  btnOpenFolder_->SetBounds(kMargin + 176, bottom, 84, kButtonHeight);
  btnDelete_->SetBounds(right, bottom, kButtonWidth, kButtonHeight);
  lblSummary_->SetBounds(kMargin + 268, bottom + 5, std::max(40, right - kMargin - 276), 16);
  pbDelete_->SetBounds(kMargin + 268, bottom + 3, std::max(40, right - kMargin - 276), 18);
}

// The list holds each folder once, where it really is: a second spelling of a folder, or a folder inside
// one listed, would make every file in it a copy of itself.
void TFormTwinsift::AddFolder(const std::string& folder) {
  DWORD attributes = GetFileAttributesW(duplicates::WideFromUtf8(folder).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    throw gui::Error("There is no folder \"" + folder + "\"");
  std::string real, error;
  if (!duplicates::RealFolder(folder, real, error))
    throw gui::Error("The folder \"" + folder + "\" cannot be opened: " + error);
  duplicates::FolderPlace place = duplicates::PlaceFolder(folders_, real);
  if (place.holder >= 0) {
    const std::string& holder = folders_[static_cast<std::size_t>(place.holder)];
    if (duplicates::FolderHolds(real, holder))
      throw gui::Error("The folder \"" + folder + "\" is already in the list as \"" +
                       holder + "\"");
    throw gui::Error("The folder \"" + folder + "\" is inside \"" +
                     holder + "\", which is already in the list");
  }
  for (auto held = place.held.rbegin(); held != place.held.rend(); ++held) {  // from the end: indexes stay true
    folders_.erase(folders_.begin() + static_cast<std::ptrdiff_t>(*held));
    lstFolders_->RemoveItem(static_cast<int>(*held));
  }
  for (auto held = place.held.rbegin(); held != place.held.rend(); ++held)
    reference_.erase(reference_.begin() + static_cast<std::ptrdiff_t>(*held));
  folders_.push_back(real);
  reference_.push_back(false);
  lstFolders_->AddItem(real);
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
  AddFolder(typed);
  edtFolder_->SetText("");
}

void TFormTwinsift::BtnRemoveClick() {
  int index = lstFolders_->SelectedIndex();
  if (index < 0) return;
  folders_.erase(folders_.begin() + index);
  reference_.erase(reference_.begin() + index);
  lstFolders_->RemoveItem(index);
}

// A reference folder's files are shown with their copies elsewhere but never marked, and never deleted.
void TFormTwinsift::BtnReferenceClick() {
  int index = lstFolders_->SelectedIndex();
  if (index < 0) throw gui::Error("Select a folder in the list to make it a reference");
  const bool now = !reference_[static_cast<std::size_t>(index)];
  reference_[static_cast<std::size_t>(index)] = now;
  lstFolders_->SetItem(index, folders_[static_cast<std::size_t>(index)] + (now ? "   (reference)" : ""));
}

std::vector<std::string> TFormTwinsift::ReferenceFolders() const {
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < folders_.size(); ++i)
    if (reference_[i]) folders.push_back(folders_[i]);
  return folders;
}

// While a search or a deletion runs, only Cancel works; the list can still be scrolled.
void TFormTwinsift::SetBusy(bool busy) {
  for (gui::Control* control : std::initializer_list<gui::Control*>{
           btnBrowse_, btnRemove_, btnReference_, btnAdd_, edtMinimum_, edtMaximum_, edtNames_, cbHidden_, btnSearch_,
           btnKeepNewest_, btnKeepOldest_, btnKeepShortest_, btnKeepInFolder_, btnInvert_, btnMarkNames_, btnUnmark_,
           btnDelete_})
    control->SetEnabled(!busy);
  btnCancel_->SetEnabled(busy);
}

void TFormTwinsift::BtnSearchClick() {
  if ((job_ && !job_->Finished()) || Deleting()) return;
  if (folders_.empty()) throw gui::Error("Add a folder to search first");
  duplicates::SearchOptions options;
  options.folders = folders_;
  options.minimumSize = std::max<std::uint64_t>(1, SizeTyped(edtMinimum_->Text(), 0, "minimum"));
  options.maximumSize = SizeTyped(edtMaximum_->Text(), UINT64_MAX, "maximum");
  options.names = duplicates::NamePatterns(edtNames_->Text());
  options.includeHidden = cbHidden_->Checked();
  job_.reset();
  results_.Clear();
  FillList();
  lblSummary_->SetCaption("");
  job_ = std::make_unique<TSearchJob>(options, [this](duplicates::SearchResult& result) { SearchDone(result); });
  SetBusy(true);
  ProgressTimerTimer();
  progressTimer_.SetEnabled(true);
  btnCancel_->SetFocus();
}

void TFormTwinsift::BtnCancelClick() {
  if (Deleting()) {
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
  if (Deleting()) {
    ShowDeleteProgress();
    return;
  }
  if (workerFailure_ || !deleteFailures_.empty() || !destroyable_.empty()) {
    ShowWorkerEnd();
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
  if ((workerFailure_ = job_->Failure())) {
    results_.Clear();
    FillList();
    lblProgress_->SetCaption("The search stopped on an error after " + seen + ".");
    progressTimer_.SetEnabled(true);  // the error is shown once the worker has returned
    return;
  }
  const bool cancelled = result.cancelled;
  const std::size_t problems = result.problems.size();
  results_.Show(std::move(result), ReferenceFolders());
  if (sortColumn_ != 0 || !sortAscending_) results_.Sort(sortColumn_, sortAscending_);
  const std::size_t groups = results_.groups().size();
  std::string text = cancelled ? "The search was cancelled after " + seen + "; " + Plural(groups, "group", "groups") +
                                     " of identical files found so far, incomplete"
                               : "Done: " + seen + ", " + Plural(groups, "group", "groups") + " of identical files";
  if (problems) text += "; " + Plural(problems, "file or folder", "files or folders") + " could not be read (listed at the end)";
  FillList();  // "Done" once the groups are in the list
  lblProgress_->SetCaption(text + ".");
  btnSearch_->SetFocus();
}

void TFormTwinsift::EndSearch() {
  progressTimer_.SetEnabled(false);
  job_.reset();
}

void TFormTwinsift::FillList() {
  utcOffset_ = UtcOffsetSeconds();
  lvResults_->SetRowCount(results_.RowCount());
  ShowSummary();
}

gui::VirtualCheckListView::Box TFormTwinsift::RowBox(int row) const {
  switch (results_.BoxOf(row)) {
    case duplicates::ResultList::Box::Ticked: return gui::VirtualCheckListView::Box::Ticked;
    case duplicates::ResultList::Box::Unticked: return gui::VirtualCheckListView::Box::Unticked;
    default: return gui::VirtualCheckListView::Box::None;
  }
}

void TFormTwinsift::ToggleRow(int row) {
  if (!Deleting() && results_.Toggle(row)) ShowSummary();
}

void TFormTwinsift::ShowSummary() { lblSummary_->SetCaption(results_.Summary()); }

// Whatever a helper marks, each group keeps a copy unmarked.
void TFormTwinsift::MarkWith(duplicates::Marks marks) {
  duplicates::KeepOneOfEach(marks);
  results_.SetMarks(std::move(marks));
  lvResults_->RedrawAll();
  ShowSummary();
  const duplicates::MarkTotals totals = results_.Totals();
  lblProgress_->SetCaption("Marked " + Plural(totals.marked, "file", "files") + " (" +
                           duplicates::FormatSize(totals.markedBytes) + ").");
}

void TFormTwinsift::BtnKeepInFolderClick() {
  const duplicates::FoundFile* file = results_.FileOf(lvResults_->FocusedRow());
  if (!file) throw gui::Error("Select a file in the folder whose copies to keep");
  MarkWith(duplicates::MarkAllButIn(results_.groups(), results_.marks(), file->path.substr(0, file->path.find_last_of('\\'))));
}

void TFormTwinsift::BtnInvertClick() {
  int group = results_.GroupOf(lvResults_->FocusedRow());
  if (group < 0) throw gui::Error("Select a group to invert its marks");
  MarkWith(duplicates::Inverted(results_.groups(), results_.marks(), static_cast<std::size_t>(group)));
}

void TFormTwinsift::BtnMarkNamesClick() {
  std::vector<std::string> patterns = duplicates::NamePatterns(edtPattern_->Text());
  if (patterns.empty()) throw gui::Error("Type the names to mark, such as *.tmp");
  MarkWith(duplicates::MarkNamed(results_.groups(), results_.marks(), patterns));
}

// A second click on a column turns its order round.
void TFormTwinsift::SortBy(int column) {
  if (Deleting() || column < 0 || column > 2) return;
  sortAscending_ = column != sortColumn_ || !sortAscending_;
  sortColumn_ = column;
  results_.Sort(column, sortAscending_);
  lvResults_->RedrawAll();
}

void TFormTwinsift::OpenRow(int row) {
  const duplicates::FoundFile* file = results_.FileOf(row);
  if (!file || LoggedInstead("open " + file->path)) return;
  auto done = reinterpret_cast<INT_PTR>(
      ShellExecuteW(Handle(), L"open", duplicates::WideFromUtf8(file->path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (done <= 32) throw gui::Error("The file \"" + file->path + "\" could not be opened");
}

void TFormTwinsift::BtnOpenFolderClick() {
  const duplicates::FoundFile* file = results_.FileOf(lvResults_->FocusedRow());
  if (!file) throw gui::Error("Select a file to open its folder");
  // Explorer from the system's folder by its full path: nothing is searched for, the current folder least.
  wchar_t windows[MAX_PATH];
  UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);  // never a per-user copy
  if (length == 0 || length >= MAX_PATH) throw gui::Error("The folder of \"" + file->path + "\" could not be opened");
  const std::wstring explorer = std::wstring(windows, length) + L"\\explorer.exe";
  const std::string command = "\"" + win32::Utf8FromWide(explorer) + "\" /select,\"" + file->path + "\"";
  if (LoggedInstead(command)) return;
  std::wstring line = duplicates::WideFromUtf8(command);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(explorer.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    throw gui::Error("The folder of \"" + file->path + "\" could not be opened");
  win32::UniqueHandle process(started.hProcess), thread(started.hThread);
}

void TFormTwinsift::BtnSaveListClick() {
  if (results_.groups().empty()) throw gui::Error("There are no groups to save");
  wchar_t name[MAX_PATH] = L"duplicates.csv";
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = L"CSV files (*.csv)\0*.csv\0";
  dialog.lpstrFile = name;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"csv";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return;
  if (!WriteAll(name, CREATE_ALWAYS, results_.Csv()))
    throw gui::Error("The list could not be saved: " + duplicates::ErrorText(GetLastError()));
  lblProgress_->SetCaption("Saved the list of " + Plural(results_.Totals().files, "file", "files") + ".");
}

void TFormTwinsift::BtnDeleteClick() {
  if (Deleting() || (job_ && !job_->Finished())) return;
  const duplicates::MarkTotals totals = results_.Totals();
  if (totals.marked == 0) throw gui::Error("No files are marked for deletion");
  int full = duplicates::FirstFullyMarkedGroup(results_.marks());
  if (full >= 0)
    throw gui::Error("Every copy in group " + std::to_string(full + 1) +
                     " is marked. Keep at least one copy of each file: nothing was deleted");
  std::string question = "Move " + Plural(totals.marked, "marked file", "marked files") + " (" +
                         duplicates::FormatSize(totals.markedBytes) + ") to the Recycle Bin?";
  if (Ask(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
  forGood_ = false;
  StartDeletion(results_.marks(), totals.marked, nullptr);
}

// The job reads the groups and marks: nothing changes them until it has handed over (SetBusy, ToggleRow).
void TFormTwinsift::StartDeletion(const duplicates::Marks& marks, std::uint64_t total, RecycleBin* bin) {
  deleter_.reset();  // the last deletion's worker, long returned
  deleteTotal_ = total;
  deleteFailures_.clear();
  // Folders made references after the search are kept from deletion too.
  std::vector<std::string> references = ReferenceFolders();
  references.insert(references.end(), results_.referenceFolders().begin(), results_.referenceFolders().end());
  deleter_ = std::make_unique<TDeleteJob>(results_.groups(), marks, [this](RecycleOutcome& outcome) { DeleteDone(outcome); },
                                          nullptr, bin, std::move(references));
  SetBusy(true);
  lblSummary_->SetVisible(false);
  pbDelete_->SetRange(0, static_cast<int>(std::min<std::uint64_t>(total, 0x7fffffff)));
  pbDelete_->SetPosition(0);
  pbDelete_->SetVisible(true);
  ShowDeleteProgress();
  progressTimer_.SetEnabled(true);
  btnCancel_->SetFocus();
}

void TFormTwinsift::ShowDeleteProgress() {
  std::uint64_t handled = deleter_->Handled();
  pbDelete_->SetPosition(static_cast<int>(std::min<std::uint64_t>(handled, 0x7fffffff)));
  if (btnCancel_->Enabled())
    lblProgress_->SetCaption((forGood_ ? "Deleting files for good: " : "Moving marked files to the Recycle Bin: ") +
                             duplicates::FormatCount(handled) + " of " +
                             duplicates::FormatCount(deleteTotal_) + " done");
}

// On the GUI thread while the deletion's worker hands over: it waits, so nothing here may wait for it.
void TFormTwinsift::DeleteDone(RecycleOutcome& outcome) {
  if (!HandleAllocated()) return;  // the window is closing
  results_.RemoveDeleted(outcome.deleted);
  pbDelete_->SetVisible(false);
  lblSummary_->SetVisible(true);
  SetBusy(false);
  FillList();
  std::string text = forGood_ ? "Deleted " + Plural(outcome.count, "file", "files") + " for good"
                              : "Moved " + Plural(outcome.count, "file", "files") + " to the Recycle Bin";
  workerFailure_ = deleter_->Failure();
  if (workerFailure_) text += "; the deletion stopped on an error";
  else if (outcome.stopped) text += "; the deletion was cancelled";
  if (std::uint64_t other = outcome.failures.size() - outcome.destroyable.size())
    text += "; " + Plural(other, "file was", "files were") + " not deleted";
  if (std::uint64_t kept = outcome.destroyable.size())
    text += "; " + Plural(kept, "file was kept, since the Recycle Bin would not take it and it",
                          "files were kept, since the Recycle Bin would not take them and they") +
            " would have been deleted for good";
  lblProgress_->SetCaption(text + ".");
  deleteFailures_ = std::move(outcome.failures);
  if (!workerFailure_ && !outcome.stopped) destroyable_ = std::move(outcome.destroyable);
  // The error, the failures and the question are shown at the next ticks, once the worker has returned.
  progressTimer_.SetEnabled(workerFailure_ || !deleteFailures_.empty() || !destroyable_.empty());
}

// The error that ended a worker, through the application's error handler, then the files not deleted.
void TFormTwinsift::ShowWorkerEnd() {
  progressTimer_.SetEnabled(false);
  if (std::exception_ptr failure = std::exchange(workerFailure_, nullptr)) {
    try {
      std::rethrow_exception(failure);
    } catch (...) {
      gui::Application::Instance().HandleException();
    }
  }
  if (!deleteFailures_.empty()) ShowDeleteFailures();
  if (!destroyable_.empty()) OfferDeletionForGood();
}

// Files the bin would not take go only when the user says so, after the list of them, in a question of its own.
void TFormTwinsift::OfferDeletionForGood() {
  std::vector<std::string> paths = std::exchange(destroyable_, {});
  std::sort(paths.begin(), paths.end());
  std::string question = "The Recycle Bin would not take " + Plural(paths.size(), "marked file", "marked files") +
                         " (listed before). Delete " + (paths.size() == 1 ? "it" : "them") +
                         " for good? This cannot be undone.";
  if (Ask(question, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES) return;
  // Only these files, each checked again as every deletion checks: the copies it relies on may be gone.
  const duplicates::Groups& groups = results_.groups();
  destroyMarks_.assign(groups.size(), {});
  std::uint64_t total = 0;
  for (std::size_t g = 0; g < groups.size(); ++g)
    for (std::size_t f = 0; f < groups[g].size(); ++f) {
      bool chosen = results_.marks()[g][f] && std::binary_search(paths.begin(), paths.end(), groups[g][f].path);
      destroyMarks_[g].push_back(chosen);
      total += chosen;
    }
  if (!destroyer_) destroyer_ = PermanentDeletion();
  forGood_ = true;
  StartDeletion(destroyMarks_, total, destroyer_.get());
}

void TFormTwinsift::ShowDeleteFailures() {
  std::vector<duplicates::Problem> failures = std::move(deleteFailures_);
  deleteFailures_.clear();
  std::string message = "These files were not deleted:\n";
  std::size_t shown = 0;
  for (const auto& failure : failures) {
    if (++shown > 20) {
      message += "... and " + std::to_string(failures.size() - 20) + " more\n";
      break;
    }
    message += "\n" + failure.path + ": " + failure.message;
  }
  Ask(message, MB_OK | MB_ICONWARNING);
}

// A message box of the window's own, titled as the application.
int TFormTwinsift::Ask(const std::string& text, unsigned flags) {
  return MessageBoxW(Handle(), win32::WideFromUtf8(text).c_str(),
                     win32::WideFromUtf8(gui::Application::Instance().Title()).c_str(), flags);
}
