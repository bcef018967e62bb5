#pragma once
#include <utility>

namespace win32 {

// One COM interface reference, released with its owner.
template <class Interface>
class ComRef {
 public:
  ComRef() = default;
  // Takes over a reference the caller already holds (one a call handed out, or a new object's first).
  explicit ComRef(Interface* pointer) : pointer_(pointer) {}
  ~ComRef() { reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : pointer_(other.detach()) {}
  ComRef& operator=(ComRef&& other) noexcept {
    if (this != &other) attach(other.detach());
    return *this;
  }

  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For the calls that hand out an interface: the reference must be empty.
  void** out() { return reinterpret_cast<void**>(&pointer_); }

  // Releases what it holds and takes over pointer's reference.
  void attach(Interface* pointer) {
    Interface* old = std::exchange(pointer_, pointer);
    if (old) old->Release();
  }
  void reset() { attach(nullptr); }
  // Hands the reference to the caller, who releases it.
  Interface* detach() { return std::exchange(pointer_, nullptr); }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace win32
