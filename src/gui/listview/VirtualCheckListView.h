#pragma once
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>
#include "gui/core/WinControl.h"

namespace gui {

// An owned image list.
class OwnedImageList {
 public:
  OwnedImageList() = default;
  ~OwnedImageList() {
    if (list_) ImageList_Destroy(list_);
  }
  OwnedImageList(const OwnedImageList&) = delete;
  OwnedImageList& operator=(const OwnedImageList&) = delete;
  void reset(HIMAGELIST list) {
    if (list_) ImageList_Destroy(list_);
    list_ = list;
  }
  HIMAGELIST get() const { return list_; }

 private:
  HIMAGELIST list_ = nullptr;
};

// A report-style list view that holds no rows: it asks for each row's texts and check box as it draws them,
// so a hundred thousand rows cost the window nothing. A row without a box serves as a heading. A click on a
// box or Space on the focused row asks the owner to toggle it; the owner changes its own data and redraws.
// Texts are UTF-8.
class VirtualCheckListView : public WinControl {
 public:
  enum class Box { None, Unticked, Ticked };
  struct Column {
    std::string title;
    int width;
    bool rightAligned = false;
  };

  explicit VirtualCheckListView(WinControl* parent);
  void SetColumns(const std::vector<Column>& columns);

  // A new row count; the view keeps its place where the rows still reach it.
  void SetRowCount(int rows);
  int RowCount() const { return rows_; }
  // Draws the rows again after their data changed.
  void RedrawRows(int first, int last);
  void RedrawAll();
  int FocusedRow() const;

  std::function<std::string(int row, int column)> OnGetText;
  std::function<Box(int row)> OnGetBox;
  std::function<void(int row)> OnToggle;
  std::function<void(int column)> OnColumnClick;
  std::function<void(int row)> OnActivate;  // a double-click or Enter on a row

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void MakeBoxImages();
  void FillDisplayInfo(LVITEMW& item);
  void FillDisplayInfo(LVITEMA& item);
  UINT StateImageOf(int row) const;
  void Toggle(int row);

  std::vector<Column> columns_;
  int rows_ = 0;
  OwnedImageList boxes_;
};

}  // namespace gui
