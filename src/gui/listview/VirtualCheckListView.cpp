#include "gui/listview/VirtualCheckListView.h"
#include <algorithm>
#include "gui/core/Dpi.h"
#include "gui/core/Gdi.h"
#include "win32/TextCodes.h"

namespace gui {

namespace {

constexpr int kBoxSize = 16;

}  // namespace

VirtualCheckListView::VirtualCheckListView(WinControl* parent) : WinControl(parent) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
  SetColor(clWindow);
}

void VirtualCheckListView::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = WC_LISTVIEWA;
  // The image list is ours: the view must not destroy it.
  params.style |= LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS | WS_TABSTOP;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

// An empty and a ticked box, drawn the way the system draws a check box.
void VirtualCheckListView::MakeBoxImages() {
  if (boxes_.get()) return;
  boxes_.reset(ImageList_Create(kBoxSize, kBoxSize, ILC_COLOR24, 2, 0));
  WindowDC screen(nullptr);
  MemoryDC memory(screen.get());
  OwnedBitmap strip(CreateCompatibleBitmap(screen.get(), 2 * kBoxSize, kBoxSize));
  {
    HDC dc = memory.get();
    ScopedSelect select(dc, strip.get());
    RECT all{0, 0, 2 * kBoxSize, kBoxSize};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
    for (int ticked = 0; ticked < 2; ++ticked) {
      RECT box{ticked * kBoxSize + 2, 2, ticked * kBoxSize + kBoxSize - 1, kBoxSize - 1};
      DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (ticked ? DFCS_CHECKED : 0));
    }
  }
  ImageList_Add(boxes_.get(), strip.get(), nullptr);
}

void VirtualCheckListView::HandleCreated() {
  HWND window = HandleIfAllocated();
  ListView_SetExtendedListViewStyle(window, LVS_EX_FULLROWSELECT);
  MakeBoxImages();
  ListView_SetImageList(window, boxes_.get(), LVSIL_STATE);
  ListView_SetCallbackMask(window, LVIS_STATEIMAGEMASK);
  for (size_t i = 0; i < columns_.size(); ++i) {
    std::wstring title = win32::WideFromUtf8(columns_[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = columns_[i].rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = Scale(columns_[i].width);
    column.pszText = title.data();
    SendMessageW(window, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  ListView_SetItemCountEx(window, rows_, LVSICF_NOINVALIDATEALL);
}

void VirtualCheckListView::SetColumns(const std::vector<Column>& columns) {
  columns_ = columns;
  if (HandleAllocated()) HandleCreated();
}

void VirtualCheckListView::SetRowCount(int rows) {
  rows_ = std::max(0, rows);
  if (!HandleAllocated()) return;
  ListView_SetItemCountEx(HandleIfAllocated(), rows_, LVSICF_NOSCROLL);
  RedrawAll();
}

void VirtualCheckListView::RedrawRows(int first, int last) {
  if (HandleAllocated() && rows_ > 0) ListView_RedrawItems(HandleIfAllocated(), std::max(0, first), std::min(last, rows_ - 1));
}

void VirtualCheckListView::RedrawAll() {
  if (HandleAllocated()) InvalidateRect(HandleIfAllocated(), nullptr, FALSE);
}

int VirtualCheckListView::FocusedRow() const {
  if (!HandleAllocated()) return -1;
  return ListView_GetNextItem(HandleIfAllocated(), -1, LVNI_FOCUSED);
}

UINT VirtualCheckListView::StateImageOf(int row) const {
  Box box = OnGetBox ? OnGetBox(row) : Box::None;
  return INDEXTOSTATEIMAGEMASK(box == Box::None ? 0 : box == Box::Unticked ? 1 : 2);
}

void VirtualCheckListView::FillDisplayInfo(LVITEMW& item) {
  if (item.iItem < 0 || item.iItem >= rows_) return;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    std::wstring text = win32::WideFromUtf8(OnGetText ? OnGetText(item.iItem, item.iSubItem) : std::string());
    size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    text.copy(item.pszText, length);
    item.pszText[length] = L'\0';
  }
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | StateImageOf(item.iItem);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

void VirtualCheckListView::FillDisplayInfo(LVITEMA& item) {
  if (item.iItem < 0 || item.iItem >= rows_) return;
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
    std::wstring wide = win32::WideFromUtf8(OnGetText ? OnGetText(item.iItem, item.iSubItem) : std::string());
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), item.pszText,
                                     item.cchTextMax - 1, nullptr, nullptr);
    item.pszText[std::max(0, length)] = '\0';
  }
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | StateImageOf(item.iItem);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

void VirtualCheckListView::Toggle(int row) {
  if (row < 0 || row >= rows_ || !OnGetBox || OnGetBox(row) == Box::None || !OnToggle) return;
  OnToggle(row);
  RedrawRows(row, row);
}

bool VirtualCheckListView::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message != WM_NOTIFY) return WinControl::Reflected(message, wParam, lParam, result);
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  switch (header->code) {
    case LVN_GETDISPINFOW:
      FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(lParam)->item);
      result = 0;
      return true;
    case LVN_GETDISPINFOA:
      FillDisplayInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam)->item);
      result = 0;
      return true;
    case NM_CLICK: {
      LVHITTESTINFO hit{};
      hit.pt = reinterpret_cast<NMITEMACTIVATE*>(lParam)->ptAction;
      int row = ListView_HitTest(HandleIfAllocated(), &hit);
      if (row >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) Toggle(row);
      result = 0;
      return true;
    }
    case LVN_COLUMNCLICK:
      if (OnColumnClick) OnColumnClick(reinterpret_cast<NMLISTVIEW*>(lParam)->iSubItem);
      result = 0;
      return true;
    case LVN_ITEMACTIVATE:
      if (OnActivate && FocusedRow() >= 0) OnActivate(FocusedRow());
      result = 0;
      return true;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey == VK_SPACE) Toggle(FocusedRow());
      result = 0;
      return true;
  }
  return WinControl::Reflected(message, wParam, lParam, result);
}

}  // namespace gui
