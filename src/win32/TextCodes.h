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
// The text in the ANSI code page when every character has its own code there (no default character, no
// look-alike); false otherwise.
bool ExactAnsiFromWide(const std::wstring& text, std::string& ansi);

}  // namespace win32
