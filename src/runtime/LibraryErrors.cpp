// The standard library's throw helpers, which every vector and string use references. libstdc++'s own
// construct std::length_error and its kin, and those pull in the old reference-counted string and the whole
// logic_error family (about 80 KB). Ours throw runtime::LibraryFault, which our programs' handler shows
// alike: they catch std::exception and report what(). A test makes sure no source catches one of the
// replaced types by name.
//
// libstdc++ defines all of these in one object. Defining every one of them here keeps that object out of the
// link; should a newer library add a helper to it, that object comes back and the duplicate definitions stop
// the link, so a change cannot slip through unnoticed.
#include <cstdarg>
#include <cstddef>
#include <new>
#include <typeinfo>
#include "runtime/LibraryFault.h"

namespace runtime {

LibraryFault::LibraryFault(const char* message) noexcept {
  std::size_t length = 0;
  for (; message && message[length] && length + 1 < sizeof message_; ++length) message_[length] = message[length];
  message_[length] = '\0';
}

}  // namespace runtime

namespace {

[[noreturn]] void Fault(const char* message) { throw runtime::LibraryFault(message); }

}  // namespace

namespace std {

void __throw_bad_exception() { throw bad_exception(); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_logic_error(const char* message) { Fault(message); }
void __throw_domain_error(const char* message) { Fault(message); }
void __throw_invalid_argument(const char* message) { Fault(message); }
void __throw_length_error(const char* message) { Fault(message); }
void __throw_out_of_range(const char* message) { Fault(message); }
void __throw_runtime_error(const char* message) { Fault(message); }
void __throw_range_error(const char* message) { Fault(message); }
void __throw_overflow_error(const char* message) { Fault(message); }
void __throw_underflow_error(const char* message) { Fault(message); }

// The library words these as formats with %zu, %lu and %s arguments. They are filled in by hand: a printf
// would bring back much of what this file saves.
void __throw_out_of_range_fmt(const char* format, ...) {
  char message[160];
  std::size_t length = 0;
  auto put = [&](char c) {
    if (length + 1 < sizeof message) message[length++] = c;
  };
  va_list arguments;
  va_start(arguments, format);
  for (const char* p = format; *p; ++p) {
    if (*p != '%') {
      put(*p);
      continue;
    }
    ++p;
    if (*p == 's') {
      for (const char* text = va_arg(arguments, const char*); text && *text; ++text) put(*text);
    } else if (*p == 'z' || *p == 'l') {
      bool sizeType = *p == 'z';
      if (p[1]) ++p;  // the conversion letter, always u
      unsigned long long value = sizeType ? va_arg(arguments, std::size_t) : va_arg(arguments, unsigned long);
      char digits[24];
      int count = 0;
      do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
      } while (value);
      while (count) put(digits[--count]);
    } else if (*p) {
      put(*p);  // %% and anything unexpected as it stands
    } else {
      break;
    }
  }
  va_end(arguments);
  message[length] = '\0';
  Fault(message);
}

}  // namespace std
