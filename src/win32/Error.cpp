#include "win32/Error.h"
#include "win32/TextCodes.h"

namespace win32 {

// UTF-8, as the gui layer shows text.
std::string SystemMessage(DWORD code) {
  wchar_t* buffer = nullptr;
  DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = length ? Utf8FromWide(std::wstring(buffer, length)) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  return text;
}

std::string SystemErrorText(DWORD code) {
  std::string text = SystemMessage(code);
  return text.empty() ? "System error " + std::to_string(code) : text;
}

}  // namespace win32
