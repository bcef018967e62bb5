#include "gui/directorylist/DirectoryListBox.h"
#include <algorithm>
#include <cctype>
#include "gui/core/Dpi.h"
#include "gui/core/Events.h"
#include "gui/core/Gdi.h"
#include "gui/directorylist/DirectoryPath.h"
#include "win32/TextCodes.h"
#include "win32/UniqueHandle.h"

namespace gui {

namespace {

bool IsDirectory(const std::string& path) {
  DWORD attributes = GetFileAttributesW(win32::WideFromUtf8(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Subdirectories(const std::string& path) {
  std::vector<std::wstring> wide;
  WIN32_FIND_DATAW found;
  win32::UniqueFindHandle search(
      FindFirstFileW(win32::WideFromUtf8(directory_path::Join(path, "*.*")).c_str(), &found));
  if (search) {
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != L'.')
        wide.emplace_back(found.cFileName);
    } while (FindNextFileW(search.get(), &found));
  }
  search.reset();
  std::sort(wide.begin(), wide.end(), [](const std::wstring& a, const std::wstring& b) {
    return lstrcmpiW(a.c_str(), b.c_str()) < 0;
  });
  std::vector<std::string> names;
  for (const std::wstring& name : wide) names.push_back(win32::Utf8FromWide(name));
  return names;
}

// A small folder: a tab and a body; opened folders get a lighter front flap.
void DrawFolder(HDC dc, int x, int y, bool opened) {
  OwnedBrush body(CreateSolidBrush(RGB(0xE8, 0xC0, 0x40))), front(CreateSolidBrush(RGB(0xF8, 0xE0, 0x80)));
  OwnedPen outline(CreatePen(PS_SOLID, Scale(1), RGB(0x80, 0x60, 0x00)));
  ScopedSelect pen(dc, outline.get());
  ScopedSelect brush(dc, body.get());
  Rectangle(dc, x, y + Scale(3), x + Scale(6), y + Scale(5));
  Rectangle(dc, x, y + Scale(4), x + Scale(14), y + Scale(13));
  if (opened) {
    ScopedSelect flap(dc, front.get());
    POINT points[] = {{x + Scale(2), y + Scale(7)}, {x + Scale(15), y + Scale(7)},
                      {x + Scale(13), y + Scale(12)}, {x, y + Scale(12)}};
    Polygon(dc, points, 4);
  }
}

}  // namespace

DirectoryListBox::DirectoryListBox(WinControl* parent) : WinControl(parent) {
  SetColor(clWindow);
  SetTabStop(true);
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  directory_ = directory_path::Normalize(win32::Utf8FromWide(current));
  Rebuild();
}

void DirectoryListBox::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = "LISTBOX";
  params.style |= LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

void DirectoryListBox::HandleCreated() {
  SendMessageW(HandleIfAllocated(), LB_SETITEMHEIGHT, 0, Scale(kItemHeight));
  Rebuild();
}

void DirectoryListBox::SetDirectory(const std::string& directory) {
  std::string wanted = directory_path::Normalize(directory);
  if (directory_path::Same(wanted, directory_)) return;
  directory_ = wanted;
  Rebuild();
  if (drives_ && directory_.size() >= 2 && directory_[1] == ':')
    drives_->ShowDrive(static_cast<char>(std::tolower(static_cast<unsigned char>(directory_[0]))));
  Raise(OnChange);
}

void DirectoryListBox::Rebuild() {
  shown_ = directory_;
  while (!IsDirectory(shown_) && directory_path::Parent(shown_) != shown_) shown_ = directory_path::Parent(shown_);
  entries_.clear();
  levels_.clear();
  for (const std::string& folder : directory_path::Chain(shown_)) {
    levels_.push_back(static_cast<int>(entries_.size()));
    entries_.push_back(folder);
  }
  openedCount_ = entries_.size();
  for (const std::string& name : Subdirectories(shown_)) {
    levels_.push_back(static_cast<int>(openedCount_));
    entries_.push_back(directory_path::Join(shown_, name));
  }
  HWND window = HandleIfAllocated();
  if (!window) return;
  SendMessageW(window, WM_SETREDRAW, FALSE, 0);
  SendMessageW(window, LB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < entries_.size(); ++i) SendMessageW(window, LB_ADDSTRING, 0, static_cast<LPARAM>(i));
  SendMessageW(window, LB_SETCURSEL, openedCount_ ? openedCount_ - 1 : 0, 0);
  SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window, nullptr, TRUE);
}

int DirectoryListBox::SelectedIndex() const {
  HWND window = HandleIfAllocated();
  return window ? static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0)) : -1;
}

void DirectoryListBox::OpenEntry(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  SetDirectory(entries_[static_cast<size_t>(index)]);
}

void DirectoryListBox::DrawEntry(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size()) return;
  HDC dc = item.hDC;
  bool selected = item.itemState & ODS_SELECTED;
  OwnedBrush background(CreateSolidBrush(GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW)));
  FillRect(dc, &item.rcItem, background.get());
  int x = item.rcItem.left + Scale(2 + levels_[item.itemID] * kIndent);
  DrawFolder(dc, x, item.rcItem.top + Scale(1), item.itemID < openedCount_);
  RECT text = item.rcItem;
  text.left = x + Scale(18);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  ScopedSelect font(dc, GetFont().Handle());
  std::string name = directory_path::LeafName(entries_[item.itemID]);
  if (item.itemID == 0 && name.size() == 3) name = name.substr(0, 2);
  DrawTextW(dc, win32::WideFromUtf8(name).c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

LRESULT DirectoryListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_RETURN) {
    OpenEntry(SelectedIndex());
    return 0;
  }
  if (message == WM_GETDLGCODE) {
    // Enter opens the selected entry; Tab and the other keys keep their usual meaning.
    LRESULT code = DefaultProc(message, wParam, lParam);
    auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
    return code;
  }
  return WinControl::WndProc(message, wParam, lParam);
}

bool DirectoryListBox::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_DRAWITEM) {
    DrawEntry(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == LBN_DBLCLK) {
    int index = SelectedIndex();
    Raise(OnDblClick);
    OpenEntry(index);
    result = 0;
    return true;
  }
  return WinControl::Reflected(message, wParam, lParam, result);
}

DriveComboBox::DriveComboBox(WinControl* parent) : WinControl(parent) {
  SetColor(clWindow);
  SetTabStop(true);
  DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i)) letters_.push_back(static_cast<char>('a' + i));
  wchar_t current[MAX_PATH] = {};
  if (GetCurrentDirectoryW(MAX_PATH, current) && current[1] == L':' && current[0] < 0x80)
    drive_ = static_cast<char>(std::tolower(static_cast<unsigned char>(current[0])));
}

void DriveComboBox::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = "COMBOBOX";
  params.style |= CBS_DROPDOWNLIST | WS_VSCROLL;
  params.style &= ~WS_CLIPCHILDREN;
}

void DriveComboBox::HandleCreated() {
  HWND window = HandleIfAllocated();
  // The drop-down list needs room below the box.
  SetWindowPos(window, nullptr, 0, 0, PixelWidth(), PixelHeight() + Scale(200),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (char letter : letters_) {
    const wchar_t root[] = {static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(letter))), L':', L'\\', 0};
    wchar_t label[MAX_PATH] = {};
    std::wstring text = {static_cast<wchar_t>(letter), L':'};
    if (GetDriveTypeW(root) == DRIVE_FIXED &&
        GetVolumeInformationW(root, label, MAX_PATH, nullptr, nullptr, nullptr, nullptr, 0) && label[0])
      text += std::wstring(L" [") + label + L"]";
    SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ShowDrive(drive_);
}

void DriveComboBox::SetDirList(DirectoryListBox* list) {
  list_ = list;
  if (list_) list_->drives_ = this;
}

void DriveComboBox::ShowDrive(char letter) {
  drive_ = letter;
  auto it = std::find(letters_.begin(), letters_.end(), letter);
  if (HandleAllocated() && it != letters_.end())
    SendMessageW(HandleIfAllocated(), CB_SETCURSEL, static_cast<WPARAM>(it - letters_.begin()), 0);
}

void DriveComboBox::SetDrive(char letter) {
  ShowDrive(letter);
  if (!list_) return;
  // The drive's own current directory, as the system keeps one per drive.
  wchar_t path[MAX_PATH] = {};
  const wchar_t drive[] = {static_cast<wchar_t>(std::toupper(static_cast<unsigned char>(letter))), L':', 0};
  if (!GetFullPathNameW(drive, MAX_PATH, path, nullptr)) return;
  list_->SetDirectory(win32::Utf8FromWide(path));
}

bool DriveComboBox::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
    auto index = SendMessageW(HandleIfAllocated(), CB_GETCURSEL, 0, 0);
    if (index >= 0 && index < static_cast<LRESULT>(letters_.size())) SetDrive(letters_[static_cast<size_t>(index)]);
    result = 0;
    return true;
  }
  return WinControl::Reflected(message, wParam, lParam, result);
}

}  // namespace gui
