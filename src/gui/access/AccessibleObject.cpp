#include "gui/access/AccessibleObject.h"
#include "gui/access/Oleacc.h"
#include <new>

namespace gui::access {

BSTR ToBstr(const std::string& text) {
  if (text.empty()) return nullptr;
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  BSTR result = Oleacc::Instance().AllocateString(static_cast<UINT>(length));
  if (result) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result, length);
  return result;
}

namespace {
const VARIANT kSelf = [] {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}();

// The programs import nothing from the automation library, which a planted copy could stand in for.
void Empty(VARIANT* value) { value->vt = VT_EMPTY; }

// No C++ exception may leave a COM method: the caller is a screen reader, often in another process, reached
// through the system's frames. Out of memory becomes E_OUTOFMEMORY, anything else E_FAIL.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

HRESULT AnswerText(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = ToBstr(text);
  return *out ? S_OK : S_FALSE;
}

HRESULT AnswerNumber(long number, VARIANT* out) {
  out->vt = VT_I4;
  out->lVal = number;
  return S_OK;
}
}  // namespace

HRESULT AccessibleObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG AccessibleObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AccessibleObject::Release() {
  LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT AccessibleObject::Resolve(const VARIANT& child, win32::ComRef<IAccessible>& other) {
  other.reset();
  if (!Connected()) return CO_E_OBJNOTCONNECTED;
  if (child.vt != VT_I4) return E_INVALIDARG;
  if (child.lVal == CHILDID_SELF) return S_OK;
  win32::ComRef<IDispatch> object = Child(child.lVal);
  if (!object) return E_INVALIDARG;
  return object->QueryInterface(__uuidof(IAccessible), other.out());
}

template <class Forward, class Answer>
HRESULT AccessibleObject::ForwardOrAnswer(const VARIANT& child, Forward forward, Answer answer) noexcept {
  return Guarded([&]() -> HRESULT {
    win32::ComRef<IAccessible> other;
    HRESULT result = Resolve(child, other);
    if (result != S_OK) return result;
    return other ? forward(*other.get()) : answer();
  });
}

HRESULT AccessibleObject::get_accParent(IDispatch** parent) {
  return Guarded([&]() -> HRESULT {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    return Parent(parent);
  });
}

HRESULT AccessibleObject::get_accChildCount(long* count) {
  return Guarded([&]() -> HRESULT {
    if (!count) return E_POINTER;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    *count = ChildCount();
    return S_OK;
  });
}

HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  return Guarded([&]() -> HRESULT {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF) {
      AddRef();
      *object = this;
      return S_OK;
    }
    *object = Child(child.lVal).detach();
    return *object ? S_OK : E_INVALIDARG;
  });
}

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  if (name) *name = nullptr;
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.get_accName(kSelf, name); },
                         [&] { return AnswerText(Describe().name, name); });
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  if (value) *value = nullptr;
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.get_accValue(kSelf, value); },
                         [] { return S_FALSE; });
}

HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  if (description) *description = nullptr;
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.get_accDescription(kSelf, description); },
                         [] { return S_FALSE; });
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  if (!role) return E_POINTER;
  Empty(role);
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.get_accRole(kSelf, role); },
                         [&] { return AnswerNumber(Describe().role, role); });
}

HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  if (!state) return E_POINTER;
  Empty(state);
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.get_accState(kSelf, state); },
                         [&] { return AnswerNumber(Describe().state, state); });
}

HRESULT AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  if (help) *help = nullptr;
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.get_accHelp(kSelf, help); },
                         [] { return S_FALSE; });
}

HRESULT AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
  if (file) *file = nullptr;
  if (topic) *topic = 0;
  return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (shortcut) *shortcut = nullptr;
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.get_accKeyboardShortcut(kSelf, shortcut); },
                         [&] { return AnswerText(Describe().shortcut, shortcut); });
}

HRESULT AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (action) *action = nullptr;
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.get_accDefaultAction(kSelf, action); },
                         [&] { return AnswerText(Describe().defaultAction, action); });
}

HRESULT AccessibleObject::get_accFocus(VARIANT* focused) {
  return Guarded([&]() -> HRESULT {
    if (!focused) return E_POINTER;
    Empty(focused);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    Focus(*focused);
    return focused->vt == VT_EMPTY ? S_FALSE : S_OK;
  });
}

HRESULT AccessibleObject::get_accSelection(VARIANT* selected) {
  if (!selected) return E_POINTER;
  Empty(selected);
  return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
}

HRESULT AccessibleObject::accSelect(long, VARIANT) {
  return Connected() ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

HRESULT AccessibleObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  return ForwardOrAnswer(
      child, [&](IAccessible& other) { return other.accLocation(left, top, width, height, kSelf); },
      [&] {
        RECT r = Describe().screen;
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
      });
}

HRESULT AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  return Guarded([&]() -> HRESULT {
    if (!end) return E_POINTER;
    Empty(end);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    if (start.vt != VT_I4 || start.lVal != CHILDID_SELF) return DISP_E_MEMBERNOTFOUND;
    return Navigate(direction, end);
  });
}

HRESULT AccessibleObject::accHitTest(long x, long y, VARIANT* child) {
  return Guarded([&]() -> HRESULT {
    if (!child) return E_POINTER;
    Empty(child);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    HitTest(POINT{x, y}, *child);
    return child->vt == VT_EMPTY ? S_FALSE : S_OK;
  });
}

void AccessibleObject::HitTest(POINT screen, VARIANT& result) {
  RECT r = Describe().screen;
  if (PtInRect(&r, screen)) {
    result.vt = VT_I4;
    result.lVal = CHILDID_SELF;
  }
}

HRESULT AccessibleObject::accDoDefaultAction(VARIANT child) {
  return ForwardOrAnswer(child, [&](IAccessible& other) { return other.accDoDefaultAction(kSelf); }, [&] {
    if (Describe().defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    DoDefaultAction();
    return S_OK;
  });
}

}  // namespace gui::access
