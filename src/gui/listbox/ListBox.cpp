#include "gui/listbox/ListBox.h"
#include "win32/TextCodes.h"

namespace gui {

ListBox::ListBox(WinControl* parent) : WinControl(parent) { SetColor(clWindow); }

void ListBox::AddItem(const std::string& text) {
  items_.push_back(text);
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::WideFromUtf8(text).c_str()));
}

void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  items_.erase(items_.begin() + index);
  if (HandleAllocated()) SendMessageW(HandleIfAllocated(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBox::SetItem(int index, const std::string& text) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  items_[static_cast<std::size_t>(index)] = text;
  if (!HandleAllocated()) return;
  const int selected = SelectedIndex();
  SendMessageW(HandleIfAllocated(), LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageW(HandleIfAllocated(), LB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(win32::WideFromUtf8(text).c_str()));
  SendMessageW(HandleIfAllocated(), LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

int ListBox::SelectedIndex() const {
  if (!HandleAllocated()) return -1;
  LRESULT index = SendMessageW(HandleIfAllocated(), LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int>(index);
}

void ListBox::FillCreateParams(CreateParams& params) {
  WinControl::FillCreateParams(params);
  params.className = "LISTBOX";
  params.style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
  params.exStyle |= WS_EX_CLIENTEDGE;
}

void ListBox::HandleCreated() {
  for (const std::string& text : items_)
    SendMessageW(HandleIfAllocated(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win32::WideFromUtf8(text).c_str()));
}

}  // namespace gui
