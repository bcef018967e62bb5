#pragma once
#include <windows.h>
#include <utility>

namespace win32 {

// One kernel object or find search, closed with its owner. Traits name the empty value (files answer
// INVALID_HANDLE_VALUE, threads and events nullptr; a find search INVALID_HANDLE_VALUE) and how to close.
template <class Traits>
class BasicUniqueHandle {
 public:
  BasicUniqueHandle() = default;
  explicit BasicUniqueHandle(HANDLE handle) : handle_(handle) {}
  ~BasicUniqueHandle() { reset(); }
  BasicUniqueHandle(const BasicUniqueHandle&) = delete;
  BasicUniqueHandle& operator=(const BasicUniqueHandle&) = delete;
  BasicUniqueHandle(BasicUniqueHandle&& other) noexcept : handle_(other.release()) {}
  BasicUniqueHandle& operator=(BasicUniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  HANDLE get() const { return handle_; }
  // Valid: neither nullptr nor INVALID_HANDLE_VALUE, whichever the call that made it answers on failure.
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return valid(); }

  HANDLE release() { return std::exchange(handle_, Traits::Empty()); }
  void reset(HANDLE handle = Traits::Empty()) {
    HANDLE old = std::exchange(handle_, handle);
    if (old != nullptr && old != INVALID_HANDLE_VALUE) Traits::Close(old);
  }
  // Closes now and says whether the system could (a file's last writes are reported by its close).
  bool close() {
    HANDLE old = release();
    return old == nullptr || old == INVALID_HANDLE_VALUE || Traits::Close(old);
  }

 private:
  HANDLE handle_ = Traits::Empty();
};

struct KernelHandleTraits {
  static HANDLE Empty() { return nullptr; }
  static bool Close(HANDLE handle) { return CloseHandle(handle) != 0; }
};
struct FindHandleTraits {
  static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
  static bool Close(HANDLE handle) { return FindClose(handle) != 0; }
};

// A thread, event, file or any other handle CloseHandle closes.
using UniqueHandle = BasicUniqueHandle<KernelHandleTraits>;
// A FindFirstFile search.
using UniqueFindHandle = BasicUniqueHandle<FindHandleTraits>;

}  // namespace win32
