#pragma once
#include <string>

// Conversions between the system's wide text, UTF-8 and the ANSI code page that the -A calls use.
namespace win32 {

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const std::wstring& text);
std::string Utf8FromAnsi(const std::string& text);
std::string AnsiFromUtf8(const std::string& text);

}  // namespace win32
