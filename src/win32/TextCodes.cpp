#include "win32/TextCodes.h"
#include <windows.h>

namespace win32 {

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
  if (text.empty()) return {};
  int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string FromWide(UINT codePage, const std::wstring& text) {
  if (text.empty()) return {};
  int length =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                      nullptr);
  return narrow;
}

}  // namespace

std::wstring WideFromUtf8(const std::string& text) { return ToWide(CP_UTF8, text); }
std::string Utf8FromWide(const std::wstring& text) { return FromWide(CP_UTF8, text); }
std::wstring WideFromAnsi(const std::string& text) { return ToWide(CP_ACP, text); }
std::string AnsiFromWide(const std::wstring& text) { return FromWide(CP_ACP, text); }
std::string Utf8FromAnsi(const std::string& text) { return Utf8FromWide(WideFromAnsi(text)); }
std::string AnsiFromUtf8(const std::string& text) { return AnsiFromWide(WideFromUtf8(text)); }

bool ExactAnsiFromWide(const std::wstring& text, std::string& ansi) {
  ansi.clear();
  if (text.empty()) return true;
  const int size = static_cast<int>(text.size());
  BOOL usedDefault = FALSE;
  // A UTF-8 code page refuses the default-character question but writes every character.
  BOOL* asked = GetACP() == CP_UTF8 ? nullptr : &usedDefault;
  const DWORD flags = asked ? WC_NO_BEST_FIT_CHARS : 0;
  int length = WideCharToMultiByte(CP_ACP, flags, text.data(), size, nullptr, 0, nullptr, asked);
  if (length <= 0 || usedDefault) return false;
  ansi.resize(static_cast<std::size_t>(length));
  WideCharToMultiByte(CP_ACP, flags, text.data(), size, ansi.data(), length, nullptr, asked);
  return !usedDefault;
}

}  // namespace win32
