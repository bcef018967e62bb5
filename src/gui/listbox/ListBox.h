#pragma once
#include <string>
#include <vector>
#include "gui/core/WinControl.h"

namespace gui {

// A plain list of text lines, one selectable at a time. The lines are kept here as well as in the window.
class ListBox : public WinControl {
 public:
  explicit ListBox(WinControl* parent);
  const std::vector<std::string>& Items() const { return items_; }
  void AddItem(const std::string& text);
  void RemoveItem(int index);
  // A line's new text, in its place and still selected.
  void SetItem(int index, const std::string& text);
  int SelectedIndex() const;  // -1 when none is selected

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;

 private:
  std::vector<std::string> items_;
};

}  // namespace gui
