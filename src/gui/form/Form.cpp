#include "gui/form/Form.h"
#include "gui/core/Application.h"

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
  if (HandleAllocated()) SetWindowTextA(HandleIfAllocated(), caption_.c_str());
}

void Form::FillCreateParams(CreateParams& params) {
  params.style = kStyle;
  params.exStyle = kExStyle | (alphaBlend_ ? WS_EX_LAYERED : 0);
  params.text = caption_;
}

void Form::HandleCreated() {
  FitFrameToClient();
  ApplyAlpha();
}

void Form::FitFrameToClient() {
  RECT frame{0, 0, clientWidth_, clientHeight_};
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
  LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
  if (alphaBlend_) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongA(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, alphaValue_, LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    SetWindowLongA(window, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
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
  if (HandleAllocated()) PostMessageA(HandleIfAllocated(), WM_CLOSE, 0, 0);
}

Form* Form::FromChildHandle(HWND window) {
  if (!window) return nullptr;
  return dynamic_cast<Form*>(FromHandle(GetAncestor(window, GA_ROOT)));
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      DestroyHandle();
      return 0;
    case WM_DESTROY:
      if (Application::Instance().MainForm() == this) PostQuitMessage(0);
      break;
  }
  return WinControl::WndProc(message, wParam, lParam);
}

}  // namespace gui
