#include "gui/listview/CheckListView.h"
#include <commctrl.h>
#include "win32/TextCodes.h"

namespace gui {

namespace {

// State image 0 shows no box, 1 an empty box, 2 a ticked one.
constexpr UINT kNoBox = INDEXTOSTATEIMAGEMASK(0);
constexpr UINT kUnticked = INDEXTOSTATEIMAGEMASK(1);
constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);

}  // namespace

CheckListView::CheckListView(WinControl* parent) : WinControl(parent) {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)registered;
  SetColor(clWindow);
}

void CheckListView::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = WC_LISTVIEWA;
  params.style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | WS_TABSTOP;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

void CheckListView::HandleCreated() {
  HWND window = HandleIfAllocated();
  ListView_SetExtendedListViewStyle(window, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  for (size_t i = 0; i < columns_.size(); ++i) {
    std::wstring title = win32::WideFromUtf8(columns_[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = columns_[i].rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = columns_[i].width;
    column.pszText = title.data();
    SendMessageW(window, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

void CheckListView::SetColumns(const std::vector<Column>& columns) {
  columns_ = columns;
  if (HandleAllocated()) HandleCreated();
}

void CheckListView::Clear() {
  if (HandleAllocated()) ListView_DeleteAllItems(HandleIfAllocated());
}

int CheckListView::AddRow(const std::vector<std::string>& texts, bool checkable) {
  HWND window = Handle();
  std::wstring first = win32::WideFromUtf8(texts.empty() ? std::string() : texts[0]);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount();
  item.pszText = first.data();
  int row = static_cast<int>(SendMessageW(window, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  if (row < 0) return row;
  for (size_t i = 1; i < texts.size(); ++i) {
    std::wstring text = win32::WideFromUtf8(texts[i]);
    LVITEMW sub{};
    sub.iSubItem = static_cast<int>(i);
    sub.pszText = text.data();
    SendMessageW(window, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
  }
  settingBoxes_ = true;
  ListView_SetItemState(window, row, checkable ? kUnticked : kNoBox, LVIS_STATEIMAGEMASK);
  settingBoxes_ = false;
  return row;
}

int CheckListView::RowCount() const {
  return HandleAllocated() ? ListView_GetItemCount(HandleIfAllocated()) : 0;
}

bool CheckListView::Checked(int row) const {
  if (!HandleAllocated()) return false;
  return (ListView_GetItemState(HandleIfAllocated(), row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == kTicked;
}

void CheckListView::SetChecked(int row, bool checked) {
  if (!HandleAllocated()) return;
  UINT state = ListView_GetItemState(HandleIfAllocated(), row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK;
  if (state == kNoBox) return;  // a heading stays without a box
  ListView_SetItemState(HandleIfAllocated(), row, checked ? kTicked : kUnticked, LVIS_STATEIMAGEMASK);
}

void CheckListView::BeginUpdate() { SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0); }

void CheckListView::EndUpdate() {
  SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Handle(), nullptr, TRUE);
}

bool CheckListView::Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == LVN_ITEMCHANGING) {
      // A heading never takes a box, however it is clicked.
      auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
      result = (change->uChanged & LVIF_STATE) && (change->uOldState & LVIS_STATEIMAGEMASK) == kNoBox &&
               (change->uNewState & LVIS_STATEIMAGEMASK) != kNoBox && change->iItem >= 0 && !settingBoxes_;
      return true;
    }
    if (header->code == LVN_ITEMCHANGED) {
      auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
      if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & LVIS_STATEIMAGEMASK) &&
          (change->uOldState & LVIS_STATEIMAGEMASK) != 0 && OnCheckChanged)
        OnCheckChanged(change->iItem);
      result = 0;
      return true;
    }
  }
  return WinControl::Reflected(message, wParam, lParam, result);
}

}  // namespace gui
