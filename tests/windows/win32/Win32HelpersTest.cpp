// The helpers every layer shares: system error texts, text conversions and COM references.
#include <gtest/gtest.h>
#include <unknwn.h>
#include "win32/ComRef.h"
#include "win32/Error.h"
#include "win32/TextCodes.h"

TEST(SystemTexts, KnownCodesLoseTheirLineBreakUnknownOnesSayTheirNumber) {
  for (DWORD code : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_DISK_FULL}}) {
    std::string text = win32::SystemMessage(code);
    ASSERT_FALSE(text.empty()) << code;
    EXPECT_NE(text.back(), '\n') << code;
    EXPECT_NE(text.back(), '\r') << code;
    EXPECT_NE(text.back(), ' ') << code;
    EXPECT_EQ(win32::SystemErrorText(code), text) << code;
  }
  const DWORD unknown = 0x8BADF00DUL;
  EXPECT_EQ(win32::SystemMessage(unknown), "");
  EXPECT_EQ(win32::SystemErrorText(unknown), "System error 2343432205");
}

TEST(SystemTexts, ErrorKeepsItsMessageThroughCopies) {
  win32::Error original("Cannot create file \"C:\\x\".");
  win32::Error copy = original;
  EXPECT_STREQ(copy.what(), "Cannot create file \"C:\\x\".");
  EXPECT_EQ(copy.what(), original.what()) << "copies share the text";
}

TEST(TextCodes, Utf8AndWideConvertBothWays) {
  struct Case {
    const char* utf8;
    const wchar_t* wide;
  } cases[] = {{"", L""}, {"abc", L"abc"}, {"\xC3\xA9t\xC3\xA9", L"\u00E9t\u00E9"}, {"\xE2\x82\xAC 5", L"\u20AC 5"},
               {"\xF0\x9F\x93\x81", L"\U0001F4C1"}};  // a character outside the basic plane: two wide units
  for (const Case& c : cases) {
    EXPECT_EQ(win32::WideFromUtf8(c.utf8), std::wstring(c.wide)) << c.utf8;
    EXPECT_EQ(win32::Utf8FromWide(c.wide), std::string(c.utf8)) << c.utf8;
  }
  EXPECT_EQ(win32::WideFromUtf8(std::string("a\0b", 3)), std::wstring(L"a\0b", 3)) << "the whole string, not to its zero";
}

TEST(TextCodes, AnsiRoundTripsThroughUtf8) {
  const std::string ansi = "C:\\Program Files\\Twinsift\\";
  EXPECT_EQ(win32::Utf8FromAnsi(ansi), ansi) << "plain ASCII is the same in both";
  EXPECT_EQ(win32::AnsiFromUtf8(win32::Utf8FromAnsi("caf\xE9")), "caf\xE9");
  EXPECT_EQ(win32::WideFromAnsi("abc"), L"abc");
  EXPECT_EQ(win32::AnsiFromWide(L"abc"), "abc");
  EXPECT_EQ(win32::AnsiFromUtf8(""), "");
}

namespace {

// Counts its references; the test owns it on the stack.
class CountedObject : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  ULONG references = 0;
};

}  // namespace

TEST(ComReferences, ReleaseWhatTheyWereHandedOnceAndNothingWhenEmpty) {
  CountedObject object;
  {
    win32::ComRef<IUnknown> reference;
    EXPECT_EQ(reference.get(), nullptr);
    object.QueryInterface(IID_IUnknown, reference.out());
    EXPECT_EQ(reference.get(), &object);
    EXPECT_EQ(object.references, 1u);
  }
  EXPECT_EQ(object.references, 0u);
  { win32::ComRef<IUnknown> empty; }
  EXPECT_EQ(object.references, 0u);
}

TEST(ComReferences, AttachTakesOverAReferenceAndMovesHandItOnReleasingOnce) {
  CountedObject first, second;
  first.AddRef();
  second.AddRef();
  {
    win32::ComRef<IUnknown> a(&first);
    win32::ComRef<IUnknown> b(std::move(a));
    EXPECT_EQ(a.get(), nullptr);
    EXPECT_EQ(b.get(), &first);
    win32::ComRef<IUnknown> c(&second);
    c = std::move(b);
    EXPECT_EQ(second.references, 0u) << "what it held goes when another is moved in";
    EXPECT_EQ(first.references, 1u);
    c.attach(nullptr);
    EXPECT_EQ(first.references, 0u);
    first.AddRef();
    c.attach(&first);
    IUnknown* handedOut = c.detach();
    EXPECT_EQ(handedOut, &first);
  }
  EXPECT_EQ(first.references, 1u) << "a detached reference is the caller's";
}
