#pragma once
#include <windows.h>
#include <oleacc.h>
#include <string>
#include <vector>
#include "toolkit/ComApartment.h"

// Reads accessible objects as a screen reader does: from another process, through AccessibleObjectFromWindow.
namespace reader {

// An owned reference to an accessible object.
class Object {
 public:
  Object() = default;
  explicit Object(IAccessible* object) : object_(object) {}
  ~Object() { if (object_) object_->Release(); }
  Object(Object&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  Object& operator=(Object&& other) noexcept;
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  static Object ClientOf(HWND window);
  explicit operator bool() const { return object_ != nullptr; }
  IAccessible* get() const { return object_; }

  std::vector<Object> Children() const;
  std::string Name() const;
  long Role() const;    // -1 when the call fails
  long State() const;   // -1 when the call fails
  std::string Shortcut() const;
  std::string DefaultAction() const;
  RECT Location() const;
  HRESULT NameResult() const;     // what get_accName answers
  HRESULT DoDefaultAction() const;
  // The first push button below this object (depth first) named name.
  Object FindButton(const std::string& name) const;

 private:
  IAccessible* object_ = nullptr;
};

// The tree below object, one line an object, indented by depth: role, name, shortcut, states.
std::string Read(const Object& object, int depth = 0);

using ::ComApartment;

}  // namespace reader
