#include "gui/menu/PopupMenu.h"
#include "gui/core/Application.h"
#include "gui/core/Form.h"
#include "win32/TextCodes.h"

namespace gui {

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {}

PopupMenu::~PopupMenu() { DestroyMenu(menu_); }

void PopupMenu::Add(const std::string& caption, std::function<void()> onClick) {
  handlers_.push_back(std::move(onClick));
  AppendMenuW(menu_, MF_STRING, handlers_.size(), win32::WideFromUtf8(caption).c_str());
}

void PopupMenu::Popup(int screenX, int screenY) {
  Form* owner = Application::Instance().MainForm();
  HWND window = owner ? owner->Handle() : Application::Instance().UtilityWindow();
  SetForegroundWindow(window);  // otherwise a click elsewhere does not close the menu
  UINT chosen = TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY, screenX, screenY, 0,
                               window, nullptr);
  if (chosen >= 1 && chosen <= handlers_.size() && handlers_[chosen - 1]) handlers_[chosen - 1]();
}

}  // namespace gui
