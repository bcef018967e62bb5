#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include "gui/core/WinControl.h"

namespace gui {

// A top-level window with a fixed dialog frame and no caption-bar buttons, sized by its client area,
// centred on the screen when first shown, with optional whole-window alpha.
class Form : public WinControl {
 public:
  Form();
  ~Form() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientSize(int width, int height);

  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool on);
  BYTE AlphaBlendValue() const { return alphaValue_; }
  void SetAlphaBlendValue(BYTE value);

  bool Showing() const override;
  void Show();    // centres on the first show, then shows and raises OnShow
  void Close();   // the window goes; the main form's closing ends the message loop

  // The form whose window holds this window, or nullptr.
  static Form* FromChildHandle(HWND window);

  // The control that has the keyboard focus while the form is active, or gets it when the form becomes
  // active again; nullptr: the form itself.
  WinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(WinControl* control);
  // Focuses the first tab stop inside container, or the form itself when it holds none.
  void FocusFirstTabStop(const WinControl& container);
  // Moves the focus to the next (or previous) tab stop of the form, wrapping around; false when there is none.
  bool SelectNext(bool forward);
  // A navigation key that the focused control does not take: Tab, Shift+Tab and the arrow keys move the
  // focus between the tab stops as in a dialog. True when the key was used.
  bool DialogKey(WPARAM key);

  std::function<void()> OnCreate;  // run by the code that builds the form, once its controls exist
  std::function<void()> OnShow;
  // Asked when the window is about to close (Close, Alt+F4, the window manager): false keeps it open.
  std::function<bool()> OnCloseQuery;
  void DoCreate() { if (OnCreate) OnCreate(); }

 protected:
  void FillCreateParams(CreateParams& params) override;
  void HandleCreated() override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void BoundsChanged() override;
  void VisibleChanged() override {}
  void DescendantDestroyed(WinControl* control) override;

 private:
  void ApplyAlpha();
  void ChangeDpi(int dpi);
  void FitFrameToClient();
  std::string caption_;
  int clientWidth_ = 0, clientHeight_ = 0;
  bool alphaBlend_ = false;
  BYTE alphaValue_ = 255;
  bool shownOnce_ = false;
  WinControl* activeControl_ = nullptr;
};

}  // namespace gui
