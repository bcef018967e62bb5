#pragma once
#include <string>
#include <string_view>

// The host tests' code page: bytes 0xA0 to 0xFF are the Latin-1 letters, as in 1252; other units are cut to a byte.
namespace latin1 {
inline std::u16string Widened(std::string_view bytes) {
  std::u16string text;
  for (char c : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(c));
  return text;
}
inline std::string Narrowed(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) bytes += static_cast<char>(c);
  return bytes;
}
}  // namespace latin1
