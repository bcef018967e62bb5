// The utility worked as a user works it: type a folder, search, mark with a helper, be refused when every
// copy of a file is marked, delete the marked files to the Recycle Bin. Screenshots go to the bin folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <fstream>
#include <tuple>
#include <vector>
#include <string>
#include "driver/Driver.h"

namespace {

HWND FindChild(HWND window, const std::string& className, const std::function<bool(const std::string&)>& text) {
  for (HWND child : e2e::ChildWindows(window))
    if (_stricmp(e2e::ClassName(child).c_str(), className.c_str()) == 0 && text(e2e::WindowText(child))) return child;
  return nullptr;
}

HWND Labelled(HWND window, const std::string& className, const std::string& text) {
  return FindChild(window, className, [&](const std::string& t) { return t == text; });
}

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

void ClickButton(HWND button) {
  ASSERT_NE(button, nullptr);
  RECT r = e2e::ClientRectOnScreen(button);
  e2e::Click(button, (r.right - r.left) / 2, (r.bottom - r.top) / 2);
}

void Write(const std::string& path, const std::string& content, int daysOld) {
  std::ofstream(path, std::ios::binary) << content;
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  t.QuadPart -= static_cast<ULONGLONG>(daysOld) * 24 * 3600 * 10000000ull;
  FILETIME then{t.LowPart, t.HighPart};
  SetFileTime(file, nullptr, nullptr, &then);
  CloseHandle(file);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Types folder into the window of a started utility and adds it; the window's progress label.
HWND AddFolder(HWND window, const std::string& folder) {
  SetForegroundWindow(window);
  HWND edit = FindChild(window, "Edit", [](const std::string& t) { return t.empty(); });
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  ClickButton(Labelled(window, "Button", "&Add folder"));
  return FindChild(window, "Static", [](const std::string& t) { return StartsWith(t, "Add the folders"); });
}

}  // namespace

TEST(UtilityWindow, FindsMarksRefusesAndDeletesDuplicates) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "twinsift-e2e-" + std::to_string(GetTickCount());
  for (const char* sub : {"", "\\a", "\\b", "\\c"}) CreateDirectoryA((root + sub).c_str(), nullptr);
  std::string photo(50000, '\0');
  for (size_t i = 0; i < photo.size(); ++i) photo[i] = static_cast<char>(i * 31 % 251);
  Write(root + "\\a\\notes.txt", "meeting notes", 1);  // the newest of its group
  Write(root + "\\b\\notes-old.txt", "meeting notes", 30);
  Write(root + "\\a\\photo.jpg", photo, 5);
  Write(root + "\\b\\photo.jpg", photo, 2);  // the newest of its group
  Write(root + "\\c\\photo-copy.jpg", photo, 9);
  Write(root + "\\a\\unique.bin", photo.substr(1), 3);
  Write(root + "\\b\\empty1", "", 3);
  Write(root + "\\c\\empty2", "", 3);

  e2e::Process program = e2e::Process::Start(e2e::ProgramFolder() + "Twinsift.exe");
  HWND window = e2e::WaitForTopWindow(program.Id(), "Twinsift");
  ASSERT_NE(window, nullptr);
  HWND progress = AddFolder(window, root);
  ASSERT_NE(progress, nullptr);

  ClickButton(Labelled(window, "Button", "&Search"));
  ASSERT_TRUE(e2e::WaitFor([&] { return StartsWith(e2e::WindowText(progress), "Done:"); }, 20000))
      << e2e::WindowText(progress);
  EXPECT_EQ(e2e::WindowText(progress), "Done: 8 files seen, 2 groups of identical files.");
  HWND summary = FindChild(window, "Static", [](const std::string& t) { return StartsWith(t, "2 groups"); });
  ASSERT_NE(summary, nullptr);
  EXPECT_EQ(e2e::WindowText(summary), "2 groups, 5 files, 97.7 KB wasted; 0 marked (0 bytes)");
  e2e::SaveScreenshot(window, "utility-found.png");

  ClickButton(Labelled(window, "Button", "Keep &newest"));
  EXPECT_EQ(e2e::WindowText(summary), "2 groups, 5 files, 97.7 KB wasted; 3 marked (97.7 KB)");

  // Marking the one file kept in the first group marks every copy: Delete refuses and deletes nothing.
  HWND list = FindChild(window, "SysListView32", [](const std::string&) { return true; });
  ASSERT_NE(list, nullptr);
  RECT listRect = e2e::ClientRectOnScreen(list);
  e2e::Click(list, 40, listRect.bottom - listRect.top - 10);  // below the rows: focus only
  e2e::PressKey(VK_HOME);
  e2e::PressKey(VK_DOWN);
  e2e::PressKey(VK_SPACE);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::WindowText(summary).find("; 4 marked") != std::string::npos; }, 3000))
      << e2e::WindowText(summary);
  e2e::SaveScreenshot(window, "utility-marked.png");
  ClickButton(Labelled(window, "Button", "&Delete marked..."));
  auto refusal = e2e::WaitForMessageBox(program.Id());
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->text, "Every copy in group 1 is marked. Keep at least one copy of each file: nothing was deleted.");
  e2e::AnswerMessageBox(refusal->window);
  EXPECT_TRUE(Exists(root + "\\a\\notes.txt") && Exists(root + "\\b\\notes-old.txt"));

  SetForegroundWindow(window);
  e2e::Click(list, 40, listRect.bottom - listRect.top - 10);
  e2e::PressKey(VK_SPACE);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::WindowText(summary).find("; 3 marked") != std::string::npos; }, 3000))
      << e2e::WindowText(summary);
  ClickButton(Labelled(window, "Button", "&Delete marked..."));
  auto question = e2e::WaitForMessageBox(program.Id());
  ASSERT_TRUE(question);
  EXPECT_EQ(question->text, "Move 3 marked files (97.7 KB) to the Recycle Bin?");
  e2e::SaveScreenshot(nullptr, "utility-asks.png");
  e2e::AnswerMessageBox(question->window, IDYES);
  ASSERT_TRUE(e2e::WaitFor([&] { return StartsWith(e2e::WindowText(progress), "Moved"); }, 10000));
  EXPECT_EQ(e2e::WindowText(progress), "Moved 3 files to the Recycle Bin.");
  e2e::SaveScreenshot(window, "utility-deleted.png");

  EXPECT_TRUE(Exists(root + "\\a\\notes.txt"));
  EXPECT_FALSE(Exists(root + "\\b\\notes-old.txt"));
  EXPECT_TRUE(Exists(root + "\\b\\photo.jpg"));
  EXPECT_FALSE(Exists(root + "\\a\\photo.jpg"));
  EXPECT_FALSE(Exists(root + "\\c\\photo-copy.jpg"));
  EXPECT_TRUE(Exists(root + "\\a\\unique.bin"));
  EXPECT_FALSE(e2e::FindMessageBox(program.Id()));  // no failures to report

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
  for (const char* left : {"\\a\\notes.txt", "\\b\\photo.jpg", "\\a\\unique.bin", "\\b\\empty1", "\\c\\empty2"})
    DeleteFileA((root + left).c_str());
  for (const char* sub : {"\\a", "\\b", "\\c", ""}) RemoveDirectoryA((root + sub).c_str());
}

TEST(UtilityWindow, ClosingDuringASearchEndsCleanly) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  e2e::Process program = e2e::Process::Start(e2e::ProgramFolder() + "Twinsift.exe");
  HWND window = e2e::WaitForTopWindow(program.Id(), "Twinsift");
  ASSERT_NE(window, nullptr);
  AddFolder(window, "C:\\windows");
  ClickButton(Labelled(window, "Button", "&Search"));
  HWND cancel = Labelled(window, "Button", "&Cancel");
  ASSERT_TRUE(e2e::WaitFor([&] { return IsWindowEnabled(cancel) != FALSE; }, 5000));
  e2e::SaveScreenshot(window, "utility-searching.png");
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

TEST(UtilityWindow, BrowseOpensTheFolderPickerAndCancelAddsNothing) {
  e2e::Process program = e2e::Process::Start(e2e::ProgramFolder() + "Twinsift.exe");
  HWND window = e2e::WaitForTopWindow(program.Id(), "Twinsift");
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  ClickButton(Labelled(window, "Button", "&Browse..."));
  HWND picker = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] {
    for (HWND top : e2e::TopWindows(program.Id(), "", "#32770")) picker = top;
    return picker != nullptr;
  }));
  Sleep(700);  // the picker fills its folder tree after it shows
  e2e::SaveScreenshot(nullptr, "utility-browse.png");
  PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::TopWindows(program.Id(), "", "#32770").empty(); }));
  HWND list = FindChild(window, "ListBox", [](const std::string&) { return true; });
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
}

namespace {

int CountIn(const std::string& text, const std::string& before) {
  std::size_t at = text.find(before);
  if (at == std::string::npos) return -1;
  std::string digits;
  for (char c : text.substr(at + before.size()))
    if (c >= '0' && c <= '9') digits += c;
    else if (c != ',') break;
  return digits.empty() ? -1 : std::stoi(digits);
}

}  // namespace

// Hundreds of pairs deleted on the worker, in several batches, stopped once and then finished: whatever
// the moment of the stop, one copy of every pair stays and the count shown is the count gone.
TEST(UtilityWindow, DeletesManyOnAWorkerAndAlwaysKeepsOneCopy) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "twinsift-e2e-many-" + std::to_string(GetTickCount());
  constexpr int kPairs = 300;
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\x").c_str(), nullptr);
  CreateDirectoryA((root + "\\y").c_str(), nullptr);
  for (int i = 0; i < kPairs; ++i) {
    std::string content = "pair number " + std::to_string(i);
    Write(root + "\\x\\" + std::to_string(i), content, 2);
    Write(root + "\\y\\" + std::to_string(i), content, 1);  // the newer copy
  }
  auto left = [&] {
    int copies = 0;
    bool everyPairKept = true;
    for (int i = 0; i < kPairs; ++i) {
      int here = Exists(root + "\\x\\" + std::to_string(i)) + Exists(root + "\\y\\" + std::to_string(i));
      copies += here;
      everyPairKept = everyPairKept && here >= 1;
    }
    return std::make_pair(copies, everyPairKept);
  };

  e2e::Process program = e2e::Process::Start(e2e::ProgramFolder() + "Twinsift.exe");
  HWND window = e2e::WaitForTopWindow(program.Id(), "Twinsift");
  ASSERT_NE(window, nullptr);
  HWND progress = AddFolder(window, root);
  ClickButton(Labelled(window, "Button", "&Search"));
  ASSERT_TRUE(e2e::WaitFor([&] { return StartsWith(e2e::WindowText(progress), "Done:"); }, 30000));
  EXPECT_EQ(e2e::WindowText(progress), "Done: 600 files seen, 300 groups of identical files.");

  int gone = 0;
  for (bool stop : {true, false}) {
    ClickButton(Labelled(window, "Button", "Keep &newest"));
    ClickButton(Labelled(window, "Button", "&Delete marked..."));
    auto question = e2e::WaitForMessageBox(program.Id());
    ASSERT_TRUE(question);
    e2e::AnswerMessageBox(question->window, IDYES);
    HWND cancel = Labelled(window, "Button", "&Cancel");
    if (stop && IsWindowEnabled(cancel)) PostMessageA(cancel, BM_CLICK, 0, 0);
    ASSERT_TRUE(e2e::WaitFor([&] { return StartsWith(e2e::WindowText(progress), "Moved"); }, 60000))
        << e2e::WindowText(progress);
    gone += CountIn(e2e::WindowText(progress), "Moved ");
    auto [copies, everyPairKept] = left();
    EXPECT_TRUE(everyPairKept);
    EXPECT_EQ(copies, 2 * kPairs - gone) << e2e::WindowText(progress);
    if (gone == kPairs) break;
  }
  EXPECT_EQ(gone, kPairs);
  for (int i = 0; i < kPairs; ++i) EXPECT_TRUE(Exists(root + "\\y\\" + std::to_string(i))) << i;
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
  for (int i = 0; i < kPairs; ++i) DeleteFileA((root + "\\y\\" + std::to_string(i)).c_str());
  for (const char* sub : {"\\x", "\\y", ""}) RemoveDirectoryA((root + sub).c_str());
}

// A search cancelled midway says so and shows what it had finished, labelled incomplete.
TEST(UtilityWindow, ACancelledSearchIsLabelledIncomplete) {
  e2e::Process program = e2e::Process::Start(e2e::ProgramFolder() + "Twinsift.exe");
  HWND window = e2e::WaitForTopWindow(program.Id(), "Twinsift");
  ASSERT_NE(window, nullptr);
  HWND progress = AddFolder(window, "C:\\windows");
  ClickButton(Labelled(window, "Button", "&Search"));
  HWND cancel = Labelled(window, "Button", "&Cancel");
  ASSERT_TRUE(e2e::WaitFor([&] { return IsWindowEnabled(cancel) != FALSE; }, 5000));
  ClickButton(cancel);
  ASSERT_TRUE(e2e::WaitFor([&] { return StartsWith(e2e::WindowText(progress), "The search was cancelled after"); }, 20000))
      << e2e::WindowText(progress);
  EXPECT_NE(e2e::WindowText(progress).find("found so far, incomplete"), std::string::npos) << e2e::WindowText(progress);
  EXPECT_TRUE(IsWindowEnabled(Labelled(window, "Button", "&Search")));
  e2e::SaveScreenshot(window, "utility-cancelled.png");
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
  EXPECT_EQ(program.ExitCode(), 0u);
}

// One folder under other spellings is listed once, so its one file is never a group of two of itself.
TEST(UtilityWindow, OneFolderUnderTwoNamesIsSearchedOnce) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "twinsift-e2e-names-" + std::to_string(GetTickCount());
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  Write(root + "\\sub\\only.txt", "the only copy", 1);
  std::string upper = root;
  CharUpperA(upper.data());

  e2e::Process program = e2e::Process::Start(e2e::ProgramFolder() + "Twinsift.exe");
  HWND window = e2e::WaitForTopWindow(program.Id(), "Twinsift");
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  HWND folderEdit = FindChild(window, "Edit", [](const std::string& t) { return t.empty(); });
  HWND folders = FindChild(window, "ListBox", [](const std::string&) { return true; });
  ASSERT_TRUE(folderEdit && folders);
  auto add = [&](const std::string& folder) {
    SendMessageA(folderEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    ClickButton(Labelled(window, "Button", "&Add folder"));
  };
  add(root + "\\sub");
  add(root);  // holds the entry, so takes its place
  ASSERT_EQ(SendMessageA(folders, LB_GETCOUNT, 0, 0), 1);
  const std::string listed = root;  // the temporary folder's path is spelt as the system spells it
  const std::pair<std::string, std::string> refused[] = {
      {upper, "The folder \"" + upper + "\" is already in the list as \"" + listed + "\""},
      {root + "\\.", "The folder \"" + root + "\\.\" is already in the list as \"" + listed + "\""},
      {root + "\\sub", "The folder \"" + root + "\\sub\" is inside \"" + listed + "\", which is already in the list."},
  };
  for (const auto& [folder, text] : refused) {
    add(folder);
    auto box = e2e::WaitForMessageBox(program.Id());
    ASSERT_TRUE(box) << folder;
    EXPECT_EQ(box->text, text);
    e2e::AnswerMessageBox(box->window);
    SetForegroundWindow(window);
  }
  EXPECT_EQ(SendMessageA(folders, LB_GETCOUNT, 0, 0), 1);

  HWND progress = FindChild(window, "Static", [](const std::string& t) { return StartsWith(t, "Add the folders"); });
  ClickButton(Labelled(window, "Button", "&Search"));
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::WindowText(progress) == "Done: 1 file seen, 0 groups of identical files."; }, 20000));
  ClickButton(Labelled(window, "Button", "Keep &newest"));
  ClickButton(Labelled(window, "Button", "&Delete marked..."));
  auto nothing = e2e::WaitForMessageBox(program.Id());
  ASSERT_TRUE(nothing);
  EXPECT_EQ(nothing->text, "No files are marked for deletion.");
  e2e::AnswerMessageBox(nothing->window);
  EXPECT_TRUE(Exists(root + "\\sub\\only.txt"));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
  DeleteFileA((root + "\\sub\\only.txt").c_str());
  RemoveDirectoryA((root + "\\sub").c_str());
  RemoveDirectoryA(root.c_str());
}

namespace {

// A row of the program's list, read through memory lent in its process: the view's messages carry pointers.
std::string RowText(HWND list, int row, int column) {
  DWORD id = 0;
  GetWindowThreadProcessId(list, &id);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
  char* lent = static_cast<char*>(VirtualAllocEx(process, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  LVITEMA item{};
  std::tie(item.iSubItem, item.pszText, item.cchTextMax) = std::make_tuple(column, lent + sizeof(item), 1024);
  WriteProcessMemory(process, lent, &item, sizeof(item), nullptr);
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(lent));
  char text[1024] = {};
  ReadProcessMemory(process, lent + sizeof(item), text, sizeof(text) - 1, nullptr);
  VirtualFreeEx(process, lent, 0, MEM_RELEASE);
  CloseHandle(process);
  return text;
}

// Each row's box: '-' none (a heading or a reference copy), 'o' unmarked, 'x' marked.
std::string Boxes(HWND list) {
  std::string boxes;
  for (int row = 0, rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); row < rows; ++row)
    boxes += "-ox"[SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >> 12 & 3];
  return boxes;
}

void FocusRow(HWND list, int row) {
  SetForegroundWindow(GetAncestor(list, GA_ROOT));
  RECT r = e2e::ClientRectOnScreen(list);
  e2e::Click(list, 40, r.bottom - r.top - 10);  // below the rows: focus only
  e2e::PressKey(VK_HOME);
  for (int i = 0; i < row; ++i) e2e::PressKey(VK_DOWN);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

// A reference folder's copies are shown but never marked; every helper keeps a copy of each file; the
// list sorts by its columns, opens a file or its folder, saves as CSV, and shows only the names asked for.
TEST(UtilityWindow, ReferenceFoldersHelpersSortingOpeningSavingAndFilter) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "twinsift-e2e-ref-" + std::to_string(GetTickCount());
  for (const char* sub : {"", "\\a", "\\b", "\\ref"}) CreateDirectoryA((root + sub).c_str(), nullptr);
  const std::string photo(50000, 'p');
  const std::pair<const char*, std::pair<std::string, int>> files[] = {
      {"\\a\\notes.txt", {"meeting notes", 1}}, {"\\b\\notes-old.txt", {"meeting notes", 30}},
      {"\\ref\\notes.txt", {"meeting notes", 10}}, {"\\a\\photo.jpg", {photo, 5}}, {"\\b\\photo.jpg", {photo, 2}},
      {"\\a\\x.tmp", {"temp", 4}}, {"\\b\\y.tmp", {"temp", 3}}, {"\\ref\\r1", {"ref only", 1}}, {"\\ref\\r2", {"ref only", 1}}};
  for (const auto& [name, file] : files) Write(root + name, file.first, file.second);
  const std::string starts = root + "\\starts.txt", saved = root + "\\list.csv";
  SetEnvironmentVariableA("TWINSIFT_STARTS", starts.c_str());
  e2e::Process program = e2e::Process::Start(e2e::ProgramFolder() + "Twinsift.exe");
  SetEnvironmentVariableA("TWINSIFT_STARTS", nullptr);
  HWND window = e2e::WaitForTopWindow(program.Id(), "Twinsift");
  ASSERT_NE(window, nullptr);
  SetForegroundWindow(window);
  HWND folderEdit = FindChild(window, "Edit", [](const std::string& t) { return t.empty(); });
  for (const char* sub : {"\\a", "\\b", "\\ref"}) {
    SendMessageA(folderEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>((root + sub).c_str()));
    ClickButton(Labelled(window, "Button", "&Add folder"));
  }
  SendMessageA(FindChild(window, "ListBox", [](const std::string&) { return true; }), LB_SETCURSEL, 2, 0);
  ClickButton(Labelled(window, "Button", "Re&ference"));
  HWND progress = FindChild(window, "Static", [](const std::string& t) { return StartsWith(t, "Add the folders"); });
  ClickButton(Labelled(window, "Button", "&Search"));
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::WindowText(progress) == "Done: 9 files seen, 3 groups of identical files."; }, 20000));
  HWND list = FindChild(window, "SysListView32", [](const std::string&) { return true; });
  EXPECT_EQ(RowText(list, 3, 0), "    " + root + "\\ref\\notes.txt   (reference)");
  e2e::SaveScreenshot(window, "utility-reference.png");

  // Rows: group, a\notes, b\notes-old, ref\notes, group, a\photo, b\photo, group, a\x.tmp, b\y.tmp.
  struct Step {  // a button (null: Space) after focusing a row (unless -1): the boxes then, what is said
    const char *button; int row; const char *boxes, *said;
  } steps[] = {
      {"Keep &newest", -1, "-ox--xo-xo", "Marked 3 files (48.8 KB)."},
      {nullptr, 3, "-ox--xo-xo", "Marked 3 files (48.8 KB)."},  // a reference copy takes no mark
      {"Keep &oldest", -1, "-xo--ox-ox", "Marked 3 files (48.8 KB)."},
      {"Keep shor&test", -1, "-ox--ox-ox", "Marked 3 files (48.8 KB)."},
      {"&Unmark all", -1, "-oo--oo-oo", "Marked 0 files (0 bytes)."},
      {"&Invert group", 5, "-oo--ox-oo", "Marked 1 file (48.8 KB)."},  // every copy: the first stays
      {"Keep in fold&er", 2, "-xo--xo-xo", "Marked 3 files (48.8 KB)."},
      {"&Unmark all", -1, "-oo--oo-oo", "Marked 0 files (0 bytes)."},
      {"&Mark names", -1, "-oo--oo-ox", "Marked 1 file (4 bytes)."},
  };
  for (const Step& step : steps) {
    if (step.row >= 0) FocusRow(list, step.row);
    if (step.button) ClickButton(Labelled(window, "Button", step.button));
    else e2e::PressKey(VK_SPACE);
    EXPECT_EQ(Boxes(list), step.boxes) << (step.button ? step.button : "Space");
    EXPECT_EQ(e2e::WindowText(progress), step.said) << (step.button ? step.button : "Space");
  }
  e2e::SaveScreenshot(window, "utility-helpers.png");

  // A header clicked sorts by its column, clicked again the other way round; groups stay together.
  // Size: the smallest group first, then the other way round; modified: the oldest copy's group, that copy
  // first; path, both ways.
  const std::pair<int, const char*> sorts[] = {{525, "\\a\\x.tmp"}, {525, "\\b\\photo.jpg"}, {630, "\\b\\notes-old.txt"},
                                               {5, "\\a\\notes.txt"}, {5, "\\ref\\notes.txt"}};
  for (const auto& [x, first] : sorts) {
    Sleep(GetDoubleClickTime() + 100);  // two clicks, not a double-click
    e2e::Click(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), x, 8);
    EXPECT_TRUE(StartsWith(RowText(list, 1, 0), "    " + root + first)) << RowText(list, 1, 0);
  }
  e2e::SaveScreenshot(window, "utility-sorted.png");

  FocusRow(list, 2);
  e2e::PressKey(VK_RETURN);
  ClickButton(Labelled(window, "Button", "Open fo&lder"));
  const std::string opened = root + "\\b\\notes-old.txt";
  char windows[MAX_PATH];
  GetSystemWindowsDirectoryA(windows, MAX_PATH);  // Explorer by its full path, never searched for
  EXPECT_TRUE(e2e::WaitFor([&] {
    return ReadAll(starts) == "open " + opened + "\r\n\"" + windows + "\\explorer.exe\" /select,\"" + opened + "\"\r\n";
  })) << ReadAll(starts);

  ClickButton(Labelled(window, "Button", "Sa&ve list..."));
  HWND dialog = nullptr;
  ASSERT_TRUE(e2e::WaitFor([&] { return (dialog = FindWindowA("#32770", "Save As")) != nullptr; }));
  SendMessageA(FindChild(dialog, "Edit", [](const std::string&) { return true; }), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::WindowText(progress) == "Saved the list of 7 files."; }, 5000));
  std::string csv = ReadAll(saved);
  EXPECT_TRUE(StartsWith(csv, "\xEF\xBB\xBFGroup,Path,Size,Modified,Marked\r\n1,\"" + root + "\\ref\\notes.txt\",13,20")) << csv;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 8);
  EXPECT_NE(csv.find("2,\"" + root + "\\b\\y.tmp\",4,20"), std::string::npos) << csv;
  EXPECT_NE(csv.find("Z,yes\r\n2,\"" + root + "\\a\\x.tmp\",4,"), std::string::npos) << csv;

  // Only the names asked for, and no file above the maximum.
  const std::tuple<const char*, const char*, const char*> filters[] = {
      {"txt, .tmp", "", "Done: 9 files seen, 2 groups of identical files."},
      {"*.txt;*.jpg", "20000", "Done: 9 files seen, 1 group of identical files."},
      {"photo*", "", "Done: 9 files seen, 1 group of identical files."}};
  std::vector<HWND> empty;  // the folder, the maximum and the names, in the order made
  for (HWND child : e2e::ChildWindows(window))
    if (_stricmp(e2e::ClassName(child).c_str(), "Edit") == 0 && e2e::WindowText(child).empty()) empty.push_back(child);
  for (const auto& [patterns, most, done] : filters) {
    SendMessageA(empty[2], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(patterns));
    SendMessageA(empty[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(most));
    SendMessageA(progress, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));  // the last search's "Done" goes
    ClickButton(Labelled(window, "Button", "&Search"));
    EXPECT_TRUE(e2e::WaitFor([&] { return e2e::WindowText(progress) == done; }, 20000)) << e2e::WindowText(progress);
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
  for (const auto& [name, file] : files) DeleteFileA((root + name).c_str());
  for (const std::string& made : {starts, saved}) DeleteFileA(made.c_str());
  for (const char* sub : {"\\a", "\\b", "\\ref", ""}) RemoveDirectoryA((root + sub).c_str());
}

// Where the drive's bin is too small the shell would delete for good without a word: the file stays, is listed,
// and goes only when the user answers a question of its own.
TEST(UtilityWindow, WhatTheBinWouldNotTakeGoesForGoodOnlyWhenAsked) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string root = std::string(temp) + "twinsift-nobin-" + std::to_string(GetTickCount());
  CreateDirectoryA(root.c_str(), nullptr);
  for (const auto& [name, daysOld] : {std::pair{"\\new", 1}, {"\\old", 9}}) Write(root + name, std::string((1 << 20) + 1, 'x'), daysOld);
  wchar_t volume[64];
  ASSERT_TRUE(GetVolumeNameForVolumeMountPointW(L"C:\\", volume, 64));
  const std::wstring bin = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket\\Volume\\" +
                           std::wstring(wcschr(volume, L'{')).substr(0, 38);
  const DWORD megabytes = 1;
  RegSetKeyValueW(HKEY_CURRENT_USER, bin.c_str(), L"MaxCapacity", REG_DWORD, &megabytes, sizeof megabytes);

  e2e::Process program = e2e::Process::Start(e2e::ProgramFolder() + "Twinsift.exe");
  HWND window = e2e::WaitForTopWindow(program.Id(), "Twinsift");
  ASSERT_NE(window, nullptr);
  HWND progress = AddFolder(window, root);
  ClickButton(Labelled(window, "Button", "&Search"));
  ASSERT_TRUE(e2e::WaitFor([&] { return StartsWith(e2e::WindowText(progress), "Done:"); }, 20000));
  ClickButton(Labelled(window, "Button", "Keep &newest"));
  ClickButton(Labelled(window, "Button", "&Delete marked..."));
  ASSERT_TRUE(e2e::AnswerBox(program.Id(), IDYES));
  auto listed = e2e::AnswerBox(program.Id());
  ASSERT_TRUE(listed);
  EXPECT_EQ(listed->text, "These files were not deleted:\n\n" + root + "\\old: it is larger than its drive's Recycle Bin, so it would be deleted for good");
  EXPECT_EQ(e2e::WindowText(progress), "Moved 0 files to the Recycle Bin; 1 file was kept, since the Recycle Bin would "
                                       "not take it and it would have been deleted for good.");
  auto question = e2e::WaitForMessageBox(program.Id());
  ASSERT_TRUE(question);
  EXPECT_EQ(question->text, "The Recycle Bin would not take 1 marked file (listed before). Delete it for good? This "
                            "cannot be undone.");
  e2e::SaveScreenshot(nullptr, "utility-for-good.png");
  EXPECT_TRUE(Exists(root + "\\old"));
  e2e::AnswerMessageBox(question->window, IDYES);
  ASSERT_TRUE(e2e::WaitFor([&] { return e2e::WindowText(progress) == "Deleted 1 file for good."; }, 10000));
  EXPECT_FALSE(Exists(root + "\\old"));
  EXPECT_TRUE(Exists(root + "\\new"));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(10000));
  RegDeleteKeyValueW(HKEY_CURRENT_USER, bin.c_str(), L"MaxCapacity");
  DeleteFileA((root + "\\new").c_str());
  RemoveDirectoryA(root.c_str());
}
