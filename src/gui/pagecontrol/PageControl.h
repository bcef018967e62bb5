#pragma once
#include <vector>
#include "gui/core/WinControl.h"

namespace gui {

class PageControl;

// One sheet of a page control, which owns it; only the active sheet is visible.
class TabSheet : public WinControl {
 public:
  explicit TabSheet(PageControl* pageControl);
  ~TabSheet() override;
  PageControl* GetPageControl() const { return pageControl_; }
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool visible) { tabVisible_ = visible; }  // no tab row is ever drawn

 protected:
  // The windows of a sheet's page are made when the sheet is first shown: a wizard's later pages need
  // none of them before the user reaches them, and making them all costs the program's start.
  bool DefersChildHandles() const override { return !Visible(); }
  void VisibleChanged() override;

 private:
  friend class PageControl;
  PageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
};

// A stack of sheets filling the control, one shown at a time. No tab row: sheets change only in code.
class PageControl : public WinControl {
 public:
  explicit PageControl(WinControl* parent);
  ~PageControl() override;

  // A new last sheet, hidden; the page control owns it.
  TabSheet& AddSheet() { return *new TabSheet(this); }
  const std::vector<TabSheet*>& Sheets() const { return sheets_; }
  TabSheet* ActivePage() const { return active_; }
  void SetActivePage(TabSheet* sheet);

 private:
  friend class TabSheet;
  void AttachSheet(TabSheet* sheet);
  void DetachSheet(TabSheet* sheet);
  std::vector<TabSheet*> sheets_;
  TabSheet* active_ = nullptr;
};

}  // namespace gui
