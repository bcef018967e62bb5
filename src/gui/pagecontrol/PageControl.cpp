#include "gui/pagecontrol/PageControl.h"
#include <algorithm>

namespace gui {

TabSheet::TabSheet(PageControl* pageControl) : WinControl(nullptr), pageControl_(pageControl) {
  SetVisible(false);
  SetParent(pageControl);
  SetAlign(Align::Client);
  pageControl->AttachSheet(this);
}

TabSheet::~TabSheet() {
  if (pageControl_) pageControl_->DetachSheet(this);
}

void TabSheet::VisibleChanged() {
  // The page's windows exist before the sheet shows, so that it never shows without them.
  if (Visible() && HandleAllocated()) {
    CreateChildHandles();
    Realign();
  }
  WinControl::VisibleChanged();
}

PageControl::PageControl(WinControl* parent) : WinControl(parent) {}

PageControl::~PageControl() {
  // The sheets die in the base destructor, after our list is gone: they must not look for it then.
  for (TabSheet* sheet : sheets_) sheet->pageControl_ = nullptr;
}

void PageControl::AttachSheet(TabSheet* sheet) {
  sheets_.push_back(sheet);
  sheet->SetColor(GetColor());
}

void PageControl::DetachSheet(TabSheet* sheet) {
  sheets_.erase(std::remove(sheets_.begin(), sheets_.end(), sheet), sheets_.end());
  if (active_ == sheet) active_ = nullptr;
}

void PageControl::SetActivePage(TabSheet* sheet) {
  if (sheet == active_) return;
  TabSheet* previous = active_;
  active_ = sheet;
  if (sheet) sheet->SetVisible(true);
  if (previous) previous->SetVisible(false);
}

}  // namespace gui
