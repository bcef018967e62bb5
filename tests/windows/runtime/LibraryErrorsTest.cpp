// Our stand-ins for the standard library's throw helpers: what the containers throw still reaches a
// catch of std::exception with the library's message, and the allocation failures keep their own types.
#include <gtest/gtest.h>
#include <functional>
#include <new>
#include <string>
#include <vector>
#include "runtime/LibraryFault.h"

namespace {

std::string WhatOf(const std::function<void()>& run) {
  try {
    run();
  } catch (const runtime::LibraryFault& fault) {
    return fault.what();
  } catch (const std::exception& other) {
    return std::string("other exception: ") + other.what();
  }
  return "nothing thrown";
}

}  // namespace

TEST(LibraryErrors, ContainersThrowAFaultWithTheLibrarysMessageFilledIn) {
  std::vector<int> three(3);
  volatile std::size_t index = 7;
  EXPECT_EQ(WhatOf([&] { (void)three.at(index); }),
            "vector::_M_range_check: __n (which is 7) >= this->size() (which is 3)");
  std::string text = "abc";
  EXPECT_EQ(WhatOf([&] { (void)text.substr(index); }),
            "basic_string::substr: __pos (which is 7) > this->size() (which is 3)");
  EXPECT_EQ(WhatOf([&] { text.reserve(text.max_size() + 1); }), "basic_string::_M_create");
  volatile std::size_t huge = std::vector<int>().max_size() + 1;
  EXPECT_EQ(WhatOf([&] { std::vector<int>(huge, 0); }), "cannot create std::vector larger than max_size()");
}

TEST(LibraryErrors, LongMessagesAreCutNotOverrun) {
  std::string longText(400, 'x');
  runtime::LibraryFault fault(longText.c_str());
  EXPECT_EQ(std::string(fault.what()), std::string(159, 'x'));
  EXPECT_STREQ(runtime::LibraryFault(nullptr).what(), "");
}

TEST(LibraryErrors, FailedCallsAndAllocationsKeepTheirOwnTypes) {
  std::function<void()> empty;
  EXPECT_THROW(empty(), std::bad_function_call);
  EXPECT_THROW(std::__throw_bad_alloc(), std::bad_alloc);
  EXPECT_THROW(std::__throw_bad_array_new_length(), std::bad_array_new_length);
}
