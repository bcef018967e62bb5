#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a test needs to know of a 32-bit Windows executable, read from its headers.
struct PeImage {
  struct Section {
    std::string name;
    std::uint32_t characteristics = 0;
  };
  std::uint16_t machine = 0;
  std::uint16_t subsystem = 0;
  std::uint16_t dllCharacteristics = 0;
  std::uint32_t timeDateStamp = 0;
  std::uint32_t relocationsSize = 0;  // the base relocation directory's
  std::vector<Section> sections;
  std::vector<std::string> importedDlls;
  std::vector<std::uint8_t> bytes;

  static bool Read(const std::string& path, PeImage& image, std::string& problem);
  bool Contains(const std::string& text) const;         // as ANSI bytes
  bool ContainsUtf16(const std::string& text) const;    // as UTF-16LE, how resources store strings
};
