#include "gui/core/WinControl.h"
#include <commctrl.h>
#include "gui/core/Canvas.h"
#include "gui/core/Dpi.h"
#include "gui/core/Application.h"
#include "gui/core/Error.h"
#include "gui/core/GraphicControl.h"
#include "gui/core/Messages.h"
#include "gui/core/PaintBuffer.h"
#include "gui/core/AccessibleWindow.h"
#include "win32/TextCodes.h"

// The window side of WinControl: making and destroying the window, its class, the window procedures,
// painting and the reflection of notifications to the child they came from.
namespace gui {

namespace {

constexpr const wchar_t* kOwnClassName = L"TwinsiftWindow";
constexpr const wchar_t* kObjectProperty = L"TwinsiftControl";

}  // namespace

WinControl* WinControl::FromHandle(HWND window) {
  return window ? static_cast<WinControl*>(GetPropW(window, kObjectProperty)) : nullptr;
}

void WinControl::FillCreateParams(CreateParams& params) {
  if (Visible()) params.style |= WS_VISIBLE;
  if (!Enabled()) params.style |= WS_DISABLED;
  if (tabStop_) params.style |= WS_TABSTOP;
}

void WinControl::CreateHandle() {
  if (hwnd_) return;
  HWND parentWindow = ParentHandle();
  if (Parent() && !parentWindow) return;
  CreateParams params;
  FillCreateParams(params);
  creating_ = true;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::wstring text = win32::WideFromUtf8(params.text);
  if (params.className.empty()) {
    static const bool registered = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.style = CS_DBLCLKS;
      wc.lpfnWndProc = OwnClassProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
      wc.lpszClassName = kOwnClassName;
      return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    hwnd_ = CreateWindowExW(params.exStyle, kOwnClassName, text.c_str(), params.style, Left(), Top(), Width(),
                            Height(), parentWindow, nullptr, instance, this);
  } else {
    hwnd_ = CreateWindowExW(params.exStyle, win32::WideFromUtf8(params.className).c_str(), text.c_str(), params.style, Left(), Top(),
                            Width(), Height(), parentWindow, nullptr, instance, nullptr);
    if (hwnd_) {
      SetPropW(hwnd_, kObjectProperty, this);
      SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
      subclassed_ = true;
    }
  }
  creating_ = false;
  if (!hwnd_) throw Error("Cannot create a window: " + SystemErrorText(GetLastError()));
  if (Parent() && CurrentDpi() != kDesignDpi) BoundsChanged();  // made at 96-dpi bounds: now to the pixels
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont().Handle()), FALSE);
  HandleCreated();
  if (!DefersChildHandles()) CreateChildHandles();
  Realign();
}

void WinControl::CreateChildHandles() {
  for (Control* child : std::vector<Control*>(children_))
    if (auto* windowed = dynamic_cast<WinControl*>(child)) windowed->CreateHandle();
}

void WinControl::DestroyHandle() {
  if (!hwnd_) return;
  HWND window = hwnd_;
  DestroyWindow(window);  // WM_NCDESTROY unbinds the object
  hwnd_ = nullptr;
}

void WinControl::PaintBackground(HDC dc, const RECT& area) {
  OwnedBrush brush(CreateSolidBrush(ColorToRGB(GetColor())));
  FillRect(dc, &area, brush.get());
}

void WinControl::PaintWindow(HDC dc, const RECT& area) {
  PaintBackground(dc, area);
  for (Control* child : children_) {
    auto* graphic = dynamic_cast<GraphicControl*>(child);
    if (!graphic || !graphic->Visible()) continue;
    RECT bounds = graphic->BoundsRect(), overlap;
    if (!IntersectRect(&overlap, &bounds, &area)) continue;
    SavedDC saved(dc);
    IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + bounds.left, origin.y + bounds.top, nullptr);
    Canvas canvas(dc);
    graphic->Paint(canvas);
  }
}

bool WinControl::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      result = AnswerColorRequest(reinterpret_cast<HDC>(wParam), GetColor());
      return true;
  }
  return false;
}

LRESULT WinControl::AnswerColorRequest(HDC dc, Color background) {
  SetTextColor(dc, ColorToRGB(GetFont().GetColor()));
  SetBkColor(dc, ColorToRGB(background));
  if (!background_ || backgroundColor_ != background) {
    background_.reset(CreateSolidBrush(ColorToRGB(background)));
    backgroundColor_ = background;
  }
  return reinterpret_cast<LRESULT>(background_.get());
}

LRESULT WinControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return subclassed_ ? DefSubclassProc(hwnd_, message, wParam, lParam)
                     : DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT WinControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Notifications and colour requests go back to the child that sent them.
  HWND from = nullptr;
  switch (message) {
    case WM_COMMAND: from = reinterpret_cast<HWND>(lParam); break;
    case WM_NOTIFY: from = reinterpret_cast<NMHDR*>(lParam)->hwndFrom; break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: from = reinterpret_cast<HWND>(lParam); break;
    case WM_DRAWITEM: from = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem; break;
  }
  if (from && from != hwnd_) {
    if (WinControl* child = FromHandle(from)) {
      LRESULT result = 0;
      if (child->Reflected(message, wParam, lParam, result)) return result;
    }
  }
  // A screen reader asks for the client's object; Wine passes the id zero-extended on 64 bits.
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT && Role() != AccessibleRole::None) {
    if (LRESULT answer = access::AnswerClientObject(*this, wParam)) return answer;
  }
  if (!subclassed_) {
    switch (message) {
      case WM_TWINSIFT_REORDERED:
        host_.AnnounceReorder();
        return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        host_.WindowFocusChanged();
        break;
      case WM_KEYDOWN:
        if (host_.RouteKey(wParam)) return 0;
        break;
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT paints everything, through a buffer
      case WM_PAINT: {
        PaintDC paint(hwnd_);
        PaintBuffered(paint, [this](HDC dc, const RECT& area) { PaintWindow(dc, area); });
        return 0;
      }
      case WM_MOUSEMOVE:
      case WM_MOUSELEAVE:
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
      case WM_CAPTURECHANGED:
        if (host_.RouteMouse(message, wParam, lParam)) return 0;
        break;
    }
  }
  return DefaultProc(message, wParam, lParam);
}

LRESULT WinControl::SafeWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return WndProc(message, wParam, lParam);
  } catch (...) {
    Application::Instance().HandleException();
    return 0;
  }
}

LRESULT CALLBACK WinControl::OwnClassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* control = static_cast<WinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    control->hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProperty, control);
  }
  WinControl* control = FromHandle(hwnd);
  if (!control) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    RemovePropW(hwnd, kObjectProperty);
    control->hwnd_ = nullptr;
    control->host_.WindowGone();
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return control->SafeWndProc(message, wParam, lParam);
}

LRESULT CALLBACK WinControl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
  auto* control = reinterpret_cast<WinControl*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, SubclassProc, 1);
    RemovePropW(hwnd, kObjectProperty);
    control->hwnd_ = nullptr;
    control->subclassed_ = false;
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
  return control->SafeWndProc(message, wParam, lParam);
}

}  // namespace gui
