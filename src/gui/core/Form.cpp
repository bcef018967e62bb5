#include "gui/core/Form.h"
#include <algorithm>
#include <vector>
#include "gui/core/Application.h"
#include "gui/core/Dpi.h"
#include "win32/TextCodes.h"

namespace gui {

namespace {
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}  // namespace

Form::Form() : WinControl(nullptr) { SetVisible(false); }

Form::~Form() {
  if (Application::Instance().MainForm() == this) Application::Instance().SetMainForm(nullptr);
}

void Form::SetCaption(const std::string& caption) {
  caption_ = caption;
  if (HandleAllocated()) SetWindowTextW(HandleIfAllocated(), win32::WideFromUtf8(caption_).c_str());
}

void Form::FillCreateParams(CreateParams& params) {
  params.style = kStyle;
  params.exStyle = kExStyle | (alphaBlend_ ? WS_EX_LAYERED : 0);
  params.text = caption_;
}

void Form::HandleCreated() {
  ChangeDpi(DpiOfWindow(HandleIfAllocated()));
  FitFrameToClient();
  ApplyAlpha();
}

void Form::ChangeDpi(int dpi) {
  if (dpi == CurrentDpi()) return;
  SetCurrentDpi(dpi);
  Rescale();
}

void Form::FitFrameToClient() {
  RECT frame{0, 0, Scale(clientWidth_), Scale(clientHeight_)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  SetBounds(Left(), Top(), frame.right - frame.left, frame.bottom - frame.top);
}

void Form::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  FitFrameToClient();
}

void Form::BoundsChanged() {
  if (HandleAllocated())
    SetWindowPos(HandleIfAllocated(), nullptr, Left(), Top(), Width(), Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  Realign();
}

void Form::SetAlphaBlend(bool on) {
  alphaBlend_ = on;
  ApplyAlpha();
}

void Form::SetAlphaBlendValue(BYTE value) {
  alphaValue_ = value;
  ApplyAlpha();
}

void Form::ApplyAlpha() {
  HWND window = HandleIfAllocated();
  if (!window) return;
  LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  if (alphaBlend_) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, alphaValue_, LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongW(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    RedrawWindow(window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

bool Form::Showing() const { return Visible() && HandleAllocated() && IsWindowVisible(HandleIfAllocated()); }

void Form::Show() {
  HWND window = Handle();
  if (!shownOnce_) {
    shownOnce_ = true;
    SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2, (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2, Width(),
              Height());
  }
  Control::SetVisible(true);
  if (OnShow) OnShow();
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
}

void Form::Close() {
  if (HandleAllocated()) PostMessageW(HandleIfAllocated(), WM_CLOSE, 0, 0);
}

Form* Form::FromChildHandle(HWND window) {
  if (!window) return nullptr;
  return dynamic_cast<Form*>(FromHandle(GetAncestor(window, GA_ROOT)));
}

void Form::SetActiveControl(WinControl* control) {
  activeControl_ = control;
  HWND window = HandleIfAllocated();
  if (!window || GetActiveWindow() != window) return;  // applied when the form becomes active
  HWND target = control ? control->Handle() : nullptr;
  ::SetFocus(target ? target : window);
}

void Form::FocusFirstTabStop(const WinControl& container) {
  std::vector<WinControl*> stops = container.TabStopsInside();
  SetActiveControl(stops.empty() ? nullptr : stops.front());
}

bool Form::SelectNext(bool forward) {
  std::vector<FocusStop> stops = FocusStopsInside();
  if (stops.empty()) return false;
  WinControl* owner = OwnerOfWindow(GetFocus());
  if (!owner || owner == this) owner = activeControl_;
  FocusStop current{owner, owner ? owner->Host().Focused() : nullptr};
  auto at = std::find(stops.begin(), stops.end(), current);
  size_t next;
  if (at == stops.end()) next = forward ? 0 : stops.size() - 1;
  else {
    size_t index = static_cast<size_t>(at - stops.begin());
    next = forward ? (index + 1) % stops.size() : (index + stops.size() - 1) % stops.size();
  }
  WinControl* target = stops[next].window;
  // The windowless stop is chosen before its window takes the focus, so that the window announces it.
  target->Host().SetFocused(stops[next].windowless);
  SetActiveControl(target);
  if (HWND window = target->HandleIfAllocated()) {
    // As in a dialog: the whole text of a field is selected on arrival, ready to be typed over.
    if (SendMessageW(window, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(window, EM_SETSEL, 0, -1);
  }
  // Keyboard users see where the focus is from now on.
  if (HWND window = HandleIfAllocated())
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  return true;
}

bool Form::DialogKey(WPARAM key) {
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  switch (key) {
    case VK_TAB:
      return SelectNext(GetKeyState(VK_SHIFT) >= 0);
    case VK_RIGHT:
    case VK_DOWN:
      return SelectNext(true);
    case VK_LEFT:
    case VK_UP:
      return SelectNext(false);
  }
  return false;
}

void Form::DescendantDestroyed(WinControl* control) {
  if (activeControl_ == control) activeControl_ = nullptr;
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        // Remember where the focus was, so that it comes back there (after a message box, say).
        WinControl* focused = OwnerOfWindow(GetFocus());
        if (focused == this) activeControl_ = nullptr;
        else if (focused && FromChildHandle(focused->HandleIfAllocated()) == this) activeControl_ = focused;
      } else if (!HIWORD(wParam) && activeControl_ && activeControl_->HandleAllocated() &&
                 IsWindowVisible(activeControl_->HandleIfAllocated()) &&
                 IsWindowEnabled(activeControl_->HandleIfAllocated())) {
        ::SetFocus(activeControl_->HandleIfAllocated());
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      // Moved to a screen of another density: the same layout at the new scale, in the rectangle offered.
      ChangeDpi(HIWORD(wParam));
      const RECT& offered = *reinterpret_cast<const RECT*>(lParam);
      SetBounds(offered.left, offered.top, offered.right - offered.left, offered.bottom - offered.top);
      return 0;
    }
    case WM_CLOSE:
      if (OnCloseQuery && !OnCloseQuery()) return 0;
      DestroyHandle();
      return 0;
    case WM_DESTROY:
      if (Application::Instance().MainForm() == this) PostQuitMessage(0);
      break;
  }
  return WinControl::WndProc(message, wParam, lParam);
}

}  // namespace gui
