#pragma once
#include <functional>
#include <string>
#include <vector>
#include "gui/core/WinControl.h"

namespace gui {

// A report-style list view whose rows may carry a check box. Rows without one serve as headings.
// Texts are UTF-8. Rows live in the window only: fill it once its window exists.
class CheckListView : public WinControl {
 public:
  struct Column {
    std::string title;
    int width;
    bool rightAligned = false;
  };

  explicit CheckListView(WinControl* parent);
  void SetColumns(const std::vector<Column>& columns);

  void Clear();
  // Adds a row at the end; returns its index.
  int AddRow(const std::vector<std::string>& texts, bool checkable);
  int RowCount() const;
  bool Checked(int row) const;
  void SetChecked(int row, bool checked);
  // Stops and restarts drawing around many changes.
  void BeginUpdate();
  void EndUpdate();

  std::function<void(int row)> OnCheckChanged;  // by the user or by SetChecked

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  std::vector<Column> columns_;
  bool settingBoxes_ = false;  // our own change of a row's box, allowed even on a heading
};

}  // namespace gui
