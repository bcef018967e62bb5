#include "access/ScreenReader.h"

namespace reader {

namespace {
VARIANT Self() {
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::string FromBstr(BSTR text) {
  if (!text) return {};
  int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
  if (length > 1) WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), length, nullptr, nullptr);
  SysFreeString(text);
  return result;
}

std::string RoleText(long role) {
  char text[128] = "";
  GetRoleTextA(static_cast<DWORD>(role), text, sizeof(text));
  return text;
}
}  // namespace

Object& Object::operator=(Object&& other) noexcept {
  if (this != &other) {
    if (object_) object_->Release();
    object_ = other.object_;
    other.object_ = nullptr;
  }
  return *this;
}

Object Object::ClientOf(HWND window) {
  void* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible), &object)))
    return Object();
  return Object(static_cast<IAccessible*>(object));
}

std::vector<Object> Object::Children() const {
  std::vector<Object> children;
  long count = 0;
  if (!object_ || FAILED(object_->get_accChildCount(&count))) return children;
  for (long id = 1; id <= count; ++id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    IDispatch* dispatch = nullptr;
    if (FAILED(object_->get_accChild(child, &dispatch)) || !dispatch) continue;
    void* accessible = nullptr;
    if (SUCCEEDED(dispatch->QueryInterface(__uuidof(IAccessible), &accessible)))
      children.emplace_back(static_cast<IAccessible*>(accessible));
    dispatch->Release();
  }
  return children;
}

std::string Object::Name() const {
  BSTR name = nullptr;
  if (!object_ || FAILED(object_->get_accName(Self(), &name))) return {};
  return FromBstr(name);
}

HRESULT Object::NameResult() const {
  BSTR name = nullptr;
  HRESULT result = object_->get_accName(Self(), &name);
  if (SUCCEEDED(result)) SysFreeString(name);
  return result;
}

long Object::Role() const {
  VARIANT role;
  VariantInit(&role);
  if (!object_ || FAILED(object_->get_accRole(Self(), &role)) || role.vt != VT_I4) return -1;
  return role.lVal;
}

long Object::State() const {
  VARIANT state;
  VariantInit(&state);
  if (!object_ || FAILED(object_->get_accState(Self(), &state)) || state.vt != VT_I4) return -1;
  return state.lVal;
}

std::string Object::Shortcut() const {
  BSTR text = nullptr;
  if (!object_ || FAILED(object_->get_accKeyboardShortcut(Self(), &text))) return {};
  return FromBstr(text);
}

std::string Object::DefaultAction() const {
  BSTR text = nullptr;
  if (!object_ || FAILED(object_->get_accDefaultAction(Self(), &text))) return {};
  return FromBstr(text);
}

RECT Object::Location() const {
  long left = 0, top = 0, width = 0, height = 0;
  if (!object_ || FAILED(object_->accLocation(&left, &top, &width, &height, Self()))) return RECT{};
  return RECT{left, top, left + width, top + height};
}

HRESULT Object::DoDefaultAction() const { return object_->accDoDefaultAction(Self()); }

Object Object::FindButton(const std::string& name) const {
  for (Object& child : Children()) {
    if (child.Role() == ROLE_SYSTEM_PUSHBUTTON && child.Name() == name) return std::move(child);
    if (Object found = child.FindButton(name)) return found;
  }
  return Object();
}

std::string Read(const Object& object, int depth) {
  std::string line(static_cast<size_t>(depth) * 2, ' ');
  line += RoleText(object.Role());
  std::string name = object.Name();
  if (!name.empty()) line += " \"" + name + "\"";
  std::string shortcut = object.Shortcut();
  if (!shortcut.empty()) line += " " + shortcut;
  long state = object.State();
  if (state > 0 && (state & STATE_SYSTEM_UNAVAILABLE)) line += " unavailable";
  if (state > 0 && (state & STATE_SYSTEM_FOCUSED)) line += " focused";
  std::string text = line + "\n";
  for (const Object& child : object.Children()) text += Read(child, depth + 1);
  return text;
}

}  // namespace reader
