#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace gui {

// A context menu of plain items; Popup shows it modally and runs the chosen item's handler.
class PopupMenu {
 public:
  PopupMenu();
  virtual ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  void Add(const std::string& caption, std::function<void()> onClick);
  size_t Count() const { return handlers_.size(); }
  // Shows the menu with its top-left corner at the screen point; returns once it has closed.
  virtual void Popup(int screenX, int screenY);

 private:
  HMENU menu_;
  std::vector<std::function<void()>> handlers_;
};

}  // namespace gui
